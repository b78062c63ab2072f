#include "ops/edge_ops.h"

#include "core/mesh_validation.h"
#include "ops/element_edits.h"
#include "ops/mesh_rebuild.h"
#include "ops/selected_entries.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

namespace {

constexpr uint32_t kVerticesEdgesFaces = modeBit(moVERTICES) | modeBit(moEDGES) | modeBit(moFACES);
constexpr float kCollinear = 0.00001f;

// Whether p, q and a corner next to p or q along the face lie on one line.
bool cutAlongALine(const moObject &obj, const CornerLoop &loop, int32_t p, int32_t q) {
  const moVec3 &a = obj.vertices[p].Coordinates, &b = obj.vertices[q].Coordinates;
  const int32_t n = static_cast<int32_t>(loop.size());
  for (int32_t end : {p, q}) {
    const int32_t i = cornerIndex(loop, end);
    for (int32_t k : {(i + 1) % n, (i + n - 1) % n}) {
      const moVec3 &r = obj.vertices[loop[size_t(k)].vertex].Coordinates;
      if (loop[size_t(k)].vertex != p && loop[size_t(k)].vertex != q &&
          moObject::nearlyCollinear(a, b, r, kCollinear))
        return true;
    }
  }
  return false;
}

// The walk around a face starts at a selected corner after which it may begin, given the
// selected corner before it (the one pair the walk leaves uncut); null: the first selected one.
using WalkStart = std::function<bool(int32_t before, int32_t corner)>;

// The index in loop of the selected corner the walk starts at; loop.size() when none is selected.
size_t walkStart(const CornerLoop &loop, const std::function<bool(int32_t)> &selected,
                 const WalkStart &mayStart) {
  std::vector<size_t> chosen;
  for (size_t i = 0; i < loop.size(); ++i)
    if (selected(loop[i].vertex))
      chosen.push_back(i);
  if (chosen.empty())
    return loop.size();
  for (size_t k = 0; mayStart && k < chosen.size(); ++k)
    if (mayStart(loop[chosen[(k + chosen.size() - 1) % chosen.size()]].vertex,
                 loop[chosen[k]].vertex))
      return chosen[k];
  return chosen[0];
}

// Cuts face f between its selected corners, walking once around it from the corner walkStart
// picks; each cut moves the rest of the walk into the new face. Returns the number of cuts.
int32_t connectFace(moObject &obj, UserInterface &ui, int32_t f,
                    const std::function<bool(int32_t)> &selected, const WalkStart &mayStart) {
  const CornerLoop loop = readLoop(obj, f);
  const size_t first = walkStart(loop, selected, mayStart);
  if (first == loop.size())
    return 0;
  int32_t cuts = 0, face = f;
  size_t previous = first;
  for (size_t step = 1; step < loop.size(); ++step) {
    const size_t at = (first + step) % loop.size();
    const int32_t p = loop[previous].vertex, q = loop[at].vertex;
    if (!selected(q))
      continue;
    const bool neighbours = at == (previous + 1) % loop.size();
    if (!neighbours && !cutAlongALine(obj, readLoop(obj, face), p, q)) {
      const int32_t g = cutFace(obj, ui, face, q, p);
      if (g != -1) {
        face = g;
        ++cuts;
      }
    }
    previous = at;
  }
  return cuts;
}

// Connects the selected vertices within each face listed in the previous-selection list;
// returns how many cuts were made. With symmetry running, the walk around a face starts after a
// pair of mirror images where there is one, so that the uncut pair is its own image and the cuts
// come in mirror pairs.
int32_t connectListedFaces(Scene &scene) {
  std::map<int32_t, std::unique_ptr<MirrorIndex>> indices;
  const std::vector<MirrorFlips> mirrors = scene.symmetry.mirrors();
  int32_t cuts = 0;
  for (int32_t i = 0; i < scene.previousSelection.Count(); ++i) {
    const ElementRef face = scene.previousSelection.Get(i);
    moObject &obj = *scene.object(face.object);
    WalkStart mayStart;
    if (scene.mirrorFollowers.running()) {
      std::unique_ptr<MirrorIndex> &index = indices[face.object];
      if (!index)
        index = std::make_unique<MirrorIndex>(obj);
      mayStart = [&](int32_t before, int32_t corner) {
        return std::any_of(mirrors.begin(), mirrors.end(), [&](MirrorFlips flips) {
          return index->vertexImage(corner, flips) == before;
        });
      };
    }
    cuts += connectFace(
        obj, scene.ui(), face.element,
        [&](int32_t v) {
          return scene.selection.Contains({v, face.object});
        },
        mayStart);
  }
  return cuts;
}

bool connectVertices(Scene &scene) {
  scene.previousSelection.Clear();
  for (const ElementRef &ref : liveEntries(scene)) {
    const moObject &obj = *scene.object(ref.object);
    obj.forEachEdgeAtVertex(ref.element, [&](int32_t e) {
      const ElementRef face{faceLeaving(obj, e, ref.element), ref.object};
      if (!scene.previousSelection.Contains(face))
        scene.previousSelection.Append(face);
    });
  }
  const int32_t cuts = connectListedFaces(scene);
  if (cuts == 0)
    scene.ui().messageBox("Vertices must share one or more faces to connect");
  return true;
}

bool connectEdges(Scene &scene) {
  scene.previousSelection.Clear();
  std::vector<ElementRef> middles;
  for (const ElementRef &ref : liveEntries(scene)) {
    moObject &obj = *scene.object(ref.object);
    for (int32_t f : {obj.edges[ref.element].LeftFace, obj.edges[ref.element].RightFace})
      if (!scene.previousSelection.Contains({f, ref.object}))
        scene.previousSelection.Append({f, ref.object});
    splitEdge(obj, ref.element, 0.5f);
    middles.push_back({obj.edges[ref.element].Head, ref.object});
  }
  scene.selection.Clear();
  for (const ElementRef &m : middles)
    scene.selection.Append(m);
  const int32_t cuts = connectListedFaces(scene);
  if (cuts == 0)
    scene.ui().messageBox("Edges must share one or more faces to connect");
  for (const ElementRef &m : middles) {
    moObject &obj = *scene.object(m.object);
    int32_t degree = 0;
    obj.forEachEdgeAtVertex(m.element, [&](int32_t) { ++degree; });
    if (degree == 2)
      collapseVertex(obj, scene.ui(), m.element, -1);
  }
  scene.compactSelectedObjects();
  scene.clearSelection();
  return true;
}

void removeObject(Scene &scene, int32_t slot) {
  if (scene.object(slot))
    scene.objects.remove(slot);
}

// The object's material takes the colour (bytes scaled to 0..1) and every corner shows it.
void colourObject(moObject &obj, moColor c) {
  const float k = 0.003921569f;
  const float rgba[4] = {c.r * k, c.g * k, c.b * k, c.a * k};
  std::copy(rgba, rgba + 4, obj.material.aux);
  std::copy(rgba, rgba + 4, obj.material.diffuse);
  for (int32_t e = 0; e < obj.edges.count(); ++e)
    if (obj.edges[e].active())
      obj.setEdgeColor(e, c);
}

// With symmetry running, the vertices the collapses merged elements into are paired with their
// images, and one that has none is what an element and its own image (or one touching it) became:
// it goes onto the plane, where the order of the collapses would have left it beside it.
void placeMergedVertices(Scene &scene, int32_t slot) {
  const moObject *before = scene.backup.get(slot);
  if (!scene.mirrorFollowers.running() || !before)
    return;
  const moObject &obj = *scene.object(slot);
  const auto moved = [&](int32_t v) {
    if (v >= before->vertices.count() || !before->vertices[v].active())
      return true;
    const moVec3 &p = before->vertices[v].Coordinates, &q = obj.vertices[v].Coordinates;
    return p.x != q.x || p.y != q.y || p.z != q.z;
  };
  std::vector<int32_t> merged;
  for (int32_t v = 0; v < obj.vertices.count(); ++v)
    if (obj.vertices[v].active() && moved(v))
      merged.push_back(v);
  scene.mirrorFollowers.pairAmong(scene, slot, merged, true);
  followMirrors(scene);
  scene.mirrorFollowers.clear(); // compacting renumbers the vertices
}

bool collapseElements(Scene &scene) {
  const std::vector<ElementRef> entries = liveEntries(scene);
  const SelectionMode m = scene.mode;
  for (const ElementRef &ref : entries) {
    if (m == moOBJECTS) {
      removeObject(scene, ref.object);
      continue;
    }
    if (!scene.elementExists(ref, m))
      continue; // an earlier collapse took it
    moObject &obj = *scene.object(ref.object);
    if (m == moVERTICES)
      collapseVertex(obj, scene.ui(), ref.element, -1);
    else if (m == moEDGES)
      collapseEdge(obj, scene.ui(), ref.element);
    else
      collapseFace(obj, scene.ui(), ref.element);
  }
  if (m != moOBJECTS)
    for (int32_t slot : selectedSlots(scene)) {
      moObject &obj = *scene.object(slot);
      placeMergedVertices(scene, slot);
      obj.compact();
      if (obj.edges.count() == 0 || (m == moFACES && !objectLocallyValid(obj, false)))
        removeObject(scene, slot);
      else
        requireSoundMesh(obj);
    }
  scene.clearSelection();
  scene.previousSelection.Clear();
  return true;
}

} // namespace

