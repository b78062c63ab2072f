// Paint carried through modeling on a painted 8 192-face torus with a 1024 x 1024 atlas: Extrude
// region of every face and Smooth to 32 768 faces, each with the paint rebuild, against the same
// operation on the unpainted torus.
#include "core/face_triangulation.h"
#include "layers/paint_layers.h"
#include "ops/extrude.h"
#include "ops/smooth.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

namespace {

moObject torus(bool painted) {
  moObject obj = makeObject(torusMesh(64, 128));
  if (!painted)
    return obj;
  triangulateFaces(obj, kTriangulateDelaunay);
  obj.paintLayer = makePaintLayer(PaintLayer::kAtlas, 1024, 1024, paintTriangleCount(obj));
  ImageBuffer &image = obj.paintLayer->image;
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x)
      image.at(x, y) = packRgba(uint8_t(x), uint8_t(y), uint8_t(x ^ y));
  return obj;
}

// Runs op on a fresh copy of the torus, every face (or the object) selected, per iteration.
template <class Op> void run(benchmark::State &state, SelectionMode mode, Op op) {
  const moObject original = torus(state.range(0) != 0);
  RecordingUi ui;
  Scene scene{ui};
  for (auto _ : state) {
    state.PauseTiming();
    scene.clearHistory();
    scene.objects.clear(false);
    scene.objects.insert(std::make_shared<moObject>(original));
    scene.SetMode(mode);
    scene.clearSelection();
    if (mode == moOBJECTS)
      scene.selection.Append({0, 0});
    else
      for (int32_t f = 0; f < original.faces.count(); ++f)
        scene.selection.Append({f, 0});
    state.ResumeTiming();
    if (!op(scene))
      return state.SkipWithError("refused");
  }
  const moObject &obj = *scene.object(0);
  state.counters["faces"] = double(obj.faces.count());
  if (obj.paintLayer)
    state.counters["texture"] = double(obj.paintLayer->image.width());
}

void BM_ExtrudeRegionAllFaces(benchmark::State &state) {
  run(state, moFACES, [](Scene &s) { return ExtrudeRegion(s, true); });
}
BENCHMARK(BM_ExtrudeRegionAllFaces)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SmoothToFourTimesTheFaces(benchmark::State &state) {
  run(state, moOBJECTS, [](Scene &s) { return smooth(s); });
}
BENCHMARK(BM_SmoothToFourTimesTheFaces)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
