// glTF files written and read back through the registry, the facts of the written files, and
// damaged or unsafe files refused with the scene left alone.
#include "core/face_triangulation.h"
#include "fileio/read_file.h"
#include "interchange/gltf/gltf_container.h"
#include "interchange/model_exchange.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

class GltfFiles : public testing::Test {
protected:
  void SetUp() override {
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    dir = fs::temp_directory_path() / ("morvo_gltf_" + std::string(test->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  moObject &add(const char *name, const PolygonMesh &mesh = cubeMesh()) {
    auto obj = std::make_shared<moObject>(makeObject(mesh));
    obj->name = name;
    scene.objects.insert(obj);
    return *obj;
  }
  // A painted object: a 4 x 2 image of distinct pixels, coordinates (t / 16, k / 4) per corner.
  moObject &addPainted(const char *name) {
    moObject &obj = add(name);
    triangulateFaces(obj, kTriangulateDelaunay);
    const int32_t corners = obj.triangleVertices.count();
    obj.paintLayer = makePaintLayer(PaintLayer::kPerCorner, 4, 2, corners);
    for (int32_t c = 0; c < corners; ++c) {
      obj.paintLayer->coordinates[size_t(2 * c)] = float(c / 3) / 16.0f;
      obj.paintLayer->coordinates[size_t(2 * c + 1)] = float(c % 3) / 4.0f;
    }
    for (int32_t i = 0; i < 8; ++i)
      obj.paintLayer->image.pixels()[i] = 0xFF000000u | uint32_t(i * 30) << 8 | uint32_t(i);
    return obj;
  }
  std::string write(const char *name) {
    const std::string path = (dir / name).string();
    EXPECT_TRUE(exportModel(scene, registry, path, true, diag)) << diag.str();
    return path;
  }
  std::string file(const char *name, const std::string &text) {
    std::ofstream((dir / name).string(), std::ios::binary) << text;
    return (dir / name).string();
  }
  // Imports into `again`; on failure the scene must be as it was (empty).
  bool import(const std::string &path) {
    const bool imported = importModel(again, registry, path, false, diag);
    if (!imported) {
      EXPECT_EQ(again.objects.objectCount(), 0);
    }
    return imported;
  }

  fs::path dir;
  RecordingUi ui, ui2;
  Scene scene{ui}, again{ui2};
  FormatRegistry registry;
  std::ostringstream diag;
};

TEST_F(GltfFiles, ObjectsComeBackWithNamesShapesColoursAndPaint) {
  add("cube one").setFaceColor(2, moColor{200, 30, 90, 255});
  add("torus", torusMesh(6, 12, 3));
  moObject &painted = addPainted("painted");
  for (const char *name : {"model.gltf", "model.glb"}) {
    again.objects.clear(true);
    ASSERT_TRUE(import(write(name))) << diag.str();
    ASSERT_EQ(again.objects.objectCount(), 3) << name;
    EXPECT_EQ(again.object(0)->name, "cube_one");
    EXPECT_EQ(again.object(1)->name, "torus");
    for (int32_t i = 0; i < 2; ++i) // the builder joins the triangles into the same surface
      EXPECT_EQ(again.object(i)->vertices.count(), scene.object(i)->vertices.count()) << name;
    // Colours survive the trip through linear light.
    // (The cube's face 2 comes back as two triangles.)
    const moObject &cube = *again.object(0);
    int32_t coloured = 0;
    std::vector<int32_t> corners;
    for (int32_t f = 0; f < cube.faces.count(); ++f) {
      cube.faceVertices(f, corners);
      const moColor c = cube.cornerColorAt(corners[0], f);
      coloured += c.r == 200 && c.g == 30 && c.b == 90;
    }
    EXPECT_EQ(coloured, 2) << name;
    // The paint image and every corner's coordinates come back.
    const PaintLayer *layer = again.object(2)->paintLayer.get();
    ASSERT_NE(layer, nullptr) << name << diag.str();
    ASSERT_EQ(layer->image.width(), 4);
    EXPECT_EQ(std::memcmp(layer->image.pixels(), painted.paintLayer->image.pixels(), 32), 0);
    float uv[6];
    layer->cornerTexCoords(*again.object(2), 0, uv);
    for (float value : uv)
      EXPECT_EQ(value * 16.0f, std::round(value * 16.0f)) << name; // a coordinate written
  }
  EXPECT_TRUE(fs::exists(dir / "model.bin"));
  EXPECT_TRUE(fs::exists(dir / "model_painted.png"));
  // The texture is drawn as the program draws it: linear filtering, no mipmaps.
  std::string bytes, error;
  ASSERT_TRUE(readWholeFile((dir / "model.gltf").string(), bytes, error));
  const json doc = json::parse(bytes);
  const json &sampler = doc["samplers"][doc["textures"][0]["sampler"].get<size_t>()];
  EXPECT_EQ(sampler, (json{{"magFilter", 9729}, {"minFilter", 9729}}));
}

TEST_F(GltfFiles, ObjectsOfOneNameKeepTheirOwnPaint) {
  addPainted("twin");
  moObject &second = addPainted("twin");
  for (int32_t i = 0; i < 8; ++i)
    second.paintLayer->image.pixels()[i] = 0xFF0000FFu;
  ASSERT_TRUE(import(write("twins.glb"))) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    ASSERT_NE(again.object(i)->paintLayer, nullptr) << i;
    EXPECT_EQ(std::memcmp(again.object(i)->paintLayer->image.pixels(),
                          scene.object(i)->paintLayer->image.pixels(), 32),
              0)
        << i;
  }
}

// glTF's front faces run counter-clockwise: every triangle's winding must agree with the normals
// written for its corners, which point out of the object.
TEST_F(GltfFiles, TrianglesRunCounterClockwiseAroundOutwardNormals) {
  add("cube");
  add("torus", torusMesh(6, 12, 3));
  const std::string path = write("wind.glb");
  std::string bytes, error, text;
  ASSERT_TRUE(readWholeFile(path, bytes, error));
  std::string_view jsonChunk, bin;
  ASSERT_TRUE(unpackGlb(bytes, jsonChunk, bin, error)) << error;
  const json doc = json::parse(jsonChunk);
  auto floats = [&](int accessor) {
    const json &a = doc["accessors"][size_t(accessor)];
    const json &view = doc["bufferViews"][a["bufferView"].get<size_t>()];
    std::vector<float> out(a["count"].get<size_t>() * 3);
    std::memcpy(out.data(), bin.data() + view["byteOffset"].get<size_t>(), out.size() * 4);
    return out;
  };
  int checked = 0;
  for (const json &mesh : doc["meshes"]) {
    const json &primitive = mesh["primitives"][0];
    const std::vector<float> p = floats(primitive["attributes"]["POSITION"]);
    const std::vector<float> n = floats(primitive["attributes"]["NORMAL"]);
    const json &a = doc["accessors"][primitive["indices"].get<size_t>()];
    const json &view = doc["bufferViews"][a["bufferView"].get<size_t>()];
    std::vector<uint16_t> index(a["count"].get<size_t>());
    std::memcpy(index.data(), bin.data() + view["byteOffset"].get<size_t>(), index.size() * 2);
    for (size_t t = 0; t < index.size(); t += 3) {
      moVec3 c[3], normal;
      for (int k = 0; k < 3; ++k) {
        c[k] = {p[3 * index[t + k]], p[3 * index[t + k] + 1], p[3 * index[t + k] + 2]};
        normal = ::add(
            normal, moVec3{n[3 * index[t + k]], n[3 * index[t + k] + 1], n[3 * index[t + k] + 2]});
      }
      EXPECT_GT(dot(cross(subtract(c[1], c[0]), subtract(c[2], c[0])), normal), 0.0f) << t;
      if (mesh["name"] == "cube") { // centred on the origin: outward is away from it
        EXPECT_GT(dot(normal, ::add(::add(c[0], c[1]), c[2])), 0.0f) << t;
      }
      ++checked;
    }
  }
  EXPECT_EQ(checked, 12 + 144);
}

TEST_F(GltfFiles, NodeTransformsAreAppliedAndMirrorsKeepTheOutsideOut) {
  add("cube");
  std::string bytes, error;
  ASSERT_TRUE(readWholeFile(write("cube.gltf"), bytes, error));
  json doc = json::parse(bytes);
  doc["nodes"] = {{{"name", "parent"}, {"translation", {100, 0, 0}}, {"children", {1}}},
                  {{"name", "mirrored child"}, {"mesh", 0}, {"scale", {-1, 2, 1}}}};
  doc["scenes"] = json::array({json{{"nodes", {0}}}});
  ASSERT_TRUE(import(file("moved.gltf", doc.dump()))) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 1);
  const moObject &child = *again.object(0);
  EXPECT_EQ(child.name, "mirrored child");
  float lowX = 1e9f, highY = -1e9f;
  for (const moVertex &v : child.vertices)
    lowX = std::min(lowX, v.Coordinates.x), highY = std::max(highY, v.Coordinates.y);
  EXPECT_FLOAT_EQ(lowX, 100.0f - 1.0f); // the parent's move, the child's mirror
  EXPECT_FLOAT_EQ(highY, 2.0f);         // and scale
  // Face normals still point away from the centre.
  for (int32_t f = 0; f < child.faces.count(); ++f)
    EXPECT_GT(dot(child.faceNormal(f, true), subtract(child.faceCentroid(f), moVec3{100, 0, 0})),
              0.0f)
        << f;
}

TEST_F(GltfFiles, WhatIsNotReadIsNamedInOneLine) {
  add("cube");
  std::string bytes, error;
  ASSERT_TRUE(readWholeFile(write("cube.gltf"), bytes, error));
  json doc = json::parse(bytes);
  doc["animations"] = json::array({json{{"channels", json::array()}, {"samplers", json::array()}}});
  doc["extensionsUsed"] = {"KHR_lights_punctual"};
  json lines = doc["meshes"][0]["primitives"][0];
  lines["mode"] = 1;
  doc["meshes"][0]["primitives"].push_back(lines);
  doc["meshes"][0]["primitives"][0]["targets"] = json::array();
  ASSERT_TRUE(import(file("extra.gltf", doc.dump())));
  EXPECT_EQ(again.objects.objectCount(), 1);
  const std::string messages = diag.str();
  const size_t line = messages.find("glTF: left out ");
  ASSERT_NE(line, std::string::npos) << messages;
  EXPECT_EQ(messages.find("left out", line + 10), std::string::npos) << messages;
  for (const char *what :
       {"animations", "extension KHR_lights_punctual", "morph targets", "points or lines"})
    EXPECT_NE(messages.find(what, line), std::string::npos) << what;
}

// Each case damages our own cube file one way; the import must say why and change nothing.
TEST_F(GltfFiles, DamagedOrUnsafeFilesAreRefusedWithAReason) {
  add("cube");
  std::string bytes, error;
  ASSERT_TRUE(readWholeFile(write("cube.gltf"), bytes, error));
  fs::create_directories(dir / "inner");
  std::ofstream((dir / "secret.bin").string()) << std::string(4096, 'x');
  const json good = json::parse(bytes);
  const std::pair<std::function<void(json &)>, const char *> cases[] = {
      {[](json &d) { d["accessors"][0]["count"] = 9; }, "accessor 0 reaches past its buffer view"},
      {[](json &d) { d["accessors"][0]["count"] = 4000000000u; }, "not an integer in its range"},
      {[](json &d) { d["accessors"][0]["byteOffset"] = 4; }, "reaches past its buffer view"},
      {[](json &d) { d["bufferViews"][0]["byteLength"] = 1 << 30; }, "reaches past its buffer"},
      {[](json &d) { d["accessors"][0]["componentType"] = 5130; }, "wrong type or component"},
      {[](json &d) { d["accessors"][0]["type"] = "MAT4"; }, "wrong type or component"},
      {[](json &d) { d["accessors"][3]["componentType"] = 5126; }, "not unsigned integers"},
      {[](json &d) { d["buffers"][0]["byteLength"] = 1 << 20; }, "shorter than its byteLength"},
      {[](json &d) { d["buffers"][0]["uri"] = "data:application/gltf-buffer;base64,A$=="; },
       "its data URI does not decode"},
      {[](json &d) { d["buffers"][0]["uri"] = "../secret.bin"; }, "leads outside"},
      {[](json &d) { d["buffers"][0]["uri"] = "inner/%2E%2E/../secret.bin"; }, "leads outside"},
      {[](json &d) { d["buffers"][0]["uri"] = "/etc/passwd"; }, "leads outside"},
      {[](json &d) { d["buffers"][0]["uri"] = "file:///etc/passwd"; }, "leads outside"},
      {[](json &d) { d["buffers"][0]["uri"] = "https://example.com/a.bin"; }, "leads outside"},
      {[](json &d) { d["buffers"][0]["uri"] = "missing.bin"; }, "cannot read \"missing.bin\""},
      {[](json &d) { d["nodes"][0]["children"] = {0}; }, "the nodes are not a tree"},
      {[](json &d) { d["extensionsRequired"] = {"EXT_texture_webp"}; },
       "needs the extension \"EXT_texture_webp\""},
      {[](json &d) { d["asset"]["version"] = "1.0"; }, "not a glTF 2.0 file"},
      {[](json &d) { d["meshes"][0]["primitives"][0]["material"] = 7; }, "does not exist"},
  };
  for (const auto &[damage, reason] : cases) {
    json doc = good;
    damage(doc);
    diag.str("");
    EXPECT_FALSE(import(file("damaged.gltf", doc.dump()))) << reason;
    EXPECT_NE(diag.str().find(reason), std::string::npos) << diag.str();
  }
  EXPECT_FALSE(import(file("cut.glb", bytes.substr(0, 5))));
  // An index past the vertices, in the binary data.
  std::string bin;
  ASSERT_TRUE(readWholeFile((dir / "cube.bin").string(), bin, error));
  bin[good["bufferViews"][3]["byteOffset"].get<size_t>()] = char(200);
  std::ofstream((dir / "cube.bin").string(), std::ios::binary) << bin;
  diag.str("");
  EXPECT_FALSE(import((dir / "cube.gltf").string()));
  EXPECT_NE(diag.str().find("an index past its"), std::string::npos) << diag.str();
}

TEST(GltfUris, OnlyRelativePathsInsideTheFolderAreFollowed) {
  EXPECT_EQ(classifyUri("model.bin"), UriKind::kFile);
  EXPECT_EQ(classifyUri("sub/my%20model.bin"), UriKind::kFile);
  EXPECT_EQ(classifyUri("data:application/octet-stream;base64,AA=="), UriKind::kData);
  for (const char *uri : {"..", "a/../../b.bin", "%2e%2e/b.bin", "..\\b.bin", "\\\\host\\b",
                          "C:/b.bin", "c:b.bin", "ftp://x/b.bin", "/abs.bin", "a%00.bin"})
    EXPECT_EQ(classifyUri(uri), UriKind::kRefused) << uri;
  std::string bytes;
  ASSERT_TRUE(decodeDataUri("data:x;base64,SGVsbG8=", bytes));
  EXPECT_EQ(bytes, "Hello");
  EXPECT_FALSE(decodeDataUri("data:x;base64,SGVsbG8=A", bytes));
  EXPECT_FALSE(decodeDataUri("data:x,SGVsbG8=", bytes)); // not base64
  EXPECT_EQ(encodePercent("my model#1.bin"), "my%20model%231.bin");
}

} // namespace