bool Connect(Scene &scene) {
  if (scene.selection.Count() < 2) {
    scene.ui().messageBox(scene.mode == moVERTICES ? "Connect requires at least 2 vertices"
                                                   : "Connect requires at least 2 edges");
    return false;
  }
  const OperationRules rules{true, modeBit(moVERTICES) | modeBit(moEDGES)};
  return scene.runOperation(rules, [&] {
    return scene.mode == moVERTICES ? connectVertices(scene) : connectEdges(scene);
  });
}

bool Collapse(Scene &scene) {
  if (scene.selection.Empty()) {
    scene.ui().messageBox("You must have objects selected");
    return false;
  }
  const OperationRules rules{scene.mode != moOBJECTS, kVerticesEdgesFaces | modeBit(moOBJECTS)};
  return scene.runOperation(rules, [&] { return collapseElements(scene); });
}

bool DeleteSelected(Scene &scene) {
  if (scene.mode != moOBJECTS || scene.selection.Empty()) {
    scene.ui().messageBox("You must have objects selected");
    return false;
  }
  return Collapse(scene);
}

bool Dissolve(Scene &scene) {
  const OperationRules rules{true, modeBit(moEDGES) | modeBit(moFACES)};
  return scene.runOperation(rules, [&] {
    const std::vector<ElementRef> entries = liveEntries(scene);
    const std::vector<int32_t> slots = selectedSlots(scene);
    if (scene.mode == moEDGES) {
      for (const ElementRef &ref : entries)
        if (scene.elementExists(ref, moEDGES))
          dissolveEdge(*scene.object(ref.object), scene.ui(), ref.element);
      scene.compactSelectedObjects();
    } else {
      for (int32_t slot : selectedSlots(scene)) {
        const moObject &before = *scene.backup.get(slot);
        std::vector<int32_t> kept;
        for (int32_t f = 0; f < before.faces.count(); ++f)
          if (before.faces[f].active() && !scene.selection.Contains({f, slot}))
            kept.push_back(f);
        scene.object(slot)->buildFromFaces(kept, before);
      }
    }
    requireSoundObjects(scene, slots);
    scene.clearSelection();
    scene.previousSelection.Clear();
    return true;
  });
}

