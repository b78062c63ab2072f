#include "ops/mesh_rebuild.h"

#include "core/mesh_validation.h"

#include <algorithm>

namespace {

uint64_t pairKey(int32_t a, int32_t b) {
  const auto lo = static_cast<uint32_t>(std::min(a, b)), hi = static_cast<uint32_t>(std::max(a, b));
  return uint64_t(lo) << 32 | hi;
}

[[noreturn]] void invalid() { throw moInvalidTopologyException(); }

} // namespace

CornerLoop readLoop(const moObject &obj, int32_t f) {
  CornerLoop loop;
  obj.forEachEdgeOfFace(f, false, [&](int32_t e) {
    loop.push_back({obj.endVertex(e, f), obj.cornerColor(e, f), e});
  });
  return loop;
}

int32_t cornerIndex(const CornerLoop &loop, int32_t v) {
  for (size_t i = 0; i < loop.size(); ++i)
    if (loop[i].vertex == v)
      return static_cast<int32_t>(i);
  return -1;
}

CornerLoop rotatedToStart(const CornerLoop &loop, int32_t v) {
  CornerLoop out(loop);
  const int32_t i = cornerIndex(loop, v);
  if (i > 0)
    std::rotate(out.begin(), out.begin() + i, out.end());
  return out;
}

void dropRepeatedCorners(CornerLoop &loop) {
  CornerLoop out;
  for (const Corner &c : loop)
    if (out.empty() || out.back().vertex != c.vertex)
      out.push_back(c);
  while (out.size() > 1 && out.back().vertex == out.front().vertex)
    out.pop_back();
  loop.swap(out);
}

int32_t faceLeaving(const moObject &obj, int32_t e, int32_t v) {
  const moEdge &d = obj.edgeAt(e);
  return v == d.Tail ? d.RightFace : d.LeftFace;
}

std::vector<int32_t> edgesAround(const moObject &obj, int32_t v) {
  std::vector<int32_t> ring;
  obj.forEachEdgeAtVertex(v, [&](int32_t e) { ring.push_back(e); });
  return ring;
}

int32_t MeshRebuild::addFace(CornerLoop loop) {
  const int32_t f = obj_.appendFace();
  loops_[f] = std::move(loop);
  order_.push_back(f);
  return f;
}

void MeshRebuild::reshape(int32_t f, CornerLoop loop) {
  if (!obj_.faceAt(f).active() || scheduled(f))
    invalid();
  loops_[f] = std::move(loop);
  order_.push_back(f);
}

void MeshRebuild::removeFace(int32_t f) {
  if (!obj_.faceAt(f).active() || scheduled(f))
    invalid();
  removedFaces_.push_back(f);
}

int32_t MeshRebuild::newEdge(int32_t tail, int32_t head) {
  const int32_t e = obj_.appendEdge();
  obj_.edges[e].Tail = tail;
  obj_.edges[e].Head = head;
  obj_.edgeEndsChanged(e);
  Release &r = record(e);
  r.right = r.left = true;
  return e;
}

void MeshRebuild::moveEdgeEnd(int32_t e, int32_t from, int32_t to) {
  moEdge &d = obj_.edges[e];
  obj_.edgeAt(e);
  (d.Head == from ? d.Head : d.Tail) = to;
  obj_.edgeEndsChanged(e);
  touchedVertices_.push_back(from);
}

void MeshRebuild::release(int32_t f) {
  obj_.forEachEdgeOfFace(f, false, [&](int32_t e) {
    Release &r = record(e);
    (obj_.edges[e].RightFace == f ? r.right : r.left) = true;
  });
}

bool MeshRebuild::claimable(int32_t e, int32_t from, int32_t to) const {
  const auto it = released_.find(e);
  if (it == released_.end())
    return false;
  const moEdge &d = obj_.edges[e];
  const Release &r = it->second;
  if (d.Tail == from && d.Head == to)
    return r.right && !r.rightTaken;
  return d.Tail == to && d.Head == from && r.left && !r.leftTaken;
}

int32_t MeshRebuild::claim(int32_t from, int32_t to, int32_t hint) {
  const bool hinted = claimable(hint, from, to) && !avoided_.count(hint);
  int32_t best = hinted ? hint : -1, bestRank = -1;
  const auto range = pool_.equal_range(pairKey(from, to));
  for (auto it = range.first; it != range.second && !hinted; ++it) {
    const int32_t e = it->second;
    const moEdge &d = obj_.edges[e];
    const Release &r = released_[e];
    const bool right = d.Tail == from && d.Head == to;
    if (!right && !(d.Tail == to && d.Head == from))
      continue; // its ends moved since it was pooled
    if (!(right ? r.right && !r.rightTaken : r.left && !r.leftTaken))
      continue;
    // An edge whose other side stays with an untouched face must be claimed, or it dangles;
    // an edge that is giving way is taken last.
    const bool closes = !(right ? r.left : r.right);
    const int32_t rank = (avoided_.count(e) ? 0 : 2) + (closes ? 1 : 0);
    if (rank > bestRank || (rank == bestRank && e < best)) {
      best = e;
      bestRank = rank;
    }
  }
  if (best == -1) {
    best = newEdge(from, to);
    pool_.emplace(pairKey(from, to), best);
  }
  (obj_.edges[best].Tail == from ? released_[best].rightTaken : released_[best].leftTaken) = true;
  return best;
}

