// Runs the real morvo-cli binary.
#include "core/face_triangulation.h"
#include "image/image_file.h"
#include "paint/layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

struct CliResult {
  int status;
  std::string out;
};

CliResult run(const std::string &args) {
  const std::string command = std::string(MORVO_CLI) + " " + args + " 2>&1";
  FILE *pipe = popen(command.c_str(), "r");
  CliResult r{-1, {}};
  char buffer[4096];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    r.out.append(buffer, n);
  r.status = pclose(pipe);
  return r;
}

class CliTest : public testing::Test {
protected:
  void SetUp() override {
    dir =
        std::filesystem::temp_directory_path() /
        ("morvo_cli_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::create_directories(dir);
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string file(const char *name) { return (dir / name).string(); }
  std::filesystem::path dir;
};

TEST_F(CliTest, NewThenInfoDescribesEveryShapeInOrder) {
  const std::string scene = file("s.mvo");
  ASSERT_EQ(run("new tetrahedron sphere grid -o " + scene).status, 0);
  const CliResult info = run("info " + scene + " --json");
  ASSERT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("{\"slot\": 0, \"name\": \"tetrahederon0\", \"vertices\": 4"),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("\"name\": \"sphere1\", \"vertices\": 264, \"edges\": 504, \"faces\": "
                          "242, \"activeVertices\": 264"),
            std::string::npos);
  EXPECT_NE(info.out.find("\"name\": \"grid2\""), std::string::npos);
  EXPECT_EQ(info.out.find("\"valid\": false"), std::string::npos);
  EXPECT_EQ(info.out.rfind("{\"objects\": [", 0), 0u);
  const CliResult text = run("info " + scene);
  EXPECT_NE(text.out.find("slot 1: sphere1"), std::string::npos);
}

TEST_F(CliTest, FailuresExitNonZeroWithOneLine) {
  CliResult r = run("new cube blob -o " + file("x.mvo"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "morvo-cli: unknown shape 'blob'\n");
  EXPECT_FALSE(std::filesystem::exists(file("x.mvo")));
  std::ofstream(file("bad.mvo")) << "not a scene";
  r = run("info " + file("bad.mvo"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "morvo-cli: attempting to read unknown format\n");
  EXPECT_NE(run("info " + file("missing.mvo")).status, 0);
  EXPECT_NE(run("frobnicate").status, 0);
  EXPECT_EQ(run("new --help").status, 0);
  EXPECT_NE(run("info --help").out.find("--json"), std::string::npos);
}

TEST_F(CliTest, RenderShowsPaintedObjectsTextured) {
  RecordingUi ui;
  Scene scene(ui);
  scene.createPrimitive(PrimitiveType::Cube);
  moObject &cube = *scene.object(0);
  buildPaintTriangles(cube);
  cube.paintLayer = makePaintLayer(PaintLayer::kAtlas, 64, 64, cube.triangleFaces.count());
  ImageBuffer &paint = cube.paintLayer->image;
  std::fill(paint.pixels(), paint.pixels() + paint.pixelCount(), packRgba(255, 0, 0));
  ASSERT_TRUE(saveSceneFile(scene, file("painted.mvo"), false));
  const CliResult r = run("render " + file("painted.mvo") + " -o " + file("shot.png"));
  ASSERT_EQ(r.status, 0) << r.out;
  ImageBuffer shot;
  ASSERT_EQ(loadImage(shot, file("shot.png"), imageType("shot.png"), false), 1);
  const uint32_t centre = shot.at(shot.width() / 2, shot.height() / 2);
  EXPECT_GT(redOf(centre), 100);
  EXPECT_LT(greenOf(centre), 10); // red paint under white light
}

} // namespace
