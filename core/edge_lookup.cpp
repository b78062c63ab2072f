#include "core/edge_lookup.h"

#include <algorithm>

uint64_t EdgeLookup::keyOf(int32_t a, int32_t b) {
  const auto lo = static_cast<uint32_t>(std::min(a, b)), hi = static_cast<uint32_t>(std::max(a, b));
  return uint64_t(lo) << 32 | hi;
}

void EdgeLookup::reset() {
  first_.clear();
  next_.clear();
  key_.clear();
  indexed_ = 0;
}

void EdgeLookup::sync(const moArray<moEdge> &edges) {
  if (edges.count() < indexed_)
    reset();
  if (edges.count() == indexed_)
    return;
  if (first_.empty())
    first_.reserve(static_cast<size_t>(edges.count()));
  next_.resize(static_cast<size_t>(edges.count()), -1);
  key_.resize(static_cast<size_t>(edges.count()), kNoKey);
  for (int32_t e = indexed_; e < edges.count(); ++e)
    if (edges[e].active())
      insert(e, keyOf(edges[e].Head, edges[e].Tail));
  indexed_ = edges.count();
}

void EdgeLookup::unlink(int32_t e) {
  const auto it = first_.find(key_[e]);
  if (it == first_.end())
    return;
  if (it->second == e) {
    if (next_[e] == -1)
      first_.erase(it);
    else
      it->second = next_[e];
  } else {
    for (int32_t c = it->second; c != -1; c = next_[c])
      if (next_[c] == e) {
        next_[c] = next_[e];
        break;
      }
  }
  next_[e] = -1;
  key_[e] = kNoKey;
}

void EdgeLookup::insert(int32_t e, uint64_t key) {
  if (key_[e] == key)
    return;
  if (key_[e] != kNoKey)
    unlink(e);
  key_[e] = key;
  // Chains stay in ascending edge order, so the first match on lookup is the lowest.
  auto [it, fresh] = first_.try_emplace(key, e);
  if (fresh)
    return;
  if (e < it->second) {
    next_[e] = it->second;
    it->second = e;
    return;
  }
  int32_t c = it->second;
  while (next_[c] != -1 && next_[c] < e)
    c = next_[c];
  next_[e] = next_[c];
  next_[c] = e;
}

void EdgeLookup::rekey(const moArray<moEdge> &edges, int32_t e) {
  if (e >= indexed_ || !edges.contains(e))
    return; // not registered yet: the next sync picks it up
  if (edges[e].active())
    insert(e, keyOf(edges[e].Head, edges[e].Tail));
}

int32_t EdgeLookup::find(const moArray<moEdge> &edges, int32_t a, int32_t b) {
  sync(edges);
  const auto it = first_.find(keyOf(a, b));
  if (it == first_.end())
    return -1;
  for (int32_t c = it->second; c != -1; c = next_[c]) {
    const moEdge &d = edges[c];
    if (d.active() && ((d.Head == a && d.Tail == b) || (d.Head == b && d.Tail == a)))
      return c;
  }
  return -1;
}
