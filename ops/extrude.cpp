#include "ops/extrude.h"

#include "ops/element_edits.h"
#include "ops/mesh_rebuild.h"
#include "ops/selected_entries.h"
#include "ops/transform_directions.h"

#include <algorithm>
#include <array>
#include <functional>
#include <unordered_map>
#include <unordered_set>

namespace {

uint64_t cornerKey(int32_t v, int32_t f) { return uint64_t(uint32_t(v)) << 32 | uint32_t(f); }

void checkRoomForFaces(const moObject &obj, size_t more) {
  if (size_t(obj.faces.count()) + more > size_t(kMaxFaceSlots))
    throw moTooManyFacesException();
}

int32_t copyVertex(moObject &obj, int32_t v) {
  const moVec3 p = obj.vertexAt(v).Coordinates;
  return obj.addVertex(p.x, p.y, p.z);
}

// The side face along the edge from corner `from` to corner `to` of an extruded face whose new
// vertices there are newFrom and newTo, coloured like the corners it starts from. up and top
// name the edges from `to` up to newTo, from newFrom down to `from` and along the top (-1: any).
CornerLoop sideFace(const Corner &from, const Corner &to, int32_t newFrom, int32_t newTo,
                    int32_t upTo, int32_t upFrom, int32_t top) {
  CornerLoop side{to,
                  {newTo, to.colour, upTo},
                  {newFrom, from.colour, top},
                  {from.vertex, from.colour, upFrom}};
  dropRepeatedCorners(side);
  return side;
}

// A UserInterface for cuts whose refusals were ruled out beforehand.
class Silent : public UserInterface {
public:
  void messageBox(const std::string &) override {}
  bool askYesNo(const std::string &) override { return false; }
  Answer askYesNoCancel(const std::string &) override { return Answer::Cancel; }
  void setStatus(const std::string &) override {}
};

} // namespace

std::vector<std::vector<int32_t>> extrudeFaces(moObject &obj, const std::vector<int32_t> &faces,
                                               const std::vector<int32_t> &pinned) {
  const auto isPinned = [&](int32_t v) {
    return std::find(pinned.begin(), pinned.end(), v) != pinned.end();
  };
  std::vector<CornerLoop> loops;
  size_t sides = 0;
  for (int32_t f : faces) {
    loops.push_back(readLoop(obj, f));
    sides += loops.back().size();
  }
  checkRoomForFaces(obj, sides);
  MeshRebuild rebuild(obj);
  std::vector<std::vector<int32_t>> made;
  for (size_t k = 0; k < faces.size(); ++k) {
    const CornerLoop &loop = loops[k];
    const size_t n = loop.size();
    std::vector<int32_t> top(n), up(n, -1), along(n);
    for (size_t i = 0; i < n; ++i)
      top[i] = isPinned(loop[i].vertex) ? loop[i].vertex : copyVertex(obj, loop[i].vertex);
    for (size_t i = 0; i < n; ++i)
      if (top[i] != loop[i].vertex)
        up[i] = rebuild.newEdge(loop[i].vertex, top[i]);
    CornerLoop moved(loop);
    for (size_t i = 0; i < n; ++i) {
      const size_t before = (i + n - 1) % n;
      const bool stays = up[before] == -1 && up[i] == -1; // both ends pinned: the old edge
      along[i] = stays ? loop[i].via : rebuild.newEdge(top[before], top[i]);
      moved[i] = {top[i], loop[i].colour, along[i]};
    }
    rebuild.reshape(faces[k], moved);
    for (size_t i = 0; i < n; ++i) {
      const size_t before = (i + n - 1) % n;
      if (up[before] != -1 || up[i] != -1)
        rebuild.addFace(
            sideFace(loop[before], loop[i], top[before], top[i], up[i], up[before], along[i]));
    }
    made.push_back(std::move(top));
  }
  rebuild.apply();
  return made;
}