bool CutEdges(Scene &scene, int32_t n) {
  n = std::clamp(n, 1, 1000);
  const OperationRules rules{true, modeBit(moEDGES)};
  return scene.runOperation(rules, [&] {
    scene.previousSelection.Clear();
    for (const ElementRef &ref : liveEntries(scene)) {
      moObject &obj = *scene.object(ref.object);
      scene.previousSelection.Append(ref);
      for (int32_t d = n - 1; d >= 1; --d) {
        const float t = float(d) / float(d + 1);
        scene.previousSelection.Append(
            {splitEdge(obj, ref.element, t, obj.edges[ref.element].Tail), ref.object});
      }
    }
    scene.selection.Swap(scene.previousSelection);
    scene.previousMode = moEDGES;
    return true;
  });
}

bool freeCut(Scene &scene) {
  const OperationRules rules{true, modeBit(moFACES), MirrorRule::None};
  return scene.runOperation(rules, [&] {
    if (scene.selection.Count() != 1) {
      scene.ui().messageBox("freeCut Implemented for one element only");
      return false;
    }
    const ElementRef face = scene.selection.Get(0);
    const ElementRef first =
        scene.previousSelection.Count() > 0 ? scene.previousSelection.Get(0) : ElementRef{};
    const ElementRef second =
        scene.previousSelection.Count() > 1 ? scene.previousSelection.Get(1) : ElementRef{};
    moObject *obj = scene.object(face.object);
    if (!obj || first.object != face.object || second.object != face.object ||
        !scene.elementExists(first, moVERTICES) || !scene.elementExists(second, moVERTICES) ||
        !scene.elementExists(face, moFACES)) {
      scene.ui().messageBox("cut face: must select 2 vertices on face!");
      return false;
    }
    return cutFace(*obj, scene.ui(), face.element, second.element, first.element) != -1;
  });
}

