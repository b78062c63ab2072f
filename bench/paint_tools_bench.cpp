// The paint tools at the paint window's size: one dab of a large paintbrush and a flood fill of
// the whole canvas on the canvas alone, and a 500-pixel paintbrush stroke with its commit into a
// 1024 x 1024 atlas under Mesa's llvmpipe.
#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "offscreen/offscreen_context.h"
#include "paint/paint_surface.h"
#include "paint/tools/paint_session.h"
#include "paint/tools/tool_registry.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t kWidth = 720, kHeight = 486;

// A canvas of paint everywhere, without a scene: commits only clear the dirty state.
struct CanvasOnly {
  PaintCanvas canvas;
  PaintToolbox toolbox;
  ToolFeedback feedback;
  PaintContext ctx{canvas, toolbox, feedback};

  CanvasOnly() {
    canvas.resize(kWidth, kHeight);
    canvas.triangleTotal = 1;
    std::fill(canvas.index.begin(), canvas.index.end(), 0u);
    std::fill(canvas.colour.pixels(), canvas.colour.pixels() + canvas.colour.pixelCount(),
              0xFFFFFFFFu);
    toolbox.activateCurrent(ctx);
  }
};

void BM_PaintbrushDab128(benchmark::State &state) {
  CanvasOnly s;
  PaintTool &brush = s.toolbox.current();
  brush.setSize(s.ctx, 128, 128);
  uint8_t shade = 0;
  for (auto _ : state) {
    brush.setColour(s.ctx, packRgba(shade += 37, 0, 0)); // a new colour: every pixel changes
    brush.press(s.ctx, kWidth / 2, kHeight / 2);
    state.PauseTiming();
    brush.release(s.ctx, kWidth / 2, kHeight / 2);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PaintbrushDab128)->Unit(benchmark::kMicrosecond);

void BM_FloodFillWholeCanvas(benchmark::State &state) {
  CanvasOnly s;
  s.toolbox.SelectTool(s.ctx, kFillTool);
  PaintTool &fill = s.toolbox.current();
  bool dark = false;
  for (auto _ : state) {
    fill.setColour(s.ctx, (dark = !dark) ? 0xFF000000u : 0xFFFFFFFFu);
    fill.press(s.ctx, 10, 10);
  }
}
BENCHMARK(BM_FloodFillWholeCanvas)->Unit(benchmark::kMillisecond);

// A slab of paint filling the window with a 1024 x 1024 atlas.
struct PaintedSlab {
  OffscreenContext context;
  RecordingUi ui;
  Scene scene{ui};
  View view;
  PaintCanvas canvas;
  PaintToolbox toolbox;
  ToolFeedback feedback;
  PaintContext ctx{canvas, toolbox, feedback, &scene, &view};
  bool ok = false;

  PaintedSlab() {
    std::string error;
    if (!context.create(kWidth, kHeight, error))
      return;
    auto slab = std::make_shared<moObject>(makeObject(slabMesh(31, 31)));
    slab->scaleAbout({0, 0, 0}, {3, 3, 20});
    slab->transform(translation(-48, -30, -10));
    triangulateFaces(*slab, kTriangulateDelaunay);
    slab->paintLayer = makePaintLayer(PaintLayer::kAtlas, 1024, 1024, slab->triangleFaces.count());
    scene.objects.insert(slab);
    view.resize(kWidth, kHeight);
    view.ResetCamera();
    view.SetPerspective(false);
    SceneRenderer::InitGlState(view.camera);
    ok = PreparePainting(ctx);
  }
};

void BM_Stroke500PixelsWithCommit(benchmark::State &state) {
  PaintedSlab s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  PaintTool &brush = s.toolbox.current();
  uint8_t shade = 0;
  const int32_t y = kHeight / 2, x0 = (kWidth - 500) / 2;
  int32_t paintable = 0;
  for (int32_t x = x0; x <= x0 + 500; ++x)
    paintable += s.canvas.paintable(x, y) ? 1 : 0;
  for (auto _ : state) {
    brush.setColour(s.ctx, packRgba(shade += 37, 90, 200));
    brush.press(s.ctx, x0, y);
    for (int32_t x = x0 + 2; x <= x0 + 500; x += 2) // a drag event every two pixels
      brush.drag(s.ctx, x, y);
    brush.release(s.ctx, x0 + 500, y);
    glFinish(); // the texture loads are part of the commit
  }
  state.counters["paintable"] = paintable;
}
BENCHMARK(BM_Stroke500PixelsWithCommit)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

} // namespace
