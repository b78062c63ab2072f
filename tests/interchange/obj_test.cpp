#include "interchange/gx_build.h"
#include "interchange/gx_to_geo.h"
#include "interchange/obj/obj_format.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

struct ReadResult {
  GxPtr tree;
  std::string messages;
};

ReadResult read(const std::string &text, std::map<std::string, std::string> files = {}) {
  std::ostringstream diag;
  const CompanionReader companions = [files](const std::string &name, std::string &bytes) {
    const auto found = files.find(name);
    if (found == files.end())
      return false;
    bytes = found->second;
    return true;
  };
  GxPtr tree(readObj(text, companions, diag));
  return {std::move(tree), diag.str()};
}

std::vector<const GxElement *> bodies(const GxElement &root) {
  std::vector<const GxElement *> out;
  for (const GxElement *child : root.children())
    if (child->typeName() == "body")
      out.push_back(child);
  return out;
}

// The index lists of a body's faces, each as a vector.
std::vector<std::vector<int32_t>> faceLists(const GxElement &body, const char *name) {
  std::vector<std::vector<int32_t>> out;
  for (const GxElement *face : body.findChild("faces")->children()) {
    out.emplace_back();
    if (const GxElement *list = face->findChild(name))
      intValues(*list, out.back());
  }
  return out;
}

// The positions the vertex items of a body's first face stand for, in tree order.
std::vector<float> firstFaceX(const GxElement &body) {
  std::vector<float> xs;
  const GxElement *vertices = body.findChild("vertices");
  const std::vector<std::vector<int32_t>> faces = faceLists(body, "vertex-indices");
  for (int32_t item : faces.front())
    xs.push_back((*floatValues(vertices->childAt(item)->findChild("coord")))[0]);
  return xs;
}

std::vector<ObjectPtr> import(const std::string &text, std::string *messages = nullptr) {
  ReadResult r = read(text);
  std::ostringstream diag;
  GxToGeo converter(diag, nullptr);
  std::vector<ObjectPtr> objects = converter.convert(*r.tree);
  if (messages)
    *messages = r.messages + diag.str();
  return objects;
}

const char *const kFourPoints = "v 0 0 0\nv 1 0 0\nv 2 1 0\nv 3 0 1\n";
const char *const kTetrahedron = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n"
                                 "f 1 3 2\nf 1 2 4\nf 1 4 3\nf 2 3 4\n";

