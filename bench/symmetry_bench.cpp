// Symmetry on a 32 768-face object: finding the mirror images of a selection of every face (the
// index is built once per operation), the setup of a symmetric move, and one drag step with and
// without the mirror vertices following.
#include "ops/drag.h"
#include "ops/transform_move.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

namespace {

const moObject &bigTorus() {
  static const moObject shape = makeObject(torusMesh(128, 256));
  return shape;
}

// A scene holding the torus with every face selected, symmetry X on or off.
void prepare(Scene &scene, bool symmetric) {
  scene.objects.clear(false);
  scene.backup.clear(false);
  scene.objects.insert(std::make_shared<moObject>(bigTorus()));
  scene.SetMode(moFACES);
  for (int32_t f = 0; f < bigTorus().faces.count(); ++f)
    scene.selection.Append({f, 0});
  scene.symmetry.axes = symmetric ? 1 : 0;
}

void BM_MirrorLookupAllFaces(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  prepare(scene, true);
  MirroredSelection split;
  for (auto _ : state) {
    split = mirrorSelection(scene);
    benchmark::DoNotOptimize(split.images.data());
  }
  if (split.missing != 0)
    state.SkipWithError("the torus is not symmetric");
  state.counters["faces"] = double(bigTorus().faces.count());
  state.counters["originals"] = double(split.originals.size());
}
BENCHMARK(BM_MirrorLookupAllFaces)->Unit(benchmark::kMillisecond);

// The move's setup: the selection folded, the vertices paired once for the whole drag.
void BM_SymmetricMoveSetup(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  for (auto _ : state) {
    state.PauseTiming();
    prepare(scene, true);
    state.ResumeTiming();
    if (!Move(scene, false))
      state.SkipWithError("refused");
  }
}
BENCHMARK(BM_SymmetricMoveSetup)->Unit(benchmark::kMillisecond);

// One motion of a move along X: with symmetry the originals move and their images follow.
void BM_MoveAxisStep(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  prepare(scene, state.range(0) != 0);
  if (!Move(scene, false))
    state.SkipWithError("refused");
  DragMotion motion;
  motion.dx = 1;
  motion.accumulatedX = 1;
  for (auto _ : state)
    applyDragStep(scene, kDragMoveAxis, motion);
}
BENCHMARK(BM_MoveAxisStep)->Arg(0)->Arg(1)->ArgName("symmetric")->Unit(benchmark::kMillisecond);

} // namespace
