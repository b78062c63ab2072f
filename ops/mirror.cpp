#include "ops/mirror.h"

#include "core/mesh_validation.h"
#include "ops/bridge.h"
#include "ops/combine_separate.h"
#include "ops/selected_objects.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <unordered_map>

namespace {

// What an edge of b hands to its partner edge of a: b's neighbour across it and the links there.
struct Handover {
  int32_t face, next, prev;
  moColor corner;
};

// Where b's corners and edges go: to their partners on a.
class Partners {
public:
  explicit Partners(const FacePairing &p) {
    for (size_t i = 0; i < p.bEdges.size(); ++i) {
      edges_[p.bEdges[i]] = p.aEdges[i];
      vertices_[p.bCorners[i]] = p.aCorners[i];
    }
  }
  int32_t edge(int32_t e) const { return lookUp(edges_, e); }
  int32_t vertex(int32_t v) const { return lookUp(vertices_, v); }

private:
  static int32_t lookUp(const std::unordered_map<int32_t, int32_t> &map, int32_t key) {
    const auto it = map.find(key);
    return it == map.end() ? key : it->second;
  }
  std::unordered_map<int32_t, int32_t> edges_, vertices_;
};

// The edges of b take over a's place: every edge at b's corners moves to a's corners and every
// reference to an edge of b goes to its partner.
void redirectRing(moObject &obj, const FacePairing &p, const Partners &partners) {
  std::vector<int32_t> ring;
  for (int32_t v : p.bCorners)
    obj.forEachEdgeAtVertex(v, [&](int32_t e) { ring.push_back(e); });
  for (int32_t e : ring) {
    moEdge &d = obj.edges[e];
    d.Head = partners.vertex(d.Head);
    d.Tail = partners.vertex(d.Tail);
    for (int32_t *w : {&d.ForeWing, &d.BackWing, &d.ccwForeWing, &d.ccwBackWing})
      *w = partners.edge(*w);
    obj.edgeEndsChanged(e);
  }
}

struct MirrorEntry {
  ElementRef face;
  moVec3 centre, normal;
  int32_t copySlot = -1;
  int32_t partner = -1; // the face's image in the merged object
};

bool samePlane(const MirrorEntry &a, const MirrorEntry &b) {
  return std::abs(dot(a.centre, a.normal) - dot(b.centre, a.normal)) < 0.1f &&
         std::abs(dot(a.centre, b.normal) - dot(b.centre, b.normal)) < 0.1f;
}

std::vector<MirrorEntry> mirrorEntries(const Scene &scene) {
  std::vector<MirrorEntry> entries;
  for (int32_t i = 0; i < scene.selection.Count(); ++i) {
    const ElementRef ref = scene.selection.Get(i);
    if (!scene.elementExists(ref, moFACES))
      continue;
    const moObject &obj = *scene.object(ref.object);
    entries.push_back({ref, obj.faceCentroid(ref.element), obj.faceNormal(ref.element, true)});
  }
  return entries;
}

// Makes the mirrored copies (one per plane and object) and lists each face's partner object.
void makeCopies(Scene &scene, std::vector<MirrorEntry> &entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    MirrorEntry &entry = entries[i];
    const bool planeDone = std::any_of(entries.begin(), entries.begin() + long(i), [&](auto &e) {
      return e.face.object == entry.face.object && samePlane(e, entry);
    });
    if (planeDone) {
      scene.previousSelection.Append(entry.face);
      continue;
    }
    auto copy = std::make_shared<moObject>(*scene.object(entry.face.object));
    copy->mirror(entry.normal, entry.centre);
    if (scene.paintCarrier) // the merged object's mirrored half takes its paint from the copy
      scene.paintCarrier->addSource(copy, -1);
    entry.copySlot = insertObject(scene, copy, nullptr);
    scene.previousSelection.Append({entry.face.element, entry.copySlot});
  }
}

