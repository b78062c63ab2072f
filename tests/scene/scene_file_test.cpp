#include "core/mesh_validation.h"
#include "fileio/atomic_file.h"
#include "fileio/read_file.h"
#include "layers/paint_layers.h"
#include "scene/scene_file.h"
#include "tests/scene/scene_fixture.h"
#include "tests/support/mesh_fixtures.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

std::string saved(Scene &scene, bool selectedOnly = false) {
  std::string bytes;
  EXPECT_TRUE(writeScene(scene, bytes, selectedOnly));
  return bytes;
}

// Big-endian bytes for hand-made files.
struct Bytes {
  std::string s;
  Bytes &u8(int v) {
    s.push_back(char(v));
    return *this;
  }
  Bytes &i16(int v) { return u8(v >> 8).u8(v); }
  Bytes &f32(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return u8(b >> 24).u8(b >> 16).u8(b >> 8).u8(b);
  }
};

TEST_F(SceneTest, EveryPrimitiveSurvivesSaveAndOpenElementForElement) {
  for (int32_t t = 0; t < kPrimitiveTypeCount; ++t)
    scene.createPrimitive(PrimitiveType(t));
  scene.object(3)->setFaceColor(2, {9, 8, 7, 6});
  scene.object(3)->edges[4].hard = 1;
  scene.object(5)->visible = 0;
  scene.object(5)->material.shininess = 12.5f;
  const std::string bytes = saved(scene);
  EXPECT_EQ(bytes.substr(0, 10), std::string("morvo 1.2\0", 10));

  Scene loaded(ui);
  ASSERT_TRUE(readScene(loaded, bytes, true));
  ASSERT_EQ(loaded.objects.count(), kPrimitiveTypeCount);
  for (int32_t i = 0; i < kPrimitiveTypeCount; ++i) {
    const moObject &a = *scene.object(i), &b = *loaded.object(i);
    EXPECT_EQ(meshDifference(a, b), "") << a.name;
    EXPECT_EQ(b.name, a.name);
    EXPECT_EQ(b.visible, a.visible);
    EXPECT_EQ(std::memcmp(&a.material, &b.material, sizeof a.material), 0);
  }
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SceneTest, WritingCompactsAndClearsTheSelection) {
  scene.createPrimitive(PrimitiveType::Cube);
  moObject *cube = scene.object(0);
  cube->appendEdge(); // an inactive edge slot at the end
  cube->edges.truncate(cube->edges.count());
  select(moFACES, {{1, 0}});
  const std::string bytes = saved(scene);
  EXPECT_EQ(cube->edges.count(), 12);
  EXPECT_TRUE(scene.selection.Empty());
  Scene loaded(ui);
  ASSERT_TRUE(readScene(loaded, bytes, true));
  EXPECT_EQ(loaded.object(0)->edges.count(), 12);
  EXPECT_TRUE(objectLocallyValid(*loaded.object(0), false));
}

// The slot-by-slot writer of recovery copies gives the bytes a save would give, also for an
// empty slot, paint and an object with a deleted element, and leaves the scene untouched.
TEST_F(SceneTest, StepwiseWriterGivesTheSavedBytesAndLeavesTheSceneAlone) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  scene.createPrimitive(PrimitiveType::Torus);
  scene.objects.release(1);
  moObject *cube = scene.object(0);
  cube->appendEdge(); // an inactive slot: written compacted
  cube->edges.truncate(cube->edges.count());
  scene.object(2)->paintLayer = makePaintLayer(PaintLayer::kAtlas, 64, 64, 8);
  select(moFACES, {{1, 0}});
  SceneFileWriter writer(scene);
  int32_t steps = 0;
  while (writer.writeNext(scene))
    ++steps;
  EXPECT_EQ(steps, 2);
  EXPECT_TRUE(writer.finished());
  EXPECT_EQ(writer.version(), scene.version());
  EXPECT_EQ(cube->edges.count(), 13);
  EXPECT_EQ(scene.selection.Count(), 1);
  EXPECT_EQ(SceneFileWriter::join(writer.parts()), saved(scene));
}

