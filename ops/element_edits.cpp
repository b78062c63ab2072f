#include "ops/element_edits.h"

#include "ops/mesh_rebuild.h"

#include <algorithm>
#include <cmath>

namespace {

[[noreturn]] void invalid() { throw moInvalidTopologyException(); }

moColor blend(moColor a, moColor b, float t) {
  const auto mix = [t](uint8_t x, uint8_t y) {
    return static_cast<uint8_t>(std::lround(x + (float(y) - float(x)) * t));
  };
  return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
}

// Inserts vertex p between the neighbouring corners v and w of a loop (in either order), its
// colour blended from theirs by t from v toward w.
void insertBetween(CornerLoop &loop, int32_t v, int32_t w, int32_t p, float t) {
  const size_t n = loop.size();
  for (size_t i = 0; i < n; ++i) {
    const Corner &before = loop[(i + n - 1) % n], &at = loop[i];
    const bool forward = before.vertex == v && at.vertex == w;
    if (!forward && !(before.vertex == w && at.vertex == v))
      continue;
    const moColor cv = forward ? before.colour : at.colour,
                  cw = forward ? at.colour : before.colour;
    loop.insert(loop.begin() + static_cast<ptrdiff_t>(i), Corner{p, blend(cv, cw, t)});
    return;
  }
  invalid();
}

void renameCorners(CornerLoop &loop, const std::vector<int32_t> &from, int32_t to) {
  for (Corner &c : loop)
    if (std::find(from.begin(), from.end(), c.vertex) != from.end())
      c.vertex = to;
  dropRepeatedCorners(loop);
}

bool adjacentInLoop(const CornerLoop &loop, int32_t i, int32_t j) {
  const int32_t n = static_cast<int32_t>(loop.size());
  return (i + 1) % n == j || (j + 1) % n == i;
}

// Whether another edge than e joins e's two ends.
bool hasFlange(const moObject &obj, int32_t e) {
  const moEdge &d = obj.edges[e];
  bool found = false;
  obj.forEachEdgeAtVertex(d.Head, [&](int32_t x) {
    found = found || (x != e && obj.otherVertex(x, d.Head) == d.Tail);
  });
  return found;
}

const char *const kDoubleNeighbour = "Vertex is not collapsible - double vertex neighbor";

// A face reduced to two sides is dropped; the face across `second` is relinked so that the
// digon's other edge takes second's place there.
void dropDigon(MeshRebuild &rebuild, const moObject &obj, int32_t face, int32_t second,
               const std::vector<int32_t> &untouchable) {
  rebuild.removeFace(face);
  rebuild.avoidEdge(second);
  const int32_t across = obj.otherFace(second, face);
  if (across != -1 && !rebuild.scheduled(across) &&
      std::find(untouchable.begin(), untouchable.end(), across) == untouchable.end())
    rebuild.reshape(across, readLoop(obj, across));
}

int32_t joinTwoEdges(moObject &obj, UserInterface &ui, int32_t v,
                     const std::vector<int32_t> &ring) {
  const int32_t a = obj.otherVertex(ring[0], v), b = obj.otherVertex(ring[1], v);
  // Joining would leave an edge twice between a and b, or a face of two sides.
  if (a == b || obj.findEdge(a, b) != -1) {
    ui.messageBox(kDoubleNeighbour);
    return -1;
  }
  MeshRebuild rebuild(obj);
  for (int32_t e : ring) {
    const int32_t f = faceLeaving(obj, e, v);
    CornerLoop loop = readLoop(obj, f);
    loop.erase(loop.begin() + cornerIndex(loop, v));
    rebuild.reshape(f, std::move(loop));
  }
  rebuild.moveEdgeEnd(ring[0], v, b);
  rebuild.removeVertex(v);
  rebuild.apply();
  return -1;
}

} // namespace