bool SetHard(Scene &scene, bool value) {
  const OperationRules rules{false, modeBit(moEDGES) | modeBit(moOBJECTS)};
  return scene.runOperation(rules, [&] {
    for (const ElementRef &ref : liveEntries(scene)) {
      moObject &obj = *scene.object(ref.object);
      if (scene.mode == moEDGES) {
        obj.edges[ref.element].hard = value;
        continue;
      }
      for (moEdge &e : obj.edges)
        if (e.active())
          e.hard = value;
    }
    return true;
  });
}

bool CreaseAngle(Scene &scene, float degrees) {
  const OperationRules rules{false, modeBit(moOBJECTS)};
  return scene.runOperation(rules, [&] {
    const float radians = float(degrees * kDegreesToRadians);
    const float limit = std::cos(radians);
    for (int32_t slot : selectedSlots(scene)) {
      moObject &obj = *scene.object(slot);
      obj.material.creaseAngle = radians;
      std::vector<moVec3> normals(size_t(obj.faces.count()));
      for (int32_t f = 0; f < obj.faces.count(); ++f)
        normals[size_t(f)] = obj.faceNormal(f, true);
      const auto normal = [&](int32_t f) { return obj.faces.contains(f) ? normals[f] : moVec3{}; };
      for (moEdge &e : obj.edges)
        if (e.active())
          e.hard = dot(normal(e.LeftFace), normal(e.RightFace)) < limit;
    }
    return true;
  });
}

bool ApplyColor(Scene &scene) {
  const OperationRules rules{true, kVerticesEdgesFaces | modeBit(moOBJECTS)};
  return scene.runOperation(rules, [&] {
    const moColor c = scene.currentColour;
    for (const ElementRef &ref : liveEntries(scene)) {
      moObject &obj = *scene.object(ref.object);
      if (scene.mode == moVERTICES)
        obj.setVertexColor(ref.element, c);
      else if (scene.mode == moEDGES)
        obj.setEdgeColor(ref.element, c);
      else if (scene.mode == moFACES)
        obj.setFaceColor(ref.element, c);
      else
        colourObject(obj, c);
    }
    return true;
  });
}
