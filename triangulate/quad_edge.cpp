#include "triangulate/quad_edge.h"

namespace motr {

void QuadEdgeMesh::clear() {
  next_.clear();
  org_.clear();
  triangle_.clear();
  flags_.clear();
  constrained_.clear();
  alive_.clear();
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
    quad = static_cast<int32_t>(alive_.size());
    alive_.push_back(0);
    constrained_.push_back(0);
    for (int r = 0; r < 4; ++r) {
      next_.push_back(kNone);
      org_.push_back(kNone);
      triangle_.push_back(kNone);
      flags_.push_back(0);
    }
  }
  const EdgeRef e = 4 * quad;
  next_[e] = e;
  next_[e + 1] = e + 3;
  next_[e + 2] = e + 2;
  next_[e + 3] = e + 1;
  org_[e] = org;
  org_[e + 2] = dest;
  for (int r = 0; r < 4; ++r) {
    triangle_[e + r] = kNone;
    flags_[e + r] = 0;
  }
  constrained_[quad] = 0;
  alive_[quad] = 1;
  ++liveQuads_;
  vertexEdge_[org] = e;
  vertexEdge_[dest] = e + 2;
  return e;
}

void QuadEdgeMesh::splice(EdgeRef a, EdgeRef b) {
  const EdgeRef alpha = rot(next_[a]);
  const EdgeRef beta = rot(next_[b]);
  const EdgeRef t1 = next_[b];
  const EdgeRef t2 = next_[a];
  const EdgeRef t3 = next_[beta];
  const EdgeRef t4 = next_[alpha];
  next_[a] = t1;
  next_[b] = t2;
  next_[alpha] = t3;
  next_[beta] = t4;
}

void QuadEdgeMesh::deleteEdge(EdgeRef e) {
  // Keep every vertex's edge pointing at a live edge.
  const EdgeRef s = sym(e);
  if (vertexEdge_[org(e)] == e)
    vertexEdge_[org(e)] = next_[e] != e ? next_[e] : kNone;
  if (vertexEdge_[org(s)] == s)
    vertexEdge_[org(s)] = next_[s] != s ? next_[s] : kNone;
  splice(e, oprev(e));
  splice(s, oprev(s));
  alive_[e >> 2] = 0;
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
  org_[e] = dest(a);
  org_[s] = dest(b);
}

} // namespace motr
