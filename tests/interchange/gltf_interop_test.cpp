// Our glTF files checked by independent tools: the Khronos glTF validator (the npm package
// gltf-validator, run by gltf_validate.js under node; skipped unless installed, for example
// `npm install gltf-validator` with NODE_PATH naming its node_modules folder) and Open Asset
// Import Library's command-line tool (Debian's assimp-utils), which must read our files with our
// counts and write files we read with the same counts.
#include "core/face_triangulation.h"
#include "fileio/read_file.h"
#include "interchange/gltf/gltf_container.h"
#include "interchange/model_exchange.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "tests/interchange/interop_scene.h"
#include "tests/support/assimp_tool.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class GltfInterop : public testing::TestWithParam<const char *> {
protected:
  void SetUp() override {
    dir = interopFolder("morvo_gltf_interop_");
    addInteropShapes(scene, "painted slab");
    moObject &painted = *scene.object(2);
    triangulateFaces(painted, kTriangulateDelaunay);
    const int32_t corners = painted.triangleVertices.count();
    painted.paintLayer = makePaintLayer(PaintLayer::kPerCorner, 8, 8, corners);
    for (int32_t c = 0; c < corners; ++c)
      painted.paintLayer->coordinates[size_t(2 * c)] = float(c % 8) / 8.0f;
    ours = (dir / (std::string("ours") + GetParam())).string();
    ASSERT_TRUE(exportModel(scene, registry, ours, true, diag));
  }
  void TearDown() override { fs::remove_all(dir); }
  // The vertex count of each mesh as our file holds it.
  std::vector<int> writtenVertices() {
    std::string bytes, error;
    EXPECT_TRUE(readWholeFile(ours, bytes, error));
    std::string_view text = bytes, bin;
    if (isGlb(bytes)) {
      EXPECT_TRUE(unpackGlb(bytes, text, bin, error));
    }
    const nlohmann::json doc = nlohmann::json::parse(text);
    std::vector<int> counts;
    for (const auto &mesh : doc["meshes"])
      counts.push_back(
          doc["accessors"][mesh["primitives"][0]["attributes"]["POSITION"].get<size_t>()]["count"]);
    return counts;
  }

  fs::path dir;
  std::string ours;
  RecordingUi ui;
  Scene scene{ui};
  FormatRegistry registry;
  std::ostringstream diag;
};

TEST_P(GltfInterop, KhronosValidatorFindsNoErrors) {
  if (runCommand("command -v node").empty())
    GTEST_SKIP() << "node is not installed";
  const std::string report =
      runCommand(std::string("node ") + MORVO_GLTF_VALIDATE_SCRIPT + " " + ours + "; echo exit=$?");
  if (report.find("exit=77") != std::string::npos)
    GTEST_SKIP() << report;
  EXPECT_NE(report.find(": 0 errors, 0 warnings"), std::string::npos) << report;
  EXPECT_NE(report.find("exit=0"), std::string::npos) << report;
}

TEST_P(GltfInterop, AssimpReadsOurFilesWithOurCounts) {
  if (!assimpInstalled())
    GTEST_SKIP() << "assimp (assimp-utils) is not installed";
  const std::string info = runCommand("assimp info " + ours + " -r");
  EXPECT_EQ(info.find("Error"), std::string::npos) << info;
  const auto counts = assimpMeshCounts(info);
  const std::vector<int> vertices = writtenVertices();
  ASSERT_EQ(counts.size(), 3u) << info;
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(counts[i].first, vertices[i]) << i;
    EXPECT_EQ(counts[i].second, scene.object(int32_t(i))->triangleFaces.count()) << i;
  }
  const bool binary = std::string(GetParam()) == ".glb"; // the texture inside, or beside
  EXPECT_NE(info.find(binary ? "Textures (embed.):  1" : "'ours_painted_slab.png'"),
            std::string::npos)
      << info;
}

TEST_P(GltfInterop, WeReadAssimpsFilesWithTheSameCounts) {
  if (!assimpInstalled())
    GTEST_SKIP() << "assimp (assimp-utils) is not installed";
  const bool binary = std::string(GetParam()) == ".glb";
  const std::string theirs = (dir / (std::string("theirs") + GetParam())).string();
  const std::string log =
      runCommand("assimp export " + ours + " " + theirs + (binary ? " -fglb2" : " -fgltf2"));
  ASSERT_TRUE(fs::exists(theirs)) << log;
  RecordingUi ui2;
  Scene again(ui2);
  ASSERT_TRUE(importModel(again, registry, theirs, false, diag)) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 3) << diag.str();
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(again.object(i)->faces.count(), scene.object(i)->triangleFaces.count()) << i;
    EXPECT_EQ(again.object(i)->vertices.count(), scene.object(i)->vertices.count()) << i;
  }
  EXPECT_TRUE(again.object(2)->paintLayer) << diag.str();
}

INSTANTIATE_TEST_SUITE_P(GltfAndGlb, GltfInterop, testing::Values(".gltf", ".glb"),
                         [](const testing::TestParamInfo<const char *> &param) {
                           return std::string(param.param + 1);
                         });

} // namespace
