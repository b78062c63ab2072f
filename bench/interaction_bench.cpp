// The model window's per-motion work under Mesa's llvmpipe at 720 x 486 on the largest objects:
// one hover pick (every mouse move in select mode), against drawing every face into the
// selection buffer, a hover frame, and hover motions that draw only when the hover changes; drag
// steps of operations on every face of an object that has about 32 768 faces during the drag
// (mesh update, vertex list refill, frame); a camera orbit step with every face selected; and
// the commit that ends a drag (list rebuild and frame).
#include "bench/bench_window.h"
#include "ops/drag.h"
#include "ops/operation_commands.h"
#include "view/frame.h"
#include "view/interaction_controller.h"
#include "view/picking.h"

#include <benchmark/benchmark.h>

namespace {

// The bench window with its lists built, as after the first frame.
struct Window : BenchWindow {
  explicit Window(int32_t cells = 127) : BenchWindow(cells) {
    view.renderer.RebuildLists(scene, true);
  }
  void selectAllFaces() {
    scene.SelectAll(moOBJECTS);
    scene.SelectAll(moFACES);
  }
  void frame(InteractionMode mode) { drawFrame(view, scene, {mode, FrameLists::Kept, false}); }
};

void hoverPicks(benchmark::State &state, bool allFaces, bool frame) {
  Window w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  hoverPickAllFaces = allFaces;
  int32_t x = 300, hits = 0;
  for (auto _ : state) {
    x = x == 420 ? 300 : x + 1; // a pointer moving across the object
    HoverPick(w.scene, w.view.renderer, w.view.camera, w.ui, x, 243);
    hits += w.view.renderer.hoverObject() != -1;
    if (frame)
      w.frame(InteractionMode::Select);
  }
  hoverPickAllFaces = false;
  state.counters["faces"] = w.scene.object(0)->faces.count();
  state.counters["hit share"] = double(hits) / double(state.iterations());
}

void BM_HoverPick(benchmark::State &state) { hoverPicks(state, false, false); }
BENCHMARK(BM_HoverPick)->Unit(benchmark::kMillisecond)->MinTime(2)->MeasureProcessCPUTime();

void BM_HoverPickDrawingEveryFace(benchmark::State &state) { hoverPicks(state, true, false); }
BENCHMARK(BM_HoverPickDrawingEveryFace)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_HoverFrame(benchmark::State &state) { hoverPicks(state, false, true); }
BENCHMARK(BM_HoverFrame)->Unit(benchmark::kMillisecond)->MinTime(2)->MeasureProcessCPUTime();

// Pointer motions across the object through the controller, each drawing a frame only when it
// asks for one (another element under the pointer), as the model window does.
void BM_HoverMotion(benchmark::State &state) {
  Window w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  InteractionController controller(w.scene, w.view, w.ui);
  int32_t x = 300, frames = 0;
  for (auto _ : state) {
    x = x == 420 ? 300 : x + 1;
    PointerInput motion;
    motion.x = x;
    motion.y = 243;
    if (controller.pointer(motion).redraw) {
      w.frame(InteractionMode::Select);
      ++frames;
    }
  }
  state.counters["frame share"] = double(frames) / double(state.iterations());
}
BENCHMARK(BM_HoverMotion)->Unit(benchmark::kMillisecond)->MinTime(2)->MeasureProcessCPUTime();

// Slab sizes whose faces grow to close to 32 768 when all are inset (five faces each) or
// bevelled (about four each); extruding the whole closed surface as one region adds none.
constexpr int32_t kInsetCells = 56, kBevelCells = 62;

// Which parts of a drag step run: the mesh update, the vertex list refill, the frame.
enum StepParts { kMeshOnly = 1, kWithLists = 3, kWholeStep = 7 };

// Drag steps of the operation on every face of a slab of `cells` quads a side, chosen so that
// the object has close to 32 768 faces once the operation has started.
void dragSteps(benchmark::State &state, int32_t operation, int32_t cells, int parts) {
  Window w(cells);
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  w.selectAllFaces();
  const OperationStart start = runOperationCommand(w.scene, operation, 0);
  if (!start.accepted || !start.interactive)
    return state.SkipWithError("the operation refused to start");
  w.view.renderer.RebuildLists(w.scene, false); // entering the drag: the fast build
  DragMotion motion;
  motion.viewDirection = {0, 0, -1};
  int32_t direction = 1;
  for (auto _ : state) {
    direction = -direction;
    motion.dx = direction;
    motion.accumulatedX += direction;
    applyDragStep(w.scene, start.dragKind, motion);
    if (parts & 2)
      w.view.renderer.RebuildVertexLists(w.scene);
    if (parts & 4)
      w.frame(InteractionMode::Drag);
  }
  state.counters["faces"] = double(w.scene.object(0)->faces.count());
}

void BM_MoveNormalStepOnEveryFace(benchmark::State &state) {
  dragSteps(state, kOpMoveNormal, 127, kWholeStep);
}
BENCHMARK(BM_MoveNormalStepOnEveryFace)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_MoveNormalMeshAndListsOnly(benchmark::State &state) {
  dragSteps(state, kOpMoveNormal, 127, kWithLists);
}
BENCHMARK(BM_MoveNormalMeshAndListsOnly)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_MoveNormalMeshOnly(benchmark::State &state) {
  dragSteps(state, kOpMoveNormal, 127, kMeshOnly);
}
BENCHMARK(BM_MoveNormalMeshOnly)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_ExtrudeRegionStepOnEveryFace(benchmark::State &state) {
  dragSteps(state, kOpExtrudeRegionNormal, 127, kWholeStep);
}
BENCHMARK(BM_ExtrudeRegionStepOnEveryFace)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_InsetStepOnEveryFace(benchmark::State &state) {
  dragSteps(state, kOpInset, kInsetCells, kWholeStep);
}
BENCHMARK(BM_InsetStepOnEveryFace)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

void BM_BevelStepOnEveryFace(benchmark::State &state) {
  dragSteps(state, kOpBevel, kBevelCells, kWholeStep);
}
BENCHMARK(BM_BevelStepOnEveryFace)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

// A camera orbit step with every face selected: the red highlight over the whole object.
void BM_OrbitStepWithEveryFaceSelected(benchmark::State &state) {
  Window w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  w.selectAllFaces();
  int32_t direction = 1;
  for (auto _ : state) {
    direction = -direction;
    w.view.cameraMode.orbit(w.view.camera, 360 + direction, 243, 360, 243);
    w.frame(InteractionMode::Camera);
  }
}
BENCHMARK(BM_OrbitStepWithEveryFaceSelected)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

// The commit of a Move normal drag on every face: the last step, the list rebuild and the
// select-mode frame with the selection highlighted.
void BM_CommitMoveNormal(benchmark::State &state) {
  Window w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  w.selectAllFaces();
  if (!runOperationCommand(w.scene, kOpMoveNormal, 0).accepted)
    return state.SkipWithError("Move normal refused");
  DragMotion motion;
  int32_t direction = 1;
  for (auto _ : state) {
    direction = -direction;
    motion.dx = direction;
    motion.accumulatedX += direction;
    applyDragStep(w.scene, kDragMoveNormal, motion);
    w.view.renderer.RebuildLists(w.scene, true);
    w.frame(InteractionMode::Select);
  }
}
BENCHMARK(BM_CommitMoveNormal)->Unit(benchmark::kMillisecond)->MinTime(2)->MeasureProcessCPUTime();

} // namespace
