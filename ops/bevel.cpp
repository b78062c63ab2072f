#include "ops/bevel.h"

#include "ops/element_edits.h"
#include "ops/mesh_rebuild.h"
#include "ops/selected_entries.h"

#include <algorithm>
#include <array>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr float kBevelAmount = 0.1f;

uint64_t key(int32_t a, int32_t b) { return uint64_t(uint32_t(a)) << 32 | uint32_t(b); }

// The edge bevel of one object. Around each end vertex v of a bevelled edge, the ring of edges
// E_0..E_m-1 (in prevEdgeAtVertex order) has face j between E_j+1, which enters v in it, and
// E_j, which leaves v. Every face keeps a corner (or two) near v: on an unbevelled edge the new
// vertex along it, between two bevelled edges a new vertex on the corner's bisector.
class EdgeBevel {
public:
  EdgeBevel(moObject &obj, const std::vector<int32_t> &edges, float d, BevelVertices &made)
      : obj_(obj), order_(edges), bevelled_(size_t(obj.edges.count())),
        loops_(size_t(obj.faces.count())), d_(d), made_(made) {
    std::sort(order_.begin(), order_.end());
    order_.erase(std::unique(order_.begin(), order_.end()), order_.end());
    for (int32_t e : order_)
      if (obj.edges.contains(e))
        bevelled_[size_t(e)] = 1;
  }

  void run() {
    std::unordered_set<int32_t> listed;
    for (int32_t e : order_)
      for (int32_t v : {obj_.edgeAt(e).Tail, obj_.edges[e].Head})
        if (listed.insert(v).second)
          ends_.push_back(v);
    replacement_.reserve(4 * ends_.size());
    sideOf_.reserve(4 * order_.size());
    for (int32_t v : ends_)
      planVertex(v);
    const size_t newFaces = order_.size() + cornerFaces_.size();
    if (size_t(obj_.faces.count()) + newFaces > size_t(kMaxFaceSlots))
      throw moTooManyFacesException();
    MeshRebuild rebuild(obj_);
    for (const auto &move : moves_)
      rebuild.moveEdgeEnd(move[0], move[1], move[2]);
    for (int32_t f : faceOrder_)
      rebuild.reshape(f, replacedLoop(f));
    for (int32_t e : order_)
      addNarrowFace(rebuild, e);
    for (CornerLoop &loop : cornerFaces_)
      rebuild.addFace(std::move(loop));
    for (int32_t v : ends_)
      rebuild.removeVertex(v);
    rebuild.apply();
  }

private:
  bool bevelled(int32_t e) const { return bevelled_[size_t(e)] != 0; }
  // The key of the new corner on face f's side of bevelled edge e at its end v.
  uint64_t sideKey(int32_t e, int32_t f, int32_t v) const {
    return uint64_t(uint32_t(e)) << 17 | uint64_t(uint32_t(f)) << 1 |
           uint64_t(v == obj_.edges[e].Head);
  }

  int32_t newVertex(const moVec3 &from, const moVec3 &offset) {
    const moVec3 p = add(from, offset);
    const int32_t v = obj_.addVertex(p.x, p.y, p.z);
    made_.vertices.push_back(v);
    made_.offsets.push_back(offset);
    return v;
  }

