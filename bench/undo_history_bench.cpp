// The undo history on the largest objects: Undo then Redo of an Extrude of one face of a
// 32 640-face object (the history's own work, without the list rebuild), and the memory the
// step keeps.
#include "ops/extrude.h"
#include "scene/recording_ui.h"
#include "scene/undo_history.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

namespace {

void BM_UndoRedoExtrude(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  scene.objects.insert(std::make_shared<moObject>(makeObject(torusMesh(128, 255))));
  scene.SetMode(moFACES);
  scene.selection.Append({0, 0});
  if (!Extrude(scene, 3.0f, true))
    state.SkipWithError("extrude refused");
  const size_t stepBytes = scene.historyBytes();
  for (auto _ : state) {
    scene.UndoStep();
    scene.RedoStep();
    benchmark::DoNotOptimize(scene.objects.count());
  }
  state.counters["faces"] = double(scene.object(0)->faces.count());
  state.counters["stepMiB"] = double(stepBytes) / double(1 << 20);
  state.counters["objectMiB"] = double(objectBytes(*scene.object(0))) / double(1 << 20);
}
BENCHMARK(BM_UndoRedoExtrude)->Unit(benchmark::kMicrosecond);

} // namespace
