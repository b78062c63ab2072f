// fix(): the repair sequence, separating the fans of vertices, closing the remaining boundary
// loops, and filling an moObject from the builder.
#include "core/mesh_builder.h"

#include "core/mesh_builder_lists.h"
#include "core/mesh_validation.h"

#include <algorithm>
#include <unordered_set>

using namespace mesh_builder_lists;

namespace {

// Index of value in list, or -1.
template <class List> int32_t indexIn(const List &list, int32_t value) {
  const auto it = std::find(list.begin(), list.end(), value);
  return it == list.end() ? -1 : int32_t(it - list.begin());
}

constexpr int32_t kBroken = -2; // a turn around a vertex met inconsistent lists

} // namespace

bool MeshBuilder::hasFaces() const {
  for (const Face &f : faces_)
    if (!f.edges.empty())
      return true;
  return false;
}

bool MeshBuilder::fix() {
  if (!hasFaces()) {
    diag_ << "object has no faces, aborting" << std::endl;
    return false;
  }
  // Whether the lists passed the checks and have not changed since: checking them again
  // would find nothing and write nothing.
  bool clean = builderValid();
  if (nonManifoldPopulated()) {
    groupSurfaces();
    splitNonManifoldEdges();
    clean = false;
    if (nonManifoldPopulated())
      return false;
  }
  if (boundaryPopulated()) {
    stitch();
    clean = builderValid();
    if (nonManifoldPopulated()) { // splitting has nothing to do otherwise
      splitNonManifoldEdges();
      clean = false;
      if (nonManifoldPopulated())
        return false;
    }
  }
  const int32_t vertices = vertexCount(); // separating a fan makes a vertex
  if (!separateFans())
    return false;
  if (!clean || vertexCount() != vertices)
    clean = builderValid();
  // The lists must hold together for the result to count as repaired.
  const bool closing = boundaryPopulated();
  if (!closeBoundaryLoops())
    return false;
  return (clean && !closing) || builderValid();
}

int32_t MeshBuilder::awayFace(int32_t e, int32_t v) const {
  const Edge &d = edges_[size_t(e)];
  const IndexList<2> *list = v == d.p1 ? &d.left : v == d.p0 ? &d.right : nullptr;
  return list == nullptr || list->empty() ? -1 : list->front();
}

int32_t MeshBuilder::towardFace(int32_t e, int32_t v) const {
  const Edge &d = edges_[size_t(e)];
  const IndexList<2> *list = v == d.p1 ? &d.right : v == d.p0 ? &d.left : nullptr;
  return list == nullptr || list->empty() ? -1 : list->front();
}

// The next edge around v: forward through the face that e carries away from v (the edge
// before e in it), backward through the face that brings e to v (the edge after e). -1 where
// there is no such face, kBroken when the face does not list e.
int32_t MeshBuilder::turnAround(int32_t e, int32_t v, bool forward) const {
  const int32_t f = forward ? awayFace(e, v) : towardFace(e, v);
  if (f == -1)
    return -1;
  const auto &loop = faces_[size_t(f)].edges;
  const int32_t k = indexIn(loop, e);
  if (k == -1) {
    diag_ << "face fails to link to edge which links to it" << std::endl;
    return kBroken;
  }
  const int32_t n = int32_t(loop.size());
  const int32_t next = loop[size_t(forward ? (k + n - 1) % n : (k + 1) % n)];
  const Edge &d = edges_[size_t(next)];
  if (d.p0 != v && d.p1 != v) {
    diag_ << "vertex " << v << " is not on edge " << next << std::endl;
    return kBroken;
  }
  return next;
}

int32_t MeshBuilder::fanSize(int32_t v) {
  const auto &around = vertices_[size_t(v)].edges;
  const int32_t limit = int32_t(around.size());
  const int32_t first = around.front();
  const auto tooMany = [&] {
    diag_ << "more connected edges around vertex than vertex has" << std::endl;
    return 0;
  };
  int32_t count = 1;
  int32_t e = first;
  for (;;) {
    const int32_t next = turnAround(e, v, true);
    if (next == kBroken)
      return 0;
    if (next == first)
      return count;
    if (next == -1)
      break;
    if (++count > limit)
      return tooMany();
    e = next;
  }
  // An open fan: count the other side from the first edge as well.
  for (e = first;;) {
    const int32_t next = turnAround(e, v, false);
    if (next == kBroken)
      return 0;
    if (next == -1)
      return count;
    if (next == first || ++count > limit)
      return tooMany();
    e = next;
  }
}

