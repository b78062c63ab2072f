// The paint window's stroke path as the window runs it: a mouse move with the left button held
// goes through PaintWindowInput to the paintbrush, which dabs into the canvas and shows the dab
// in the frame buffer; the time runs until OpenGL has drawn it. Also Undo and Redo of a stroke. The
// scene is the 32 766-face slab filling a 720 x 486 window, entered as the Paint work mode enters
// it.
#include "bench/bench_window.h"
#include "paint/tools/paint_window_input.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

struct PaintWindowBench : BenchWindow {
  InteractionController controller{scene, view, ui};
  PaintWindowInput input{scene, view, controller, ui};

  PaintWindowBench() {
    if (ok)
      ok = input.enter(720, 486);
    if (ok)
      input.useFirstEntryTool();
  }
  void send(PointerInput::Kind kind, int32_t x, int32_t y, bool held) {
    PointerInput in;
    in.kind = kind;
    in.x = x;
    in.y = y;
    in.button = kind == PointerInput::Move ? Button::None : Button::Left;
    in.leftHeld = held;
    input.pointer(in);
  }
};

// One drag event 6 pixels on (past the 32-pixel brush's spacing of 5), so every move dabs.
void BM_PaintWindowMoveToDabShown(benchmark::State &state) {
  PaintWindowBench w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  const int32_t y = 243, x0 = 100, x1 = 620;
  int32_t x = x0;
  w.send(PointerInput::Press, x, y, true);
  for (auto _ : state) {
    x += 6;
    w.send(PointerInput::Move, x, y, true);
    glFinish();
    if (x >= x1) { // start a new stroke; its commit is not part of a move
      state.PauseTiming();
      w.send(PointerInput::Release, x, y, false);
      x = x0;
      w.send(PointerInput::Press, x, y, true);
      glFinish();
      state.ResumeTiming();
    }
  }
  w.send(PointerInput::Release, x, y, false);
}
BENCHMARK(BM_PaintWindowMoveToDabShown)->Unit(benchmark::kMillisecond)->MinTime(2);

// A whole 520-pixel stroke: press, moves every 6 pixels, release with the commit into the
// textures of the slab; without symmetry (0) and with X symmetry (1), which repeats the stroke
// on the other half of the slab (moved a quarter unit to lie symmetric about x = 0, either way).
void BM_PaintWindowStrokeWithCommit(benchmark::State &state) {
  PaintWindowBench w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  w.scene.object(0)->transform(translation(0.25f, 0, 0));
  w.view.renderer.RebuildLists(w.scene, true);
  w.input.viewChanged();
  if (state.range(0))
    w.scene.symmetry.toggle(0);
  for (auto _ : state) {
    w.send(PointerInput::Press, 100, 243, true);
    for (int32_t x = 106; x <= 620; x += 6)
      w.send(PointerInput::Move, x, 243, true);
    w.send(PointerInput::Release, 620, 243, false);
    glFinish();
  }
}
BENCHMARK(BM_PaintWindowStrokeWithCommit)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2);

// Undo then Redo of such a stroke as Ctrl+Z and Ctrl+Shift+Z run them in the paint window: the
// texels exchanged, the textures reloaded and the canvas prepared for the scene again.
void BM_PaintWindowUndoRedoStroke(benchmark::State &state) {
  PaintWindowBench w;
  if (!w.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  w.send(PointerInput::Press, 100, 243, true);
  for (int32_t x = 106; x <= 620; x += 6)
    w.send(PointerInput::Move, x, 243, true);
  w.send(PointerInput::Release, 620, 243, false);
  for (auto _ : state) {
    w.input.undo();
    w.input.redo();
    glFinish();
  }
  state.counters["steps"] = double(w.scene.undoStepCount());
}
BENCHMARK(BM_PaintWindowUndoRedoStroke)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