namespace {

// The region's new vertices at one of its boundary vertices: one per fan of region faces
// between two boundary edges, with the edges inside the fan that must follow it.
struct RegionSplit {
  std::unordered_map<uint64_t, int32_t> newAt;      // (vertex, region face) -> new vertex
  std::vector<std::pair<int32_t, int32_t>> pillars; // (old vertex, new vertex)
  std::vector<std::array<int32_t, 3>> moves;        // (edge, old end, new end)
};

void splitAtVertex(moObject &obj, int32_t v, const std::function<bool(int32_t)> &inRegion,
                   RegionSplit &split) {
  const std::vector<int32_t> ring = edgesAround(obj, v);
  const size_t m = ring.size();
  std::vector<int32_t> leaving(m);
  for (size_t j = 0; j < m; ++j)
    leaving[j] = faceLeaving(obj, ring[j], v);
  const auto boundary = [&](int32_t e) {
    return inRegion(obj.edges[e].LeftFace) != inRegion(obj.edges[e].RightFace);
  };
  for (size_t j = 0; j < m; ++j) {
    if (!boundary(ring[j]) || !inRegion(leaving[j]))
      continue;
    const int32_t nv = copyVertex(obj, v);
    split.pillars.push_back({v, nv});
    // The fan runs on through edges with region faces on both sides.
    for (size_t k = j, steps = 0; steps < m; ++steps) {
      split.newAt[cornerKey(v, leaving[k])] = nv;
      const int32_t next = ring[(k + 1) % m];
      if (boundary(next))
        break;
      split.moves.push_back({next, v, nv});
      k = (k + 1) % m;
    }
  }
}

} // namespace

void extrudeRegion(moObject &obj, const std::vector<int32_t> &faces) {
  std::unordered_set<int32_t> region(faces.begin(), faces.end());
  const auto inRegion = [&](int32_t f) { return f != -1 && region.count(f) != 0; };
  std::vector<std::pair<int32_t, int32_t>> boundary; // (edge, its region face)
  std::vector<int32_t> boundaryVertices;
  std::unordered_set<int32_t> seen;
  for (int32_t f : faces)
    obj.forEachEdgeOfFace(f, false, [&](int32_t e) {
      if (inRegion(obj.otherFace(e, f)))
        return;
      boundary.push_back({e, f});
      for (int32_t v : {obj.edges[e].Tail, obj.edges[e].Head})
        if (seen.insert(v).second)
          boundaryVertices.push_back(v);
    });
  checkRoomForFaces(obj, boundary.size());
  RegionSplit split;
  for (int32_t v : boundaryVertices)
    splitAtVertex(obj, v, inRegion, split);
  std::unordered_map<int32_t, CornerLoop> loops; // region faces at the boundary, as they were
  std::vector<int32_t> touched;
  for (const auto &entry : split.newAt) {
    const auto f = static_cast<int32_t>(entry.first & 0xffffffffu);
    if (loops.emplace(f, readLoop(obj, f)).second)
      touched.push_back(f);
  }
  std::sort(touched.begin(), touched.end());
  MeshRebuild rebuild(obj);
  for (const auto &[v, nv] : split.pillars)
    rebuild.newEdge(v, nv);
  for (const auto &move : split.moves)
    rebuild.moveEdgeEnd(move[0], move[1], move[2]);
  const auto newVertex = [&](int32_t v, int32_t f) {
    const auto it = split.newAt.find(cornerKey(v, f));
    return it == split.newAt.end() ? v : it->second;
  };
  for (int32_t f : touched) {
    CornerLoop moved = loops[f];
    for (Corner &c : moved)
      c.vertex = newVertex(c.vertex, f);
    rebuild.reshape(f, std::move(moved));
  }
  for (const auto &[e, f] : boundary) {
    const CornerLoop &loop = loops[f];
    const Corner &from = loop[size_t(cornerIndex(loop, obj.startVertex(e, f)))];
    const Corner &to = loop[size_t(cornerIndex(loop, obj.endVertex(e, f)))];
    rebuild.addFace(
        sideFace(from, to, newVertex(from.vertex, f), newVertex(to.vertex, f), -1, -1, -1));
  }
  rebuild.apply();
}

