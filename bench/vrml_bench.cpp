// VRML import and export of a model of four shapes, 100 000 triangles in all (each a closed,
// triangulated torus under the face limit of one object). Reading is measured from the bytes to
// the interchange tree (its release not counted) and, separately, to finished objects; export
// from the objects to the text.
#include "interchange/geo_to_gx.h"
#include "interchange/gx_to_geo.h"
#include "interchange/vrml/vrml_format.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <sstream>

namespace {

constexpr int kShapes = 4;

std::string modelText() {
  std::ostringstream text;
  text << "#VRML V2.0 utf8\n";
  for (int s = 0; s < kShapes; ++s) {
    const PolygonMesh torus = torusMesh(100, 125); // 25 000 triangles
    text << "DEF torus" << s << " Shape {\n  appearance Appearance { material Material { } }\n"
         << "  geometry IndexedFaceSet {\n    coord Coordinate { point [\n";
    for (const moVec3 &p : torus.points)
      text << "      " << p.x + 50.0f * s << ' ' << p.y << ' ' << p.z << ",\n";
    text << "    ] }\n    coordIndex [\n";
    // Faces run clockwise in the fixture; VRML lists corners counter-clockwise.
    for (const auto &q : torus.faces)
      text << "      " << q[3] << ", " << q[2] << ", " << q[1] << ", -1, " << q[3] << ", " << q[1]
           << ", " << q[0] << ", -1,\n";
    text << "    ]\n  }\n}\n";
  }
  return text.str();
}

const std::string &model() {
  static const std::string text = modelText();
  return text;
}

void BM_VrmlReadToTree(benchmark::State &state) {
  std::ostream quiet(nullptr);
  model(); // made before the clock runs
  for (auto _ : state) {
    GxPtr tree(readVrml(model(), nullptr, quiet));
    benchmark::DoNotOptimize(tree.get());
    state.PauseTiming(); // releasing the tree belongs to whoever consumes it
    tree.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations() * model().size()));
  state.counters["MB"] = double(model().size()) / 1e6;
}
BENCHMARK(BM_VrmlReadToTree)->Unit(benchmark::kMillisecond);

std::vector<ObjectPtr> importModel(std::ostream &diag) {
  GxPtr tree(readVrml(model(), nullptr, diag));
  GxToGeo converter(diag, nullptr);
  return converter.convert(*tree);
}

void BM_VrmlImport(benchmark::State &state) {
  std::ostream quiet(nullptr);
  std::streambuf *const cerrBuffer = std::cerr.rdbuf(nullptr); // the validity test's heading
  size_t faces = 0;
  for (auto _ : state) {
    faces = 0;
    for (const ObjectPtr &obj : importModel(quiet))
      faces += size_t(obj->faces.count());
  }
  std::cerr.rdbuf(cerrBuffer);
  state.counters["faces"] = double(faces);
  state.SetBytesProcessed(int64_t(state.iterations() * model().size()));
}
BENCHMARK(BM_VrmlImport)->Unit(benchmark::kMillisecond);

void BM_VrmlExport(benchmark::State &state) {
  std::ostream quiet(nullptr);
  std::streambuf *const cerrBuffer = std::cerr.rdbuf(nullptr);
  RecordingUi ui;
  Scene scene(ui);
  for (ObjectPtr &obj : importModel(quiet))
    scene.objects.insert(obj);
  std::cerr.rdbuf(cerrBuffer);
  size_t bytes = 0;
  for (auto _ : state) {
    GeoToGx converter(ExportOptions{}, quiet);
    GxPtr tree = converter.convert(scene, true);
    std::string text;
    writeVrml(tree.get(), text, quiet);
    bytes = text.size();
  }
  state.counters["MB"] = double(bytes) / 1e6;
  state.SetBytesProcessed(int64_t(state.iterations() * bytes));
}
BENCHMARK(BM_VrmlExport)->Unit(benchmark::kMillisecond);

} // namespace