int32_t splitEdge(moObject &obj, int32_t e, float t, int32_t v) {
  const moEdge d = obj.edgeAt(e);
  if (!d.active())
    invalid();
  if (v == -1)
    v = d.Tail;
  const int32_t w = obj.otherVertex(e, v);
  if (w == -1)
    invalid();
  const moVec3 a = obj.vertexAt(v).Coordinates, b = obj.vertexAt(w).Coordinates;
  const int32_t sides[2] = {d.RightFace, d.LeftFace};
  CornerLoop loops[2] = {readLoop(obj, sides[0]), readLoop(obj, sides[1])};
  const moVec3 at = add(a, scale(t, subtract(b, a)));
  const int32_t p = obj.addVertex(at.x, at.y, at.z);
  MeshRebuild rebuild(obj);
  rebuild.moveEdgeEnd(e, w, p);
  const int32_t n = v == d.Tail ? rebuild.newEdge(p, w) : rebuild.newEdge(w, p);
  for (int k = 0; k < 2; ++k) {
    insertBetween(loops[k], v, w, p, t);
    rebuild.reshape(sides[k], std::move(loops[k]));
  }
  rebuild.apply();
  return n;
}

int32_t splitEdgeAtDistance(moObject &obj, int32_t e, float d, int32_t v) {
  const moEdge &edge = obj.edgeAt(e);
  const float len = length(obj.edgeVector(e, edge.Tail));
  if (d <= 0 || d >= len)
    return -1;
  return splitEdge(obj, e, d / len, v);
}

int32_t cutFace(moObject &obj, UserInterface &ui, int32_t f, int32_t a, int32_t b) {
  if (a == b) {
    ui.messageBox("Vertices identical. Skipping face cut");
    return -1;
  }
  const CornerLoop loop = readLoop(obj, f);
  const int32_t ia = cornerIndex(loop, a), ib = cornerIndex(loop, b);
  if (ia == -1 || ib == -1) {
    ui.messageBox("Vertices not on perimeter of face.  Skipping face cut");
    return -1;
  }
  if (obj.findEdge(a, b) != -1) {
    ui.messageBox("Edge exists between the two vertices.  Skipping face cut");
    return -1;
  }
  // The new face takes the corners after a up to b and closes with the new edge b -> a.
  const CornerLoop fromA = rotatedToStart(loop, a);
  const auto toB = static_cast<size_t>((ib - ia + int32_t(loop.size())) % int32_t(loop.size()));
  const CornerLoop moved(fromA.begin(), fromA.begin() + static_cast<ptrdiff_t>(toB) + 1);
  CornerLoop kept(fromA.begin() + static_cast<ptrdiff_t>(toB), fromA.end());
  kept.push_back(fromA.front());
  MeshRebuild rebuild(obj);
  const int32_t g = rebuild.addFace(moved);
  rebuild.newEdge(b, a);
  rebuild.reshape(f, std::move(kept));
  rebuild.apply();
  return g;
}

int32_t collapseVertex(moObject &obj, UserInterface &ui, int32_t v, float d) {
  if (d > 0)
    for (int32_t e : edgesAround(obj, v))
      splitEdgeAtDistance(obj, e, d, v);
  const std::vector<int32_t> ring = edgesAround(obj, v);
  if (ring.size() < 2)
    invalid();
  if (ring.size() == 2)
    return joinTwoEdges(obj, ui, v, ring);
  // Every face around v loses its corner there; one new face over the neighbours, in ring
  // order, fills the hole. A triangle left with two sides goes: its far edge borders the new face.
  std::vector<int32_t> around, neighbours;
  CornerLoop hole;
  for (int32_t e : ring) {
    around.push_back(faceLeaving(obj, e, v));
    neighbours.push_back(obj.otherVertex(e, v));
    const CornerLoop loop = rotatedToStart(readLoop(obj, around.back()), v);
    hole.push_back({neighbours.back(), loop.size() > 1 ? loop[1].colour : kWhite});
  }
  std::sort(neighbours.begin(), neighbours.end());
  std::vector<int32_t> faceSet(around);
  std::sort(faceSet.begin(), faceSet.end());
  if (std::adjacent_find(neighbours.begin(), neighbours.end()) != neighbours.end() ||
      std::adjacent_find(faceSet.begin(), faceSet.end()) != faceSet.end()) {
    ui.messageBox(kDoubleNeighbour);
    return -1;
  }
  MeshRebuild rebuild(obj);
  const int32_t f = rebuild.addFace(std::move(hole));
  for (int32_t g : around) {
    CornerLoop loop = readLoop(obj, g);
    loop.erase(loop.begin() + cornerIndex(loop, v));
    if (loop.size() >= 3)
      rebuild.reshape(g, std::move(loop));
    else
      rebuild.removeFace(g);
  }
  rebuild.removeVertex(v);
  rebuild.apply();
  return f;
}

