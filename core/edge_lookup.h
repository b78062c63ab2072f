// Constant-time (on average) answer to "the lowest-numbered active edge joining a and b", kept
// beside an edge array. Edge slots appended since the last lookup are picked up lazily; an edge
// whose ends change must be re-registered with rekey(), and a renumbering needs reset().
// Deactivated edges need nothing: every candidate is checked against the array on lookup.
#pragma once

#include "core/mesh_array.h"
#include "core/mesh_elements.h"

#include <unordered_map>
#include <vector>

class EdgeLookup {
public:
  int32_t find(const moArray<moEdge> &edges, int32_t a, int32_t b);
  // Registers edge e under its current ends (after setting Head or Tail of an existing edge).
  void rekey(const moArray<moEdge> &edges, int32_t e);
  void reset();

private:
  static constexpr uint64_t kNoKey = ~uint64_t(0);
  static uint64_t keyOf(int32_t a, int32_t b);
  void sync(const moArray<moEdge> &edges);
  void insert(int32_t e, uint64_t key);
  void unlink(int32_t e);

  std::unordered_map<uint64_t, int32_t> first_; // key -> lowest registered edge
  std::vector<int32_t> next_;                   // per edge slot: next edge of its chain
  std::vector<uint64_t> key_;                   // per edge slot: the chain it is in
  int32_t indexed_ = 0;                         // slots below this have been registered
};
