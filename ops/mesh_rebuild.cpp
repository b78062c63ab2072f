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
  loops_.emplace_back(f, std::move(loop));
  return f;
}

void MeshRebuild::reshape(int32_t f, CornerLoop loop) {
  if (!obj_.faceAt(f).active() || !scheduled_.insert(f).second)
    invalid();
  loops_.emplace_back(f, std::move(loop));
}

void MeshRebuild::removeFace(int32_t f) {
  if (!obj_.faceAt(f).active() || !scheduled_.insert(f).second)
    invalid();
  removedFaces_.push_back(f);
}

int32_t MeshRebuild::newEdge(int32_t tail, int32_t head) {
  const int32_t e = obj_.appendEdge();
  moEdge &d = obj_.edges[e];
  d.Tail = tail;
  d.Head = head;
  d.LeftFace = d.RightFace = kOpen;
  obj_.edgeEndsChanged(e);
  released_.push_back(e);
  if (pooled_)
    pool_.insert(pairKey(tail, head), e);
  return e;
}

void MeshRebuild::moveEdgeEnd(int32_t e, int32_t from, int32_t to) {
  obj_.edgeAt(e);
  moEdge &d = obj_.edges[e];
  (d.Head == from ? d.Head : d.Tail) = to;
  obj_.edgeEndsChanged(e);
  touchedVertices_.push_back(from);
}

void MeshRebuild::PairPool::insert(uint64_t key, int32_t e) {
  if (2 * (size_ + 1) > keys_.size())
    grow();
  const size_t mask = keys_.size() - 1;
  size_t i = (key * 0x9E3779B97F4A7C15ull) >> 20 & mask;
  while (keys_[i] != ~uint64_t(0))
    i = (i + 1) & mask;
  keys_[i] = key;
  edges_[i] = e;
  ++size_;
}

template <class Fn> void MeshRebuild::PairPool::forEach(uint64_t key, Fn fn) const {
  if (keys_.empty())
    return;
  const size_t mask = keys_.size() - 1;
  for (size_t i = (key * 0x9E3779B97F4A7C15ull) >> 20 & mask; keys_[i] != ~uint64_t(0);
       i = (i + 1) & mask)
    if (keys_[i] == key)
      fn(edges_[i]);
}

void MeshRebuild::PairPool::grow() {
  std::vector<uint64_t> keys(std::max<size_t>(64, 2 * keys_.size()), ~uint64_t(0));
  std::vector<int32_t> edges(keys.size());
  keys.swap(keys_);
  edges.swap(edges_);
  size_ = 0;
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i] != ~uint64_t(0))
      insert(keys[i], edges[i]);
}

void MeshRebuild::release(int32_t f) {
  std::vector<int32_t> ring;
  obj_.faceEdges(f, ring);
  for (int32_t e : ring) {
    moEdge &d = obj_.edges[e];
    (d.RightFace == f ? d.RightFace : d.LeftFace) = kOpen;
    released_.push_back(e);
  }
}

bool MeshRebuild::claimable(int32_t e, int32_t from, int32_t to) const {
  if (!obj_.edges.contains(e))
    return false;
  const moEdge &d = obj_.edges[e];
  if (d.Tail == from && d.Head == to)
    return d.RightFace == kOpen;
  return d.Tail == to && d.Head == from && d.LeftFace == kOpen;
}

int32_t MeshRebuild::fromPool(int32_t from, int32_t to) {
  if (!pooled_) {
    pooled_ = true;
    for (int32_t e : released_)
      pool_.insert(pairKey(obj_.edges[e].Head, obj_.edges[e].Tail), e);
  }
  int32_t best = -1, bestRank = -1;
  pool_.forEach(pairKey(from, to), [&](int32_t e) {
    if (!claimable(e, from, to))
      return;
    // An edge whose other side stays with an untouched face must be claimed, or it dangles;
    // an edge that is giving way is taken last.
    const moEdge &d = obj_.edges[e];
    const bool closes = (d.Tail == from ? d.LeftFace : d.RightFace) != kOpen;
    const int32_t rank = (avoided_.count(e) ? 0 : 2) + (closes ? 1 : 0);
    if (rank > bestRank || (rank == bestRank && e < best)) {
      best = e;
      bestRank = rank;
    }
  });
  return best;
}

