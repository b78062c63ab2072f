// Our OBJ files read by an independent reader, and its OBJ files read by us: Open Asset Import
// Library's command-line tool ("assimp", Debian's assimp-utils). Skipped when it is not installed.
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

class AssimpInterop : public testing::Test {
protected:
  void SetUp() override {
    if (!assimpInstalled())
      GTEST_SKIP() << "assimp (assimp-utils) is not installed";
    dir = interopFolder("morvo_assimp_");
    addInteropShapes(scene);
  }
  void TearDown() override { fs::remove_all(dir); }

  fs::path dir;
  RecordingUi ui;
  Scene scene{ui};
  FormatRegistry registry;
  std::ostringstream diag;
};

TEST_F(AssimpInterop, AssimpReadsOurFilesWithOurCounts) {
  const std::string path = (dir / "ours.obj").string();
  ASSERT_TRUE(exportModel(scene, registry, path, true, diag));
  const std::string raw = runCommand("assimp info " + path + " -r"); // faces as written
  const std::string joined = runCommand("assimp info " + path);      // shared vertices joined again
  EXPECT_EQ(raw.find("Warn"), std::string::npos) << raw;
  EXPECT_EQ(joined.find("Warn"), std::string::npos) << joined;
  const auto faces = assimpMeshCounts(raw), vertices = assimpMeshCounts(joined);
  ASSERT_EQ(faces.size(), 3u) << raw;
  ASSERT_EQ(vertices.size(), 3u) << joined;
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(faces[size_t(i)].second, scene.object(i)->faces.count()) << i;
    EXPECT_EQ(vertices[size_t(i)].first, scene.object(i)->vertices.count()) << i;
  }
}

TEST_F(AssimpInterop, WeReadAssimpsFilesWithTheSameCounts) {
  const std::string ours = (dir / "ours.obj").string(), theirs = (dir / "theirs.obj").string();
  ASSERT_TRUE(exportModel(scene, registry, ours, true, diag));
  const std::string log = runCommand("assimp export " + ours + " " + theirs);
  ASSERT_TRUE(fs::exists(theirs)) << log;
  RecordingUi ui2;
  Scene again(ui2);
  ASSERT_TRUE(importModel(again, registry, theirs, false, diag)) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 3);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(again.object(i)->faces.count(), scene.object(i)->faces.count()) << i;
    EXPECT_EQ(again.object(i)->vertices.count(), scene.object(i)->vertices.count()) << i;
  }
}

} // namespace
