// Whole-object mesh edits on large objects: both must stay linear in the number of slots.
#include "core/mesh.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int32_t kSegments = 100;
constexpr int32_t kSpan = 4; // five-quad strips as faces keep large objects under the face limit

// A torus with as many edges as asked, each face a strip of kSpan quads.
PolygonMesh stripTorus(int64_t edges) {
  const int64_t vertices = edges * kSpan / (kSpan + 1);
  return torusMesh(static_cast<int32_t>(vertices / kSegments), kSegments, kSpan);
}

// `slots` edge slots, the lower half inactive (as left by deletions), the upper half a torus:
// compaction must move every active edge and redirect all its references.
moObject halfDeletedObject(int64_t slots) {
  moObject obj;
  for (int64_t i = 0; i < slots / 2; ++i)
    obj.appendEdge();
  appendPolygonMesh(obj, stripTorus(slots / 2));
  return obj;
}

void BM_CompactHalfInactive(benchmark::State &state) {
  const moObject source = halfDeletedObject(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    moObject obj(source);
    state.ResumeTiming();
    obj.compact();
    benchmark::DoNotOptimize(obj.edges.count());
  }
  state.counters["edgeSlots"] = source.edges.count();
  state.SetComplexityN(source.edges.count());
}
BENCHMARK(BM_CompactHalfInactive)
    ->RangeMultiplier(2)
    ->Range(25000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

void BM_DeleteComponent(benchmark::State &state) {
  const moObject source = makeObject(stripTorus(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    moObject obj(source);
    state.ResumeTiming();
    obj.deleteComponent(0);
    benchmark::DoNotOptimize(obj.edges[0].Head);
  }
  state.counters["edges"] = source.edges.count();
  state.SetComplexityN(source.edges.count());
}
BENCHMARK(BM_DeleteComponent)
    ->RangeMultiplier(2)
    ->Range(25000, 100000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
