// Our DirectX and 3DS files read by an independent reader, and its files in those formats read
// by us: Open Asset Import Library's command-line tool ("assimp", Debian's assimp-utils).
// Skipped when it is not installed.
#include "interchange/model_exchange.h"
#include "scene/recording_ui.h"
#include "tests/interchange/interop_scene.h"
#include "tests/support/assimp_tool.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class AssimpFormats : public testing::TestWithParam<const char *> {
protected:
  void SetUp() override {
    if (!assimpInstalled())
      GTEST_SKIP() << "assimp (assimp-utils) is not installed";
    dir = interopFolder("morvo_assimp_");
    addInteropShapes(scene);
    ours = (dir / (std::string("ours") + GetParam())).string();
    ASSERT_TRUE(exportModel(scene, registry, ours, true, diag));
  }
  void TearDown() override { fs::remove_all(dir); }
  bool triangles() const { return std::string(GetParam()) == ".3ds"; }
  // Faces and face corners as the file holds them: 3DS holds triangles, DirectX the faces.
  int32_t faces(int32_t i) {
    moObject &obj = *scene.object(i);
    return triangles() ? obj.triangleFaces.count() : obj.faces.count();
  }
  int32_t corners(int32_t i) {
    moObject &obj = *scene.object(i);
    return triangles() ? obj.triangleVertices.count() : 2 * obj.edges.count();
  }

  fs::path dir;
  std::string ours;
  RecordingUi ui;
  Scene scene{ui};
  FormatRegistry registry;
  std::ostringstream diag;
};

TEST_P(AssimpFormats, AssimpReadsOurFilesWithOurCounts) {
  const std::string info = runCommand("assimp info " + ours + " -r");
  EXPECT_EQ(info.find("Warn"), std::string::npos) << info;
  EXPECT_EQ(info.find("Error"), std::string::npos) << info;
  const auto counts = assimpMeshCounts(info);
  ASSERT_EQ(counts.size(), 3u) << info;
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(counts[size_t(i)].first, corners(i)) << i; // every corner a vertex of its own
    EXPECT_EQ(counts[size_t(i)].second, faces(i)) << i;
  }
}

TEST_P(AssimpFormats, WeReadAssimpsFilesWithTheSameCounts) {
  const std::string theirs = (dir / (std::string("theirs") + GetParam())).string();
  const std::string log = runCommand("assimp export " + ours + " " + theirs);
  ASSERT_TRUE(fs::exists(theirs)) << log;
  RecordingUi ui2;
  Scene again(ui2);
  ASSERT_TRUE(importModel(again, registry, theirs, false, diag)) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(again.object(i)->faces.count(), faces(i)) << i;
    EXPECT_EQ(again.object(i)->vertices.count(), scene.object(i)->vertices.count()) << i;
  }
}

INSTANTIATE_TEST_SUITE_P(DirectXAnd3ds, AssimpFormats, testing::Values(".x", ".3ds"),
                         [](const testing::TestParamInfo<const char *> &param) {
                           return std::string(param.param + 1) == "x" ? "DirectX" : "ThreeDs";
                         });

} // namespace
