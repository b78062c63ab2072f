// The undo history on the largest objects: Undo then Redo of Extrudes of one face of a
// 32 256-face object (the history's own work, without the list rebuild), and the memory the
// steps keep once followed by another (element deltas) against the whole object.
#include "ops/extrude.h"
#include "scene/recording_ui.h"
#include "scene/undo_history.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

namespace {

struct Extrudes {
  RecordingUi ui;
  Scene scene{ui};
  bool ok = true;

  explicit Extrudes(int32_t count) {
    scene.objects.insert(std::make_shared<moObject>(makeObject(torusMesh(128, 252))));
    for (int32_t i = 0; i < count && ok; ++i) {
      scene.SetMode(moFACES); // the extrude left the mode of its drag
      scene.selection.Append({97 * i, 0});
      ok = Extrude(scene, 3.0f, true);
    }
  }
};

// The newest step keeps its copy; the one before it has become a delta.
void BM_UndoRedoExtrude(benchmark::State &state) {
  Extrudes e(2);
  if (!e.ok)
    return state.SkipWithError("extrude refused");
  Scene &scene = e.scene;
  for (auto _ : state) {
    scene.UndoStep();
    scene.UndoStep(); // the delta
    scene.RedoStep();
    scene.RedoStep();
    benchmark::DoNotOptimize(scene.objects.count());
  }
  state.counters["faces"] = double(scene.object(0)->faces.count());
  state.counters["objectMiB"] = double(objectBytes(*scene.object(0))) / double(1 << 20);
}
BENCHMARK(BM_UndoRedoExtrude)->Unit(benchmark::kMicrosecond);

// A hundred Extrudes: what the history holds per step (the newest keeps a whole copy).
void BM_HundredExtrudesKept(benchmark::State &state) {
  size_t bytes = 0, steps = 0;
  double object = 0;
  for (auto _ : state) {
    Extrudes e(100);
    if (!e.ok)
      return state.SkipWithError(e.ui.messages.empty() ? "extrude refused"
                                                       : e.ui.messages.back().c_str());
    bytes = e.scene.historyBytes();
    steps = e.scene.undoStepCount();
    object = double(objectBytes(*e.scene.object(0)));
  }
  state.counters["steps"] = double(steps);
  state.counters["historyMiB"] = double(bytes) / double(1 << 20);
  state.counters["perStepKiB"] = (double(bytes) - object) / double(steps - 1) / 1024;
  state.counters["objectMiB"] = object / double(1 << 20);
}
BENCHMARK(BM_HundredExtrudesKept)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
