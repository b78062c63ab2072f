#include "interchange/gx_packed.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string dump(const GxElement &e) {
  std::ostringstream out;
  e.writeText(out, 1);
  return out.str();
}

// A body holding each kind of bulk list, packed.
GxPtr packedBody() {
  GxPtr b(new GxNode("body", "b", true, false));
  auto *vertices = new GxVec3List("vertex", "vertices", GxVec3List::kVertexItems);
  vertices->push(1, 2, 3);
  vertices->push(4, 5, 6);
  b->addChild(vertices);
  auto *normals = new GxVec3List("vec3f", "normals", GxVec3List::kLeaves);
  normals->push(0, 0, 1);
  b->addChild(normals);
  auto *uvs = new GxUvList("uv-array", "");
  uvs->push(0.25f, 0.75f);
  b->addChild(uvs);
  auto *faces = new GxFaceList({"vertex-indices", "uv-indices"});
  const int32_t textured[] = {0, 1, 1, 5, 6, 7};
  faces->push(textured, 3, 3);
  faces->start(2, 1);
  faces->add(8);
  faces->add(9);
  b->addChild(faces);
  return b;
}

// The same body built from one element per item.
GxPtr referenceBody() {
  GxPtr b(new GxNode("body", "b", true, false));
  GxNode *vertices = addNode(*b, "vertex", "vertices", true);
  addVec3(*addNode(*vertices, "vertex", ""), "coord", 1, 2, 3);
  addVec3(*addNode(*vertices, "vertex", ""), "coord", 4, 5, 6);
  addVec3(*addNode(*b, "vec3f", "normals", true), "", 0, 0, 1);
  GxNode *pair = addNode(*addNode(*addNode(*b, "uv-array", "uv-array", true), "uv-array", ""),
                         "float", "uv", true);
  addFloat(*pair, "", 0.25f);
  addFloat(*pair, "", 0.75f);
  GxNode *faces = addNode(*b, "face", "faces", true);
  const std::vector<std::vector<std::pair<const char *, std::vector<int32_t>>>> lists = {
      {{"vertex-indices", {0, 1, 1}}, {"uv-indices", {5, 6, 7}}}, {{"vertex-indices", {8, 9}}}};
  for (const auto &face : lists) {
    GxNode *item = addNode(*faces, "face", "");
    for (const auto &[name, values] : face) {
      GxNode *list = addNode(*item, "integer", name, true);
      for (int32_t v : values)
        addInt(*list, "", v);
    }
  }
  return b;
}

TEST(GxPackedLists, ReadLikeTheElementsTheyStandFor) {
  GxPtr packed = packedBody();
  GxPtr reference = referenceBody();
  // Counts are known before any item element exists.
  for (const char *name : {"vertices", "normals", "uv-array", "faces"})
    EXPECT_EQ(packed->findChild(name)->childCount(), reference->findChild(name)->childCount())
        << name;
  EXPECT_NE(dynamic_cast<const GxFaceList *>(packed->findChild("faces"))->list(0, 1), nullptr);
  EXPECT_EQ(dynamic_cast<const GxFaceList *>(packed->findChild("faces"))->list(1, 1), nullptr);
  EXPECT_EQ(dump(*packed), dump(*reference));
  // Asking for the children made them; the lists are ordinary containers now.
  const GxElement *faces = packed->findChild("faces");
  EXPECT_FALSE(dynamic_cast<const GxFaceList *>(faces)->pending());
  const GxElement *uvs = faces->childAt(0)->findChild("uv-indices");
  ASSERT_NE(uvs, nullptr);
  EXPECT_EQ(uvs->parents().front(), faces->childAt(0));
  std::vector<int32_t> values;
  intValues(*uvs, values);
  EXPECT_EQ(values, (std::vector<int32_t>{5, 6, 7}));
}

TEST(GxPackedLists, AccessorsReadEitherForm) {
  for (bool expand : {false, true}) {
    GxPtr b = packedBody();
    if (expand)
      dump(*b);
    float xyz[3] = {};
    EXPECT_TRUE(gxLeafVec3At(*b->findChild("normals"), 0, xyz)) << expand;
    EXPECT_EQ(xyz[2], 1.0f);
    EXPECT_FALSE(gxLeafVec3At(*b->findChild("normals"), 1, xyz)) << expand;
    EXPECT_FALSE(gxLeafVec3At(*b->findChild("vertices"), 0, xyz)) << "vertex items are no leaves";
    float u = 0, v = 0;
    EXPECT_TRUE(gxUvAt(*b->findChild("uv-array"), 0, u, v));
    EXPECT_EQ(v, 0.75f);
    EXPECT_FALSE(gxUvAt(*b->findChild("uv-array"), -1, u, v));
    std::vector<float> xs;
    gxForEachVertexCoord(*b->findChild("vertices"), [&](const GxElement *, const float *p) {
      xs.push_back(p ? p[0] : -1.0f);
    });
    EXPECT_EQ(xs, (std::vector<float>{1, 4}));
    const char *const names[] = {"uv-indices", "vertex-color-indices", "vertex-indices"};
    std::vector<std::string> seen;
    gxForEachFace(*b->findChild("faces"), names, 3, [&](const GxIndexSpan *spans) {
      std::string text;
      for (int k = 0; k < 3; ++k) {
        text += spans[k].present ? "[" : "-";
        for (size_t i = 0; i < spans[k].size; ++i)
          text += std::to_string(spans[k].data[i]);
      }
      seen.push_back(text);
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"[567-[011", "--[89"})) << expand;
  }
}

TEST(GxPackedLists, AddingRemovingAndCloningWorkOnTheItems) {
  GxPtr b = packedBody();
  GxElement *faces = b->findChild("faces");
  GxNode *extra = new GxNode("face");
  EXPECT_TRUE(faces->addChild(extra));
  ASSERT_EQ(faces->childCount(), 3);
  EXPECT_EQ(faces->childAt(2), extra);
  GxPtr copy(b->clone());
  EXPECT_EQ(dump(*copy), dump(*b));
  GxElement *first = faces->childAt(0);
  EXPECT_TRUE(faces->removeChild(first));
  first->destroy();
  EXPECT_EQ(faces->childCount(), 2);
  auto *ints = new GxIntList("face-indices");
  ints->push(4);
  GxPtr holder(new GxNode());
  holder->addChild(ints);
  GxElement *leaf = new GxIntProperty("integer", "", 5);
  ints->addChild(leaf);
  std::vector<int32_t> values;
  intValues(*ints, values);
  EXPECT_EQ(values, (std::vector<int32_t>{4, 5}));
}

} // namespace
