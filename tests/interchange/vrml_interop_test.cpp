// Our VRML files read by an independent, strict VRML97 reader, and its files read by us: Coin3D
// (Debian's libcoin-dev) through the helper coin_vrml_check, which also writes what it read as a
// VRML 2.0 file of its own. Skipped when Coin3D was not there at build time.
#include "core/face_triangulation.h"
#include "interchange/model_exchange.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string run(const std::string &command) {
  std::string out;
  FILE *pipe = popen((command + " 2>&1").c_str(), "r");
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    out.append(buffer, n);
  pclose(pipe);
  return out;
}

class CoinInterop : public testing::Test {
protected:
  void SetUp() override {
#ifndef MORVO_COIN_CHECK
    GTEST_SKIP() << "Coin3D (libcoin-dev) was not found when building";
#endif
    // One folder per case: CTest runs the cases in parallel.
    dir = fs::temp_directory_path() /
          ("morvo_coin_" +
           std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    add("cube", cubeMesh());
    add("torus", torusMesh(6, 12, 3));
    moObject &painted = add("painted slab", slabMesh(3, 2));
    triangulateFaces(painted, kTriangulateDelaunay);
    painted.paintLayer =
        makePaintLayer(PaintLayer::kPerCorner, 4, 4, painted.triangleVertices.count());
  }
  void TearDown() override { fs::remove_all(dir); }
  moObject &add(const char *name, const PolygonMesh &mesh) {
    scene.objects.insert(std::make_shared<moObject>(makeObject(mesh)));
    moObject &obj = *scene.object(scene.objects.count() - 1);
    obj.name = name;
    return obj;
  }
  std::string check(const std::string &args) {
#ifdef MORVO_COIN_CHECK
    return run(std::string(MORVO_COIN_CHECK) + " " + args);
#else
    return args;
#endif
  }

  fs::path dir;
  RecordingUi ui;
  Scene scene{ui};
  FormatRegistry registry;
  std::ostringstream diag;
};

TEST_F(CoinInterop, CoinReadsOurFilesWithoutErrorsAndWithOurCounts) {
  const std::string path = (dir / "ours.wrl").string();
  ASSERT_TRUE(exportModel(scene, registry, path, true, diag));
  // Plain objects travel as their faces, the painted one as its triangles with a point each.
  const int32_t painted = scene.object(2)->triangleVertices.count();
  const int64_t points =
      scene.object(0)->vertices.count() + scene.object(1)->vertices.count() + painted;
  const int64_t faces =
      scene.object(0)->faces.count() + scene.object(1)->faces.count() + painted / 3;
  EXPECT_EQ(check(path), "errors 0 shapes 3 points " + std::to_string(points) + " faces " +
                             std::to_string(faces) + "\n");
}

TEST_F(CoinInterop, WeReadCoinsFilesIntoTheSameObjects) {
  const std::string ours = (dir / "ours.wrl").string(), theirs = (dir / "theirs.wrl").string();
  ASSERT_TRUE(exportModel(scene, registry, ours, true, diag));
  ASSERT_EQ(check(ours + " " + theirs).rfind("errors 0", 0), 0u);
  RecordingUi uiOurs, uiTheirs;
  Scene fromOurs(uiOurs), fromTheirs(uiTheirs);
  ASSERT_TRUE(importModel(fromOurs, registry, ours, false, diag)) << diag.str();
  ASSERT_TRUE(importModel(fromTheirs, registry, theirs, false, diag)) << diag.str();
  ASSERT_EQ(fromTheirs.objects.objectCount(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    const moObject &a = *fromOurs.object(i), &b = *fromTheirs.object(i);
    EXPECT_EQ(b.name, a.name);
    EXPECT_EQ(b.vertices.count(), a.vertices.count()) << a.name;
    EXPECT_EQ(b.faces.count(), a.faces.count()) << a.name;
    EXPECT_EQ(b.material.diffuse[0], a.material.diffuse[0]) << a.name;
  }
  EXPECT_EQ(fromTheirs.object(1)->faces.count(), scene.object(1)->faces.count());
}

} // namespace