// Merges entry i's copy into its object and notes the images of the faces in its plane.
void mergeCopy(Scene &scene, std::vector<MirrorEntry> &entries, size_t i) {
  MirrorEntry &entry = entries[i];
  moObject &obj = *scene.object(entry.face.object);
  const int32_t base = obj.faces.count();
  entry.partner = entry.face.element + base;
  for (size_t j = i + 1; j < entries.size(); ++j)
    if (entries[j].copySlot == -1 && entries[j].face.object == entry.face.object &&
        samePlane(entry, entries[j]))
      entries[j].partner = entries[j].face.element + base;
  mergeInto(obj, *scene.object(entry.copySlot));
  scene.objects.remove(entry.copySlot);
}

bool weldAll(Scene &scene, std::vector<MirrorEntry> &entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].copySlot != -1)
      mergeCopy(scene, entries, i);
    if (entries[i].partner == -1)
      continue;
    moObject &obj = *scene.object(entries[i].face.object);
    if (const char *refusal = weldFaces(obj, entries[i].partner, entries[i].face.element)) {
      scene.ui().messageBox(refusal);
      return false;
    }
    if (!objectLocallyValid(obj, false))
      throw moInvalidTopologyException();
  }
  return true;
}

} // namespace

const char *weldFaces(moObject &obj, int32_t a, int32_t b) {
  if (a == b || obj.facesShareVertex(a, b))
    return "Cannot weld neighboring faces.";
  const moVec3 across = unit(subtract(obj.faceCentroid(b), obj.faceCentroid(a)));
  FacePairing p;
  if (const char *refusal = pairFaceCorners(obj, a, b, across, p))
    return refusal;
  std::vector<Handover> handover;
  for (int32_t e : p.bEdges) {
    const int32_t n = obj.otherFace(e, b);
    handover.push_back(
        {n, obj.nextEdgeOfFace(e, n), obj.prevEdgeOfFace(e, n), obj.cornerColor(e, n)});
  }
  const Partners partners(p);
  redirectRing(obj, p, partners);
  for (size_t i = 0; i < p.aEdges.size(); ++i) {
    moEdge &d = obj.edges[p.aEdges[i]];
    const Handover &h = handover[i];
    const bool right = d.RightFace == a;
    (right ? d.RightFace : d.LeftFace) = h.face;
    (right ? d.ForeWing : d.BackWing) = partners.edge(h.next);
    (right ? d.ccwBackWing : d.ccwForeWing) = partners.edge(h.prev);
    (right ? d.rightColor : d.leftColor) = h.corner;
    obj.faces[h.face].EdgeIndex = p.aEdges[i];
  }
  for (size_t i = 0; i < p.bEdges.size(); ++i) {
    obj.edges[p.bEdges[i]].Head = -1;
    obj.vertices[p.bCorners[i]].EdgeIndex = -1;
  }
  obj.deleteFace(a);
  obj.deleteFace(b);
  return nullptr;
}

bool mirrorFaces(Scene &scene) {
  return scene.runOperation({true, modeBit(moFACES), MirrorRule::None}, [&] {
    scene.previousSelection.Clear();
    std::vector<MirrorEntry> entries = mirrorEntries(scene);
    makeCopies(scene, entries);
    if (!weldAll(scene, entries)) {
      scene.Undo(true);
      scene.clearSelection();
      scene.previousSelection.Clear();
      return false;
    }
    scene.compactSelectedObjects();
    scene.clearSelection();
    scene.previousSelection.Clear();
    return true;
  });
}

bool copyMirrored(Scene &scene, const ElementRef &pickedFace) {
  if (scene.selection.Count() != 1)
    scene.ui().messageBox("copyMirrored Implemented for one element only");
  if (scene.selection.Empty() || scene.mode != moOBJECTS)
    return false;
  const int32_t slot = scene.selection.Get(0).object;
  if (pickedFace.object != slot || !scene.objectOf(pickedFace, true) ||
      !scene.elementExists(pickedFace, moFACES)) {
    scene.ui().messageBox("copyMirrored: selected face not on selected object");
    return false;
  }
  return scene.runOperation({false, modeBit(moOBJECTS)}, [&] {
    const moObject &source = *scene.object(slot);
    auto copy = std::make_shared<moObject>(source);
    copy->mirror(source.faceNormal(pickedFace.element, true),
                 source.faceCentroid(pickedFace.element));
    insertObject(scene, copy, "mirror");
    return true;
  });
}
