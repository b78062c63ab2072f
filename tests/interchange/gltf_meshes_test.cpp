// glTF meshes as third-party exporters write them: triangle strips and fans, read from
// hand-built binary files whose vertices are numbered by their x coordinate.
#include "interchange/gltf/gltf_container.h"
#include "interchange/gltf/gltf_format.h"
#include "interchange/gx_packed.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <array>
#include <cstring>
#include <sstream>

using json = nlohmann::json;

namespace {

using Triangle = std::array<int, 3>;

template <class T> void append(std::string &bin, const std::vector<T> &values) {
  const size_t at = bin.size();
  bin.resize(at + values.size() * sizeof(T));
  std::memcpy(&bin[at], values.data(), values.size() * sizeof(T));
  bin.resize((bin.size() + 3) / 4 * 4);
}

// A binary file of one primitive of the given mode over `count` vertices at (i, i * i, 0),
// indexed when indices is not empty.
std::string glbOf(int count, const std::vector<uint16_t> &indices, int mode) {
  std::vector<float> xyz;
  for (int i = 0; i < count; ++i)
    xyz.insert(xyz.end(), {float(i), float(i * i), 0.0f});
  std::string bin;
  append(bin, xyz);
  const size_t positionBytes = bin.size();
  append(bin, indices);
  json doc = {{"asset", {{"version", "2.0"}}},
              {"buffers", {{{"byteLength", bin.size()}}}},
              {"bufferViews", {{{"buffer", 0}, {"byteLength", positionBytes}}}},
              {"accessors",
               {{{"bufferView", 0},
                 {"componentType", 5126},
                 {"count", count},
                 {"type", "VEC3"},
                 {"min", {0, 0, 0}},
                 {"max", {count - 1, (count - 1) * (count - 1), 0}}}}},
              {"meshes", {{{"primitives", {{{"attributes", {{"POSITION", 0}}}, {"mode", mode}}}}}}},
              {"nodes", {{{"mesh", 0}}}}};
  if (!indices.empty()) {
    doc["bufferViews"].push_back(
        {{"buffer", 0}, {"byteOffset", positionBytes}, {"byteLength", 2 * indices.size()}});
    doc["accessors"].push_back({{"bufferView", 1},
                                {"componentType", 5123},
                                {"count", indices.size()},
                                {"type", "SCALAR"}});
    doc["meshes"][0]["primitives"][0]["indices"] = 1;
  }
  return packGlb(doc.dump(), bin);
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

} // namespace

TEST(GltfPrimitives, StripsAndFansGiveTheTrianglesOfTheStandardOrder) {
  struct Case {
    const char *what;
    int count;
    std::vector<uint16_t> indices;
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
