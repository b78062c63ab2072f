// Runs the real morvo-cli binary.
#include "core/face_triangulation.h"
#include "image/image_file.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"
#include "script/script_format.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
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
  // A model that does not import: its first problem and how many more there are.
  std::ofstream(file("bad.obj")) << "v 0 0 0\nv x\n7 up\n";
  r = run("convert " + file("bad.obj") + " " + file("out.mvo"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out,
            "morvo-cli: could not import " + file("bad.obj") +
                ": Error: float or int value expected for vertex in line 2 . (and 1 more)\n");
  EXPECT_NE(run("frobnicate").status, 0);
  EXPECT_EQ(run("new --help").status, 0);
  EXPECT_NE(run("info --help").out.find("--json"), std::string::npos);
}

// A stopped run names its cause in one line on standard error and writes nothing; the message
// box of a refused operation is printed first, as play prints it.
TEST_F(CliTest, RunStopsWithOneLineAndWritesNothing) {
  const std::string out = " -o " + file("out.mvo");
  CliResult r = run("run - add-cube frobnicate" + out);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out,
            "morvo-cli: unknown command 'frobnicate' (morvo-cli run --list names them all)\n");
  r = run("run - add-cube select-all-objects bevel=1.5x" + out);
  EXPECT_EQ(r.out, "morvo-cli: bad amount '1.5x' in 'bevel=1.5x'\n");
  r = run("run - add-cube select=vertices:0:0 scale-uniform=2" + out);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "[message] Scale requires at least 2 points\nmorvo-cli: 'scale-uniform=2' was "
                   "refused: Scale requires at least 2 points\n");
  EXPECT_NE(run("run - add-cube select=faces:0:99" + out).status, 0);
  EXPECT_NE(run("run - add-cube add-cube=2" + out).status, 0);
  EXPECT_FALSE(std::filesystem::exists(file("out.mvo")));
  EXPECT_EQ(run("run - add-cube select-all-objects smooth" + out).status, 0);
  EXPECT_TRUE(std::filesystem::exists(file("out.mvo")));
  r = run("run --list");
  EXPECT_NE(r.out.find("\nextrude-normal[=units] "), std::string::npos);
  EXPECT_NE(r.out.find("\nsave-as "), std::string::npos);
}

// symmetry-x reaches the command table from the command line: the +x face's extrusion repeats on
// the -x face; a second toggle turns it off again.
TEST_F(CliTest, RunWithSymmetryXExtrudesTheMirrorFaceToo) {
  const auto info = [&](const std::string &toggles) {
    const std::string out = file("symmetric.mvo");
    const std::string steps = " select=faces:0:4 extrude-normal=1.5 -o ";
    EXPECT_EQ(run("run - add-cube " + toggles + steps + out).status, 0);
    return run("info " + out).out;
  };
  EXPECT_NE(info("symmetry-x").find("faces 14/14"), std::string::npos);
  EXPECT_NE(info("symmetry-x symmetry-x").find("faces 10/10"), std::string::npos);
}

// The bytes a file starts with.
std::string head(const std::string &path, size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(&bytes[0], std::streamsize(n));
  return bytes.substr(0, size_t(in.gcount()));
}

