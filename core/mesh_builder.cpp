#include "core/mesh_builder.h"

#include "core/mesh_builder_lists.h"

#include <algorithm>
#include <limits>
#include <unordered_map>
#include <unordered_set>

using namespace mesh_builder_lists;

namespace {

constexpr float kBoundsMargin = 0.00001f;

template <class T> int32_t nextIndex(const std::vector<T> &list) {
  return list.size() >= size_t(std::numeric_limits<int32_t>::max()) ? -1 : int32_t(list.size());
}

} // namespace

MeshBuilder::MeshBuilder(std::ostream &diagnostics) : diag_(diagnostics) { clear(); }

void MeshBuilder::clear() {
  vertices_.clear();
  edges_.clear();
  faces_.clear();
  nextVertexId_ = nextPolygonId_ = 0;
  for (auto &row : classCounts_)
    std::fill(std::begin(row), std::end(row), 0);
  for (auto &row : classHeads_)
    std::fill(std::begin(row), std::end(row), -1);
  boundsMin_ = {kFloatMax, kFloatMax, kFloatMax};
  boundsMax_ = {-kFloatMax, -kFloatMax, -kFloatMax};
  threshold_ = 0.0f;
  grid_.clear();
}

void MeshBuilder::reserve(int32_t vertices, int32_t polygons) {
  vertices_.reserve(size_t(std::max(vertices, 0)));
  faces_.reserve(size_t(std::max(polygons, 0)));
  edges_.reserve(size_t(std::max(polygons, 0)) * 3 / 2);
}

int32_t MeshBuilder::addVertex(float x, float y, float z) {
  const int32_t v = nextIndex(vertices_);
  if (v < 0)
    throw moTooManyVerticesException();
  vertices_.emplace_back();
  vertices_.back().position = {x, y, z};
  vertices_.back().ids.push_back(nextVertexId_++);
  // NaN coordinates fail every comparison and leave the box alone.
  const float p[3] = {x, y, z};
  float *lo[3] = {&boundsMin_.x, &boundsMin_.y, &boundsMin_.z};
  float *hi[3] = {&boundsMax_.x, &boundsMax_.y, &boundsMax_.z};
  for (int axis = 0; axis < 3; ++axis) {
    if (p[axis] - kBoundsMargin < *lo[axis])
      *lo[axis] = p[axis] - kBoundsMargin;
    if (p[axis] + kBoundsMargin > *hi[axis])
      *hi[axis] = p[axis] + kBoundsMargin;
  }
  return v;
}

int32_t MeshBuilder::newVertexLike(int32_t v) {
  const int32_t w = nextIndex(vertices_);
  if (w < 0)
    throw moTooManyVerticesException();
  Vertex copy;
  copy.position = vertices_[size_t(v)].position;
  copy.ids = vertices_[size_t(v)].ids;
  vertices_.push_back(std::move(copy));
  return w;
}

int32_t MeshBuilder::newEdge(int32_t p0, int32_t p1) {
  if (p0 == p1) {
    diag_ << "creating edge on same vertex twice: " << p0 << std::endl;
    return -1;
  }
  const int32_t e = newEdgeSlot();
  edges_.back().p0 = p0;
  edges_.back().p1 = p1;
  for (int32_t v : {p0, p1})
    addUnique(vertices_[size_t(v)].edges, e);
  return e;
}

int32_t MeshBuilder::newEdgeSlot() {
  const int32_t e = nextIndex(edges_);
  if (e < 0)
    throw moTooManyEdgesException();
  edges_.emplace_back();
  edges_.back().p0 = edges_.back().p1 = kUnsetEnd;
  return e;
}

int32_t MeshBuilder::newFace(IndexList<2> ids) {
  const int32_t f = nextIndex(faces_);
  if (f < 0)
    throw moTooManyFacesException();
  faces_.emplace_back();
  faces_.back().parent = f;
  faces_.back().ids = std::move(ids);
  return f;
}