namespace {

// Cuts face f across each run of corners in `ridge` that are joined along f by edges in
// `chain`, between the split points just before and after the run.
void cutAroundRuns(moObject &obj, int32_t f, const std::unordered_set<int32_t> &ridge,
                   const std::unordered_set<int32_t> &chain,
                   const std::unordered_set<int32_t> &splitPoints) {
  const CornerLoop loop = readLoop(obj, f);
  std::vector<int32_t> edges;
  obj.faceEdges(f, edges);
  const size_t n = loop.size();
  const auto inRidge = [&](size_t i) { return ridge.count(loop[i % n].vertex) != 0; };
  // Corner i and the next one are joined by the edge that ends at the next one.
  const auto linked = [&](size_t i) {
    return inRidge(i) && inRidge(i + 1) && chain.count(edges[(i + 1) % n]) != 0;
  };
  std::vector<std::pair<int32_t, int32_t>> cuts;
  for (size_t i = 0; i < n; ++i) {
    if (!inRidge(i) || linked(i + n - 1))
      continue;
    size_t j = i;
    for (size_t steps = 0; steps < n && linked(j); ++steps)
      ++j;
    cuts.push_back({loop[(i + n - 1) % n].vertex, loop[(j + 1) % n].vertex});
  }
  Silent silent;
  for (const auto &[p, q] : cuts) {
    if (p == q || !splitPoints.count(p) || !splitPoints.count(q) || obj.findEdge(p, q) != -1)
      continue;
    const CornerLoop now = readLoop(obj, f);
    if (cornerIndex(now, p) != -1 && cornerIndex(now, q) != -1)
      cutFace(obj, silent, f, p, q);
  }
}

void ridgeCut(moObject &obj, const std::vector<int32_t> &vertices,
              const std::unordered_set<int32_t> &chain, float length) {
  if (length <= 0)
    length = 1.0f;
  const std::unordered_set<int32_t> ridge(vertices.begin(), vertices.end());
  std::unordered_set<int32_t> splitPoints;
  for (int32_t v : vertices)
    for (int32_t e : edgesAround(obj, v))
      if (!chain.count(e) && splitEdgeAtDistance(obj, e, length, v) != -1)
        splitPoints.insert(obj.otherVertex(e, v));
  std::vector<int32_t> faces;
  std::unordered_set<int32_t> listed;
  for (int32_t v : vertices)
    for (int32_t e : edgesAround(obj, v))
      if (listed.insert(faceLeaving(obj, e, v)).second)
        faces.push_back(faceLeaving(obj, e, v));
  for (int32_t f : faces)
    cutAroundRuns(obj, f, ridge, chain, splitPoints);
}

std::vector<int32_t> unique(std::vector<int32_t> list) {
  std::vector<int32_t> out;
  std::unordered_set<int32_t> seen;
  for (int32_t x : list)
    if (seen.insert(x).second)
      out.push_back(x);
  return out;
}

} // namespace

void extrudeVertices(moObject &obj, const std::vector<int32_t> &vertices, float length) {
  ridgeCut(obj, unique(vertices), {}, length);
}

void extrudeEdges(moObject &obj, const std::vector<int32_t> &edges, float length) {
  std::vector<int32_t> ends;
  for (int32_t e : edges) {
    ends.push_back(obj.edgeAt(e).Head);
    ends.push_back(obj.edges[e].Tail);
  }
  ridgeCut(obj, unique(ends), std::unordered_set<int32_t>(edges.begin(), edges.end()), length);
}

namespace {

constexpr uint32_t kVerticesEdgesFaces = modeBit(moVERTICES) | modeBit(moEDGES) | modeBit(moFACES);

// Calls fn(object, its selected elements) per object in selection order.
void perObject(Scene &scene, const std::function<void(moObject &, std::vector<int32_t>)> &fn) {
  const std::vector<ElementRef> entries = liveEntries(scene);
  for (int32_t slot : selectedSlots(scene))
    fn(*scene.object(slot), unique(elementsOf(entries, slot)));
}

} // namespace

bool Extrude(Scene &scene, float length, bool normals) {
  const OperationRules rules{true, kVerticesEdgesFaces};
  return scene.runOperation(rules, [&] {
    if (scene.mode == moVERTICES) {
      if (normals)
        fillVertexNormals(scene);
      perObject(scene, [&](moObject &obj, std::vector<int32_t> vertices) {
        extrudeVertices(obj, vertices, length);
      });
      return true;
    }
    perObject(scene, [&](moObject &obj, std::vector<int32_t> elements) {
      if (scene.mode == moEDGES)
        extrudeEdges(obj, elements, length);
      else
        extrudeFaces(obj, elements);
    });
    updateAuxSelectionForMove(scene, normals);
    return true;
  });
}

bool ExtrudeRegion(Scene &scene, bool normals) {
  const OperationRules rules{true, modeBit(moFACES)};
  return scene.runOperation(rules, [&] {
    perObject(scene, [&](moObject &obj, std::vector<int32_t> faces) {
      extrudeRegion(obj, unique(faces));
    });
    updateAuxSelectionForMove(scene, normals);
    return true;
  });
}