namespace {

bool collapseEdgeRefused(const moObject &obj, UserInterface &ui, int32_t e) {
  const moEdge &d = obj.edges[e];
  for (int32_t x : {d.ForeWing, d.BackWing, d.ccwForeWing, d.ccwBackWing, d.LeftFace, d.RightFace})
    if (x == -1) {
      ui.messageBox("Edge is not fully connected.  Skipping collapse.");
      return true;
    }
  for (int32_t x : edgesAround(obj, d.Head)) {
    const CornerLoop loop = readLoop(obj, faceLeaving(obj, x, d.Head));
    const int32_t i = cornerIndex(loop, d.Head), j = cornerIndex(loop, d.Tail);
    if (i != -1 && j != -1 && !adjacentInLoop(loop, i, j)) {
      ui.messageBox("Edge divides a laminar region.  Skipping collapse.");
      return true;
    }
  }
  if (hasFlange(obj, e)) {
    ui.messageBox("Edge has a flange edge.  Skipping collapse.");
    return true;
  }
  return false;
}

} // namespace

bool collapseEdge(moObject &obj, UserInterface &ui, int32_t e) {
  if (!obj.edgeAt(e).active())
    invalid();
  if (collapseEdgeRefused(obj, ui, e))
    return false;
  const moEdge d = obj.edges[e];
  const int32_t keep = std::min(d.Head, d.Tail), gone = std::max(d.Head, d.Tail);
  const int32_t sides[2] = {d.RightFace, d.LeftFace};
  CornerLoop loops[2] = {readLoop(obj, sides[0]), readLoop(obj, sides[1])};
  // In each face, the side edge that meets e at the merged-away end; it gives way to the other
  // side edge when the face is left with two sides.
  int32_t atGone[2] = {-1, -1};
  for (int k = 0; k < 2; ++k)
    obj.forEachEdgeOfFace(sides[k], false, [&](int32_t x) {
      if (x != e && obj.otherVertex(x, gone) != -1)
        atGone[k] = x;
    });
  MeshRebuild rebuild(obj);
  for (int32_t x : edgesAround(obj, gone))
    if (x != e)
      rebuild.moveEdgeEnd(x, gone, keep);
  obj.vertices[keep].Coordinates = obj.edgeMidpoint(e);
  std::vector<int32_t> digons;
  for (int k = 0; k < 2; ++k) {
    renameCorners(loops[k], {gone}, keep);
    if (loops[k].size() >= 3)
      rebuild.reshape(sides[k], std::move(loops[k]));
    else
      digons.push_back(k);
  }
  for (int k : digons)
    dropDigon(rebuild, obj, sides[k], atGone[k], {sides[0], sides[1]});
  rebuild.removeVertex(gone);
  rebuild.apply();
  return true;
}

namespace {

bool collapseFaceRefused(const moObject &obj, UserInterface &ui, int32_t f,
                         const CornerLoop &loop) {
  std::vector<int32_t> corners;
  for (const Corner &c : loop)
    corners.push_back(c.vertex);
  for (const Corner &c : loop)
    for (int32_t x : edgesAround(obj, c.vertex)) {
      const int32_t g = faceLeaving(obj, x, c.vertex);
      if (g == f)
        continue;
      // Two corners of f on one other face that are not neighbours along f would pinch it.
      const CornerLoop other = readLoop(obj, g);
      for (size_t i = 0; i < other.size(); ++i)
        for (size_t j = i + 1; j < other.size(); ++j) {
          const int32_t p = cornerIndex(loop, other[i].vertex),
                        q = cornerIndex(loop, other[j].vertex);
          if (p != -1 && q != -1 && !adjacentInLoop(loop, p, q)) {
            ui.messageBox("Face is undercut by edge or it undercuts another face.  Skipping "
                          "collapse.");
            return true;
          }
        }
    }
  bool flange = false;
  obj.forEachEdgeOfFace(f, false, [&](int32_t x) { flange = flange || hasFlange(obj, x); });
  if (flange) {
    ui.messageBox("Face has a flange edge.  Skipping Collapse.");
    return true;
  }
  if (obj.isSingleNeighbour(f)) {
    ui.messageBox("Face is a lamina.  Skipping Collapse.");
    return true;
  }
  return false;
}

} // namespace

