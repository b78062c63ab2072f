#include "core/face_triangulation.h"
#include "interchange/geo_to_gx.h"
#include "interchange/gx_build.h"
#include "interchange/gx_to_geo.h"
#include "interchange/obj/obj_format.h"
#include "layers/paint_layers.h"
#include "morvo_version.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// Gives the object a per-corner paint layer over its triangulation, coordinates (t, k).
void paint(moObject &obj) {
  triangulateFaces(obj, kTriangulateDelaunay);
  const int32_t corners = obj.triangleVertices.count();
  obj.paintLayer = makePaintLayer(PaintLayer::kPerCorner, 4, 4, corners);
  for (int32_t c = 0; c < corners; ++c) {
    obj.paintLayer->coordinates[size_t(2 * c)] = float(c / 3) / 16.0f;
    obj.paintLayer->coordinates[size_t(2 * c + 1)] = float(c % 3) / 4.0f;
  }
}

class Conversion : public testing::Test {
protected:
  moObject &add(const char *name, const PolygonMesh &mesh = cubeMesh()) {
    auto obj = std::make_shared<moObject>(makeObject(mesh));
    obj->name = name;
    scene.objects.insert(obj);
    return *obj;
  }
  GxPtr exportTree(const ExportOptions &options = {}) {
    exporter = std::make_unique<GeoToGx>(options, diag);
    return exporter->convert(scene, true);
  }
  std::string objText(const GxElement &tree) {
    std::string obj, mtl;
    EXPECT_EQ(writeObj(&tree, "m.mtl", obj, mtl, diag), 0);
    return obj + "=====\n" + mtl;
  }
  std::vector<ObjectPtr> importTree(const GxElement &tree, TextureLoader loader = nullptr) {
    GxToGeo converter(diag, std::move(loader));
    return converter.convert(tree);
  }

  RecordingUi ui;
  Scene scene{ui};
  std::ostringstream diag;
  std::unique_ptr<GeoToGx> exporter;
};

std::vector<int32_t> ints(const GxElement *list) {
  std::vector<int32_t> values;
  intValues(*list, values);
  return values;
}

