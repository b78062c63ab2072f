// 3DS: the chunk toolkit, files written and read back through the registry, shortened names,
// and damaged files.
#include "core/face_triangulation.h"
#include "interchange/3ds/mesh_records.h"
#include "interchange/format_registry.h"
#include "interchange/gx_build.h"
#include "interchange/model_exchange.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string chunk(uint16_t id, const std::string &data) {
  std::string out;
  putU16(out, id);
  putU32(out, uint32_t(data.size() + 6));
  return out + data;
}

std::string u16s(std::initializer_list<uint16_t> values) {
  std::string out;
  for (uint16_t v : values)
    putU16(out, v);
  return out;
}

// A main chunk holding one triangle object whose chunks are given.
std::string triangleFile(const std::string &points, const std::string &faces) {
  const std::string object =
      chunk(kChunkNamedObject, std::string("tri", 4) + chunk(kChunkTriObject, points + faces));
  return chunk(kChunkMain, chunk(kChunkEditor, object));
}

std::string points(uint16_t count, int stored) {
  std::string data = u16s({count});
  for (int i = 0; i < stored * 3; ++i)
    putF32(data, float(i % 3 == i / 3 ? 1 : 0));
  return chunk(kChunkPointArray, data);
}

std::string faces(uint16_t a, const std::string &groups = "") {
  return chunk(kChunkFaceArray, u16s({1, a, 1, 2, 7}) + groups);
}

GxPtr read(std::string_view bytes, std::ostream &diag) {
  return GxPtr(read3ds(bytes, CompanionReader(), diag));
}

class ThreeDsFiles : public testing::Test {
protected:
  void SetUp() override {
    dir =
        fs::temp_directory_path() /
        ("morvo_3ds_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  moObject &add(const std::string &name, const PolygonMesh &mesh = cubeMesh()) {
    auto obj = std::make_shared<moObject>(makeObject(mesh));
    obj->name = name;
    scene.objects.insert(obj);
    return *obj;
  }
  Chunk3ds database(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    Chunk3ds db;
    std::string detail;
    EXPECT_EQ(loadDatabase(bytes, db, detail), FtkError::kNone) << detail;
    return db;
  }

  fs::path dir;
  RecordingUi ui;
  Scene scene{ui};
  FormatRegistry registry;
  std::ostringstream diag;
};

TEST(ChunkDatabase, WrittenDatabaseLoadsBackChunkForChunk) {
  Chunk3ds db = initDatabase();
  MeshObject3ds mesh;
  mesh.name = "tri";
  mesh.vertices = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
  mesh.texVertices = {{0, 0}, {1, 0}, {0, 1}};
  mesh.faces.push_back({{0, 1, 2}, 7});
  mesh.groups.push_back({"red", {0}});
  putMeshObject(db, mesh);
  Material3ds red;
  red.name = "red";
  red.diffuse = {1, 0, 0};
  red.transparency = 0.25f;
  red.textureMap = "red.tif";
  putMaterial(db, red);
  Chunk3ds loaded;
  std::string detail;
  ASSERT_EQ(loadDatabase(writeDatabase(db), loaded, detail), FtkError::kNone) << detail;
  std::vector<MeshObject3ds> meshes;
  std::vector<Material3ds> materials;
  ASSERT_EQ(fetchMeshObjects(loaded, meshes, detail), FtkError::kNone);
  ASSERT_EQ(fetchMaterials(loaded, materials, detail), FtkError::kNone);
  ASSERT_EQ(meshes.size(), 1u);
  EXPECT_EQ(meshes[0].vertices, mesh.vertices);
  EXPECT_EQ(meshes[0].texVertices, mesh.texVertices);
  EXPECT_EQ(meshes[0].groups[0].faces, std::vector<uint16_t>{0});
  ASSERT_EQ(materials.size(), 1u);
  EXPECT_EQ(materials[0].diffuse, red.diffuse);
  EXPECT_FLOAT_EQ(materials[0].transparency, 0.25f);
  EXPECT_EQ(materials[0].textureMap, "red.tif");
  // Materials come before the objects in the editor chunk.
  EXPECT_EQ(findChunk(loaded, kChunkEditor)->children[2].id, kChunkMatEntry);
}

TEST_F(ThreeDsFiles, ObjectsRoundTripWithTheirPositionsAndZUpInTheFile) {
  add("cube");
  add("torus", torusMesh(4, 8));
  const std::string path = (dir / "out.3ds").string();
  ASSERT_TRUE(exportModel(scene, registry, path, true, diag)) << ui.messages.back();
  const Chunk3ds db = database(path);
  std::vector<MeshObject3ds> meshes;
  std::string detail;
  ASSERT_EQ(fetchMeshObjects(db, meshes, detail), FtkError::kNone);
  ASSERT_EQ(meshes.size(), 2u);
  EXPECT_EQ(meshes[0].faces.size(), 12u); // triangles
  const moVec3 p = scene.object(0)->vertices[0].Coordinates;
  bool found = false;
  for (const auto &v : meshes[0].vertices)
    found = found || (v[0] == p.x && v[1] == -p.z && v[2] == p.y);
  EXPECT_TRUE(found);

  RecordingUi ui2;
  Scene again(ui2);
  ASSERT_TRUE(importModel(again, registry, path, false, diag)) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 2);
  for (int32_t i = 0; i < 2; ++i) {
    const moObject &before = *scene.object(i), &after = *again.object(i);
    EXPECT_EQ(after.vertices.count(), before.vertices.count());
    EXPECT_EQ(after.faces.count(), before.triangleFaces.count()); // written as triangles
    for (int32_t v = 0; v < before.vertices.count(); ++v) {
      bool same = false;
      const moVec3 &a = before.vertices[v].Coordinates;
      for (int32_t w = 0; w < after.vertices.count(); ++w) {
        const moVec3 &b = after.vertices[w].Coordinates;
        same = same || (a.x == b.x && a.y == b.y && a.z == b.z);
      }
      EXPECT_TRUE(same) << "object " << i << " vertex " << v;
    }
  }
}