TEST_F(SceneTest, EmptySlotsKeepTheNumberingAndAddingAppends) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  scene.createPrimitive(PrimitiveType::Torus);
  scene.objects.release(1);
  const std::string bytes = saved(scene);
  // N = 3, presence 1, (cube record), 0, 1 ...
  EXPECT_EQ(bytes.substr(10, 5), std::string("\0\0\0\3\1", 5));
  Scene loaded(ui);
  ASSERT_TRUE(readScene(loaded, bytes, true));
  EXPECT_EQ(loaded.object(1), nullptr);
  EXPECT_EQ(loaded.object(2)->name, "torus2");

  Scene three(ui);
  for (int i = 0; i < 3; ++i)
    three.createPrimitive(PrimitiveType::Box);
  Scene two(ui);
  two.createPrimitive(PrimitiveType::Sphere);
  two.createPrimitive(PrimitiveType::Grid);
  ASSERT_TRUE(readScene(three, saved(two), false));
  EXPECT_EQ(three.objects.count(), 5);
  EXPECT_EQ(three.object(3)->name, "sphere0");
  EXPECT_EQ(three.object(4)->name, "grid1");
}

TEST_F(SceneTest, SaveSelectedNeedsObjectsModeAndRenumbersFromZero) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  select(moFACES, {{0, 1}});
  std::string bytes;
  EXPECT_FALSE(writeScene(scene, bytes, true));
  EXPECT_EQ(ui.messages.back(), "you must have an object selected");
  select(moOBJECTS, {{1, 1}});
  Scene loaded(ui);
  ASSERT_TRUE(readScene(loaded, saved(scene, true), true));
  EXPECT_EQ(loaded.objects.count(), 1);
  EXPECT_EQ(loaded.object(0)->name, "cone1");
}

TEST_F(SceneTest, VersionOneZeroFilesUseShortSignedFieldsAndSoftEdges) {
  // A tetrahedron written by hand in the oldest format, with an extra inactive edge whose
  // references are all 0xFFFF.
  moObject tet = makePrimitive(PrimitiveType::Tetrahedron);
  Bytes f;
  f.s.assign("morvo 1.0\0", 10);
  f.i16(1).u8(1).i16(3).u8('t').u8('e').u8('t').u8(1).u8(1).u8(0).u8(1);
  for (int k = 0; k < 18; ++k)
    f.f32(float(k));
  f.i16(tet.edges.count() + 1);
  for (const moEdge &d : tet.edges) {
    for (int32_t v : {d.Head, d.Tail, d.LeftFace, d.RightFace, d.BackWing, d.ForeWing,
                      d.ccwBackWing, d.ccwForeWing})
      f.i16(v);
    for (int k = 0; k < 8; ++k)
      f.u8(200);
  }
  for (int k = 0; k < 8; ++k)
    f.u8(0xFF).u8(0xFF);
  for (int k = 0; k < 8; ++k)
    f.u8(0);
  f.i16(tet.faces.count());
  for (const moFace &face : tet.faces)
    f.i16(face.EdgeIndex);
  f.i16(tet.vertices.count());
  for (const moVertex &v : tet.vertices)
    f.i16(v.EdgeIndex).f32(v.Coordinates.x).f32(v.Coordinates.y).f32(v.Coordinates.z);
  f.i16(0).i16(0).u8(0);

  ASSERT_TRUE(readScene(scene, f.s, true)) << (ui.messages.empty() ? "" : ui.messages.back());
  const moObject &read = *scene.object(0);
  EXPECT_EQ(read.name, "tet");
  EXPECT_EQ(read.shaded, 0);
  EXPECT_EQ(read.material.creaseAngle, 17.0f);
  ASSERT_EQ(read.edges.count(), 7);
  EXPECT_EQ(read.edges[6].Head, -1);
  EXPECT_EQ(read.edges[6].ccwForeWing, -1);
  for (const moEdge &d : read.edges)
    EXPECT_EQ(d.hard, 0);
  EXPECT_EQ(read.edges[0].rightColor, (moColor{200, 200, 200, 200}));
  EXPECT_EQ(read.edges[2].ForeWing, tet.edges[2].ForeWing);
}