void MeshBuilder::classify(int32_t e) {
  Edge &d = edges_[size_t(e)];
  if (d.edgeClass != -1)
    unclassify(e);
  const int a = int(std::min<size_t>(d.left.size(), 3));
  const int b = int(std::min<size_t>(d.right.size(), 3));
  if (a == 0 && b == 0)
    diag_ << "classifying edge with no faces!!!" << std::endl;
  d.edgeClass = 4 * a + b;
  d.prevInClass = -1;
  d.nextInClass = classHeads_[a][b];
  if (d.nextInClass != -1)
    edges_[size_t(d.nextInClass)].prevInClass = e;
  classHeads_[a][b] = e;
  ++classCounts_[a][b];
}

void MeshBuilder::unclassify(int32_t e) {
  Edge &d = edges_[size_t(e)];
  if (d.edgeClass == -1)
    return;
  const int a = d.edgeClass / 4, b = d.edgeClass % 4;
  if (d.prevInClass != -1)
    edges_[size_t(d.prevInClass)].nextInClass = d.nextInClass;
  else
    classHeads_[a][b] = d.nextInClass;
  if (d.nextInClass != -1)
    edges_[size_t(d.nextInClass)].prevInClass = d.prevInClass;
  --classCounts_[a][b];
  d.prevInClass = d.nextInClass = -1;
  d.edgeClass = -1;
}

bool MeshBuilder::nonManifoldPopulated() const {
  for (int a = 0; a < 4; ++a)
    for (int b = 0; b < 4; ++b)
      if ((a >= 2 || b >= 2) && classCounts_[a][b] > 0)
        return true;
  return false;
}

bool MeshBuilder::boundaryPopulated() const {
  return classCounts_[0][1] > 0 || classCounts_[1][0] > 0;
}

int32_t MeshBuilder::faceTotal(int32_t e) const {
  const Edge &d = edges_[size_t(e)];
  return int32_t(d.left.size() + d.right.size());
}

bool MeshBuilder::faceOnEdge(int32_t e, int32_t f) const {
  const Edge &d = edges_[size_t(e)];
  return contains(d.left, f) || contains(d.right, f);
}

int32_t MeshBuilder::findEdge(int32_t p, int32_t q) const {
  // Every active edge is listed at both of its ends, so the shorter list suffices.
  const auto &ep = vertices_[size_t(p)].edges, &eq = vertices_[size_t(q)].edges;
  int32_t best = -1;
  for (int32_t e : ep.size() <= eq.size() ? ep : eq) {
    const Edge &d = edges_[size_t(e)];
    if (e > best && d.active() && ((d.p0 == p && d.p1 == q) || (d.p0 == q && d.p1 == p)))
      best = e;
  }
  return best;
}

void MeshBuilder::deleteEdge(int32_t e) {
  unclassify(e);
  Edge &d = edges_[size_t(e)];
  for (int32_t v : {d.p0, d.p1})
    if (v >= 0 && v < vertexCount())
      removeAll(vertices_[size_t(v)].edges, e);
  d.p0 = d.p1 = -1;
  d.left.clear();
  d.right.clear();
}

void MeshBuilder::detachFaceFromEdge(int32_t f, int32_t e) {
  if (!edges_[size_t(e)].active())
    return;
  unclassify(e);
  removeAll(edges_[size_t(e)].left, f);
  removeAll(edges_[size_t(e)].right, f);
  if (faceTotal(e) == 0)
    deleteEdge(e);
  else
    classify(e);
}

void MeshBuilder::emptyFace(int32_t f) {
  Face &face = faces_[size_t(f)];
  for (int32_t e : face.edges)
    detachFaceFromEdge(f, e);
  for (int32_t v : face.vertices)
    removeAll(vertices_[size_t(v)].faces, f);
  face.edges.clear();
  face.vertices.clear();
}