bool collapseFace(moObject &obj, UserInterface &ui, int32_t f) {
  if (!obj.faceAt(f).active())
    invalid();
  const CornerLoop loop = readLoop(obj, f);
  if (collapseFaceRefused(obj, ui, f, loop))
    return false;
  std::vector<int32_t> corners, edgesOfF, neighbours;
  for (const Corner &c : loop)
    corners.push_back(c.vertex);
  obj.faceEdges(f, edgesOfF);
  for (int32_t e : edgesOfF)
    if (std::find(neighbours.begin(), neighbours.end(), obj.otherFace(e, f)) == neighbours.end())
      neighbours.push_back(obj.otherFace(e, f));
  std::vector<CornerLoop> loops;
  for (int32_t g : neighbours)
    loops.push_back(readLoop(obj, g));
  const moVec3 centre = obj.faceCentroid(f);
  const int32_t c = obj.addVertex(centre.x, centre.y, centre.z);
  MeshRebuild rebuild(obj);
  for (int32_t p : corners)
    for (int32_t x : edgesAround(obj, p))
      if (std::find(edgesOfF.begin(), edgesOfF.end(), x) == edgesOfF.end())
        rebuild.moveEdgeEnd(x, p, c);
  rebuild.removeFace(f);
  for (int32_t p : corners)
    rebuild.removeVertex(p);
  std::vector<int32_t> digons;
  for (size_t k = 0; k < neighbours.size(); ++k) {
    renameCorners(loops[k], corners, c);
    if (loops[k].size() >= 3)
      rebuild.reshape(neighbours[k], std::move(loops[k]));
    else
      digons.push_back(neighbours[k]);
  }
  std::vector<int32_t> untouchable(digons);
  untouchable.push_back(f);
  for (int32_t g : digons) {
    std::vector<int32_t> ring, sides;
    obj.faceEdges(g, ring);
    for (int32_t x : ring)
      if (std::find(edgesOfF.begin(), edgesOfF.end(), x) == edgesOfF.end())
        sides.push_back(x);
    if (sides.size() != 2)
      invalid();
    dropDigon(rebuild, obj, g, sides[1], untouchable);
  }
  rebuild.apply();
  return true;
}

bool dissolveEdge(moObject &obj, UserInterface &ui, int32_t e, int32_t keep) {
  const moEdge d = obj.edgeAt(e);
  if (!d.active())
    invalid();
  for (int32_t end : {d.Head, d.Tail})
    if (edgesAround(obj, end).size() == 2)
      return collapseVertex(obj, ui, end, -1) != -1 || !obj.vertices[end].active();
  if (d.LeftFace == -1 && d.RightFace == -1) {
    obj.detachEdge(e);
    return true;
  }
  const int32_t first =
      keep == d.LeftFace || keep == d.RightFace ? keep : std::min(d.LeftFace, d.RightFace);
  const int32_t second = first == d.LeftFace ? d.RightFace : d.LeftFace;
  if (first == -1 || second == -1) {
    if (first == -1)
      ui.messageBox("Can't dissolve edge, it separates face and emptiness");
    return false;
  }
  if (obj.sharedEdgeCount(first, second) > 1) {
    ui.messageBox("Face will have holes, not dissolving");
    return false;
  }
  // first runs x -> y along e and second y -> x: first's corners from y round to x, then
  // second's corners strictly between x and y.
  const int32_t x = obj.startVertex(e, first), y = obj.endVertex(e, first);
  CornerLoop merged = rotatedToStart(readLoop(obj, first), y);
  const CornerLoop other = rotatedToStart(readLoop(obj, second), x);
  merged.insert(merged.end(), other.begin() + 1, other.end() - 1);
  MeshRebuild rebuild(obj);
  rebuild.reshape(first, std::move(merged));
  rebuild.removeFace(second);
  rebuild.apply();
  return true;
}