TEST_F(SceneTest, PaintImagesAreRunLengthCodedWithoutAlpha) {
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  const size_t plain = saved(scene).size();
  moObject *tet = scene.object(0);
  for (int32_t t = 0; t < 4; ++t) {
    for (int32_t k = 0; k < 3; ++k)
      tet->triangleVertices.append(k);
    tet->triangleFaces.append(t);
  }
  tet->paintLayer = makePaintLayer(PaintLayer::kAtlas, 256, 256, 4);
  const std::string white = saved(scene);
  // 65536 equal pixels: 257 runs of 255 and one of 1; plus the dimensions and 12 + 4 list entries.
  EXPECT_EQ(white.size(), plain + 4 + 258 * 4 + 16 * 4);

  // A pixel differing only in alpha stands alone: runs 1, 1, then 65534 pixels in 257 runs.
  tet->paintLayer->image.at(1, 0) = packRgba(255, 255, 255, 128);
  Scene loaded(ui);
  const std::string bytes = saved(scene);
  EXPECT_EQ(bytes.size(), white.size() + 4);
  ASSERT_TRUE(readScene(loaded, bytes, true));
  const PaintLayer &layer = *loaded.object(0)->paintLayer;
  EXPECT_EQ(layer.kind(), PaintLayer::kAtlas);
  EXPECT_EQ(layer.image.width(), 256);
  EXPECT_EQ(layer.image.at(1, 0), packRgba(255, 255, 255, 255));
}

TEST_F(SceneTest, CoordinateLayersKeepTheirCoordinates) {
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  moObject *tet = scene.object(0);
  for (int32_t k = 0; k < 3; ++k)
    tet->triangleVertices.append(k);
  tet->triangleFaces.append(0);
  tet->paintLayer = makePaintLayer(PaintLayer::kPerCorner, 4, 2, 3);
  tet->paintLayer->coordinates = {0.5f, 0.25f, 1, 0, 0, 1};
  tet->paintLayer->image.at(3, 1) = packRgba(1, 2, 3);
  Scene loaded(ui);
  ASSERT_TRUE(readScene(loaded, saved(scene), true));
  const PaintLayer &layer = *loaded.object(0)->paintLayer;
  EXPECT_EQ(layer.kind(), PaintLayer::kPerCorner);
  EXPECT_EQ(layer.coordinates, (std::vector<float>{0.5f, 0.25f, 1, 0, 0, 1}));
  EXPECT_EQ(layer.image.at(3, 1), packRgba(1, 2, 3));
}

TEST_F(SceneTest, DamagedFilesAreRefusedWholeAndLeaveTheSceneAlone) {
  Scene source(ui);
  source.createPrimitive(PrimitiveType::Cube);
  source.createPrimitive(PrimitiveType::Icosahedron);
  const std::string bytes = saved(source);

  scene.createPrimitive(PrimitiveType::Torus);
  const moObject *torus = scene.object(0);
  EXPECT_FALSE(readScene(scene, "morvo 9.9", true));
  EXPECT_EQ(ui.messages.back(), "attempting to read unknown format");
  // Every truncation of a good file is refused, saying that the file ends early.
  for (size_t n = 10; n < bytes.size(); n += 7) {
    ASSERT_FALSE(readScene(scene, bytes.substr(0, n), true)) << n;
    ASSERT_EQ(scene.object(0), torus);
    ASSERT_EQ(scene.objects.count(), 1);
    ASSERT_NE(ui.messages.back().find("the file ends early"), std::string::npos)
        << n << ": " << ui.messages.back();
  }
  EXPECT_NE(ui.messages.back().find("damaged"), std::string::npos);
  // A wing naming a missing edge makes the mesh inconsistent.
  std::string broken = bytes;
  const size_t firstEdge = 10 + 4 + 1 + 4 + 5 + 4 + 72 + 4;
  broken[firstEdge + 4 * 4 + 3] = 99; // BackWing of edge 0
  EXPECT_FALSE(readScene(scene, broken, false));
  EXPECT_NE(ui.messages.back().find("inconsistent"), std::string::npos);
  // An absurd count is refused before anything is allocated for it.
  std::string absurd = bytes;
  absurd[firstEdge - 4] = 0x7f;
  EXPECT_FALSE(readScene(scene, absurd, false));
  EXPECT_EQ(scene.objects.count(), 1);
}

TEST_F(SceneTest, AFileCutShortSaysWhereItEnds) {
  scene.createPrimitive(PrimitiveType::Sphere);
  const std::string bytes = saved(scene);
  const size_t edges = 10 + 4 + 1 + 4 + 7 + 4 + 72 + 4; // first edge record of "sphere0"
  Scene loaded(ui);
  EXPECT_FALSE(readScene(loaded, bytes.substr(0, edges + 100), true));
  EXPECT_EQ(ui.messages.back(),
            "This scene file is damaged and was not opened: object in slot 0: the file ends early: "
            "504 edge records from byte " +
                std::to_string(edges) + " need 20664 bytes, and only 100 are left");
}