TEST_F(ThreeDsFiles, LongNamesAreCutAndStayUniqueAndTexturesGetShortNames) {
  for (const char *name : {"averylongobjectnameA", "averylongobjectnameB", "averylongobjectnameC"})
    add(name);
  moObject &painted = add("paintedobject");
  triangulateFaces(painted, kTriangulateDelaunay);
  painted.paintLayer =
      makePaintLayer(PaintLayer::kPerCorner, 4, 4, painted.triangleVertices.count());
  const std::string path = (dir / "names.3ds").string();
  ASSERT_TRUE(exportModel(scene, registry, path, true, diag)) << ui.messages.back();
  EXPECT_TRUE(fs::exists(dir / "paintedo.tif"));
  const Chunk3ds db = database(path);
  std::vector<MeshObject3ds> meshes;
  std::vector<Material3ds> materials;
  std::string detail;
  fetchMeshObjects(db, meshes, detail);
  fetchMaterials(db, materials, detail);
  ASSERT_EQ(meshes.size(), 4u);
  ASSERT_EQ(materials.size(), 4u);
  const char *const meshNames[] = {"averylongo", "averylon_1", "averylon_2", "paintedobj"};
  const char *const materialNames[] = {"averylongobjectn", "averylongobjec_1", "averylongobjec_2",
                                       "paintedobject_ma"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(meshes[i].name, meshNames[i]);
    EXPECT_EQ(materials[i].name, materialNames[i]);
    EXPECT_EQ(meshes[i].groups.at(0).material, materialNames[i]); // the group names the cut name
  }
  EXPECT_EQ(materials[3].textureMap, "paintedo.tif");
  EXPECT_EQ(meshes[3].texVertices.size(), meshes[3].vertices.size());

  RecordingUi ui2;
  Scene again(ui2);
  ASSERT_TRUE(importModel(again, registry, path, false, diag)) << diag.str();
  ASSERT_EQ(again.objects.objectCount(), 4);
  EXPECT_TRUE(again.object(3)->paintLayer) << diag.str(); // the texture is found again
}

