// The main of every benchmark: they measure the code as the programs run it, with the
// programs' allocator policy. MORVO_BENCH_MALLOC_DEFAULTS set measures with the C library's
// defaults instead.
#include "core/memory_reuse.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

int main(int argc, char **argv) {
  if (!std::getenv("MORVO_BENCH_MALLOC_DEFAULTS"))
    keepFreedMemoryForReuse();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv))
    return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