TEST_F(Conversion, NamesFaceModeListsAndObjText) {
  moObject &box = add("my box");
  box.setFaceColor(0, moColor{255, 0, 0, 255});
  GxPtr tree = exportTree();
  EXPECT_EQ(box.name, "my box");
  const GxElement *body = tree->findChildOfType("body");
  ASSERT_NE(body, nullptr);
  EXPECT_EQ(body->name(), "my_box");
  EXPECT_EQ(*stringMember(*body, "material"), "my_box_material");
  EXPECT_EQ(tree->findChildOfType("material")->name(), "my_box_material");
  EXPECT_EQ(body->findChild("vertices")->childCount(), 8);
  EXPECT_EQ(body->findChild("vertex-color")->childCount(), 24 + 1);
  const GxElement *first = body->findChild("faces")->childAt(0);
  EXPECT_EQ(ints(first->findChild("vertex-color-indices")), (std::vector<int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(ints(first->findChild("vertex-normal-indices")), (std::vector<int32_t>{0, 1, 2, 3}));
  EXPECT_EQ(ints(body->findChild("face-parts")->childAt(0)->findChild("face-indices")).size(), 6u);
  // The OBJ text: one header, corners reversed, "//" without texture coordinates.
  const std::vector<int32_t> corners = ints(first->findChild("vertex-indices"));
  const std::string text = objText(*tree);
  std::string face = "f";
  for (int32_t i = 3; i >= 0; --i)
    face += " " + std::to_string(corners[size_t(i)] + 1) + "//" + std::to_string(i + 1);
  // The header names the program's own version.
  EXPECT_EQ(text.rfind("#\r\n# Exported from Morvo v" MORVO_VERSION
                       "\r\n#\r\nmtllib m.mtl\r\ng my_box\r\n"
                       "usemtl my_box_material\r\n# vertex list\r\nv ",
                       0),
            0u)
      << text;
  EXPECT_NE(text.find(face + "\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("newmtl my_box_material\r\nKd 1 1 1\r\nNs 0\r\nKs 0 0 0 \r\nillum 2\r\n"),
            std::string::npos);
}

TEST_F(Conversion, SecondBodyNumbersContinueAfterTheFirst) {
  add("a");
  add("b");
  const std::string text = objText(*exportTree());
  const size_t second = text.find("g b\r\n");
  ASSERT_NE(second, std::string::npos);
  const std::string tail = text.substr(text.find("\r\nf ", second) + 2);
  int32_t vertex = 0, normal = 0;
  ASSERT_EQ(std::sscanf(tail.c_str(), "f %d//%d", &vertex, &normal), 2);
  EXPECT_GT(vertex, 8);
  EXPECT_EQ(normal, 24 + 4); // the first body used 24 normals; the first corner takes the last
}

TEST_F(Conversion, TriangleModeAndPaintedBodies) {
  add("plain");
  ExportOptions options;
  options.perTriangle = true;
  GxPtr tree = exportTree(options);
  const GxElement *body = tree->findChildOfType("body");
  EXPECT_EQ(body->findChild("vertices")->childCount(), 36);
  EXPECT_EQ(ints(body->findChild("faces")->childAt(1)->findChild("vertex-indices")),
            (std::vector<int32_t>{3, 4, 5}));
  EXPECT_EQ(ints(body->findChild("faces")->childAt(0)->findChild("vertex-color-indices")),
            (std::vector<int32_t>{1, 2, 3}));
  EXPECT_EQ(ints(body->findChild("face-parts")->childAt(0)->findChild("face-indices")).size(), 12u);

  scene.objects.clear(false);
  paint(add("longobjectname"));
  paint(add("abcdefgh"));
  paint(add("longobjectname2")); // the same eight first letters: its texture must not overwrite
  options.shortTextureNames = true;
  tree = exportTree(options);
  ASSERT_EQ(exporter->textures().size(), 3u);
  EXPECT_EQ(exporter->textures()[0].fileName, "longobje.tif");
  EXPECT_EQ(exporter->textures()[1].fileName, "abcdefgh.tif");
  EXPECT_EQ(exporter->textures()[2].fileName, "longobj1.tif");
  EXPECT_EQ(alphaOf(exporter->textures()[0].image.pixels()[0]), 255);
  const GxElement *painted = tree->findChildOfType("body");
  EXPECT_EQ(ints(painted->findChild("faces")->childAt(0)->findChild("uv-indices")),
            (std::vector<int32_t>{2, 1, 0}));
  const std::string text = objText(*tree);
  EXPECT_NE(text.find("# vertex UVs\r\nvt 0 0 0.0\r\nvt 0 0.25 0.0\r\n"), std::string::npos);
  EXPECT_NE(text.find("\r\nf 3/1/3 2/2/2 1/3/1\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("map_Kd longobje.tif \r\n"), std::string::npos);
}

// Textures are named after the model file and the object and stay safe file names; short names
// follow the object alone and pass over the names that are taken.
TEST_F(Conversion, TextureNamesFollowTheModelFile) {
  paint(add("cube0"));
  std::string accented;
  for (int i = 0; i < 200; ++i)
    accented += "\xc3\xa9"; // 400 bytes of UTF-8
  paint(add(accented.c_str()));
  exporter = std::make_unique<GeoToGx>(ExportOptions{}, diag);
  exporter->nameTexturesFor("my house.v2.obj", nullptr);
  exporter->convert(scene, true);
  ASSERT_EQ(exporter->textures().size(), 2u);
  EXPECT_EQ(exporter->textures()[0].fileName, "my_house.v2_cube0.tif");
  const std::string &cut = exporter->textures()[1].fileName; // within a file name's 255 bytes
  EXPECT_EQ(cut, "my_house.v2_" + accented.substr(0, 238) + ".tif");

  ExportOptions shortNames;
  shortNames.shortTextureNames = true;
  exporter = std::make_unique<GeoToGx>(shortNames, diag);
  exporter->nameTexturesFor("house.3ds", [](const std::string &name) {
    return name == "cube0.tif" || name == "cube01.tif";
  });
  exporter->convert(scene, true);
  ASSERT_EQ(exporter->textures().size(), 2u);
  EXPECT_EQ(exporter->textures()[0].fileName, "cube02.tif");
  EXPECT_EQ(exporter->textures()[1].fileName, accented.substr(0, 8) + ".tif");
}

// Through the tree and back: same shape, faces still facing out, corner colours kept.
TEST_F(Conversion, ExportThenImportKeepsShapeOrientationAndColours) {
  moObject &torus = add("ring", torusMesh(6, 8));
  torus.setFaceColor(3, moColor{10, 200, 30, 255});
  torus.material.diffuse[1] = 0.5f;
  GxPtr tree = exportTree();
  std::vector<ObjectPtr> objects = importTree(*tree);
  ASSERT_EQ(objects.size(), 1u) << diag.str();
  const moObject &back = *objects[0];
  EXPECT_EQ(back.name, "ring");
  EXPECT_EQ(back.faces.count(), torus.faces.count());
  EXPECT_EQ(back.vertices.count(), torus.vertices.count());
  EXPECT_EQ(back.material.diffuse[1], 0.5f);
  int32_t coloured = 0;
  for (int32_t f = 0; f < back.faces.count(); ++f) {
    const moVec3 centre = back.faceCentroid(f);
    // Same outward sense as the face of the original with the same centre.
    for (int32_t g = 0; g < torus.faces.count(); ++g)
      if (length(subtract(torus.faceCentroid(g), centre)) < 1e-4f) {
        EXPECT_GT(dot(torus.faceNormal(g, true), back.faceNormal(f, true)), 0.99f);
      }
    std::vector<int32_t> corners;
    back.faceVertices(f, corners);
    coloured += back.cornerColorAt(corners[0], f) == moColor{10, 200, 30, 255} ? 1 : 0;
  }
  EXPECT_EQ(coloured, 1);
}

TEST_F(Conversion, TexturesAreLoadedThroughTheLoaderOnly) {
  paint(add("painted"));
  GxPtr tree = exportTree();
  std::vector<std::string> asked;
  std::vector<ObjectPtr> objects =
      importTree(*tree, [&](const std::string &name, ImageBuffer &image) {
        asked.push_back(name);
        return image.reshape(8, 4);
      });
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(asked, (std::vector<std::string>{"painted.tif"}));
  ASSERT_NE(objects[0]->paintLayer, nullptr);
  EXPECT_EQ(objects[0]->paintLayer->kind(), PaintLayer::kPerCorner);
  EXPECT_EQ(objects[0]->paintLayer->image.width(), 8);
  float uv[6];
  objects[0]->paintLayer->cornerTexCoords(*objects[0], 1, uv);
  EXPECT_NE(uv[0] + uv[1] + uv[2] + uv[3] + uv[4] + uv[5], 0.0f);
  // A material whose texture has no name, or whose file does not load, leaves no paint.
  GxElement *map = tree->findChildOfType("material")->childAt(0)->findChild("TEXTURE-MAP");
  static_cast<GxStringProperty *>(map->childAt(0))->setValue("");
  EXPECT_EQ(importTree(*tree)[0]->paintLayer, nullptr);
  EXPECT_NE(diag.str().find("A texture name was zero length"), std::string::npos);
}

TEST_F(Conversion, InstancesPlaceTheirBodyOnce) {
  add("cube");
  GxPtr tree = exportTree();
  GxElement *instance = tree->findChildOfType("gobject")->findChild("children")->childAt(0);
  GxNode *matrix = addNode(*instance, "vec4f", "matrix", true);
  const float rows[4][4] = {{1, 0, 0, 5}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  for (const auto &row : rows)
    matrix->addChild(new GxFloatArrayProperty("vec4f", "", {row[0], row[1], row[2], row[3]}));
  tree->findChildOfType("gobject")->findChild("children")->addChild(instance); // twice
  std::vector<ObjectPtr> objects = importTree(*tree);
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_FLOAT_EQ(objects[0]->objectCentroid().x, 5.0f);
  EXPECT_NE(diag.str().find("Looking up body :: cube."), std::string::npos);
}

} // namespace

// A cube's twelve atlas triangles use a few cells of a 64 x 64 image: every texel outside them
// comes out in the colour of a used texel (here all red), never the blue left there.
TEST_F(Conversion, ExportedTexturesFillTheTexelsNoTriangleUses) {
  moObject &cube = add("cube");
  triangulateFaces(cube, kTriangulateDelaunay);
  cube.paintLayer = makePaintLayer(PaintLayer::kAtlas, 64, 64, cube.triangleFaces.count());
  ImageBuffer &paint = cube.paintLayer->image;
  std::fill(paint.pixels(), paint.pixels() + paint.pixelCount(), packRgba(0, 0, 255));
  for (int32_t t = 0; t < cube.triangleFaces.count(); ++t) {
    const TexelRect r = cube.paintLayer->texelRect(cube, t);
    for (int32_t y = r.y; y < r.y + r.height; ++y)
      for (int32_t x = r.x; x < r.x + r.width; ++x)
        paint.pixels()[y * 64 + x] = packRgba(255, 0, 0);
  }
  const auto used =
      std::count(paint.pixels(), paint.pixels() + paint.pixelCount(), packRgba(255, 0, 0));
  ASSERT_GT(used, 0);
  ASSERT_LT(used, 64 * 64 * 3 / 4); // a good part of the image is unused
  exportTree();
  ASSERT_EQ(exporter->textures().size(), 1u);
  const ImageBuffer &written = exporter->textures()[0].image;
  for (int32_t i = 0; i < written.pixelCount(); ++i)
    ASSERT_EQ(written.pixels()[i], packRgba(255, 0, 0)) << i;
}