TEST_F(CliTest, JsonStaysValidForNamesThatAreNotUtf8) {
  const std::string scene = file("s.mvo");
  ASSERT_EQ(run("new cube cone -o " + scene).status, 0);
  {
    std::fstream f(scene, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(10 + 4 + 1 + 4 + 1); // the "u" of "cube0"
    f.put(char(0xe9));           // a Latin-1 byte on its own
  }
  const CliResult info = run("info " + scene + " --json");
  ASSERT_EQ(info.status, 0) << info.out;
  EXPECT_NE(info.out.find("\"name\": \"c\\ufffdbe0\", \"nameHex\": \"63e9626530\""),
            std::string::npos)
      << info.out;
  EXPECT_NE(info.out.find("\"name\": \"cone1\", \"vertices\""), std::string::npos);
  for (unsigned char c : info.out)
    ASSERT_LT(c, 0x80) << info.out;
}

TEST_F(CliTest, RenderWritesTheFormatTheExtensionNames) {
  const std::string scene = file("s.mvo");
  ASSERT_EQ(run("new cube -o " + scene).status, 0);
  const std::pair<const char *, std::string> kinds[] = {
      {"shot.png", "\x89PNG"}, {"shot.jpg", "\xff\xd8\xff"}, {"shot.jpeg", "\xff\xd8\xff"},
      {"shot.tif", "MM\0*"},   {"shot.bmp", "BM"},           {"shot.ppm", "P6\n"}};
  for (const auto &[name, magic] : kinds) {
    const CliResult r = run("render " + scene + " --size 16x12 -o " + file(name));
    ASSERT_EQ(r.status, 0) << name << ": " << r.out;
    EXPECT_EQ(head(file(name), magic.size()), magic) << name;
  }
  CliResult r = run("render " + scene + " --size 16x12 -o " + file("shot.gif"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "morvo-cli: cannot tell the image format of '" + file("shot.gif") +
                       "' (use .png, .jpg, .jpeg, .bmp, .ppm, .tif or .tiff)\n");
  EXPECT_FALSE(std::filesystem::exists(file("shot.gif")));
  const std::string nowhere = file("missing/shot.png");
  r = run("render " + scene + " --size 16x12 -o " + nowhere);
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "morvo-cli: Cannot open file " + nowhere + ": No such file or directory\n");
}

TEST_F(CliTest, WarningsOfTheSceneReaderArePrinted) {
  const std::string scene = file("s.mvo");
  ASSERT_EQ(run("new cube cone -o " + scene).status, 0);
  {
    std::fstream f(scene, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(13);
    f.put(1); // slot count 2 -> 1: the cone is left over
  }
  const CliResult info = run("info " + scene);
  EXPECT_EQ(info.status, 0);
  EXPECT_EQ(info.out.rfind("morvo-cli: warning: This scene file has ", 0), 0u) << info.out;
}

TEST_F(CliTest, ConvertBetweenSceneAndModelFiles) {
  ASSERT_EQ(run("new cube torus -o " + file("s.mvo")).status, 0);
  ASSERT_EQ(run("convert " + file("s.mvo") + " " + file("m.obj")).status, 0);
  EXPECT_TRUE(std::filesystem::exists(file("m.mtl")));
  ASSERT_EQ(run("convert " + file("m.obj") + " " + file("back.mvo")).status, 0);
  const CliResult info = run("info " + file("back.mvo"));
  EXPECT_NE(info.out.find("slot 0: cube0\n  vertices 8/8, edges 12/12, faces 6/6"),
            std::string::npos)
      << info.out;
  EXPECT_NE(run("info " + file("m.obj")).out.find("slot 1: torus1"), std::string::npos);

  CliResult r = run("convert " + file("m.obj") + " " + file("out.xyz"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "morvo-cli: no format writes .xyz files\n");
  std::ofstream(file("junk.obj")) << "\x7f\x01binary";
  r = run("convert " + file("junk.obj") + " " + file("out.obj"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out.rfind("morvo-cli: could not import", 0), 0u) << r.out;
  EXPECT_FALSE(std::filesystem::exists(file("out.obj")));
  EXPECT_NE(run("convert --help").out.find("convert IN OUT"), std::string::npos);
}

// A damaged script plays up to the damage, prints why, keeps what it did and exits non-zero.
TEST_F(CliTest, PlayStopsAtDamageWithOneLineAndStepsCount) {
  // 720 x 486, add a cube, a message, a step marker, add a sphere, then half a press.
  const std::string script("\xD0\x02\xE6\x01#\x04\x00q\x01\x00Hello\np#\x08\x00\x01\x01", 22);
  std::ofstream(file("s.mvs"), std::ios::binary) << script;
  CliResult r = run("play " + file("s.mvs") + " -o " + file("s.mvo"));
  EXPECT_NE(r.status, 0);
  EXPECT_EQ(r.out, "Press the play button to begin.\nHello\nthe script ends inside a command\n"
                   "morvo-cli: " +
                       file("s.mvs") + ": the script ends inside a command\n");
  EXPECT_NE(run("info " + file("s.mvo")).out.find("slot 1: sphere1"), std::string::npos);
  r = run("play " + file("s.mvs") + " --steps 1 -o " + file("one.mvo") + " --size 64x48");
  EXPECT_EQ(r.status, 0) << r.out;
  const std::string info = run("info " + file("one.mvo")).out;
  EXPECT_NE(info.find("slot 0: cube0"), std::string::npos);
  EXPECT_EQ(info.find("sphere"), std::string::npos);
  EXPECT_EQ(run("play " + file("s.mvs") + " --size 0x5").out, "morvo-cli: bad size '0x5' (WxH)\n");
}

// --timing draws one frame per played command and sorts the frames by kind: the motions of a Move
// normal drag, a motion before it, and every other command.
TEST_F(CliTest, PlayTimingCountsOneFramePerCommandByKind) {
  std::string script;
  encodeScriptHeader(script, 720, 486);
  const auto add = [&](uint8_t code, std::vector<int32_t> args) {
    ScriptCommand c;
    c.code = code;
    c.args = std::move(args);
    encodeScriptCommand(script, c);
  };
  add(kScriptAddPrimitive, {4}); // a cube
  add(kScriptMove, {300, 200});  // select mode
  add(kScriptSelectAll, {moOBJECTS});
  add(kScriptSelectAll, {moFACES});
  add(62, {}); // Move normal
  for (int32_t x = 360; x < 372; ++x)
    add(kScriptMove, {x, 243});
  add(kScriptPress, {1, 372, 243});
  add(kScriptRelease, {1, 372, 243});
  std::ofstream(file("t.mvs"), std::ios::binary) << script;
  const CliResult timed = run("play " + file("t.mvs") + " --timing -o " + file("t.mvo"));
  ASSERT_EQ(timed.status, 0) << timed.out;
  const char *const expected[] = {"\ndrag motion: 12 frames, median ", "\nother motion: 1 frames, ",
                                  "\ncommands: 6 frames, ", "\ntiming: 19 frames, "};
  size_t at = 0;
  for (const char *line : expected) {
    at = timed.out.find(line, at);
    ASSERT_NE(at, std::string::npos) << line << " in\n" << timed.out;
  }
  const std::string last = timed.out.substr(at + 1);
  EXPECT_NE(last.find(" ms, 95th percentile "), std::string::npos) << last;
  EXPECT_EQ(last.back(), '\n');
  // The drag moved the cube as playing without frames does.
  ASSERT_EQ(run("play " + file("t.mvs") + " -o " + file("u.mvo")).status, 0);
  EXPECT_EQ(run("info " + file("t.mvo")).out, run("info " + file("u.mvo")).out);
  EXPECT_NE(run("info " + file("t.mvo")).out.find("cube0"), std::string::npos);
}

TEST_F(CliTest, RenderShowsPaintedObjectsTextured) {
  RecordingUi ui;
  Scene scene(ui);
  scene.createPrimitive(PrimitiveType::Cube);
  moObject &cube = *scene.object(0);
  triangulateFaces(cube, kTriangulateDelaunay);
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

// A stroke painted headless lands in the texture where it was drawn: rendered again from the same
// view, the stroke's pixels are red and the rest of the cube is not.
TEST_F(CliTest, PaintStrokeShowsInTheSavedTextureWhereItWasDrawn) {
  ASSERT_EQ(run("new cube -o " + file("cube.mvo")).status, 0);
  const CliResult painted =
      run("paint " + file("cube.mvo") + " -o " + file("painted.mvo") +
          " --tool paintbrush --color FF0000FF --brush 32,0.5,255 --stroke 300,243:420,243");
  ASSERT_EQ(painted.status, 0) << painted.out;
  RecordingUi ui;
  Scene scene(ui);
  ASSERT_TRUE(openSceneFile(scene, file("painted.mvo"), true));
  const ImageBuffer &texture = scene.object(0)->paintLayer->image;
  const int32_t red = int32_t(
      std::count(texture.pixels(), texture.pixels() + texture.pixelCount(), packRgba(255, 0, 0)));
  EXPECT_GT(red, 100);
  const CliResult r = run("render " + file("painted.mvo") + " -o " + file("shot.png") + " --ortho");
  ASSERT_EQ(r.status, 0) << r.out;
  ImageBuffer shot;
  ASSERT_EQ(loadImage(shot, file("shot.png"), imageType("shot.png"), false), 1);
  const auto isRed = [&](int32_t x, int32_t mouseY) {
    const uint32_t p = shot.at(x, shot.height() - mouseY);
    return redOf(p) > 100 && greenOf(p) < 20;
  };
  EXPECT_TRUE(isRed(310, 243));
  EXPECT_TRUE(isRed(410, 243));
  EXPECT_FALSE(isRed(360, 300)); // the cube below the stroke
  EXPECT_FALSE(isRed(360, 186)); // and above it
  EXPECT_NE(run("paint " + file("cube.mvo") + " -o " + file("x.mvo") + " --tool wand").status, 0);
}

} // namespace

TEST_F(CliTest, ModelsOverTheFaceLimitNeedSimplify) {
  std::ofstream(file("big.obj")) << objText(sphereMesh(200, 101)); // 40 000 triangles
  CliResult r = run("convert " + file("big.obj") + " " + file("out.mvo"));
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.out.find("40 000 triangles; an object holds at most 32768 faces"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("--simplify"), std::string::npos) << r.out;
  EXPECT_FALSE(std::filesystem::exists(file("out.mvo")));
  r = run("info " + file("big.obj") + " --simplify");
  if (r.out.find("cannot simplify") != std::string::npos)
    GTEST_SKIP() << r.out;
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_NE(r.out.find(": simplified from 40 000 to "), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("mesh valid"), std::string::npos) << r.out;
  EXPECT_EQ(run("convert --simplify " + file("big.obj") + " " + file("out.mvo")).status, 0);
  EXPECT_TRUE(std::filesystem::exists(file("out.mvo")));
}

// A red cube of side 2 * half, off the origin by three times that: --fit shows it whole at any
// size, large or small.
TEST_F(CliTest, RenderFitShowsLargeAndSmallModelsWhole) {
  std::ofstream(file("red.mtl")) << "newmtl red\nKd 1 0 0\n";
  for (const float half : {100.0f, 0.005f}) {
    PolygonMesh cube = cubeMesh();
    for (moVec3 &p : cube.points)
      p = {half * (p.x + 3), half * p.y, half * p.z};
    std::ofstream(file("cube.obj")) << "mtllib red.mtl\nusemtl red\n" << objText(cube);
    const CliResult r = run("render " + file("cube.obj") + " --fit -o " + file("shot.png"));
    ASSERT_EQ(r.status, 0) << r.out;
    ImageBuffer shot;
    ASSERT_EQ(loadImage(shot, file("shot.png"), imageType("shot.png"), false), 1);
    int inside = 0, border = 0;
    for (int32_t y = 0; y < shot.height(); ++y)
      for (int32_t x = 0; x < shot.width(); ++x) {
        const uint32_t c = shot.at(x, y);
        if (redOf(c) > 80 && greenOf(c) < 40 && blueOf(c) < 40)
          (x == 0 || y == 0 || x + 1 == shot.width() || y + 1 == shot.height() ? border : inside)++;
      }
    EXPECT_GT(inside, 0) << half;
    EXPECT_EQ(border, 0) << half;
    if (half > 1) { // the large one fills a good part of the picture
      EXPECT_GT(inside, shot.width() * shot.height() / 10);
    }
  }
}
