#include "ops/cut_closing.h"

#include "core/mesh_validation.h"
#include "triangulate/face_triangulator.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace {

// One side of an edge: the right side runs Tail -> Head, the left side Head -> Tail.
struct Side {
  int32_t edge;
  bool right;
};

int32_t &faceOf(moObject &obj, const Side &s) {
  moEdge &d = obj.edges[s.edge];
  return s.right ? d.RightFace : d.LeftFace;
}
int32_t sideEnd(const moObject &obj, const Side &s) {
  return s.right ? obj.edges[s.edge].Head : obj.edges[s.edge].Tail;
}
bool isOpen(const moObject &obj, int32_t f) {
  return !obj.faces.contains(f) || !obj.faces[f].active();
}

// Joins sides into face g in order, each side's neighbours in the loop becoming its wings.
void linkLoop(moObject &obj, const std::vector<Side> &loop, int32_t g) {
  const size_t n = loop.size();
  for (size_t i = 0; i < n; ++i) {
    moEdge &d = obj.edges[loop[i].edge];
    const int32_t next = loop[(i + 1) % n].edge, prev = loop[(i + n - 1) % n].edge;
    (loop[i].right ? d.RightFace : d.LeftFace) = g;
    (loop[i].right ? d.ForeWing : d.BackWing) = next;
    (loop[i].right ? d.ccwBackWing : d.ccwForeWing) = prev;
  }
  obj.faces[g].EdgeIndex = loop[0].edge;
}

class CutCloser {
public:
  CutCloser(moObject &obj, const moVec3 &n) : obj_(obj), n_(n), used_(obj.vertices.count(), -1) {}
  void run();

private:
  Side nextSide(const Side &arriving, std::vector<int32_t> &fan);
  void separatePassage(int32_t v, const std::vector<int32_t> &fan);
  void closeLoop(const Side &start);
  int32_t faceAround(int32_t hole, const std::vector<int32_t> &outers) const;
  void joinHoles();
  void triangulateRegion(int32_t outer, const std::vector<int32_t> &holes);

  moObject &obj_;
  moVec3 n_;
  std::vector<int32_t> used_; // per vertex: an edge of the first passage of a loop through it
  std::vector<int32_t> newFaces_;
  int32_t firstNewFace_ = obj_.faces.count();
  int32_t closing_ = -1; // the face being closed
};

// Turns around the vertex a side arrives at, through the faces that remain, to the next open
// side; fan collects every edge passed at that vertex.
Side CutCloser::nextSide(const Side &arriving, std::vector<int32_t> &fan) {
  const int32_t v = sideEnd(obj_, arriving);
  int32_t e = arriving.edge;
  int32_t f = arriving.right ? obj_.edges[e].LeftFace : obj_.edges[e].RightFace;
  fan.assign(1, e);
  for (int32_t steps = 0; steps <= obj_.edges.count(); ++steps) {
    if (isOpen(obj_, f) || f >= firstNewFace_)
      throw moInvalidTopologyException();
    e = obj_.prevEdgeOfFace(e, f);
    fan.push_back(e);
    const int32_t across = obj_.otherFace(e, f);
    if (across == closing_ || across == -1 || isOpen(obj_, across)) {
      const Side next{e, obj_.edges[e].LeftFace == f}; // the side away from f leaves v
      if ((next.right ? obj_.edges[e].Tail : obj_.edges[e].Head) != v)
        throw moInvalidTopologyException();
      return next;
    }
    f = across;
  }
  throw moInvalidTopologyException();
}

// A second passage of a loop through v gets a vertex of its own for the edges of its fan.
void CutCloser::separatePassage(int32_t v, const std::vector<int32_t> &fan) {
  if (used_[v] == -1) {
    used_[v] = fan.front();
    return;
  }
  const moVec3 p = obj_.vertices[v].Coordinates;
  const int32_t copy = obj_.addVertex(p.x, p.y, p.z);
  used_.push_back(fan.front());
  for (int32_t e : fan) {
    moEdge &d = obj_.edges[e];
    (d.Head == v ? d.Head : d.Tail) = copy;
    obj_.edgeEndsChanged(e);
  }
  obj_.vertices[copy].EdgeIndex = fan.front();
  obj_.vertices[v].EdgeIndex = used_[v];
}

void CutCloser::closeLoop(const Side &start) {
  closing_ = obj_.appendFace();
  newFaces_.push_back(closing_);
  faceOf(obj_, start) = closing_;
  obj_.faces[closing_].EdgeIndex = start.edge;
  std::vector<Side> loop{start};
  std::vector<int32_t> fan;
  for (int32_t steps = 0;; ++steps) {
    if (steps > obj_.edges.count())
      throw moInvalidTopologyException();
    const Side next = nextSide(loop.back(), fan);
    separatePassage(sideEnd(obj_, loop.back()), fan);
    if (next.edge == start.edge && next.right == start.right)
      break;
    faceOf(obj_, next) = closing_;
    loop.push_back(next);
  }
  linkLoop(obj_, loop, closing_);
  closing_ = -1;
}

void CutCloser::run() {
  for (int32_t e = obj_.edges.count() - 1; e >= 0; --e) {
    if (!obj_.edges[e].active())
      continue;
    if (isOpen(obj_, obj_.edges[e].LeftFace))
      closeLoop({e, false});
    if (isOpen(obj_, obj_.edges[e].RightFace))
      closeLoop({e, true});
  }
  if (!objectLocallyValid(obj_, true))
    throw moInvalidTopologyException();
  joinHoles();
}

