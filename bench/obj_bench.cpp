// OBJ import and export of a model of four groups, 100 000 triangles in all (each group a
// closed, triangulated torus under the face limit of one object). Import is measured from the
// bytes to finished objects, side by side with Open Asset Import Library's OBJ importer on the
// same bytes when it is installed; export from the objects to the OBJ and MTL text.
#include "interchange/geo_to_gx.h"
#include "interchange/gx_to_geo.h"
#include "interchange/obj/obj_format.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#ifdef MORVO_HAVE_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/scene.h>
#endif

#include <iostream>
#include <sstream>

namespace {

constexpr int kGroups = 4;

// Four groups of rings x segments quads, each split into two triangles.
std::string modelText() {
  std::ostringstream text;
  int32_t base = 0;
  for (int g = 0; g < kGroups; ++g) {
    const PolygonMesh torus = torusMesh(100, 125); // 25 000 triangles
    text << "g group" << g << "\nusemtl m" << g << "\n";
    for (const moVec3 &p : torus.points)
      text << "v " << p.x + 50.0f * g << ' ' << p.y << ' ' << p.z << '\n';
    for (const auto &q : torus.faces) {
      // Faces run clockwise in the fixture; OBJ lists corners counter-clockwise.
      text << "f " << base + q[3] + 1 << ' ' << base + q[2] + 1 << ' ' << base + q[1] + 1 << '\n';
      text << "f " << base + q[3] + 1 << ' ' << base + q[1] + 1 << ' ' << base + q[0] + 1 << '\n';
    }
    base += int32_t(torus.points.size());
  }
  return text.str();
}

const std::string &model() {
  static const std::string text = modelText();
  return text;
}

std::vector<ObjectPtr> importOurs(const std::string &bytes, std::ostream &diag) {
  GxPtr tree(readObj(bytes, nullptr, diag));
  GxToGeo converter(diag, nullptr);
  return converter.convert(*tree);
}

void BM_ObjImportMorvo(benchmark::State &state) {
  std::ostream quiet(nullptr);
  std::streambuf *const cerrBuffer = std::cerr.rdbuf(nullptr); // the validity test's heading
  size_t faces = 0;
  for (auto _ : state) {
    faces = 0;
    for (const ObjectPtr &obj : importOurs(model(), quiet))
      faces += size_t(obj->faces.count());
  }
  std::cerr.rdbuf(cerrBuffer);
  state.counters["faces"] = double(faces);
  state.SetBytesProcessed(int64_t(state.iterations() * model().size()));
}
BENCHMARK(BM_ObjImportMorvo)->Unit(benchmark::kMillisecond);

// The reader alone: bytes to the interchange tree, destroyed within the loop.
void BM_ObjRead(benchmark::State &state) {
  std::ostream quiet(nullptr);
  for (auto _ : state) {
    GxPtr tree(readObj(model(), nullptr, quiet));
    benchmark::DoNotOptimize(tree.get());
  }
  state.SetBytesProcessed(int64_t(state.iterations() * model().size()));
}
BENCHMARK(BM_ObjRead)->Unit(benchmark::kMillisecond);

#ifdef MORVO_HAVE_ASSIMP
void BM_ObjImportAssimp(benchmark::State &state) {
  size_t faces = 0;
  for (auto _ : state) {
    Assimp::Importer importer;
    const aiScene *scene = importer.ReadFileFromMemory(model().data(), model().size(), 0, "obj");
    faces = 0;
    for (unsigned m = 0; scene && m < scene->mNumMeshes; ++m)
      faces += scene->mMeshes[m]->mNumFaces;
  }
  state.counters["faces"] = double(faces);
  state.SetBytesProcessed(int64_t(state.iterations() * model().size()));
}
BENCHMARK(BM_ObjImportAssimp)->Unit(benchmark::kMillisecond);
#endif

void BM_ObjExport(benchmark::State &state) {
  std::ostream quiet(nullptr);
  std::streambuf *const cerrBuffer = std::cerr.rdbuf(nullptr);
  RecordingUi ui;
  Scene scene(ui);
  for (ObjectPtr &obj : importOurs(model(), quiet))
    scene.objects.insert(obj);
  std::cerr.rdbuf(cerrBuffer);
  size_t bytes = 0;
  for (auto _ : state) {
    GeoToGx converter(ExportOptions{}, quiet);
    GxPtr tree = converter.convert(scene, true);
    std::string obj, mtl;
    writeObj(tree.get(), "model.mtl", obj, mtl, quiet);
    bytes = obj.size() + mtl.size();
  }
  state.counters["MB"] = double(bytes) / 1e6;
  state.SetBytesProcessed(int64_t(state.iterations() * bytes));
}
BENCHMARK(BM_ObjExport)->Unit(benchmark::kMillisecond);

} // namespace
