#include "triangulate/quad_edge.h"

#include <algorithm>

namespace motr {

void QuadEdgeMesh::clear() {
  quadCount_ = 0; // the arrays keep their size: makeEdge overwrites every field it reuses
  freeQuads_.clear();
  vertexEdge_.clear();
  liveQuads_ = 0;
}

int32_t QuadEdgeMesh::addVertex() {
  vertexEdge_.push_back(kNone);
  return static_cast<int32_t>(vertexEdge_.size()) - 1;
}

EdgeRef QuadEdgeMesh::makeEdge(int32_t org, int32_t dest) {
  int32_t quad;
  if (!freeQuads_.empty()) {
    quad = freeQuads_.back();
    freeQuads_.pop_back();
  } else {
    quad = quadCount_++;
    if (static_cast<size_t>(quad) == quads_.size()) {
      quads_.resize(std::max<size_t>(64, 2 * quads_.size()));
      edges_.resize(4 * quads_.size());
      triangles_.resize(edges_.size());
      flags_.resize(edges_.size());
    }
  }
  const EdgeRef e = 4 * quad;
  edges_[e] = {e, org};
  edges_[e + 1] = {e + 3, kNone};
  edges_[e + 2] = {e + 2, dest};
  edges_[e + 3] = {e + 1, kNone};
  for (int r = 0; r < 4; ++r) {
    triangles_[e + r] = kNone;
    flags_[e + r] = 0;
  }
  quads_[quad] = kAlive;
  ++liveQuads_;
  vertexEdge_[org] = e;
  vertexEdge_[dest] = e + 2;
  return e;
}

void QuadEdgeMesh::splice(EdgeRef a, EdgeRef b) {
  const EdgeRef alpha = edges_[a].next ^ 1; // Rot of a primal edge
  const EdgeRef beta = edges_[b].next ^ 1;
  const EdgeRef t1 = edges_[b].next;
  const EdgeRef t2 = edges_[a].next;
  const EdgeRef t3 = edges_[beta].next;
  const EdgeRef t4 = edges_[alpha].next;
  edges_[a].next = t1;
  edges_[b].next = t2;
  edges_[alpha].next = t3;
  edges_[beta].next = t4;
}

void QuadEdgeMesh::deleteEdge(EdgeRef e) {
  // Keep every vertex's edge pointing at a live edge.
  const EdgeRef s = sym(e);
  if (vertexEdge_[org(e)] == e)
    vertexEdge_[org(e)] = onext(e) != e ? onext(e) : kNone;
  if (vertexEdge_[org(s)] == s)
    vertexEdge_[org(s)] = onext(s) != s ? onext(s) : kNone;
  splice(e, oprev(e));
  splice(s, oprev(s));
  quads_[e >> 2] = 0;
  --liveQuads_;
  freeQuads_.push_back(e >> 2);
}

EdgeRef QuadEdgeMesh::connect(EdgeRef a, EdgeRef b) {
  const EdgeRef e = makeEdge(dest(a), org(b));
  splice(e, lnext(a));
  splice(sym(e), b);
  return e;
}

void QuadEdgeMesh::swap(EdgeRef e) {
  const EdgeRef s = sym(e);
  const EdgeRef a = oprev(e);
  const EdgeRef b = oprev(s);
  if (vertexEdge_[org(e)] == e)
    vertexEdge_[org(e)] = a;
  if (vertexEdge_[org(s)] == s)
    vertexEdge_[org(s)] = b;
  splice(e, a);
  splice(s, b);
  splice(e, lnext(a));
  splice(s, lnext(b));
  edges_[e].org = dest(a);
  edges_[s].org = dest(b);
}

} // namespace motr
