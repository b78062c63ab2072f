// DirectX: the writer's text, the reader's text and binary forms, and damaged files.
#include "interchange/format_registry.h"
#include "interchange/gx_build.h"
#include "interchange/x/x_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>

namespace {

// A quadrilateral body as the export converter gives it in per-corner face mode.
GxPtr quadTree(bool textured) {
  GxPtr root(makeGxRoot());
  GxNode *material = addNode(*root, "material", "quad_material");
  GxNode *shading = addNode(*material, "GL_Shade-domain", "GL_Shade");
  addVec3(*shading, "DIFFUSE-COLOR", 0.8f, 0.5f, 0.2f);
  addFloat(*shading, "OPACITY", 1.0f);
  if (textured)
    addString(*addNode(*shading, "map", "TEXTURE-MAP"), "name", "quad.png");
  GxNode *body = addNode(*root, "body", "quad");
  GxNode *vertices = addNode(*body, "vertex", "vertices", true);
  for (float z : {1.0f, 2.0f, 3.0f, 4.0f})
    addVec3(*addNode(*vertices, "vertex", ""), "coord", 0.0f, 0.0f, z);
  addString(*body, "material", "quad_material");
  GxNode *faces = addNode(*body, "face", "faces", true);
  GxNode *indices = addNode(*addNode(*faces, "face", ""), "integer", "vertex-indices", true);
  GxNode *colors = addNode(*body, "vec3f", "vertex-color", true);
  for (int i = 0; i < 5; ++i) { // colour item 0 is the object's colour
    if (i < 4)
      addInt(*indices, "", i);
    addVec3(*colors, "", 1.0f, 1.0f, 1.0f);
  }
  GxNode *part = addNode(*addNode(*body, "face-part", "face-parts", true), "face-part", "");
  addString(*part, "material", "quad_material");
  addInt(*addNode(*part, "integer", "face-indices", true), "", 0);
  return root;
}

std::string writeText(const GxElement &tree) {
  WrittenModel out;
  std::ostringstream diag;
  EXPECT_EQ(writeX(&tree, "quad.x", out, diag), 0);
  return out.main;
}

GxPtr read(std::string_view bytes, std::ostream &diag) {
  return GxPtr(readX(bytes, CompanionReader(), diag));
}

// Binary tokens for hand-made files.
struct BinaryX {
  std::string bytes = "xof 0302bin 0032";
  BinaryX &token(uint16_t code) {
    bytes += char(code & 0xff);
    bytes += char(code >> 8);
    return *this;
  }
  BinaryX &word(uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
      bytes += char((value >> shift) & 0xff);
    return *this;
  }
  BinaryX &name(const std::string &text) { return token(1).word(uint32_t(text.size())), add(text); }
  BinaryX &ints(std::initializer_list<uint32_t> values) {
    token(6).word(uint32_t(values.size()));
    for (uint32_t v : values)
      word(v);
    return *this;
  }
  BinaryX &floats(std::initializer_list<float> values) {
    token(7).word(uint32_t(values.size()));
    for (float v : values) {
      uint32_t bits;
      std::memcpy(&bits, &v, 4);
      word(bits);
    }
    return *this;
  }
  BinaryX &add(const std::string &raw) {
    bytes += raw;
    return *this;
  }
};

std::string binaryTriangle() {
  BinaryX x;
  x.name("Mesh").name("tri").token(0x0a).ints({3}).floats({0, 0, 0, 1, 0, 0, 0, 1, 0});
  x.ints({1, 3, 0, 1, 2}).name("MeshTextureCoords").token(0x0a).ints({3});
  x.floats({0, 0, 1, 0, 0, 0.25f}).token(0x0b).token(0x0b);
  return x.bytes;
}

const char *const kTextTriangle = "xof 0302txt 0064\n"
                                  "Mesh tri {\n 3;\n 0.0;0.0;0.0;,\n 1.0;0.0;0.0;,\n"
                                  " 0.0;1.0;0.0;;\n 1;\n 3;0,1,2;;\n"
                                  " MeshTextureCoords { 3; 0.0;0.0;, 1.0;0.0;, 0.0;0.25;; }\n"
                                  "}\n";

TEST(XWriter, QuadWithMaterialListAndVertexColours) {
  const std::string text = writeText(*quadTree(false));
  EXPECT_EQ(text.rfind("xof 0302txt 0064\r\nHeader {\r\n 1;\r\n 0;\r\n 1;\r\n }\r\n", 0), 0u);
  EXPECT_NE(text.find("Material quad_material {\r\n0.800000;0.500000;0.200000;1.000000;;\r\n"
                      "0.000000;\r\n0.000000;0.000000;0.000000;;\r\n"
                      "0.000000;0.000000;0.000000;;\r\n\r\n}\r\n"),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Mesh quad {\r\n4;\r\n0.000000;0.000000;1.000000;,\r\n"), std::string::npos);
  EXPECT_NE(text.find("1;\r\n4;0,1,2,3;;\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("MeshMaterialList {\r\n1;\r\n1;\r\n0;;\r\n{quad_material}\r\n}\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("MeshVertexColors {\r\n4;\r\n0;1.000000;1.000000;1.000000;1.0;,\r\n"),
            std::string::npos);
  EXPECT_NE(text.find("3;1.000000;1.000000;1.000000;1.0;;\r\n;\r\n}\r\n}\r\n"), std::string::npos);
}

TEST(XWriter, ATexturedMaterialNegatesEveryZ) {
  const std::string text = writeText(*quadTree(true));
  EXPECT_NE(text.find("TextureFilename { \"quad.png\"; }\r\n}"), std::string::npos) << text;
  EXPECT_NE(text.find("0.000000;0.000000;-4.000000;;"), std::string::npos) << text;
  std::ostringstream diag;
  WrittenModel out;
  EXPECT_EQ(writeX(nullptr, "x.x", out, diag), 2);
}

TEST(XReader, TextAndBinaryFormsGiveTheSameBody) {
  for (const std::string &bytes : {std::string(kTextTriangle), binaryTriangle()}) {
    std::ostringstream diag;
    GxPtr tree = read(bytes, diag);
    ASSERT_TRUE(tree) << diag.str();
    const GxElement *body = tree->findChild("tri");
    ASSERT_TRUE(body);
    EXPECT_EQ(body->findChild("vertices")->childCount(), 3);
    const GxElement *face = body->findChild("faces")->childAt(0);
    std::vector<int32_t> corners, uvs;
    intValues(*face->findChild("vertex-indices"), corners);
    intValues(*face->findChild("uv-indices"), uvs);
    EXPECT_EQ(corners, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(uvs, corners);
    float u = 0, v = 0;
    ASSERT_TRUE(uvOf(*body->findChild("uv-array")->childAt(2), u, v));
    EXPECT_FLOAT_EQ(v, 0.75f); // the file counts v downwards, as the writer writes it
  }
}

TEST(XReader, FramesTemplatesAndMaterialReferences) {
  const char *text = "xof 0303txt 0032\n"
                     "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD n; [...] }\n"
                     "Material Red { 1.0;0.0;0.0;0.5;; 8.0; 1.0;1.0;1.0;; 0.0;0.0;0.0;;\n"
                     "  TextureFilename { \"red{1}.png\"; } }\n"
                     "Frame Outer { FrameTransformMatrix { 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,"
                     "0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;; }\n"
                     " Frame Inner { Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
                     "  MeshVertexColors { 1; 2;0.0;1.0;0.0;1.0;;; }\n"
                     "  MeshMaterialList { 1; 1; 0;; { Red } } } } }\n";
  std::ostringstream diag;
  GxPtr tree = read(text, diag);
  ASSERT_TRUE(tree) << diag.str();
  const GxElement *body = tree->findChild("untitled");
  ASSERT_TRUE(body);
  EXPECT_EQ(stringMember(*body, "material")->str(), "Red");
  const GxElement *colors = body->findChild("vertex-color");
  ASSERT_EQ(colors->childCount(), 3); // one per vertex, white where the file gives none
  EXPECT_EQ(*floatValues(colors->childAt(2)), (std::vector<float>{0, 1, 0}));
  EXPECT_EQ(*floatValues(colors->childAt(0)), (std::vector<float>{1, 1, 1}));
  const GxElement *shading = tree->findChild("Red")->findChild("GL_Shade");
  EXPECT_EQ(stringMember(*shading->findChild("TEXTURE-MAP"), "name")->str(), "red{1}.png");
  EXPECT_FLOAT_EQ(static_cast<const GxFloatProperty *>(shading->findChild("OPACITY"))->value(),
                  0.5f);
}

TEST(XReader, DamagedFilesAreRefusedWithTheirReason) {
  const std::string mesh = "xof 0302txt 0064\nMesh m { 3; 0;0;0;, 1;0;0;, 0;1;0;; ";
  const std::pair<std::string, const char *> cases[] = {
      {"xof 0302com 0032 compressed...", "compressed files are not supported"},
      {"xof 0302zip 0032", "unknown format"},
      {"xof 030", "does not start with"},
      {mesh + "1; 3;0,1,3;; }", "a face index out of range"},
      {mesh + "2; 3;0,1,2;; }", "expected the number of face corners"},
      {mesh + "1; 3;0,1,2;; MeshVertexColors { 1; 3;1;1;1;1;; } }", "does not exist"},
      {mesh + "1; 3;0,1,2;; MeshMaterialList { 1; 1; 1;; } }", "face material"},
      {mesh + "1; 3;0,1,2;;", "ends inside a Mesh"},
      {"xof 0302txt 0064\nMesh { 4000000000; 0;0;0;; }", "too many elements"},
      {"xof 0302txt 0064\n" + std::string(200, '{'), "expected a data object"},
      {"xof 0302txt 0064\n" +
           [] {
             std::string s;
             for (int i = 0; i < 100; ++i)
               s += "Frame {";
             return s;
           }(),
       "nested too deeply"},
      {BinaryX().name("Mesh").token(0x0a).ints({3}).add("\x07\x00\xff\xff").bytes,
       "expected a number in a vertex"},
      {BinaryX().name("Mesh").token(0x0a).token(6).word(1000).word(3).bytes,
       "expected the number of vertices"},
      {binaryTriangle().substr(0, 40), "the number of vertices"},
  };
  for (const auto &[bytes, reason] : cases) {
    std::ostringstream diag;
    EXPECT_FALSE(read(bytes, diag)) << reason;
    EXPECT_NE(diag.str().find(reason), std::string::npos) << diag.str();
  }
}

// Every prefix of a one-object file that ends inside that object must be refused;
// each is copied into a buffer of its own size so that a read past it is caught.
TEST(XReader, EveryPrefixOfAFileIsRefused) {
  const std::string text = kTextTriangle, binary = binaryTriangle();
  // Up to the brace that closes the Mesh: the last character of the text, the last token.
  const std::pair<const std::string &, size_t> files[] = {{text, text.rfind('}')},
                                                          {binary, binary.size() - 2}};
  for (const auto &[file, end] : files) {
    for (size_t n = 0; n < end; ++n) {
      if (n >= 16 && n <= file.find("Mesh"))
        continue; // a header alone is an empty file
      std::unique_ptr<char[]> copy(new char[n]);
      std::memcpy(copy.get(), file.data(), n);
      std::ostringstream diag;
      EXPECT_FALSE(read(std::string_view(copy.get(), n), diag)) << n;
      EXPECT_FALSE(diag.str().empty()) << n;
    }
  }
}

} // namespace