bool MeshBuilder::separateFans() {
  for (int32_t v = vertexCount() - 1; v >= 0; --v) {
    while (!vertices_[size_t(v)].edges.empty()) {
      const int32_t edgesAtV = int32_t(vertices_[size_t(v)].edges.size());
      const int32_t size = fanSize(v);
      if (size == edgesAtV)
        break;
      if (size == 0 || size > edgesAtV) {
        diag_ << "ERROR: should never reach this point" << std::endl;
        diag_ << "vertex " << v << " has " << edgesAtV << " connected edges, but has " << size
              << " on one surface" << std::endl;
        return false;
      }
      // The fan of the first edge: to its end one way, then back through all of it.
      const int32_t first = vertices_[size_t(v)].edges.front();
      int32_t end = first;
      for (int32_t steps = 0; steps < size; ++steps) {
        const int32_t next = turnAround(end, v, true);
        if (next < 0 || next == first)
          break;
        end = next;
      }
      std::vector<int32_t> fan{end};
      for (int32_t t = turnAround(end, v, false); t >= 0 && t != end && int32_t(fan.size()) < size;
           t = turnAround(t, v, false))
        fan.push_back(t);
      const int32_t w = newVertexLike(v);
      const std::unordered_set<int32_t> inFan(fan.begin(), fan.end());
      for (int32_t t : fan) {
        Edge &d = edges_[size_t(t)];
        (d.p0 == v ? d.p0 : d.p1) = w;
        removeAll(vertices_[size_t(v)].edges, t);
        addUnique(vertices_[size_t(w)].edges, t);
      }
      // The faces of the fan: only their corners at v between two fan edges move.
      for (int32_t t : fan)
        for (const auto *list : {&edges_[size_t(t)].left, &edges_[size_t(t)].right})
          for (int32_t f : *list) {
            Face &face = faces_[size_t(f)];
            const size_t n = face.edges.size();
            for (size_t k = 0; k < n && k < face.vertices.size(); ++k)
              if (face.vertices[k] == v &&
                  (inFan.count(face.edges[k]) != 0 || inFan.count(face.edges[(k + 1) % n]) != 0))
                face.vertices[k] = w;
            if (!contains(face.vertices, v))
              removeAll(vertices_[size_t(v)].faces, f);
            addUnique(vertices_[size_t(w)].faces, f);
          }
    }
  }
  return true;
}

bool MeshBuilder::closeBoundaryLoops() {
  if (!boundaryPopulated())
    return true;
  for (int32_t i = edgeCount() - 1; i >= 0; --i) {
    const Edge &d = edges_[size_t(i)];
    if (d.active() && d.left.empty() != d.right.empty() && !closeLoopFrom(i))
      return false;
  }
  return true;
}

bool MeshBuilder::closeLoopFrom(int32_t start) {
  const int32_t h = newFace({});
  const auto broken = [&] {
    diag_ << "boundary loop from edge " << start << " does not close" << std::endl;
    return false;
  };
  int32_t current = start;
  for (int32_t length = 0;; ++length) {
    if (length > edgeCount())
      return broken();
    Edge &d = edges_[size_t(current)];
    const bool toRight = !d.left.empty();
    if (!(toRight ? d.right : d.left).empty())
      return broken();
    unclassify(current);
    (toRight ? d.right : d.left).push_back(h);
    classify(current);
    const int32_t u = toRight ? d.p1 : d.p0;
    if (u < 0)
      return broken();
    faces_[size_t(h)].edges.push_back(current);
    faces_[size_t(h)].vertices.push_back(u);
    addUnique(vertices_[size_t(u)].faces, h);
    // Turn around u through the existing faces to the next edge with an open side at u.
    int32_t e = current, next = -1;
    const int32_t turns = int32_t(vertices_[size_t(u)].edges.size());
    for (int32_t k = 0; k <= turns; ++k) {
      const int32_t candidate = turnAround(e, u, true);
      if (candidate < 0)
        return broken();
      if (candidate == start || awayFace(candidate, u) == -1) {
        next = candidate;
        break;
      }
      e = candidate;
    }
    if (next == -1)
      return broken();
    if (next == start)
      break;
    current = next;
  }
  return faces_[size_t(h)].edges.size() != 2 || mergeTwoEdgeLoop(h);
}

