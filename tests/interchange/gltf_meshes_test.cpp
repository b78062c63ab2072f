// glTF meshes as third-party exporters write them, in hand-built binary files: triangle strips
// and fans (vertices numbered by their x coordinate) and compressed buffer views.
#include "interchange/gltf/gltf_container.h"
#include "interchange/gltf/gltf_draco.h"
#include "interchange/gltf/gltf_format.h"
#include "interchange/gltf/gltf_meshopt.h"
#include "interchange/gx_packed.h"
#include "interchange/model_exchange.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#if MORVO_HAVE_MESHOPTIMIZER
#include <meshoptimizer.h>
#endif
#if MORVO_HAVE_DRACO
#include <draco/compression/encode.h>
#include <draco/mesh/triangle_soup_mesh_builder.h>
#endif

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using json = nlohmann::json;

namespace {

using Triangle = std::array<int, 3>;

// The bytes of values, encoded by meshoptimizer's vertex codec (stride 12) or index codec when
// compress is set.
template <class T> std::string encoded(const std::vector<T> &values, size_t stride, bool compress) {
  std::string bytes(values.size() * sizeof(T), '\0');
  std::memcpy(&bytes[0], values.data(), bytes.size());
  if (!compress)
    return bytes;
#if MORVO_HAVE_MESHOPTIMIZER
  const size_t count = bytes.size() / stride;
  std::vector<unsigned char> out(stride == 12 ? meshopt_encodeVertexBufferBound(count, stride)
                                              : meshopt_encodeIndexBufferBound(count, count));
  const size_t size =
      stride == 12
          ? meshopt_encodeVertexBuffer(out.data(), out.size(), values.data(), count, 12)
          : meshopt_encodeIndexBuffer(out.data(), out.size(),
                                      reinterpret_cast<const unsigned *>(values.data()), count);
  return std::string(out.begin(), out.begin() + long(size));
#else
  return bytes;
#endif
}

// A binary file of one primitive of the given mode over points, indexed when indices is not
// empty. With compress its two buffer views are meshoptimizer streams in buffer 0 and the
// decoded data has a fallback buffer 1 of no bytes.
std::string glbOf(const std::vector<moVec3> &points, const std::vector<uint32_t> &indices, int mode,
                  bool compress = false) {
  std::vector<float> xyz;
  moVec3 hi{-1e30f, -1e30f, -1e30f}, lo{1e30f, 1e30f, 1e30f};
  for (const moVec3 &p : points) {
    xyz.insert(xyz.end(), {p.x, p.y, p.z});
    hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
  }
  std::string bin;
  json views = json::array();
  const auto addView = [&](size_t bytes, size_t stride, size_t count, const char *codec,
                           std::string encoded) {
    json view = {{"buffer", compress ? 1 : 0}, {"byteOffset", bin.size()}, {"byteLength", bytes}};
    if (compress) {
      view["byteOffset"] = 0;
      view["extensions"]["EXT_meshopt_compression"] = {
          {"buffer", 0},          {"byteOffset", bin.size()}, {"byteLength", encoded.size()},
          {"byteStride", stride}, {"count", count},           {"mode", codec}};
    }
    if (stride == 12)
      view["byteStride"] = 12;
    views.push_back(view);
    bin += encoded;
    bin.resize((bin.size() + 3) / 4 * 4);
  };
  addView(4 * xyz.size(), 12, points.size(), "ATTRIBUTES", encoded(xyz, 12, compress));
  if (!indices.empty())
    addView(4 * indices.size(), 4, indices.size(), "TRIANGLES", encoded(indices, 4, compress));
  json doc = {{"asset", {{"version", "2.0"}}},
              {"buffers", {{{"byteLength", bin.size()}}}},
              {"bufferViews", views},
              {"accessors",
               {{{"bufferView", 0},
                 {"componentType", 5126},
                 {"count", points.size()},
                 {"type", "VEC3"},
                 {"min", {lo.x, lo.y, lo.z}},
                 {"max", {hi.x, hi.y, hi.z}}}}},
              {"meshes", {{{"primitives", {{{"attributes", {{"POSITION", 0}}}, {"mode", mode}}}}}}},
              {"nodes", {{{"mesh", 0}}}}};
  if (compress) {
    doc["buffers"].push_back({{"byteLength", 4 * (xyz.size() + indices.size())},
                              {"extensions", {{"EXT_meshopt_compression", {{"fallback", true}}}}}});
    doc["extensionsUsed"] = doc["extensionsRequired"] = {"EXT_meshopt_compression"};
  }
  if (!indices.empty()) {
    doc["accessors"].push_back({{"bufferView", 1},
                                {"componentType", 5125},
                                {"count", indices.size()},
                                {"type", "SCALAR"}});
    doc["meshes"][0]["primitives"][0]["indices"] = 1;
  }
  return packGlb(doc.dump(), bin);
}

#if MORVO_HAVE_DRACO
// A binary file of one triangle list compressed as a Draco stream (positions kept exactly), its
// accessors without data as the extension has them.
std::string dracoGlbOf(const std::vector<moVec3> &points, const std::vector<uint32_t> &indices) {
  draco::TriangleSoupMeshBuilder builder;
  builder.Start(int(indices.size() / 3));
  const int position =
      builder.AddAttribute(draco::GeometryAttribute::POSITION, 3, draco::DT_FLOAT32);
  for (size_t t = 0; t < indices.size(); t += 3)
    builder.SetAttributeValuesForFace(position, draco::FaceIndex(uint32_t(t / 3)),
                                      &points[indices[t]].x, &points[indices[t + 1]].x,
                                      &points[indices[t + 2]].x);
  const std::unique_ptr<draco::Mesh> mesh = builder.Finalize();
  draco::Encoder encoder;
  draco::EncoderBuffer stream;
  EXPECT_TRUE(encoder.EncodeMeshToBuffer(*mesh, &stream).ok());
  std::string bin(stream.data(), stream.size());
  const size_t length = bin.size();
  bin.resize((bin.size() + 3) / 4 * 4);
  const json primitive = {
      {"attributes", {{"POSITION", 0}}},
      {"indices", 1},
      {"extensions",
       {{"KHR_draco_mesh_compression",
         {{"bufferView", 0},
          {"attributes", {{"POSITION", mesh->attribute(position)->unique_id()}}}}}}}};
  const json doc = {{"asset", {{"version", "2.0"}}},
                    {"extensionsUsed", {"KHR_draco_mesh_compression"}},
                    {"extensionsRequired", {"KHR_draco_mesh_compression"}},
                    {"buffers", {{{"byteLength", bin.size()}}}},
                    {"bufferViews", {{{"buffer", 0}, {"byteLength", length}}}},
                    {"accessors",
                     {{{"componentType", 5126}, {"count", mesh->num_points()}, {"type", "VEC3"}},
                      {{"componentType", 5125}, {"count", indices.size()}, {"type", "SCALAR"}}}},
                    {"meshes", {{{"primitives", {primitive}}}}},
                    {"nodes", {{{"mesh", 0}}}}};
  return packGlb(doc.dump(), bin);
}
#endif

// count vertices at (i, i * i, 0).
std::string glbOf(int count, const std::vector<uint32_t> &indices, int mode) {
  std::vector<moVec3> points;
  for (int i = 0; i < count; ++i)
    points.push_back({float(i), float(i * i), 0.0f});
  return glbOf(points, indices, mode);
}

// The triangles of the first body, as vertex numbers (x coordinates) in glTF's corner order.
std::vector<Triangle> trianglesRead(const std::string &bytes, std::string &messages) {
  std::ostringstream diag;
  GxPtr tree(readGltf(bytes, CompanionReader(), diag));
  messages = diag.str();
  std::vector<Triangle> triangles;
  const GxElement *body = nullptr;
  if (tree)
    for (const GxElement *child : tree->children())
      if (!body && child->typeName() == "body")
        body = child;
  if (!body)
    return triangles;
  std::vector<int> number;
  gxForEachVertexCoord(*body->findChild("vertices"),
                       [&](const GxElement *, const float *p) { number.push_back(int(p[0])); });
  static const char *const kList[] = {"vertex-indices"};
  gxForEachFace(*body->findChild("faces"), kList, 1, [&](const GxIndexSpan *span) {
    EXPECT_EQ(span[0].size, 3u);
    // The tree's corner lists run the other way round: (a, c, b) is glTF's (a, b, c).
    triangles.push_back({number[size_t(span[0].data[0])], number[size_t(span[0].data[2])],
                         number[size_t(span[0].data[1])]});
  });
  return triangles;
}

// The faces of obj as rings of corner positions, each turned to start at its least corner, in
// order: the same for objects that differ only in where each face's corner list starts (the
// index codec may turn triangles).
std::vector<std::vector<std::array<float, 3>>> faceRings(const moObject &obj) {
  std::vector<std::vector<std::array<float, 3>>> rings;
  std::vector<int32_t> corners;
  for (int32_t f = 0; f < obj.faces.count(); ++f) {
    obj.faceVertices(f, corners);
    std::vector<std::array<float, 3>> ring;
    for (const int32_t v : corners) {
      const moVec3 &p = obj.vertices[v].Coordinates;
      ring.push_back({p.x, p.y, p.z});
    }
    std::rotate(ring.begin(), std::min_element(ring.begin(), ring.end()), ring.end());
    rings.push_back(ring);
  }
  std::sort(rings.begin(), rings.end());
  return rings;
}

} // namespace

