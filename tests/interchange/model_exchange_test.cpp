// Import and export through the registry, on real files in a temporary folder.
#include "core/face_triangulation.h"
#include "image/image_file.h"
#include "interchange/model_exchange.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

class ModelExchange : public testing::Test {
protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("morvo_exchange_" +
           std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir / "models");
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string file(const std::string &name) { return (dir / name).string(); }
  void put(const std::string &name, const std::string &bytes) {
    std::ofstream(file(name), std::ios::binary) << bytes;
  }
  moObject &add(const char *name) {
    auto obj = std::make_shared<moObject>(makeObject(cubeMesh()));
    obj->name = name;
    scene.objects.insert(obj);
    return *obj;
  }

  fs::path dir;
  RecordingUi ui;
  Scene scene{ui};
  FormatRegistry registry;
  std::ostringstream diag;
};

const char *const kTetrahedron = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n"
                                 "f 1 3 2\nf 1 2 4\nf 1 4 3\nf 2 3 4\n";

TEST(FormatRegistry, FiltersExtensionsAndDroppedFileClasses) {
  FormatRegistry registry;
  // The original four in their order, then glTF.
  const char *filter =
      "3DS (*.3ds)|*.3ds|DirectX (*.x)|*.x|VRML 2.0 (*.wrl)|*.wrl|Wavefront (*.obj)|*.obj|"
      "glTF 2.0 (*.gltf)|*.gltf|glTF 2.0 binary (*.glb)|*.glb||";
  EXPECT_EQ(registry.readerFilter(), filter);
  EXPECT_EQ(registry.writerFilter(), filter);
  EXPECT_NE(registry.readerFor(".obj"), nullptr);
  EXPECT_EQ(registry.readerFor(".OBJ"), nullptr);
  EXPECT_EQ(FormatRegistry::extensionOf("dir.v2/model"), ".");
  EXPECT_EQ(FormatRegistry::extensionOf("a/b.c.obj"), ".obj");
  const std::pair<const char *, int> cases[] = {
      {"thing.x", 3},   {"thing.X", 3},   {"mesh.Obj", 9}, {"world.vrml", 1}, {"scene.mvo", 0},
      {"SCENE.MVO", 0}, {"model.gx2", 5}, {"cube.obj", 2}, {"a.x", 9},        {"b.3DS", 4},
      {"c.dxf", 6},     {"d.md2", 7},     {"e.MON", 8},    {"f.wrl", 1}};
  for (const auto &[name, kind] : cases)
    EXPECT_EQ(FormatRegistry::classify(name), kind) << name;
}

TEST_F(ModelExchange, PaintedAndPlainObjectsRoundTripThroughFiles) {
  add("plain box");
  moObject &painted = add("painted");
  triangulateFaces(painted, kTriangulateDelaunay);
  painted.paintLayer =
      makePaintLayer(PaintLayer::kPerCorner, 8, 8, painted.triangleVertices.count());
  painted.paintLayer->image.at(3, 2) = packRgba(10, 20, 30, 0);
  const std::string path = file("models/out.obj");
  ASSERT_TRUE(exportModel(scene, registry, path, true, diag)) << ui.messages.back();
  for (const char *name : {"out.obj", "out.mtl", "out_painted.tif"})
    EXPECT_TRUE(fs::exists(dir / "models" / name)) << name;

  RecordingUi ui2;
  Scene again(ui2);
  ASSERT_TRUE(importModel(again, registry, path, false, diag)) << diag.str();
  EXPECT_EQ(ui2.status, "Done importing file");
  ASSERT_EQ(again.objects.objectCount(), 2);
  EXPECT_EQ(again.object(0)->name, "plain_box");
  EXPECT_EQ(again.object(0)->faces.count(), 6);
  const moObject &back = *again.object(1);
  EXPECT_EQ(back.faces.count(), 12); // painted objects travel as triangles
  ASSERT_NE(back.paintLayer, nullptr);
  EXPECT_EQ(back.paintLayer->image.at(3, 2), packRgba(10, 20, 30, 255));
}

TEST_F(ModelExchange, OnlyImagesInsideTheModelsFolderAreTextures) {
  ImageBuffer image(2, 2);
  ASSERT_EQ(saveImage(image, file("models/ok.png"), kImagePng, RowOrder::kTopFirst), 1);
  ASSERT_EQ(saveImage(image, file("outside.png"), kImagePng, RowOrder::kTopFirst), 1);
  put("models/not_an_image.png", "hello");
  put("models/sub.png", "");
  const TextureLoader load = registry.textures(file("models/m.obj"));
  ImageBuffer out;
  EXPECT_TRUE(load("ok.png", out));
  const std::string outside = (dir / "outside.png").string();
  for (const char *name : {"../outside.png", outside.c_str(), "/etc/passwd", "not_an_image.png",
                           "missing.png", "", "..\\outside.png"})
    EXPECT_FALSE(load(name, out)) << name;
  fs::create_symlink(dir / "outside.png", dir / "models" / "link.png");
  EXPECT_FALSE(load("link.png", out));

  // A material library naming a system file: the model imports, untextured.
  put("models/m.mtl", "newmtl m\nKd 1 0 0\nmap_Kd /etc/passwd\n");
  put("models/m.obj", std::string("mtllib m.mtl\nmtllib ../m.mtl\nusemtl m\n") + kTetrahedron);
  ASSERT_TRUE(importModel(scene, registry, file("models/m.obj"), false, diag));
  EXPECT_EQ(scene.object(0)->paintLayer, nullptr);
  EXPECT_EQ(scene.object(0)->material.diffuse[1], 0.0f);
  EXPECT_NE(diag.str().find("We just deleted the texture ma'am"), std::string::npos) << diag.str();
  EXPECT_NE(diag.str().find("Error opening file ../m.mtl"), std::string::npos);
}