  void planVertex(int32_t v) {
    const std::vector<int32_t> ring = edgesAround(obj_, v);
    const size_t m = ring.size();
    const moVec3 at = obj_.vertices[v].Coordinates;
    std::vector<int32_t> faces(m), along(m, -1), bisector(m, -1);
    std::vector<moVec3> direction(m);
    for (size_t j = 0; j < m; ++j) {
      faces[j] = faceLeaving(obj_, ring[j], v);
      const moVec3 toFar = obj_.edgeVector(ring[j], v);
      direction[j] = unit(toFar);
      if (!bevelled(ring[j])) {
        along[j] = newVertex(at, scale(std::min(d_, 0.45f * length(toFar)), direction[j]));
        moves_.push_back({ring[j], v, along[j]});
      }
    }
    for (size_t j = 0; j < m; ++j)
      if (bevelled(ring[j]) && bevelled(ring[(j + 1) % m]))
        bisector[j] = newVertex(at, scale(d_, unit(add(direction[j], direction[(j + 1) % m]))));
    // The new corner of face j on the side of its leaving edge (out) and its entering edge (in).
    const auto out = [&](size_t j) {
      return !bevelled(ring[j]) ? along[j] : bisector[j] != -1 ? bisector[j] : along[(j + 1) % m];
    };
    const auto in = [&](size_t j) {
      const size_t k = (j + 1) % m;
      return !bevelled(ring[k]) ? along[k] : bisector[j] != -1 ? bisector[j] : along[j];
    };
    CornerLoop cornerFace;
    for (size_t j = 0; j < m; ++j) {
      const size_t before = (j + m - 1) % m;
      const moColor colour = obj_.cornerColorAt(v, faces[j]);
      recordFace(faces[j]);
      replacement_[key(v, faces[j])] = {in(j), out(j)};
      if (bevelled(ring[j])) {
        sideOf_[sideKey(ring[j], faces[j], v)] = {out(j), colour};
        sideOf_[sideKey(ring[j], faces[before], v)] = {in(before), colour};
        cornerFace.push_back({in(before), colour});
        cornerFace.push_back({out(j), colour});
      } else {
        cornerFace.push_back({along[j], colour});
      }
    }
    dropRepeatedCorners(cornerFace);
    if (cornerFace.size() >= 3)
      cornerFaces_.push_back(std::move(cornerFace));
  }

  void recordFace(int32_t f) {
    if (!loops_[size_t(f)].empty())
      return;
    loops_[size_t(f)] = readLoop(obj_, f);
    faceOrder_.push_back(f);
  }

  CornerLoop replacedLoop(int32_t f) const {
    CornerLoop out;
    for (const Corner &c : loops_[size_t(f)]) {
      const auto it = replacement_.find(key(c.vertex, f));
      if (it == replacement_.end()) {
        out.push_back(c);
        continue;
      }
      out.push_back({it->second[0], c.colour});
      out.push_back({it->second[1], c.colour});
    }
    dropRepeatedCorners(out);
    return out;
  }

  // The new corner on face f's side of bevelled edge e at its end v.
  Corner sideCorner(int32_t e, int32_t f, int32_t v) const {
    const auto it = sideOf_.find(sideKey(e, f, v));
    if (it != sideOf_.end())
      return it->second;
    throw moInvalidTopologyException();
  }

  void addNarrowFace(MeshRebuild &rebuild, int32_t e) {
    const moEdge &d = obj_.edges[e];
    const int32_t a = d.Tail, b = d.Head, right = d.RightFace, left = d.LeftFace;
    CornerLoop narrow{sideCorner(e, right, a), sideCorner(e, left, a), sideCorner(e, left, b),
                      sideCorner(e, right, b)};
    dropRepeatedCorners(narrow);
    if (narrow.size() >= 3)
      rebuild.addFace(std::move(narrow));
  }

  moObject &obj_;
  std::vector<int32_t> order_;    // the bevelled edges, ascending
  std::vector<uint8_t> bevelled_; // by edge
  std::vector<CornerLoop> loops_; // by face: its corners before the bevel, once recorded
  float d_;
  BevelVertices &made_;
  std::vector<int32_t> ends_;
  std::vector<std::array<int32_t, 3>> moves_; // (edge, old end, new end)
  std::vector<int32_t> faceOrder_;            // the faces recorded, in order
  // (vertex, face) -> the corners that replace the vertex there, entering side first
  std::unordered_map<uint64_t, std::array<int32_t, 2>> replacement_;
  std::unordered_map<uint64_t, Corner> sideOf_; // see sideKey
  std::vector<CornerLoop> cornerFaces_;
};

void listMade(Scene &scene, int32_t slot, const BevelVertices &made) {
  for (size_t i = 0; i < made.vertices.size(); ++i) {
    scene.previousSelection.Append({made.vertices[i], slot});
    scene.elementVectors.push_back(made.offsets[i]);
  }
}

void bevelVertices(Scene &scene, const std::vector<ElementRef> &entries) {
  for (const ElementRef &ref : entries) {
    moObject &obj = *scene.object(ref.object);
    if (!obj.vertices.contains(ref.element) || !obj.vertices[ref.element].active())
      continue;
    const moVec3 was = obj.vertices[ref.element].Coordinates;
    const int32_t f = collapseVertex(obj, scene.ui(), ref.element, kBevelAmount);
    if (f == -1)
      continue;
    std::vector<int32_t> corners;
    obj.faceVertices(f, corners);
    for (int32_t q : corners)
      if (!scene.previousSelection.Contains({q, ref.object})) {
        scene.previousSelection.Append({q, ref.object});
        scene.elementVectors.push_back(subtract(obj.vertices[q].Coordinates, was));
      }
  }
}