void MeshBuilder::dropTrailingEmptyFaces() {
  while (!faces_.empty() && faces_.back().edges.empty() && faces_.back().vertices.empty())
    faces_.pop_back();
}

void MeshBuilder::addPolygon(const int32_t *indices, int32_t count, bool forward) {
  const int32_t id = nextPolygonId_++;
  if (indices == nullptr || count < 3)
    return;
  for (int32_t k = 0; k < count; ++k)
    if (indices[k] < 0 || indices[k] >= vertexCount()) {
      diag_ << "polygon " << id << " names vertex " << indices[k]
            << " which was never added, polygon ignored" << std::endl;
      return;
    }
  const int32_t f = newFace({id});
  // The builder loop: the given order starting with the step from the last index to the first,
  // or the reverse order starting with the step from the first index to the last.
  int32_t prev = forward ? indices[count - 1] : indices[0];
  for (int32_t k = 0; k < count; ++k) {
    const int32_t q = forward ? indices[k] : indices[count - 1 - k];
    if (q == prev)
      continue;
    int32_t e = findEdge(prev, q);
    if (e == -1) {
      e = newEdge(q, prev);
      edges_[size_t(e)].left.push_back(f);
    } else {
      Edge &d = edges_[size_t(e)];
      addUnique(q == d.p0 ? d.left : d.right, f);
    }
    classify(e);
    faces_[size_t(f)].edges.push_back(e);
    faces_[size_t(f)].vertices.push_back(q);
    addUnique(vertices_[size_t(q)].faces, f);
    prev = q;
  }
  if (faces_[size_t(f)].vertices.size() > 2 && repairLoops(f))
    return;
  // Collapsed or degenerate: the polygon leaves nothing behind.
  for (int32_t g = faceCount() - 1; g >= f; --g)
    emptyFace(g);
  dropTrailingEmptyFaces();
}

bool MeshBuilder::repairLoops(int32_t f) {
  IndexList<4> work{f};
  while (!work.empty()) {
    const int32_t g = work.back();
    work.pop_back();
    auto sorted = faces_[size_t(g)].edges;
    std::sort(sorted.begin(), sorted.end());
    if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end())
      continue; // the usual case: every edge passed once
    std::unordered_map<int32_t, int32_t> occurrences;
    for (int32_t e : faces_[size_t(g)].edges)
      ++occurrences[e];
    const auto &loop = faces_[size_t(g)].edges;
    for (size_t k = loop.size(); k-- > 0;) {
      const int32_t e = loop[k];
      const int32_t n = occurrences[e];
      if (n == 1)
        continue;
      const Edge &d = edges_[size_t(e)];
      const auto listed = std::count(d.left.begin(), d.left.end(), g) +
                          std::count(d.right.begin(), d.right.end(), g);
      if (n > 2 || listed != 1 || !splitLoopAtEdge(g, e, work))
        return false;
      break; // both pieces are queued and checked again
    }
  }
  return true;
}