// The smallest of the outer faces whose bounds hold the hole's, shrunk by 0.001 on every side.
int32_t CutCloser::faceAround(int32_t hole, const std::vector<int32_t> &outers) const {
  moVec3 hMin, hMax, fMin, fMax;
  obj_.faceBounds(hole, hMin, hMax);
  int32_t around = -1;
  float aroundSize = kFloatMax;
  for (int32_t f : outers) {
    obj_.faceBounds(f, fMin, fMax);
    bool holds = true;
    for (int a = 0; a < 3; ++a)
      holds =
          holds && (&fMin.x)[a] <= (&hMin.x)[a] + 0.001f && (&hMax.x)[a] - 0.001f <= (&fMax.x)[a];
    const float size = lengthSquared(subtract(fMax, fMin));
    if (holds && size < aroundSize) {
      around = f;
      aroundSize = size;
    }
  }
  return around;
}

// New faces turned against the cut normal are holes; each joins the face around it, the last
// hole first.
void CutCloser::joinHoles() {
  std::vector<int32_t> outers, holes;
  for (int32_t f : newFaces_)
    (dot(obj_.faceNormal(f, false), n_) < 0 ? holes : outers).push_back(f);
  std::unordered_map<int32_t, std::vector<int32_t>> holesOf;
  for (auto h = holes.rbegin(); h != holes.rend(); ++h) {
    const int32_t around = faceAround(*h, outers);
    if (around == -1)
      throw moInvalidTopologyException();
    holesOf[around].push_back(*h);
  }
  for (int32_t f : outers)
    if (holesOf.count(f))
      triangulateRegion(f, holesOf[f]);
}

uint64_t runKey(int32_t from, int32_t to) { return uint64_t(uint32_t(from)) << 32 | uint32_t(to); }

// Faces the region of an outer loop and its holes with triangles of the polygon triangulation;
// each loop edge keeps its place on the side that faced the region.
class RegionFill {
public:
  explicit RegionFill(moObject &obj) : obj_(obj) {}
  // Takes face f's loop into the region and deletes the face.
  void addLoop(int32_t f);
  void fill(const moVec3 &n);

private:
  Side sideFor(int32_t from, int32_t to);

  moObject &obj_;
  FaceTriangulator triangulator_;
  std::vector<int32_t> points_, corners_;
  std::unordered_map<uint64_t, Side> boundary_; // each loop side by its run from -> to
  std::unordered_map<uint64_t, int32_t> inner_; // lower, higher vertex -> new inner edge
  std::vector<int32_t> innerEdges_;
};

void RegionFill::addLoop(int32_t f) {
  obj_.forEachEdgeOfFace(f, false, [&](int32_t e) {
    const Side side{e, obj_.edges[e].RightFace == f};
    boundary_[runKey(obj_.startVertex(e, f), obj_.endVertex(e, f))] = side;
  });
  obj_.faceVertices(f, corners_, true); // counter-clockwise seen along n; holes the other way
  for (int32_t v : corners_) {
    const moVec3 &p = obj_.vertices[v].Coordinates;
    triangulator_.addPoint(p.x, p.y, p.z);
    points_.push_back(v);
  }
  triangulator_.closeLoop();
  obj_.deleteFace(f);
}

// The loop side a triangle runs along from -> to, or a side of an inner edge made for it.
Side RegionFill::sideFor(int32_t from, int32_t to) {
  const auto b = boundary_.find(runKey(from, to));
  if (b != boundary_.end()) {
    const Side side = b->second;
    boundary_.erase(b);
    return side;
  }
  const uint64_t undirected = runKey(std::min(from, to), std::max(from, to));
  auto it = inner_.find(undirected);
  if (it == inner_.end()) {
    it = inner_.emplace(undirected, obj_.makeEdge(from, to, true)).first;
    innerEdges_.push_back(it->second);
  }
  const Side side{it->second, obj_.edges[it->second].Tail == from};
  if (faceOf(obj_, side) != -1)
    throw moInvalidTopologyException();
  return side;
}

void RegionFill::fill(const moVec3 &n) {
  const float normal[3] = {n.x, n.y, n.z};
  const int count = triangulator_.triangulate(normal);
  if (count <= 0)
    throw moInvalidTopologyException();
  const std::vector<int> &t = triangulator_.triangles();
  for (int i = 0; i < count; ++i) {
    // Counter-clockwise seen along n; faces run the other way.
    const int32_t c[3] = {points_[t[3 * i]], points_[t[3 * i + 2]], points_[t[3 * i + 1]]};
    const std::vector<Side> loop{sideFor(c[0], c[1]), sideFor(c[1], c[2]), sideFor(c[2], c[0])};
    linkLoop(obj_, loop, obj_.appendFace());
  }
  for (int32_t e : innerEdges_)
    if (obj_.edges[e].LeftFace == -1 || obj_.edges[e].RightFace == -1)
      throw moInvalidTopologyException();
  if (!boundary_.empty())
    throw moInvalidTopologyException();
}

void CutCloser::triangulateRegion(int32_t outer, const std::vector<int32_t> &holes) {
  RegionFill region(obj_);
  region.addLoop(outer);
  for (int32_t h : holes)
    region.addLoop(h);
  region.fill(n_);
}

} // namespace

void closeCut(moObject &obj, const moVec3 &n) { CutCloser(obj, n).run(); }
