// Saving, copying for recovery and opening a large scene: 12 objects of 32 766 faces each and a
// 1024 x 1024 paint image of noise (the worst case for the run-length coding).
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

namespace {

void fillScene(Scene &scene) {
  const PolygonMesh slab = slabMesh(127, 127); // 32 766 faces
  for (int i = 0; i < 12; ++i)
    scene.objects.insert(std::make_shared<moObject>(makeObject(slab)));
  moObject &painted = *scene.object(0);
  for (int32_t t = 0; t < 1000; ++t) {
    for (int32_t k = 0; k < 3; ++k)
      painted.triangleVertices.append(k);
    painted.triangleFaces.append(0);
  }
  painted.paintLayer = makePaintLayer(PaintLayer::kAtlas, 1024, 1024, 1000);
  std::mt19937 rng(5);
  ImageBuffer &image = painted.paintLayer->image;
  for (int32_t i = 0; i < image.pixelCount(); ++i)
    image.pixels()[i] = rng() | 0xff000000u;
}

void BM_SaveLargeScene(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  fillScene(scene);
  std::string bytes;
  for (auto _ : state) {
    writeScene(scene, bytes, false);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["MiB"] = double(bytes.size()) / (1 << 20);
}
BENCHMARK(BM_SaveLargeScene)->Unit(benchmark::kMillisecond);

// A recovery copy of the same scene as autosave makes it between frames: one object per step.
// The longest step is what the window waits for at most; the whole copy is the sum.
void BM_RecoveryCopyLongestStep(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  fillScene(scene);
  double longest = 0, total = 0;
  int64_t copies = 0;
  for (auto _ : state) {
    SceneFileWriter writer(scene);
    bool more = true;
    while (more) {
      const auto start = std::chrono::steady_clock::now();
      more = writer.writeNext(scene);
      const double ms =
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
      longest = std::max(longest, ms);
      total += ms;
    }
    benchmark::DoNotOptimize(writer.parts().data());
    ++copies;
  }
  state.counters["longest_step_ms"] = longest;
  state.counters["copy_ms"] = total / double(std::max<int64_t>(copies, 1));
}
BENCHMARK(BM_RecoveryCopyLongestStep)->Unit(benchmark::kMillisecond);

void BM_OpenLargeScene(benchmark::State &state) {
  RecordingUi ui;
  Scene scene(ui);
  fillScene(scene);
  std::string bytes;
  writeScene(scene, bytes, false);
  for (auto _ : state) {
    Scene loaded(ui);
    if (!readScene(loaded, bytes, true))
      state.SkipWithError("the scene did not read back");
  }
}
BENCHMARK(BM_OpenLargeScene)->Unit(benchmark::kMillisecond);

} // namespace