TEST_F(SceneTest, BytesAfterTheLastObjectOpenWithAWarning) {
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  std::string bytes = saved(scene);
  Scene cubeOnly(ui);
  cubeOnly.createPrimitive(PrimitiveType::Cube);
  const size_t left = bytes.size() - saved(cubeOnly).size(); // the cone's slot
  bytes[13] = 1;                                             // slot count 2 -> 1
  Scene loaded(ui);
  ASSERT_TRUE(readScene(loaded, bytes, true));
  EXPECT_EQ(loaded.objects.objectCount(), 1);
  EXPECT_EQ(ui.messages, std::vector<std::string>{"This scene file has " + std::to_string(left) +
                                                  " bytes after its last object, which were not "
                                                  "read: saving the scene will not keep them."});
}

TEST_F(SceneTest, PaintSizesBeyondWhatTheFileHoldsAreRefusedBeforeAllocating) {
  scene.createPrimitive(PrimitiveType::Tetrahedron);
  scene.object(0)->paintLayer = makePaintLayer(PaintLayer::kAtlas, 2, 2, 0);
  std::string bytes = saved(scene);
  // The block ends with height, width and the one run of four white pixels.
  const size_t sizes = bytes.size() - 8;
  ASSERT_EQ(bytes.substr(sizes), std::string("\0\2\0\2\4\xff\xff\xff", 8));
  bytes[sizes] = bytes[sizes + 2] = 0x20; // 8192 x 8192: 256 MiB on the word of 8 bytes
  Scene loaded(ui);
  EXPECT_FALSE(readScene(loaded, bytes, true));
  EXPECT_NE(ui.messages.back().find("larger than the file"), std::string::npos);
}

TEST(AtomicFile, FailedSaveLeavesTheOldFileIntact) {
  const fs::path dir = fs::temp_directory_path() / "morvo_atomic_test";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string target = (dir / "scene.mvo").string();
  std::string error;
  ASSERT_EQ(writeFileAtomically(target, "old", error), SaveResult::kSaved) << error;
  ASSERT_EQ(writeFileAtomically(target, "new", error), SaveResult::kSaved) << error;
  std::string bytes;
  ASSERT_TRUE(readWholeFile(target, bytes, error));
  EXPECT_EQ(bytes, "new");

  // The rename cannot replace a non-empty folder: the save fails and nothing is left behind.
  const fs::path blocked = dir / "blocked.mvo";
  fs::create_directories(blocked / "inside");
  EXPECT_EQ(writeFileAtomically(blocked.string(), "data", error), SaveResult::kFailed);
  EXPECT_NE(error.find("cannot replace"), std::string::npos);
  EXPECT_TRUE(fs::is_directory(blocked / "inside"));
  EXPECT_EQ(writeFileAtomically((dir / "missing" / "x.mvo").string(), "data", error),
            SaveResult::kNotCreated);
  int entries = 0;
  for (const auto &entry : fs::directory_iterator(dir))
    entries += entry.path().filename().string()[0] == '.' ? 100 : 1;
  EXPECT_EQ(entries, 2); // scene.mvo and blocked.mvo, no temporary files
  ASSERT_TRUE(readWholeFile(target, bytes, error));
  EXPECT_EQ(bytes, "new");
  fs::remove_all(dir);
}

TEST_F(SceneTest, SaveAndOpenThroughFiles) {
  const fs::path dir = fs::temp_directory_path() / "morvo_scene_file_test";
  fs::create_directories(dir);
  const std::string path = (dir / "two.mvo").string();
  scene.createPrimitive(PrimitiveType::Cube);
  scene.createPrimitive(PrimitiveType::Cone);
  ASSERT_TRUE(saveSceneFile(scene, path, false));
  Scene loaded(ui);
  ASSERT_TRUE(openSceneFile(loaded, path, true));
  EXPECT_EQ(loaded.objects.count(), 2);
  EXPECT_FALSE(openSceneFile(loaded, (dir / "none.mvo").string(), true));
  EXPECT_EQ(ui.messages.back().rfind("Could not open", 0), 0u);
  const std::string nowhere = (dir / "missing" / "x.mvo").string();
  EXPECT_FALSE(saveSceneFile(scene, nowhere, false));
  EXPECT_EQ(ui.messages.back(), "Could not save " + nowhere + ": No such file or directory");
  fs::remove_all(dir);
}

} // namespace
