// The VRML 2.0 writer on export trees, and the reader on hand-written files and bad input.
#include "core/face_triangulation.h"
#include "interchange/geo_to_gx.h"
#include "interchange/gx_build.h"
#include "interchange/gx_to_geo.h"
#include "interchange/vrml/vrml_format.h"
#include "layers/paint_layers.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sstream>

namespace {

struct ReadResult {
  GxPtr tree;
  std::string messages;
};

ReadResult read(const std::string &text) {
  std::ostringstream diag;
  GxPtr tree(readVrml(text, nullptr, diag));
  return {std::move(tree), diag.str()};
}

std::vector<const GxElement *> children(const GxElement &parent, const char *typeName) {
  std::vector<const GxElement *> out;
  for (const GxElement *child : parent.children())
    if (child->typeName() == typeName)
      out.push_back(child);
  return out;
}

std::vector<std::vector<int32_t>> faceLists(const GxElement &body, const char *name) {
  std::vector<std::vector<int32_t>> out;
  for (const GxElement *face : body.findChild("faces")->children()) {
    out.emplace_back();
    if (const GxElement *list = face->findChild(name))
      intValues(*list, out.back());
  }
  return out;
}

bool has(const std::string &text, const std::string &part) {
  return text.find(part) != std::string::npos;
}

class VrmlWriter : public testing::Test {
protected:
  moObject &add(const char *name) {
    auto obj = std::make_shared<moObject>(makeObject(cubeMesh()));
    obj->name = name;
    scene.objects.insert(obj);
    return *obj;
  }
  std::string write(GxPtr *keep = nullptr) {
    GeoToGx exporter(ExportOptions{false, false, false, false, false, kImagePng}, diag);
    GxPtr tree = exporter.convert(scene, true);
    std::string out;
    EXPECT_EQ(writeVrml(tree.get(), out, diag), 0);
    if (keep)
      *keep = std::move(tree);
    return out;
  }