// The edges each selected object's bevel takes: the selected edges, the edges of the selected
// faces, or every edge sharper than 0.1.
std::vector<int32_t> edgesToBevel(const Scene &scene, const std::vector<ElementRef> &entries,
                                  int32_t slot) {
  const moObject &obj = *scene.object(slot);
  std::vector<int32_t> edges;
  if (scene.mode == moEDGES)
    edges = elementsOf(entries, slot);
  else if (scene.mode == moFACES)
    for (int32_t f : elementsOf(entries, slot))
      obj.forEachEdgeOfFace(f, false, [&](int32_t e) { edges.push_back(e); });
  else
    for (int32_t e = 0; e < obj.edges.count(); ++e)
      if (obj.edges[e].active() && obj.edgeSharpness(e) > 0.1f)
        edges.push_back(e);
  std::sort(edges.begin(), edges.end());
  edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
  return edges;
}

// With symmetry running, the new vertices of each object follow their images through the drag,
// and those on a plane stay on it.
void followListedImages(Scene &scene, const std::vector<int32_t> &slots) {
  for (int32_t slot : slots) {
    std::vector<int32_t> made;
    for (int32_t i = 0; i < scene.previousSelection.Count(); ++i)
      if (scene.previousSelection.Get(i).object == slot)
        made.push_back(scene.previousSelection.Get(i).element);
    scene.mirrorFollowers.pairAmong(scene, slot, made, false);
  }
}

} // namespace

void bevelEdges(moObject &obj, const std::vector<int32_t> &edges, float d, BevelVertices &made) {
  EdgeBevel(obj, edges, d, made).run();
}

bool Bevel(Scene &scene) {
  const OperationRules rules{true, modeBit(moVERTICES) | modeBit(moEDGES) | modeBit(moFACES) |
                                       modeBit(moOBJECTS)};
  return scene.runOperation(rules, [&] {
    scene.previousSelection.Clear();
    scene.elementVectors.clear();
    const std::vector<ElementRef> entries = liveEntries(scene);
    const std::vector<int32_t> slots = selectedSlots(scene);
    if (scene.mode == moVERTICES) {
      bevelVertices(scene, entries);
    } else {
      for (int32_t slot : slots) {
        BevelVertices made;
        bevelEdges(*scene.object(slot), edgesToBevel(scene, entries, slot), kBevelAmount, made);
        listMade(scene, slot, made);
      }
    }
    requireSoundObjects(scene, slots);
    if (scene.mirrorFollowers.running())
      followListedImages(scene, slots);
    if (scene.mode == moVERTICES || scene.mode == moEDGES)
      scene.selection.Clear();
    return true;
  });
}

void bevelStep(Scene &scene, float a) {
  if (scene.mode < moVERTICES || scene.mode > moFACES)
    return;
  const SelectionList &listed = scene.previousSelection;
  const auto liveAt = [&](int32_t i, moObject *&obj) {
    const ElementRef ref = listed.Get(i);
    obj = scene.object(ref.object);
    return obj && size_t(i) < scene.elementVectors.size() && obj->vertices.contains(ref.element) &&
           obj->vertices[ref.element].active();
  };
  moObject *obj = nullptr;
  for (int32_t i = 0; i < listed.Count(); ++i) {
    if (!liveAt(i, obj))
      continue;
    const int32_t v = listed.Get(i).element;
    const moVec3 s = scale(a, scene.elementVectors[size_t(i)]);
    bool checked = false;
    obj->forEachEdgeAtVertex(v, [&](int32_t e) {
      const moVec3 r = scale(0.4f, obj->edgeVector(e, v));
      const float rs = dot(r, s), rr = lengthSquared(r);
      if (checked || rs < 0)
        return;
      checked = true;
      if (rr < 0.00025f)
        a = 0;
      else if (rr < rs)
        a *= rr / rs;
    });
    if (a == 0)
      return;
  }
  for (int32_t i = 0; i < listed.Count(); ++i)
    if (liveAt(i, obj)) {
      moVec3 &p = obj->vertices[listed.Get(i).element].Coordinates;
      p = add(p, scale(a, scene.elementVectors[size_t(i)]));
    }
}
