// Import of a model beyond an object's face limit, simplified to fit: a closed 200 000-triangle
// sphere in an OBJ file, from the file on disk to the finished object in the scene, as
// "morvo-cli convert --simplify" does it.
#include "interchange/mesh_simplify.h"
#include "interchange/model_exchange.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

void BM_ImportSimplified200kTriangles(benchmark::State &state) {
  if (!simplificationAvailable()) {
    state.SkipWithError("built without libmeshoptimizer");
    return;
  }
  const std::string path =
      (std::filesystem::temp_directory_path() / "morvo_bench_simplify.obj").string();
  std::ofstream(path) << objText(sphereMesh(400, 251)); // 2 * 400 * 250 triangles
  const FormatRegistry registry;
  const OverLimitChoice simplify = [](const std::string &, int64_t) { return true; };
  for (auto _ : state) {
    RecordingUi ui;
    Scene scene(ui);
    std::ostringstream diagnostics;
    if (!importModel(scene, registry, path, false, diagnostics, simplify))
      state.SkipWithError("the import failed");
    benchmark::DoNotOptimize(scene.objects.objectCount());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ImportSimplified200kTriangles)->Unit(benchmark::kMillisecond);

} // namespace
