// Creation time of every primitive as the Add menu makes it.
#include "core/primitives.h"

#include <benchmark/benchmark.h>

namespace {

void BM_MakePrimitive(benchmark::State &state) {
  const auto type = static_cast<PrimitiveType>(state.range(0));
  state.SetLabel(primitiveName(type));
  for (auto _ : state) {
    moObject obj = makePrimitive(type);
    benchmark::DoNotOptimize(obj.edges.count());
  }
}
BENCHMARK(BM_MakePrimitive)->DenseRange(0, kPrimitiveTypeCount - 1)->Unit(benchmark::kMicrosecond);

} // namespace