bool MeshBuilder::splitLoopAtEdge(int32_t f, int32_t e, IndexList<4> &work) {
  const auto loopEdges = faces_[size_t(f)].edges;
  const auto loopVertices = faces_[size_t(f)].vertices;
  const int32_t n = int32_t(loopEdges.size());
  if (int32_t(loopVertices.size()) != n) {
    diag_ << "fixEdgeOnFaceTwice: edge " << e << " not on face " << f << std::endl;
    return false;
  }
  const auto first = std::find(loopEdges.begin(), loopEdges.end(), e);
  const auto last = std::find(loopEdges.rbegin(), loopEdges.rend(), e);
  if (first == loopEdges.end()) {
    diag_ << "fixEdgeOnFaceTwice: edge " << e << " not on face " << f << std::endl;
    return false;
  }
  const int32_t b = int32_t(first - loopEdges.begin());
  const int32_t c = n - 1 - int32_t(last - loopEdges.rbegin());
  // Cut across between the middles of the two arcs; each piece then passes e once.
  const int32_t m1 = (b + c) / 2, m2 = (b + c + n) / 2;
  const int32_t moved = m2 - m1; // loop entries m1 + 1 .. m2 go to the new face
  if (moved + 1 < 3 || n - moved + 1 < 3)
    return false;
  const int32_t from = loopVertices[size_t(m1)], to = loopVertices[size_t(m2 % n)];
  // f passes the cut from -> to, the new face back. An edge that joins the two already is
  // taken, as any loop step would take it; a piece that then passes it twice is degenerate.
  int32_t cut = from == to ? -1 : findEdge(from, to);
  if (cut == -1)
    cut = newEdge(to, from);
  if (cut == -1)
    return false;
  const int32_t g = newFace(faces_[size_t(f)].ids);
  Face newLoop, oldLoop;
  for (int32_t k = m1 + 1; k <= m2; ++k) {
    newLoop.edges.push_back(loopEdges[size_t(k % n)]);
    newLoop.vertices.push_back(loopVertices[size_t(k % n)]);
  }
  newLoop.edges.push_back(cut);
  newLoop.vertices.push_back(from);
  for (int32_t k = m2 + 1; k <= m1 + n; ++k) {
    oldLoop.edges.push_back(loopEdges[size_t(k % n)]);
    oldLoop.vertices.push_back(loopVertices[size_t(k % n)]);
  }
  oldLoop.edges.push_back(cut);
  oldLoop.vertices.push_back(to);
  // Keep the old face's start where it did not move.
  if (m2 < n) {
    std::rotate(oldLoop.edges.begin(), oldLoop.edges.end() - (m1 + 2), oldLoop.edges.end());
    std::rotate(oldLoop.vertices.begin(), oldLoop.vertices.end() - (m1 + 2),
                oldLoop.vertices.end());
  }
  faces_[size_t(f)].edges = std::move(oldLoop.edges);
  faces_[size_t(f)].vertices = std::move(oldLoop.vertices);
  faces_[size_t(g)].edges = std::move(newLoop.edges);
  faces_[size_t(g)].vertices = std::move(newLoop.vertices);

  // Directions in which each loop passes its edges: bit 1 from p1 to p0 (left), bit 2 right.
  const auto directions = [&](int32_t face) {
    std::unordered_map<int32_t, int> mask;
    const Face &loop = faces_[size_t(face)];
    const size_t m = loop.edges.size();
    for (size_t k = 0; k < m; ++k)
      mask[loop.edges[k]] |= loop.vertices[k] == edges_[size_t(loop.edges[k])].p0 ? 1 : 2;
    return mask;
  };
  const auto maskF = directions(f), maskG = directions(g);
  const auto has = [](const std::unordered_map<int32_t, int> &mask, int32_t x, int bit) {
    const auto it = mask.find(x);
    return it != mask.end() && (it->second & bit) != 0;
  };
  for (const auto &entry : maskG) {
    const int32_t x = entry.first;
    unclassify(x);
    Edge &d = edges_[size_t(x)];
    for (int bit : {1, 2}) {
      auto &list = bit == 1 ? d.left : d.right;
      if (!has(maskF, x, bit))
        removeAll(list, f);
      else
        addUnique(list, f);
      if (has(maskG, x, bit))
        addUnique(list, g);
    }
    classify(x);
  }
  const std::unordered_set<int32_t> keptVertices(faces_[size_t(f)].vertices.begin(),
                                                 faces_[size_t(f)].vertices.end());
  for (int32_t v : faces_[size_t(g)].vertices) {
    addUnique(vertices_[size_t(v)].faces, g);
    if (keptVertices.count(v) == 0)
      removeAll(vertices_[size_t(v)].faces, f);
  }
  work.push_back(f);
  work.push_back(g);
  return true;
}
