// The face and edge operations on large objects, each with its first drag step: they must stay
// within one frame. Every iteration starts from a fresh copy of the object (not timed), and the
// timed part includes the operation protocol (undo copy, soundness check).
#include "ops/bevel.h"
#include "ops/edge_ops.h"
#include "ops/extrude.h"
#include "ops/inset.h"
#include "ops/transform_move.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

// A scene holding one copy of `shape`, with `count` of its elements selected in mode m.
void prepare(Scene &scene, const moObject &shape, SelectionMode m, int32_t count) {
  scene.objects.clear(false);
  scene.backup.clear(false);
  scene.objects.insert(std::make_shared<moObject>(shape));
  scene.SetMode(m);
  for (int32_t i = 0; i < count; ++i)
    scene.selection.Append({i, 0});
}

// Times operation and step on fresh copies of shape; an operation that refuses is an error
// unless `refuses` says that is what it must do.
template <class Operation, class Step>
void runOperation(benchmark::State &state, const moObject &shape, SelectionMode m, int32_t count,
                  Operation operation, Step step, bool refuses = false) {
  RecordingUi ui;
  Scene scene(ui);
  for (auto _ : state) {
    state.PauseTiming();
    prepare(scene, shape, m, count);
    state.ResumeTiming();
    if (operation(scene) == refuses)
      state.SkipWithError(ui.messages.empty() ? "refused" : ui.messages.back().c_str());
    step(scene);
  }
  state.counters["faces"] = double(scene.object(0)->faces.count());
}

const moObject &torus(int32_t rings, int32_t segments) {
  static std::map<std::pair<int32_t, int32_t>, moObject> made;
  auto it = made.find({rings, segments});
  if (it == made.end())
    it =
        made.emplace(std::make_pair(rings, segments), makeObject(torusMesh(rings, segments))).first;
  return it->second;
}

// 6528 quads: their inset makes 32 640 faces, just inside the face limit.
void BM_InsetAllFacesAndStep(benchmark::State &state) {
  const moObject &shape = torus(64, 102);
  runOperation(state, shape, moFACES, shape.faces.count(), Inset,
               [](Scene &s) { insetStep(s, 0.05f); });
}
BENCHMARK(BM_InsetAllFacesAndStep)->Unit(benchmark::kMillisecond);

// All faces of a 32 768-face object: the inset would pass the face limit, so it ends in
// recovery, which must be just as quick.
void BM_InsetAllFacesOverTheLimit(benchmark::State &state) {
  const moObject &shape = torus(128, 256);
  runOperation(
      state, shape, moFACES, shape.faces.count(), Inset, [](Scene &) {}, true);
}
BENCHMARK(BM_InsetAllFacesOverTheLimit)->Unit(benchmark::kMillisecond);

// Every face of a 32 768-face object as one region, then one normal-move step: no boundary, so
// the work is the offset direction of every vertex.
void BM_ExtrudeRegionAllFacesAndStep(benchmark::State &state) {
  const moObject &shape = torus(128, 256);
  runOperation(
      state, shape, moFACES, shape.faces.count(), [](Scene &s) { return ExtrudeRegion(s, true); },
      [](Scene &s) { normalMove(s, 0.1f); });
}
BENCHMARK(BM_ExtrudeRegionAllFacesAndStep)->Unit(benchmark::kMillisecond);

// Half of a 16 384-face object as one region: two boundary loops get side faces.
void BM_ExtrudeRegionHalfAndStep(benchmark::State &state) {
  const moObject &shape = torus(128, 128);
  runOperation(
      state, shape, moFACES, shape.faces.count() / 2,
      [](Scene &s) { return ExtrudeRegion(s, true); }, [](Scene &s) { normalMove(s, 0.1f); });
}
BENCHMARK(BM_ExtrudeRegionHalfAndStep)->Unit(benchmark::kMillisecond);

// Every edge of a 4096-face object.
void BM_BevelAllEdgesAndStep(benchmark::State &state) {
  const moObject &shape = torus(64, 64);
  runOperation(state, shape, moEDGES, shape.edges.count(), Bevel,
               [](Scene &s) { bevelStep(s, 0.25f); });
}
BENCHMARK(BM_BevelAllEdgesAndStep)->Unit(benchmark::kMillisecond);

// One object of 8192 faces, a growing selection: the cost follows the selection.
void BM_ExtrudeFacesBySelection(benchmark::State &state) {
  const moObject &shape = torus(64, 128);
  runOperation(
      state, shape, moFACES, int32_t(state.range(0)),
      [](Scene &s) { return Extrude(s, 3.0f, true); }, [](Scene &s) { normalMove(s, 0.1f); });
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ExtrudeFacesBySelection)
    ->RangeMultiplier(4)
    ->Range(64, 4096)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

void BM_CutEdgesBySelection(benchmark::State &state) {
  const moObject &shape = torus(64, 128);
  runOperation(
      state, shape, moEDGES, int32_t(state.range(0)), [](Scene &s) { return CutEdges(s, 3); },
      [](Scene &) {});
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CutEdgesBySelection)
    ->RangeMultiplier(4)
    ->Range(64, 4096)
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

} // namespace