TEST_F(ModelExchange, BadFilesLeaveTheSceneAsItWas) {
  add("keep");
  std::string garbage(70000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = char((i * 2654435761u) >> 7);
  put("garbage.obj", garbage);
  put("CUBE.OBJ", kTetrahedron);
  put("huge_index.obj", "v 0 0 0\nf 1 2 99999999999\nf 1 -2147483648 2\n");
  for (const char *name : {"garbage.obj", "CUBE.OBJ", "huge_index.obj", "missing.obj"}) {
    ui.status.clear();
    EXPECT_FALSE(importModel(scene, registry, file(name), false, diag)) << name;
    EXPECT_EQ(scene.objects.objectCount(), 1) << name;
  }
  EXPECT_EQ(ui.status, "Trouble importing file");
  // Read by content, an upper-case extension still imports.
  EXPECT_TRUE(importModel(scene, registry, file("CUBE.OBJ"), true, diag));
  // Without a writer for the name nothing is written.
  EXPECT_FALSE(exportModel(scene, registry, file("model"), true, diag));
  EXPECT_FALSE(fs::exists(dir / "model"));
  EXPECT_TRUE(ui.messages.empty());
  // A folder that does not exist: the export says so.
  EXPECT_FALSE(exportModel(scene, registry, file("no/such/folder/x.obj"), true, diag));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].rfind("Could not export", 0), 0u);
}

// Scenes exported into one folder keep their own textures: in every format that writes them
// beside the model they are named after the model too; 3DS's short names pass over the files of
// the other model, and a model exported over itself replaces its own.
TEST_F(ModelExchange, ModelsInOneFolderKeepTheirOwnTextures) {
  moObject &cube = add("cube0");
  triangulateFaces(cube, kTriangulateDelaunay);
  cube.paintLayer = makePaintLayer(PaintLayer::kPerCorner, 8, 8, cube.triangleVertices.count());
  auto exportIn = [&](const std::string &model, uint8_t red) {
    cube.paintLayer->image.at(3, 2) = packRgba(red, 20, 30, 255);
    ASSERT_TRUE(exportModel(scene, registry, file(model), true, diag)) << model;
  };
  auto importedRed = [&](const std::string &model) {
    RecordingUi ui2;
    Scene again(ui2);
    EXPECT_TRUE(importModel(again, registry, file(model), false, diag)) << model;
    const moObject *back = again.object(0);
    return back && back->paintLayer ? redOf(back->paintLayer->image.at(3, 2)) : -1;
  };
  for (const std::string ext : {".obj", ".wrl", ".x", ".gltf", ".3ds"}) {
    const std::string folder = "models/" + ext.substr(1) + "/";
    fs::create_directories(dir / folder);
    exportIn(folder + "house" + ext, 10);
    exportIn(folder + "barn" + ext, 20);
    exportIn(folder + "house" + ext, 30);
    EXPECT_EQ(importedRed(folder + "house" + ext), 30) << ext;
    EXPECT_EQ(importedRed(folder + "barn" + ext), 20) << ext;
    std::set<std::string> images;
    for (const fs::directory_entry &entry : fs::directory_iterator(dir / folder))
      if (entry.path().extension() == ".tif" || entry.path().extension() == ".png")
        images.insert(entry.path().filename().string());
    const std::set<std::string> expected =
        ext == ".3ds"   ? std::set<std::string>{"cube0.tif", "cube01.tif"}
        : ext == ".obj" ? std::set<std::string>{"house_cube0.tif", "barn_cube0.tif"}
                        : std::set<std::string>{"house_cube0.png", "barn_cube0.png"};
    EXPECT_EQ(images, expected) << ext;
  }
}

// The user sees a failed import's first problem and how many more there are; the readers' and
// the converter's progress notes are no problems.
TEST_F(ModelExchange, AFailedImportIsSummedUpByItsFirstProblem) {
  put("bad.obj", "v x 0 0\nv 0 0 0\n7 up\nv 1 y\n");
  put("bad.wrl", "#VRML V2.0 utf8\nShape { geometry IndexedFaceSet { coord Coordinate {\n"
                 "point [ 0 0 0, x ] } } }\n");
  put("plain.obj", "# nothing here\n");
  const std::pair<const char *, const char *> cases[] = {
      {"bad.obj", "Error: float or int value expected for vertex in line 1 . (and 2 more)"},
      {"bad.wrl", "Couldn't read value 1 of field \"point\" (line 3)"},
      {"plain.obj", "it holds no objects"}};
  for (const auto &[name, summary] : cases) {
    diag.str("");
    EXPECT_FALSE(importModel(scene, registry, file(name), false, diag)) << name;
    EXPECT_EQ(importFailureReason(diag.str()), summary) << diag.str();
  }
}

} // namespace