void MeshRebuild::link(int32_t f, const CornerLoop &loop, const std::vector<int32_t> &ring) {
  const size_t n = ring.size();
  for (size_t i = 0; i < n; ++i) {
    moEdge &d = obj_.edges[ring[i]];
    const int32_t next = ring[(i + 1) % n], prev = ring[(i + n - 1) % n];
    if (d.Head == loop[i].vertex) { // runs Tail -> Head in f
      d.RightFace = f;
      d.ForeWing = next;
      d.ccwBackWing = prev;
      d.rightColor = loop[i].colour;
    } else {
      d.LeftFace = f;
      d.BackWing = next;
      d.ccwForeWing = prev;
      d.leftColor = loop[i].colour;
    }
  }
  obj_.faces[f].EdgeIndex = ring[0];
}

void MeshRebuild::retireAndCheck() {
  for (const auto &[e, r] : released_) {
    const bool rightDangles = r.right && !r.rightTaken;
    const bool leftDangles = r.left && !r.leftTaken;
    if (rightDangles != leftDangles)
      invalid();
    if (rightDangles) {
      touchedVertices_.push_back(obj_.edges[e].Head);
      touchedVertices_.push_back(obj_.edges[e].Tail);
      obj_.edges[e].Head = -1;
    } else if (obj_.edges[e].LeftFace == obj_.edges[e].RightFace) {
      invalid();
    }
  }
}

void MeshRebuild::repairVertices() {
  std::unordered_map<int32_t, int32_t> edgeAt; // a linked edge at each loop vertex
  for (int32_t f : order_)
    obj_.forEachEdgeOfFace(f, false, [&](int32_t e) { edgeAt.emplace(obj_.endVertex(e, f), e); });
  const auto holds = [&](int32_t e, int32_t v) {
    return obj_.edges.contains(e) && obj_.edges[e].active() &&
           (obj_.edges[e].Head == v || obj_.edges[e].Tail == v);
  };
  // Loop vertices (new ones included) get a linked edge; others that lost theirs become
  // inactive, since no edge reaches them any more.
  for (const auto &[v, e] : edgeAt)
    if (!holds(obj_.vertices[v].EdgeIndex, v))
      obj_.vertices[v].EdgeIndex = e;
  for (int32_t v : touchedVertices_)
    if (!edgeAt.count(v) && !holds(obj_.vertices[v].EdgeIndex, v))
      obj_.vertices[v].EdgeIndex = -1;
  for (int32_t v : removedVertices_)
    obj_.vertices[v].EdgeIndex = -1;
}

void MeshRebuild::apply() {
  for (int32_t f : order_)
    if (obj_.faces[f].active())
      release(f);
  for (int32_t f : removedFaces_)
    release(f);
  pool_.reserve(released_.size());
  for (const auto &entry : released_)
    pool_.emplace(pairKey(obj_.edges[entry.first].Head, obj_.edges[entry.first].Tail), entry.first);
  std::vector<std::vector<int32_t>> rings;
  rings.reserve(order_.size());
  for (int32_t f : order_) {
    CornerLoop &loop = loops_[f];
    const size_t n = loop.size();
    if (n < 3)
      invalid();
    std::vector<int32_t> ring(n);
    for (size_t i = 0; i < n; ++i)
      ring[i] = claim(loop[(i + n - 1) % n].vertex, loop[i].vertex, loop[i].via);
    rings.push_back(std::move(ring));
  }
  for (size_t k = 0; k < order_.size(); ++k)
    link(order_[k], loops_[order_[k]], rings[k]);
  retireAndCheck();
  for (int32_t f : removedFaces_)
    obj_.faces[f].EdgeIndex = -1;
  repairVertices();
}

void requireSoundMesh(const moObject &obj) {
  if (!objectLocallyValid(obj, false))
    invalid();
  std::vector<int32_t> ends(size_t(obj.vertices.count()));
  for (const moEdge &e : obj.edges)
    if (e.active()) {
      ++ends[size_t(e.Head)];
      ++ends[size_t(e.Tail)];
    }
  for (int32_t v = 0; v < obj.vertices.count(); ++v) {
    int32_t ring = 0;
    obj.forEachEdgeAtVertex(v, [&](int32_t) { ++ring; });
    if (ring != ends[size_t(v)])
      invalid();
  }
}