TEST(GltfPrimitives, StripsAndFansGiveTheTrianglesOfTheStandardOrder) {
  struct Case {
    const char *what;
    int count;
    std::vector<uint32_t> indices;
    int mode;
    std::vector<Triangle> expected;
  };
  const Case cases[] = {
      {"strip", 5, {}, 5, {{0, 1, 2}, {2, 1, 3}, {2, 3, 4}}},
      // Two strips joined by repeated corners: the joining triangles are dropped, and the
      // second strip keeps the turn of its place in the whole.
      {"joined strips",
       8,
       {0, 1, 2, 3, 3, 4, 4, 5, 6, 7},
       5,
       {{0, 1, 2}, {2, 1, 3}, {4, 5, 6}, {6, 5, 7}}},
      {"fan", 4, {}, 6, {{0, 1, 2}, {0, 2, 3}}},
      {"indexed fan", 5, {4, 0, 1, 1, 2}, 6, {{4, 0, 1}, {4, 1, 2}}},
      {"list", 6, {5, 4, 3, 0, 1, 2, 3}, 4, {{5, 4, 3}, {0, 1, 2}}},
  };
  for (const Case &c : cases) {
    std::string messages;
    EXPECT_EQ(trianglesRead(glbOf(c.count, c.indices, c.mode), messages), c.expected)
        << c.what << "\n"
        << messages;
  }
  // Too short to hold a triangle: nothing to show, and said so.
  std::string messages;
  EXPECT_TRUE(trianglesRead(glbOf(2, {}, 5), messages).empty());
  EXPECT_NE(messages.find("no triangle meshes"), std::string::npos) << messages;
  // Points and lines stay left out, and are named.
  EXPECT_TRUE(trianglesRead(glbOf(4, {}, 1), messages).empty());
  EXPECT_NE(messages.find("left out primitives drawn as points or lines"), std::string::npos)
      << messages;
}