TEST(ObjReader, FaceCornersBecomeIndicesInReverseOrder) {
  ReadResult r = read(std::string(kFourPoints) + "f 1 2 3\nf -1 -2 -3\n");
  const auto list = bodies(*r.tree);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0]->name(), "default_name");
  EXPECT_EQ(*stringMember(*list[0], "material"), "");
  EXPECT_EQ(faceLists(*list[0], "vertex-indices")[0], (std::vector<int32_t>{0, 1, 2}));
  EXPECT_EQ(firstFaceX(*list[0]), (std::vector<float>{2, 1, 0})); // corners 3, 2, 1
  // -1 -2 -3 names positions 3, 2, 1: written as corners 1, 2, 3 of the face, reversed.
  const std::vector<int32_t> second = faceLists(*list[0], "vertex-indices")[1];
  const GxElement *vertices = list[0]->findChild("vertices");
  std::vector<float> xs;
  for (int32_t item : second)
    xs.push_back((*floatValues(vertices->childAt(item)->findChild("coord")))[0]);
  EXPECT_EQ(xs, (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(vertices->childCount(), 4); // a position used twice has one item per body
  EXPECT_TRUE(r.messages.empty()) << r.messages;
}

TEST(ObjReader, TextureCoordinatesGiveUvIndicesAndNormalsAreIgnored) {
  ReadResult r =
      read(std::string(kFourPoints) +
           "vt 0 0\nvt 1 0\nvt 0.5 1\nvn 0 0 1\nf 1/1/1 2/2/1 3/3/1\nf 1//1 3//1 4//1\n");
  const GxElement &body = *bodies(*r.tree)[0];
  EXPECT_EQ(faceLists(body, "uv-indices")[0], (std::vector<int32_t>{0, 1, 2}));
  EXPECT_TRUE(faceLists(body, "uv-indices")[1].empty());
  float u = -1, v = -1;
  ASSERT_TRUE(uvOf(*body.findChild("uv-array")->childAt(0), u, v));
  EXPECT_EQ(u, 0.5f); // the last corner's coordinate comes first
  EXPECT_EQ(v, 1.0f);
  EXPECT_EQ(body.findChild("normals"), nullptr);
  EXPECT_TRUE(r.messages.empty()) << r.messages;
}

TEST(ObjReader, GroupsAndMaterialsSplitBodies) {
  ReadResult r = read(std::string(kFourPoints) +
                      "g a\nf 1 2 3\nusemtl red\nf 1 2 4\ng b\nf 2 3 4\ng b\nf 1 3 4\n"
                      "usemtl red\nf 1 2 3\no c\nusemtl\nf 1 2 3\n");
  const auto list = bodies(*r.tree);
  ASSERT_EQ(list.size(), 5u);
  const char *names[] = {"a", "a", "b", "b", "c"};
  const char *materials[] = {"", "red", "red", "red", ""};
  for (size_t i = 0; i < list.size(); ++i) {
    EXPECT_EQ(list[i]->name(), names[i]);
    EXPECT_EQ(*stringMember(*list[i], "material"), materials[i]);
  }
  EXPECT_EQ(faceLists(*list[2], "vertex-indices").size(), 2u); // "g b" again: the same body
}

TEST(ObjReader, RealWorldTextHabits) {
  const std::string text = "# comment\r\nv 0 0 0\r\nv 1 0 0 \t\r\n  v\t0 1 0\r\nv 0 0 1 # tip\r\n"
                           "\r\nf 1 3 \\\r\n 2\r\ns off\r\nf 1 2 4\r\nf 1 4 3\r\nf 2 3 4";
  std::string messages;
  const auto objects = import(text, &messages);
  ASSERT_EQ(objects.size(), 1u) << messages;
  EXPECT_EQ(objects[0]->vertices.count(), 4);
  EXPECT_EQ(objects[0]->faces.count(), 4);
}

// Lines are numbered as editors number them: from 1, with a line joined by "\\" and the lines
// read past without the lexer counted alike.
TEST(ObjReader, BadLinesAreReportedWithTheirLineAndReadingGoesOn) {
  ReadResult r = read("v 1 2 3 4\nv 1 x 3\nvn 1 2\n7 up\nv nan 0 0\nv 1e39 0 0\n"
                      "v 0 0 0\nf 1 \\\n 1 1\n# note\nv y\n");
  EXPECT_NE(r.messages.find("Error: unexpected token in line 1 ."), std::string::npos);
  EXPECT_NE(r.messages.find("Error: float or int value expected for vertex in line 2 ."),
            std::string::npos);
  EXPECT_NE(r.messages.find("Error: float value expected for vertex normal in line 3 ."),
            std::string::npos);
  EXPECT_NE(r.messages.find("Error: unexpected token in line 4."), std::string::npos);
  EXPECT_NE(r.messages.find("vertex in line 5 ."), std::string::npos);
  EXPECT_NE(r.messages.find("vertex in line 6 ."), std::string::npos);
  EXPECT_NE(r.messages.find("vertex in line 11 ."), std::string::npos) << r.messages;
}

TEST(ObjReader, FacesNamingNothingUsableAreLeftOutAndTheRestImports) {
  std::string messages;
  const auto objects = import(std::string(kTetrahedron) +
                                  "f 1 2 9\nf 0 1 2\nf 1/7 2/1 3/1\nf -5 1 2\nv nan 1 1\nf 5 1 2\n"
                                  "f 1 2\nf 1 1 1\n",
                              &messages);
  ASSERT_EQ(objects.size(), 1u);
  EXPECT_EQ(objects[0]->faces.count(), 4);
  size_t reports = 0;
  for (size_t at = messages.find("does not exist"); at != std::string::npos;
       at = messages.find("does not exist", at + 1))
    ++reports;
  EXPECT_EQ(reports, 5u) << messages;
}

TEST(ObjReader, GarbageGivesNoBodies) {
  std::string garbage(5000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = char((i * 7919) % 251);
  ReadResult r = read(garbage + std::string(100000, 'x') + "\nf 1 2 3\n");
  ASSERT_TRUE(r.tree);
  EXPECT_TRUE(bodies(*r.tree).empty());
  EXPECT_FALSE(sniffObj(garbage));
  EXPECT_TRUE(sniffObj(kTetrahedron));
}

TEST(ObjReader, MaterialLibrariesAreReadThroughTheCompanionReader) {
  const std::string mtl = "newmtl red\nKa 1 1 1\nKd 1 0 0\nNi 1.5\nd 1\nKs 0.5 0.5 0.5\n"
                          "map_Kd -s 1 1 1 red.png\nillum 2\nKd 1 1 1 junk\n7 up\n";
  ReadResult r =
      read(std::string("mtllib lib.mtl gone.mtl\nusemtl red\n") + kTetrahedron, {{"lib.mtl", mtl}});
  EXPECT_NE(r.messages.find("Error opening file gone.mtl"), std::string::npos);
  EXPECT_NE(r.messages.find("Error: unexpected token in line 10 of lib.mtl."), std::string::npos)
      << r.messages;
  const GxElement *material = r.tree->findChildOfType("material");
  ASSERT_NE(material, nullptr);
  EXPECT_EQ(material->name(), "red");
  const GxElement *shading = material->findChild("GL_Shade");
  EXPECT_EQ(*floatValues(shading->findChild("DIFFUSE-COLOR")), (std::vector<float>{1, 0, 0}));
  EXPECT_EQ(*floatValues(shading->findChild("SPECULAR-COLOR")),
            (std::vector<float>{0.5f, 0.5f, 0.5f}));
  EXPECT_EQ(*stringMember(*shading->findChild("TEXTURE-MAP"), "name"), "red.png");
  ReadResult early = read("mtllib a.mtl\n", {{"a.mtl", "Kd 1 1 1\nnewmtl m\n"}});
  EXPECT_NE(early.messages.find("Kd before newmtl in line 1 of a.mtl ."), std::string::npos);
}

} // namespace
