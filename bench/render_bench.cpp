// Drawing under Mesa's llvmpipe at the model window's size: one frame of a 32 766-face object
// whose lists are built, and rebuilding that object's lists after a change.
#include "bench/bench_window.h"
#include "view/frame.h"

#include <benchmark/benchmark.h>

namespace {

using Setup = BenchWindow;

void BM_FrameOf32kFaceObject(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  s.view.renderer.RebuildLists(s.scene, true);
  for (auto _ : state)
    drawFrame(s.view, s.scene, {InteractionMode::Camera, FrameLists::Kept, false});
  state.counters["faces"] = s.scene.object(0)->faces.count();
}
BENCHMARK(BM_FrameOf32kFaceObject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_RebuildListsOf32kFaceObject(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  for (auto _ : state)
    s.view.renderer.RebuildObject(s.scene, 0, true);
}
BENCHMARK(BM_RebuildListsOf32kFaceObject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

} // namespace