// A closed sphere of triangles, its corners as glTF lists them.
std::vector<uint32_t> sphereIndices(const PolygonMesh &sphere) {
  std::vector<uint32_t> indices;
  for (const std::vector<int32_t> &face : sphere.faces)
    indices.insert(indices.end(), {uint32_t(face[0]), uint32_t(face[2]), uint32_t(face[1])});
  return indices;
}

TEST(GltfCompression, MeshoptCompressedFileImportsAsThePlainOne) {
  if (!meshoptDecodingAvailable())
    GTEST_SKIP() << "built without libmeshoptimizer: no EXT_meshopt_compression";
  const PolygonMesh sphere = sphereMesh(12, 7);
  const std::vector<uint32_t> indices = sphereIndices(sphere);
  const FormatRegistry registry;
  std::vector<const moObject *> imported;
  RecordingUi ui;
  Scene plain(ui), compressed(ui), damaged(ui);
  std::ostringstream diag;
  const std::string path = (std::filesystem::temp_directory_path() / "morvo_meshopt.glb").string();
  for (Scene *scene : {&plain, &compressed}) {
    const std::string bytes = glbOf(sphere.points, indices, 4, scene == &compressed);
    std::ofstream(path, std::ios::binary) << bytes;
    ASSERT_TRUE(importModel(*scene, registry, path, false, diag)) << diag.str();
    ASSERT_EQ(scene->objects.objectCount(), 1);
    // A stream cut short is refused in one line, the scene left alone.
    if (scene == &compressed) {
      std::string_view text, bin;
      std::string error;
      ASSERT_TRUE(unpackGlb(bytes, text, bin, error));
      json doc = json::parse(text);
      doc["bufferViews"][0]["extensions"]["EXT_meshopt_compression"]["byteLength"] = 16;
      std::ofstream(path, std::ios::binary) << packGlb(doc.dump(), std::string(bin));
      diag.str("");
      EXPECT_FALSE(importModel(damaged, registry, path, false, diag));
      EXPECT_EQ(damaged.objects.objectCount(), 0);
      EXPECT_NE(diag.str().find("bufferView 0: a compressed buffer view does not decode"),
                std::string::npos)
          << diag.str();
    }
  }
  std::filesystem::remove(path);
  EXPECT_EQ(plain.object(0)->faces.count(), int32_t(sphere.faces.size()));
  EXPECT_EQ(faceRings(*plain.object(0)), faceRings(*compressed.object(0)));
}