bool MeshBuilder::mergeTwoEdgeLoop(int32_t h) {
  const int32_t m = faces_[size_t(h)].edges[0], l = faces_[size_t(h)].edges[1];
  Edge &dm = edges_[size_t(m)];
  Edge &dl = edges_[size_t(l)];
  if (!((dm.p0 == dl.p0 && dm.p1 == dl.p1) || (dm.p0 == dl.p1 && dm.p1 == dl.p0))) {
    diag_ << "ERROR: edge " << m << " and " << l << " fail to share both vertices" << std::endl;
    return false;
  }
  unclassify(m);
  const bool hOnLeft = contains(dm.left, h);
  removeAll(dm.left, h);
  removeAll(dm.right, h);
  removeAll(dl.left, h);
  removeAll(dl.right, h);
  const auto realFaces = dl.left.empty() ? dl.right : dl.left;
  if (sharesFace(m, l)) {
    // Both edges border the same face: merging them would put it on both sides.
    diag_ << "ERROR: edge " << m << " and " << l << " border the same face on both sides"
          << std::endl;
    return false;
  }
  for (int32_t f : realFaces) {
    (hOnLeft ? dm.left : dm.right).push_back(f);
    replaceAll(faces_[size_t(f)].edges, l, m);
  }
  deleteEdge(l);
  for (int32_t v : faces_[size_t(h)].vertices)
    removeAll(vertices_[size_t(v)].faces, h);
  faces_[size_t(h)].edges.clear();
  faces_[size_t(h)].vertices.clear();
  dropTrailingEmptyFaces();
  classify(m);
  builderValid();
  return true;
}

bool MeshBuilder::convertInto(moObject &object) {
  if (!hasFaces()) {
    diag_ << "object has no faces, aborting" << std::endl;
    return false;
  }
  try {
    object.reserve(edgeCount(), faceCount(), vertexCount());
    for (const Vertex &v : vertices_) {
      const int32_t index = object.addVertex(v.position.x, v.position.y, v.position.z);
      object.vertices[index].EdgeIndex = v.edges.empty() ? -1 : v.edges.front();
    }
    for (const Edge &d : edges_) {
      moEdge &e = object.edges[object.appendEdge()];
      if (!d.active())
        continue;
      e.Head = d.p0;
      e.Tail = d.p1;
      e.LeftFace = d.left.empty() ? -1 : d.left.front();
      e.RightFace = d.right.empty() ? -1 : d.right.front();
    }
    for (int32_t f = 0; f < faceCount(); ++f) {
      object.appendFace();
      const auto &loop = faces_[size_t(f)].edges;
      if (loop.empty())
        continue;
      object.faces[f].EdgeIndex = loop.front();
      // The object's faces run against the builder loop: the edge after P in the loop is the
      // one before P around the face.
      for (size_t k = loop.size(); k-- > 0;) {
        moEdge &p = object.edges[loop[k]];
        moEdge &c = object.edges[loop[(k + 1) % loop.size()]];
        (p.LeftFace == f ? p.ccwForeWing : p.ccwBackWing) = loop[(k + 1) % loop.size()];
        (c.LeftFace == f ? c.BackWing : c.ForeWing) = loop[k];
      }
    }
  } catch (const moTooManyElementsException &error) {
    diag_ << error.what() << std::endl;
    object.clear(true);
    return false;
  }
  // The verbose test only speaks up about a broken object.
  return objectLocallyValid(object, false) || objectLocallyValid(object, true);
}