  RecordingUi ui;
  Scene scene{ui};
  std::ostringstream diag;
};

TEST_F(VrmlWriter, PlainBodyLayoutAndReversedIndexLines) {
  add("my box").material.diffuse[0] = 0.5f;
  const std::string out = write();
  EXPECT_EQ(out.substr(0, 81), "#VRML V2.0 utf8\n\nDEF MocRoot Group {\n  children [ \r\n"
                               "    DEF my_box_grp Group { \r\n");
  EXPECT_TRUE(has(out, "\r\n      DEF my_box Shape { \r\n"
                       "          appearance DEF my_box_material Appearance { \r\n"
                       "            material Material { \r\n"
                       "              diffuseColor 0.5 1 1 \r\n"));
  EXPECT_TRUE(has(out, "              transparency 0\r\n            } \r\n          }\r\n"));
  // The cube's first face has corners 5 7 3 1 and colour items 1 to 4: written backwards.
  EXPECT_TRUE(has(out, "            colorIndex [ \r\n              4, 3, 2, 1, -1, \r\n"));
  EXPECT_TRUE(has(out, "            coordIndex [ \r\n              1, 3, 7, 5, -1, \r\n"));
  EXPECT_TRUE(has(out, "            coord DEF my_box_coord Coordinate { \r\n"
                       "              point [ \r\n                -1 -1 -1, \r\n"));
  EXPECT_FALSE(has(out, "texCoord"));
  EXPECT_TRUE(has(out, "      ,\r\n    ]\r\n  },\r\n  ]\r\n}\r\n"));
  std::string none;
  EXPECT_EQ(writeVrml(nullptr, none, diag), 2);
  EXPECT_TRUE(has(diag.str(), "Root node passed to vrmlWriter is NULL"));
}

TEST_F(VrmlWriter, SecondFacePartUsesTheDataNodesAndSingleIndexFacesShareALine) {
  add("box");
  GxPtr tree;
  write(&tree);
  GxElement *body = tree->findChildOfType("body");
  GxElement *parts = body->findChild("face-parts");
  parts->addChild(parts->childAt(0)->clone());
  GxElement *corners = body->findChild("faces")->childAt(0)->findChild("vertex-indices");
  while (corners->childCount() > 1)
    corners->childAt(0)->destroy();
  std::string out;
  writeVrml(tree.get(), out, diag);
  EXPECT_TRUE(has(out, "coord USE box_coord\r\n"));
  EXPECT_TRUE(has(out, "color USE box_color\r\n"));
  EXPECT_TRUE(has(out, "normal USE box_normal\r\n"));
  EXPECT_TRUE(has(out, "coordIndex [ \r\n              1,               0, 4, 6, 2, -1, \r\n"));
}

TEST_F(VrmlWriter, PaintedBodyWritesTextureCoordinatesInsteadOfColours) {
  moObject &obj = add("painted");
  triangulateFaces(obj, kTriangulateDelaunay);
  obj.paintLayer = makePaintLayer(PaintLayer::kPerCorner, 4, 4, obj.triangleVertices.count());
  const std::string out = write();
  EXPECT_TRUE(has(out, "texture ImageTexture { url [ \"painted.png\" ] } \r\n"));
  EXPECT_TRUE(has(out, "texCoordIndex [ \r\n              0, 1, 2, -1, \r\n"));
  EXPECT_TRUE(has(out, "texCoord DEF painted_texCoord TextureCoordinate { "));
  EXPECT_FALSE(has(out, "colorIndex"));
  EXPECT_FALSE(has(out, "Color {"));
}

TEST(VrmlNames, InvalidCharactersAndLeadingDigitsAreReplaced) {
  EXPECT_EQ(vrmlName("a.b#c d"), "a_b_c_d");
  EXPECT_EQ(vrmlName("3box"), "_3box");
  EXPECT_EQ(vrmlName("USE"), "_USE");
  EXPECT_EQ(vrmlName(""), "_");
  EXPECT_EQ(vrmlName("Box_1"), "Box_1");
}

const char *const kHeader = "#VRML V2.0 utf8\n";
const char *const kTetrahedron =
    "IndexedFaceSet { coord DEF P Coordinate { point [ 0 0 0, 1 0 0, 0 1 0, 0 0 1 ] }\n"
    "  coordIndex [ 0 1 2 -1 0 3 1 -1 0 2 3 -1 1 3 2 ] }";

TEST(VrmlReader, DefUseNestedTransformsCommentsAndOddWhitespace) {
  const std::string text =
      std::string(kHeader) + "# a comment\r\nDEF Outer Transform { translation 5 0 0 children [\n" +
      "\tTransform{children[DEF Tet Shape{appearance DEF Red Appearance{material Material{" +
      "diffuseColor 1 0 0 transparency 0.25}}geometry " + kTetrahedron + "}]}\n" +
      "  USE Tet,,,Shape { appearance USE Red geometry IndexedFaceSet { coord USE P " +
      "coordIndex [0,1,2,-1] } } ] }\nTransform { children USE Outer } # two instances\n";
  ReadResult r = read(text);
  ASSERT_TRUE(r.tree);
  EXPECT_EQ(children(*r.tree, "gobject").size(), 2u);
  const auto bodies = children(*r.tree, "body");
  ASSERT_EQ(bodies.size(), 2u) << r.messages; // Tet once though used twice; the unnamed shape
  EXPECT_EQ(bodies[0]->name(), "Tet");
  EXPECT_EQ(*stringMember(*bodies[0], "material"), "Red");
  EXPECT_EQ(faceLists(*bodies[0], "vertex-indices"),
            (std::vector<std::vector<int32_t>>{{2, 1, 0}, {1, 3, 0}, {3, 2, 0}, {2, 3, 1}}));
  EXPECT_EQ(bodies[0]->findChild("vertices")->childCount(), 4);
  ASSERT_EQ(children(*r.tree, "material").size(), 1u); // Red, though used twice
  const GxElement *material = r.tree->findChildOfType("material");
  EXPECT_EQ(material->name(), "Red");
  const GxElement *shading = material->findChild("GL_Shade");
  EXPECT_EQ(*floatValues(shading->findChild("DIFFUSE-COLOR")), (std::vector<float>{1, 0, 0}));
  EXPECT_EQ(static_cast<const GxFloatProperty *>(shading->findChild("OPACITY"))->value(), 0.75f);
  // Transforms are not applied: the imported object keeps the file's coordinates.
  std::ostringstream diag;
  GxToGeo converter(diag, nullptr);
  const std::vector<ObjectPtr> objects = converter.convert(*r.tree);
  ASSERT_GE(objects.size(), 1u) << diag.str();
  EXPECT_EQ(objects[0]->name, "Tet");
  EXPECT_EQ(objects[0]->vertices.count(), 4);
  float maxX = 0;
  for (int32_t v = 0; v < objects[0]->vertices.count(); ++v)
    maxX = std::max(maxX, objects[0]->vertices[v].Coordinates.x);
  EXPECT_EQ(maxX, 1.0f);
}

TEST(VrmlReader, ColourNormalAndTextureIndicesFollowTheirFields) {
  const std::string text =
      std::string(kHeader) +
      "DEF S Shape { geometry IndexedFaceSet { ccw FALSE colorPerVertex FALSE\n"
      "  coord Coordinate { point [ 0 0 0, 1 0 0, 0 1 0, 0 0 1 ] }\n"
      "  color Color { color [ 1 0 0, 0 1 0 ] } colorIndex [ 1 0 ]\n"
      "  normal Normal { vector [ 0 0 1 ] }\n"
      "  texCoord TextureCoordinate { point [ 0 0, 1 0, 0 1 ] } texCoordIndex [ 2 1 0 -1 0 1 2 ]\n"
      "  coordIndex [ 0 1 2 -1 0 3 1 ] } }";
  ReadResult r = read(text);
  const GxElement &body = *children(*r.tree, "body").at(0);
  using Lists = std::vector<std::vector<int32_t>>;
  EXPECT_EQ(faceLists(body, "vertex-indices"), (Lists{{0, 1, 2}, {0, 3, 1}})); // file order
  EXPECT_EQ(faceLists(body, "vertex-color-indices"), (Lists{{1, 1, 1}, {0, 0, 0}}));
  EXPECT_EQ(faceLists(body, "vertex-normal-indices"), (Lists{{0, 1, 2}, {0, 3, 1}}));
  EXPECT_EQ(faceLists(body, "uv-indices"), (Lists{{2, 1, 0}, {0, 1, 2}}));
  EXPECT_EQ(body.findChild("uv-array")->childCount(), 3);
  EXPECT_EQ(body.findChild("vertex-color")->childCount(), 2);
}

TEST(VrmlReader, UnnamedShapesGetDistinctGeneratedNames) {
  const std::string shape = "Shape { appearance Appearance {} geometry " +
                            std::string(kTetrahedron).replace(32, 7, "") + " }\n";
  ReadResult r = read(kHeader + shape + shape);
  const auto bodies = children(*r.tree, "body");
  ASSERT_EQ(bodies.size(), 2u) << r.messages;
  EXPECT_NE(bodies[0]->name(), bodies[1]->name());
  for (const GxElement *body : bodies) {
    EXPECT_EQ(body->name().str().rfind("Body_", 0), 0u) << body->name();
    EXPECT_EQ(*stringMember(*body, "material"), body->name().str() + "_Material");
  }
  for (const char *message : {"Blank BODY name in moShape", "Blank BODY name still in SUB geometry",
                              "Random name is Body_", "Blank APPEAR name in moShape"})
    EXPECT_TRUE(has(r.messages, message)) << message;
}

TEST(VrmlReader, ForeignNodesArePassedOverAndNothingIsFetchedOrRun) {
  const std::string text =
      std::string(kHeader) +
      "PROTO Thing [ field SFFloat size 1 ] { Sphere { radius IS size } }\n"
      "EXTERNPROTO Far [ field SFFloat a ] [ \"http://example.com/far.wrl#Far\" ]\n"
      "Thing { size 2 } Far { }\n"
      "DEF Clock TimeSensor { loop TRUE } DEF Act Script { url \"javascript: x();\"\n"
      "  field SFNode n Group {} eventIn SFTime go eventOut SFBool done }\n"
      "ROUTE Clock.time TO Act.go\n"
      "Inline { url \"http://example.com/other.wrl\" }\n"
      "Fancy { weird [ 1 2 { } ] } WorldInfo { title \"a \\\"quoted\\\" title\" odd 1 2 3 }\n"
      "DEF Kept Shape { geometry " +
      kTetrahedron + " }";
  ReadResult r = read(text);
  const auto bodies = children(*r.tree, "body");
  ASSERT_EQ(bodies.size(), 1u) << r.messages;
  EXPECT_EQ(bodies[0]->name(), "Kept");
  for (const char *message : {"Reference VRML Parser 2.0", "Skipped PROTO \"Thing\"",
                              "Skipped EXTERNPROTO \"Far\"", "Unknown class \"Thing\"",
                              "Unknown class \"Fancy\"", "Unknown field \"odd\"", "never fetched"})
    EXPECT_TRUE(has(r.messages, message)) << message << "\n" << r.messages;
}

// Each bad file: a message, and nothing of the file is converted, quickly.
TEST(VrmlReaderBadInput, BrokenFilesGiveAMessageAndNoBodies) {
  const std::string tet = "DEF T Shape { geometry " + std::string(kTetrahedron) + " }\n";
  std::string deep, chain;
  for (int i = 0; i < 100000; ++i)
    deep += "Group { children [ ";
  for (int i = 0; i < 100000; ++i)
    chain +=
        "DEF G" + std::to_string(i + 1) + " Group { children USE G" + std::to_string(i) + " }\n";
  const std::pair<std::string, const char *> cases[] = {
      {tet + "WorldInfo { title \"never closed }", "Unterminated string"},
      {tet + "Group { children [ Shape { } ", "Expected ']'; got EOF"},
      {tet + "Group { children [ ] ", "Expected '}'; got EOF"},
      {tet + deep, "nested more than 256 levels deep"},
      {tet + "DEF G0 Group {}\n" + chain, "nested more than 256 levels deep"},
      {tet + "Coordinate { point [ 1e999 0 0 ] }", "Couldn't read value 0 of field \"point\""},
      {tet + "IndexedFaceSet { coordIndex [ 0 1 99999999999 ] }", "Couldn't read value 2"},
      {tet + "Sphere { radius [ 1 ] }", "Couldn't read value for field \"radius\""},
      {tet + "DEF", "Premature end of file after DEF"},
      {tet + "Group { children [ USE ] }", "No name given after USE"},
      {"#VRML V1.0 ascii\nSeparator { }", "Not a VRML 2.0 file"},
  };
  for (const auto &[text, message] : cases) {
    const auto start = std::chrono::steady_clock::now();
    ReadResult r = read(text[0] == '#' ? text : kHeader + text);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << message;
    ASSERT_TRUE(r.tree) << message;
    EXPECT_EQ(r.tree->childCount(), 0) << message;
    EXPECT_TRUE(has(r.messages, message)) << message << "\n" << r.messages.substr(0, 500);
  }
}

TEST(VrmlReaderBadInput, UndefinedReferencesCyclesAndBadFacesAreSteppedOver) {
  std::string blowUp = "DEF A0 Shape { geometry " + std::string(kTetrahedron) + " }\n";
  for (int i = 1; i <= 60; ++i) // every level uses the one below twice: 2^60 paths
    blowUp += "DEF A" + std::to_string(i) + " Group { children [ USE A" + std::to_string(i - 1) +
              " USE A" + std::to_string(i - 1) + " ] }\n";
  const std::string text = std::string(kHeader) +
                           "DEF Loop Group { children [ USE Loop USE Nobody ] }\n"
                           "Shape { geometry IndexedFaceSet { coord Coordinate { point [ 0 0 0 ] }"
                           " coordIndex [ 0 0 7 -1 0 -5 0 ] solid MAYBE } }\n" +
                           blowUp;
  ReadResult r = read(text);
  for (const char *message : {"Unknown reference \"Loop\"", "Unknown reference \"Nobody\"",
                              "2 faces of Body_", "Unknown value (\"MAYBE\") for moSFBool"})
    EXPECT_TRUE(has(r.messages, message)) << message << "\n" << r.messages;
  EXPECT_EQ(children(*r.tree, "body").size(), 2u); // the shape of the blow-up converted once
  EXPECT_EQ(children(*r.tree, "gobject").size(), 63u);
}

} // namespace
