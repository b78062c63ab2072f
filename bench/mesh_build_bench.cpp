// Building a large object face by face: makeEdge looks every edge up before making it, so the
// lookup decides whether building is linear or quadratic.
#include "core/mesh.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

namespace {

void buildSlab(benchmark::State &state, bool linear) {
  // 2 * 126 * 126 + 4 * 126 = 32256 quads, close to the face limit.
  const PolygonMesh slab = slabMesh(int32_t(state.range(0)), int32_t(state.range(0)));
  moObject::linearEdgeSearch = linear;
  for (auto _ : state) {
    moObject obj;
    obj.reserve(0, 0, int32_t(slab.points.size()));
    for (const moVec3 &p : slab.points)
      obj.addVertex(p.x, p.y, p.z);
    for (const auto &f : slab.faces)
      obj.makeFace(f[0], f[1], f[2], f[3]);
    benchmark::DoNotOptimize(obj.edges.count());
  }
  moObject::linearEdgeSearch = false;
  state.counters["faces"] = double(slab.faces.size());
}

void BM_MakeFaceSlabIndexed(benchmark::State &state) { buildSlab(state, false); }
void BM_MakeFaceSlabLinearSearch(benchmark::State &state) { buildSlab(state, true); }

BENCHMARK(BM_MakeFaceSlabIndexed)->Arg(32)->Arg(126)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeFaceSlabLinearSearch)
    ->Arg(32)
    ->Arg(126)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

} // namespace
