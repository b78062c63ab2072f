// The model window's per-motion work under Mesa's llvmpipe at 720 x 486 on a 32 766-face object:
// one hover pick (every mouse move in select mode), against drawing every face into the
// selection buffer; and one drag step of Move normal on every face (mesh update, vertex list
// rebuild, frame).
#include "bench/bench_window.h"
#include "ops/drag.h"
#include "ops/transform_move.h"
#include "view/frame.h"
#include "view/picking.h"

#include <benchmark/benchmark.h>

namespace {

// The bench window with its lists built, as after the first frame.
struct Window : BenchWindow {
  Window() { view.renderer.RebuildLists(scene, true); }
};

void hoverPicks(benchmark::State &state, bool allFaces) {
  Window w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  hoverPickAllFaces = allFaces;
  int32_t x = 300, hits = 0;
  for (auto _ : state) {
    x = x == 420 ? 300 : x + 1; // a pointer moving across the object
    HoverPick(w.scene, w.view.renderer, w.view.camera, w.ui, x, 243);
    hits += w.view.renderer.hoverObject() != -1;
  }
  hoverPickAllFaces = false;
  state.counters["faces"] = w.scene.object(0)->faces.count();
  state.counters["hit share"] = double(hits) / double(state.iterations());
}

void BM_HoverPick(benchmark::State &state) { hoverPicks(state, false); }
BENCHMARK(BM_HoverPick)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_HoverPickDrawingEveryFace(benchmark::State &state) { hoverPicks(state, true); }
BENCHMARK(BM_HoverPickDrawingEveryFace)->Unit(benchmark::kMillisecond)->MinTime(2);

// Which parts of a drag step run: the mesh update, the vertex list rebuild, the frame.
enum StepParts { kMeshOnly = 1, kWithLists = 3, kWholeStep = 7 };

void moveNormalSteps(benchmark::State &state, int parts) {
  Window w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  w.scene.SelectAll(moOBJECTS);
  w.scene.SelectAll(moFACES);
  if (!Move(w.scene, true))
    return state.SkipWithError("Move normal refused");
  w.view.renderer.RebuildLists(w.scene, false); // entering the drag: the fast build
  DragMotion motion;
  int32_t direction = 1;
  for (auto _ : state) {
    direction = -direction;
    motion.dx = direction;
    motion.accumulatedX += direction;
    applyDragStep(w.scene, kDragMoveNormal, motion);
    if (parts & 2)
      w.view.renderer.RebuildVertexLists(w.scene);
    if (parts & 4)
      drawFrame(w.view, w.scene, {InteractionMode::Drag, FrameLists::Kept, false});
  }
  state.counters["faces"] = double(w.scene.selection.Count());
}

void BM_MoveNormalStepOnEveryFace(benchmark::State &state) { moveNormalSteps(state, kWholeStep); }
BENCHMARK(BM_MoveNormalStepOnEveryFace)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_MoveNormalMeshAndListsOnly(benchmark::State &state) { moveNormalSteps(state, kWithLists); }
BENCHMARK(BM_MoveNormalMeshAndListsOnly)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_MoveNormalMeshOnly(benchmark::State &state) { moveNormalSteps(state, kMeshOnly); }
BENCHMARK(BM_MoveNormalMeshOnly)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