TEST(ThreeDsWriter, QuadsAreCutToTrianglesAndOversizedBodiesRefused) {
  GxPtr root(makeGxRoot());
  GxNode *body = addNode(*root, "body", "quad");
  GxNode *vertices = addNode(*body, "vertex", "vertices", true);
  for (int i = 0; i < 4; ++i)
    addVec3(*addNode(*vertices, "vertex", ""), "coord", float(i), 0, 0);
  GxNode *list = addNode(*addNode(*addNode(*body, "face", "faces", true), "face", ""), "integer",
                         "vertex-indices", true);
  for (int i = 0; i < 4; ++i)
    addInt(*list, "", i);
  WrittenModel out;
  std::ostringstream diag;
  ASSERT_EQ(write3ds(root.get(), "q.3ds", out, diag), 0);
  EXPECT_NE(diag.str().find("Mesh is for triangles only"), std::string::npos);

  for (int i = 4; i < 65536; ++i)
    addVec3(*addNode(*vertices, "vertex", ""), "coord", float(i), 0, 0);
  out.main.clear();
  EXPECT_EQ(write3ds(root.get(), "q.3ds", out, diag), 1);
  EXPECT_TRUE(out.main.empty());
  EXPECT_NE(diag.str().find("more than a 3DS object holds"), std::string::npos);
}

TEST(ThreeDsReader, DamagedFilesAreRefusedWithTheToolkitsReason) {
  const std::string good = triangleFile(points(3, 3), faces(0));
  std::string longer = good, zero = good, tooShort = good;
  longer[2] = char(good.size() + 1); // the main chunk claims more than the file
  zero.replace(6, 4, u16s({kChunkEditor}) + std::string(4, '\0'));
  tooShort.replace(8, 4, u16s({5, 0})); // the editor chunk: 5 bytes
  std::string nested = chunk(kChunkTriObject, "");
  for (int i = 0; i < 20; ++i)
    nested = chunk(kChunkEditor, nested);
  const std::pair<std::string, const char *> cases[] = {
      {"not a 3ds file", "ERR_WRONG_DATABASE"},
      {longer, "running past its parent"},
      {zero, "shorter than its header"},
      {tooShort, "shorter than its header"},
      {triangleFile(points(3, 3) + chunk(kChunkTexVerts, u16s({2})), faces(0)),
       "more texture vertices"},
      {triangleFile(points(30, 3), faces(0)), "more vertices of tri than the chunk holds"},
      {triangleFile(points(3, 3), faces(3)), "face index out of range"},
      {triangleFile(points(3, 3), chunk(kChunkFaceArray, u16s({9, 0, 1, 2, 7}))),
       "data running past its end"},
      {triangleFile(points(3, 3),
                    faces(0, chunk(kChunkMaterialGroup, std::string("red", 4) + u16s({1, 1})))),
       "material group names a face"},
      {chunk(kChunkMain, std::string("\x3d\x3d\xff\xff\xff\x7f", 6)), "running past its parent"},
      {chunk(kChunkMain, nested), "nested too deeply"},
  };
  for (const auto &[bytes, reason] : cases) {
    std::ostringstream diag;
    EXPECT_FALSE(read(bytes, diag)) << reason;
    EXPECT_NE(diag.str().find(reason), std::string::npos) << diag.str();
  }
  std::ostringstream diag;
  EXPECT_TRUE(read(good, diag)) << diag.str();
}

// Each prefix is copied into a buffer of its own size so that a read past it is caught.
TEST(ThreeDsReader, EveryPrefixOfAFileIsRefused) {
  const std::string file =
      triangleFile(points(3, 3) + chunk(kChunkTexVerts, u16s({0})),
                   faces(0, chunk(kChunkMaterialGroup, std::string("red", 4) + u16s({1, 0}))));
  for (size_t n = 0; n < file.size(); ++n) {
    std::unique_ptr<char[]> copy(new char[n]);
    std::memcpy(copy.get(), file.data(), n);
    std::ostringstream diag;
    EXPECT_FALSE(read(std::string_view(copy.get(), n), diag)) << n;
    EXPECT_NE(diag.str().find("Error reading 3DS file"), std::string::npos) << n;
  }
  std::ostringstream diag;
  EXPECT_TRUE(read(file, diag)) << diag.str();
}

} // namespace