TEST(GltfCompression, DracoCompressedFileImportsAsThePlainOne) {
#if MORVO_HAVE_DRACO
  if (!dracoDecodingAvailable())
    GTEST_SKIP() << "built without libdraco: no KHR_draco_mesh_compression";
  const PolygonMesh sphere = sphereMesh(12, 7);
  const std::vector<uint32_t> indices = sphereIndices(sphere);
  const FormatRegistry registry;
  RecordingUi ui;
  Scene plain(ui), compressed(ui), damaged(ui);
  std::ostringstream diag;
  const std::string path = (std::filesystem::temp_directory_path() / "morvo_draco.glb").string();
  std::ofstream(path, std::ios::binary) << glbOf(sphere.points, indices, 4);
  ASSERT_TRUE(importModel(plain, registry, path, false, diag)) << diag.str();
  const std::string bytes = dracoGlbOf(sphere.points, indices);
  std::ofstream(path, std::ios::binary) << bytes;
  ASSERT_TRUE(importModel(compressed, registry, path, false, diag)) << diag.str();
  ASSERT_EQ(compressed.objects.objectCount(), 1);
  EXPECT_EQ(faceRings(*plain.object(0)), faceRings(*compressed.object(0)));
  // A stream cut short is refused in one line, the scene left alone.
  std::string_view text, bin;
  std::string error;
  ASSERT_TRUE(unpackGlb(bytes, text, bin, error));
  json doc = json::parse(text);
  doc["bufferViews"][0]["byteLength"] = 24;
  std::ofstream(path, std::ios::binary) << packGlb(doc.dump(), std::string(bin));
  diag.str("");
  EXPECT_FALSE(importModel(damaged, registry, path, false, diag));
  EXPECT_EQ(damaged.objects.objectCount(), 0);
  EXPECT_NE(diag.str().find("Draco stream"), std::string::npos) << diag.str();
  std::filesystem::remove(path);
#else
  GTEST_SKIP() << "built without libdraco: no KHR_draco_mesh_compression";
#endif
}