int32_t MeshRebuild::claim(int32_t face, int32_t from, int32_t to, int32_t hint) {
  int32_t e = claimable(hint, from, to) && !avoided_.count(hint) ? hint : fromPool(from, to);
  if (e == -1)
    e = newEdge(from, to);
  moEdge &d = obj_.edges[e];
  (d.Tail == from ? d.RightFace : d.LeftFace) = face;
  return e;
}

void MeshRebuild::link(int32_t f, const CornerLoop &loop, const std::vector<int32_t> &ring) {
  const size_t n = ring.size();
  for (size_t i = 0; i < n; ++i) {
    moEdge &d = obj_.edges[ring[i]];
    const int32_t next = ring[(i + 1) % n], prev = ring[(i + n - 1) % n];
    if (d.Head == loop[i].vertex && d.RightFace == f) { // runs Tail -> Head in f
      d.ForeWing = next;
      d.ccwBackWing = prev;
      d.rightColor = loop[i].colour;
    } else {
      d.BackWing = next;
      d.ccwForeWing = prev;
      d.leftColor = loop[i].colour;
    }
  }
  obj_.faces[f].EdgeIndex = ring[0];
}

void MeshRebuild::retireAndCheck() {
  for (int32_t e : released_) {
    moEdge &d = obj_.edges[e];
    if (!d.active())
      continue;
    const bool rightOpen = d.RightFace == kOpen, leftOpen = d.LeftFace == kOpen;
    if (rightOpen != leftOpen || d.LeftFace == d.RightFace) {
      if (rightOpen && leftOpen) {
        touchedVertices_.push_back(d.Head);
        touchedVertices_.push_back(d.Tail);
        d.Head = -1;
        d.LeftFace = d.RightFace = -1;
        continue;
      }
      invalid();
    }
  }
}

void MeshRebuild::repairVertices(const std::vector<std::vector<int32_t>> &rings) {
  const auto holds = [&](int32_t e, int32_t v) {
    return obj_.edges.contains(e) && obj_.edges[e].active() &&
           (obj_.edges[e].Head == v || obj_.edges[e].Tail == v);
  };
  // Loop vertices (new ones included) get a linked edge; others that lost theirs become
  // inactive, since no edge reaches them any more.
  for (size_t k = 0; k < loops_.size(); ++k)
    for (size_t i = 0; i < rings[k].size(); ++i) {
      moVertex &vertex = obj_.vertices[loops_[k].second[i].vertex];
      if (!holds(vertex.EdgeIndex, loops_[k].second[i].vertex))
        vertex.EdgeIndex = rings[k][i];
    }
  for (int32_t v : touchedVertices_)
    if (!holds(obj_.vertices[v].EdgeIndex, v))
      obj_.vertices[v].EdgeIndex = -1;
  for (int32_t v : removedVertices_)
    obj_.vertices[v].EdgeIndex = -1;
}

void MeshRebuild::apply() {
  for (const auto &[f, loop] : loops_)
    if (obj_.faces[f].active())
      release(f);
  for (int32_t f : removedFaces_)
    release(f);
  std::vector<std::vector<int32_t>> rings;
  rings.reserve(loops_.size());
  for (const auto &[f, loop] : loops_) {
    const size_t n = loop.size();
    if (n < 3)
      invalid();
    std::vector<int32_t> ring(n);
    for (size_t i = 0; i < n; ++i)
      ring[i] = claim(f, loop[(i + n - 1) % n].vertex, loop[i].vertex, loop[i].via);
    rings.push_back(std::move(ring));
  }
  for (size_t k = 0; k < loops_.size(); ++k)
    link(loops_[k].first, loops_[k].second, rings[k]);
  retireAndCheck();
  for (int32_t f : removedFaces_)
    obj_.faces[f].EdgeIndex = -1;
  repairVertices(rings);
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
