// Painting under Mesa's llvmpipe at the paint window's size, on a 32 766-face object with a
// 1024 x 1024 atlas: the stroke commit of a stroke that changed every canvas pixel (texture
// loads included), the index render that maps every pixel to its paint triangle, and the undo
// history's step for a 500-pixel brush stroke: the memory it keeps against the texels it
// changed, and its Undo and Redo.
#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "offscreen/offscreen_context.h"
#include "paint/index_render.h"
#include "paint/paint_surface.h"
#include "paint/stroke_commit.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

namespace {

constexpr int32_t kWidth = 720, kHeight = 486;

struct Setup {
  OffscreenContext context;
  RecordingUi ui;
  Scene scene{ui};
  View view;
  PaintCanvas canvas;
  bool ok = false;

  Setup() {
    std::string error;
    if (!context.create(kWidth, kHeight, error))
      return;
    auto slab = std::make_shared<moObject>(makeObject(slabMesh(127, 127)));
    slab->scaleAbout({0, 0, 0}, {0.5f, 0.5f, 20}); // fill the view
    slab->transform(translation(-32, -20, -10));
    triangulateFaces(*slab, kTriangulateDelaunay);
    slab->paintLayer = makePaintLayer(PaintLayer::kAtlas, 1024, 1024, slab->triangleFaces.count());
    scene.objects.insert(slab);
    view.resize(kWidth, kHeight);
    view.ResetCamera();
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
    view.renderer.RebuildLists(scene, true);
    ok = PrepareCanvas(scene, view, canvas, kWidth, kHeight);
  }

  // A stroke over the whole window: every pixel a new colour and dirty.
  void strokeEverywhere(uint8_t shade) {
    const uint32_t colour = packRgba(shade, 255 - shade, 128);
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        canvas.colour.at(x, y) = colour;
        canvas.markDirty(x, y);
      }
  }
};

void BM_CommitFullWindowStroke(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  uint8_t shade = 0;
  for (auto _ : state) {
    state.PauseTiming();
    s.strokeEverywhere(shade += 17);
    state.ResumeTiming();
    CommitStroke(s.scene, s.view, s.canvas);
    glFinish(); // the texture loads are part of the commit
  }
  state.counters["faces"] = s.scene.object(0)->faces.count();
  state.counters["triangles"] = s.canvas.triangleTotal;
}
BENCHMARK(BM_CommitFullWindowStroke)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

// A brush stroke 500 pixels long and 9 wide across the middle of the object, committed once.
void BM_UndoRedoBrushStroke(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  const ImageBuffer &image = s.scene.object(0)->paintLayer->image;
  const std::vector<uint32_t> before(image.pixels(), image.pixels() + image.pixelCount());
  for (int32_t y = kHeight / 2 - 4; y <= kHeight / 2 + 4; ++y)
    for (int32_t x = (kWidth - 500) / 2; x < (kWidth + 500) / 2; ++x)
      s.canvas.setPixel(x, y, packRgba(200, 30, 30));
  if (!CommitStroke(s.scene, s.view, s.canvas))
    return state.SkipWithError("the stroke changed nothing");
  size_t changed = 0;
  for (int32_t i = 0; i < image.pixelCount(); ++i)
    changed += image.pixels()[i] != before[size_t(i)] ? 1 : 0;
  const size_t stepBytes = s.scene.historyBytes();
  for (auto _ : state) {
    s.scene.UndoStep();
    s.scene.RedoStep();
  }
  state.counters["changedKiB"] = double(changed * 4) / 1024;
  state.counters["stepKiB"] = double(stepBytes) / 1024;
  state.counters["ratio"] = double(stepBytes) / double(changed * 4);
}
BENCHMARK(BM_UndoRedoBrushStroke)->Unit(benchmark::kMicrosecond);

// The commit of that brush stroke, without symmetry (0) and with X symmetry (1), which repeats it
// on the other half of the slab and refreshes the canvas.
void BM_CommitBrushStroke(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  s.scene.object(0)->transform(translation(0.25f, 0, 0)); // symmetric about x = 0
  s.view.renderer.RebuildLists(s.scene, true);
  RefreshCanvas(s.scene, s.view, s.canvas);
  if (state.range(0))
    s.scene.symmetry.toggle(0);
  uint8_t shade = 0;
  for (auto _ : state) {
    state.PauseTiming();
    shade += 17;
    for (int32_t y = kHeight / 2 - 4; y <= kHeight / 2 + 4; ++y)
      for (int32_t x = kWidth / 2 + 20; x < kWidth / 2 + 270; ++x)
        s.canvas.setPixel(x, y, packRgba(shade, 30, 30));
    state.ResumeTiming();
    if (!CommitStroke(s.scene, s.view, s.canvas))
      return state.SkipWithError("the stroke changed nothing");
    glFinish();
  }
}
BENCHMARK(BM_CommitBrushStroke)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(1);

void BM_IndexRenderOf32kFaceObject(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  for (auto _ : state)
    IndexRender(s.scene, s.view, s.canvas);
  state.counters["faces"] = s.scene.object(0)->faces.count();
}
BENCHMARK(BM_IndexRenderOf32kFaceObject)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(2)
    ->MeasureProcessCPUTime();

} // namespace
