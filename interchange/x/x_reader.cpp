#include "interchange/gx_build.h"
#include "interchange/x/x_format.h"
#include "interchange/x/x_tokens.h"

#include <array>
#include <new>
#include <strings.h>

namespace {

// Frames nested deeper than this are refused: each level is a frame of the reader's stack.
constexpr int kMaxDepth = 64;
// Faces larger than this are refused: the import's corner search grows with a face's size.
constexpr uint32_t kMaxFaceCorners = 4096;
// Vertices, corners, texture coordinates and colours a file may hold in all: each costs a few
// tree elements, and this keeps the tree within memory whatever a count claims.
constexpr int64_t kMaxItems = int64_t(1) << 22;

// Thrown where the file turns out to be damaged and caught once, in run().
struct XDamage {
  std::string what;
};

class XReader {
public:
  XReader(std::string_view bytes, std::ostream &diag) : bytes_(bytes), diag_(diag) {}
  GxElement *run();

private:
  [[noreturn]] void fail(const std::string &what) { throw XDamage{what}; }
  bool is(const char *templateName) const {
    return strcasecmp(tokens_->name().c_str(), templateName) == 0;
  }
  uint32_t count(const char *what, int64_t itemsEach);
  float real(const char *what);
  // Reads the optional name and the opening brace of a data object.
  void open(std::string &name);
  void skipObject();
  void objects(int depth);
  void mesh();
  void meshVertices(GxElement &body);
  void meshFaces(GxElement &body);
  void meshChildren(GxElement &body);
  void textureCoords(GxElement &body);
  void vertexColors(GxElement &body);
  void materialList(GxElement &body);
  std::string material();
  std::string textureFilename();

  std::string_view bytes_;
  std::ostream &diag_;
  XTokens *tokens_ = nullptr;
  GxPtr root_;
  int64_t items_ = 0;
  // The Mesh being read: its vertex count and its face nodes with their vertex indices.
  uint32_t vertexCount_ = 0;
  std::vector<std::pair<GxElement *, std::vector<int32_t>>> faces_;
};

uint32_t XReader::count(const char *what, int64_t itemsEach) {
  uint32_t n = 0;
  if (!tokens_->integer(n))
    fail(std::string("expected the number of ") + what);
  items_ += int64_t(n) * itemsEach;
  if (items_ > kMaxItems)
    fail("too many elements for one import");
  return n;
}

float XReader::real(const char *what) {
  float value = 0;
  if (!tokens_->real(value))
    fail(std::string("expected a number in ") + what);
  return value;
}

void XReader::open(std::string &name) {
  XTokens::Kind kind = tokens_->next();
  if (kind == XTokens::kName) {
    name = tokens_->name();
    kind = tokens_->next();
  }
  if (kind != XTokens::kOpen)
    fail("expected '{'");
}

void XReader::skipObject() {
  std::string unused;
  open(unused);
  for (int64_t depth = 1; depth > 0;) {
    const XTokens::Kind kind = tokens_->next();
    if (kind == XTokens::kEnd)
      fail("the file ends inside an object");
    depth += kind == XTokens::kOpen ? 1 : kind == XTokens::kClose ? -1 : 0;
  }
}

// Reads data objects up to the end of the file (depth 0) or the brace closing a Frame.
void XReader::objects(int depth) {
  if (depth > kMaxDepth)
    fail("frames nested too deeply");
  for (;;) {
    const XTokens::Kind kind = tokens_->next();
    if (kind == XTokens::kEnd && depth == 0)
      return;
    if (kind == XTokens::kClose && depth > 0)
      return;
    if (kind != XTokens::kName)
      fail(kind == XTokens::kEnd ? "the file ends inside a Frame" : "expected a data object");
    if (is("Mesh")) {
      mesh();
    } else if (is("Material")) {
      material();
    } else if (is("Frame")) {
      std::string unused;
      open(unused);
      objects(depth + 1);
    } else {
      skipObject(); // templates, headers, transforms, animations and the like
    }
  }
}

void XReader::mesh() {
  std::string name = "untitled";
  open(name);
  GxNode *body = addNode(*root_, "body", name.c_str());
  meshVertices(*body);
  meshFaces(*body);
  meshChildren(*body);
}

void XReader::meshVertices(GxElement &body) {
  GxNode *vertices = addNode(body, "vertex", "vertices", true);
  vertexCount_ = count("vertices", 1);
  for (uint32_t i = 0; i < vertexCount_; ++i) {
    const float x = real("a vertex"), y = real("a vertex"), z = real("a vertex");
    addVec3(*addNode(*vertices, "vertex", ""), "coord", x, y, z);
  }
}

void XReader::meshFaces(GxElement &body) {
  GxNode *list = addNode(body, "face", "faces", true);
  faces_.clear();
  const uint32_t n = count("faces", 1);
  for (uint32_t f = 0; f < n; ++f) {
    const uint32_t corners = count("face corners", 1);
    if (corners > kMaxFaceCorners)
      fail("a face with too many corners");
    GxNode *face = addNode(*list, "face", "");
    GxNode *indices = addNode(*face, "integer", "vertex-indices", true);
    faces_.emplace_back(face, std::vector<int32_t>());
    for (uint32_t c = 0; c < corners; ++c) {
      uint32_t index = 0;
      if (!tokens_->integer(index))
        fail("expected a face index");
      if (index >= vertexCount_)
        fail("a face index out of range");
      addInt(*indices, "", int32_t(index));
      faces_.back().second.push_back(int32_t(index));
    }
  }
}

void XReader::meshChildren(GxElement &body) {
  for (;;) {
    const XTokens::Kind kind = tokens_->next();
    if (kind == XTokens::kClose)
      return;
    if (kind != XTokens::kName)
      fail(kind == XTokens::kEnd ? "the file ends inside a Mesh" : "expected a data object");
    if (is("MeshMaterialList"))
      materialList(body);
    else if (is("MeshTextureCoords"))
      textureCoords(body);
    else if (is("MeshVertexColors"))
      vertexColors(body);
    else
      skipObject(); // normals and anything else
  }
}

// Per-vertex lists: every face takes a copy of its vertex indices as indices into them.
void addCopiedIndices(const std::vector<std::pair<GxElement *, std::vector<int32_t>>> &faces,
                      const char *name) {
  for (const auto &[face, indices] : faces) {
    GxNode *list = addNode(*face, "integer", name, true);
    for (int32_t i : indices)
      addInt(*list, "", i);
  }
}

void XReader::textureCoords(GxElement &body) {
  std::string unused;
  open(unused);
  if (body.findChild("uv-array"))
    fail("a second MeshTextureCoords");
  GxNode *list = addNode(body, "uv-array", "uv-array", true);
  const uint32_t n = count("texture coordinates", 1);
  for (uint32_t i = 0; i < n; ++i) {
    const float u = real("texture coordinates"), v = real("texture coordinates");
    addUv(*list, u, 1.0f - v); // the file counts v downwards
  }
  if (tokens_->next() != XTokens::kClose)
    fail("expected '}' after the texture coordinates");
  addCopiedIndices(faces_, "uv-indices");
}

void XReader::vertexColors(GxElement &body) {
  std::string unused;
  open(unused);
  if (body.findChild("vertex-color"))
    fail("a second MeshVertexColors");
  std::vector<std::array<float, 3>> colors(vertexCount_, {1.0f, 1.0f, 1.0f});
  items_ += vertexCount_;
  const uint32_t n = count("vertex colours", 0);
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t vertex = 0;
    if (!tokens_->integer(vertex) || vertex >= vertexCount_)
      fail("a vertex colour for a vertex that does not exist");
    for (float &c : colors[vertex])
      c = real("a vertex colour");
    real("a vertex colour"); // alpha: corner colours are opaque
  }
  if (tokens_->next() != XTokens::kClose)
    fail("expected '}' after the vertex colours");
  GxNode *list = addNode(body, "vec3f", "vertex-color", true);
  for (const auto &c : colors)
    addVec3(*list, "", c[0], c[1], c[2]);
  addCopiedIndices(faces_, "vertex-color-indices");
}

// The body takes the first material of the list, inline or by reference.
void XReader::materialList(GxElement &body) {
  std::string unused, first;
  open(unused);
  const uint32_t materials = count("materials", 0);
  const uint32_t n = count("face materials", 0);
  for (uint32_t i = 0; i < n; ++i) {
    uint32_t index = 0;
    if (!tokens_->integer(index) || index >= materials)
      fail("a face material that does not exist");
  }
  for (XTokens::Kind kind = tokens_->next(); kind != XTokens::kClose; kind = tokens_->next()) {
    std::string name;
    if (kind == XTokens::kName && is("Material")) {
      name = material();
    } else if (kind == XTokens::kOpen && tokens_->next() == XTokens::kName) {
      name = tokens_->name();
      if (tokens_->next() != XTokens::kClose)
        fail("expected '}' after a material reference");
    } else if (kind == XTokens::kName) {
      skipObject();
    } else {
      fail("expected a material");
    }
    if (first.empty())
      first = name;
  }
  if (!first.empty())
    addString(body, "material", first);
}

std::string XReader::material() {
  std::string name = "untitled";
  open(name);
  float values[11];
  for (float &v : values)
    v = real("a material");
  GxNode *mat = addNode(*root_, "material", name.c_str());
  GxNode *shading = addNode(*mat, "GL_Shade-domain", "GL_Shade");
  addVec3(*shading, "DIFFUSE-COLOR", values[0], values[1], values[2]);
  addVec3(*shading, "SPECULAR-COLOR", values[5], values[6], values[7]);
  addVec3(*shading, "EMISSION-COLOR", values[8], values[9], values[10]);
  addFloat(*shading, "SHININESS", values[4]);
  addFloat(*shading, "OPACITY", values[3]);
  for (XTokens::Kind kind = tokens_->next(); kind != XTokens::kClose; kind = tokens_->next()) {
    if (kind != XTokens::kName)
      fail(kind == XTokens::kEnd ? "the file ends inside a Material" : "expected a data object");
    if (!is("TextureFilename")) {
      skipObject();
      continue;
    }
    const std::string file = textureFilename();
    if (!shading->findChild("TEXTURE-MAP"))
      addString(*addNode(*shading, "map", "TEXTURE-MAP"), "name", file);
  }
  return name;
}

std::string XReader::textureFilename() {
  std::string unused, file;
  open(unused);
  if (!tokens_->string(file))
    fail("expected a texture file name");
  if (tokens_->next() != XTokens::kClose)
    fail("expected '}' after a texture file name");
  return file;
}

GxElement *XReader::run() {
  if (bytes_.size() < 16 || bytes_.substr(0, 4) != "xof ") {
    diag_ << "Error reading DirectX file: it does not start with \"xof \"" << std::endl;
    return nullptr;
  }
  const std::string_view format = bytes_.substr(8, 4);
  if (format.substr(0, 3) != "txt" && format.substr(0, 3) != "bin") {
    diag_ << "Error reading DirectX file: "
          << (format.substr(0, 3) == "com" ? "compressed files are not supported"
                                           : "unknown format " + std::string(format))
          << std::endl;
    return nullptr;
  }
  XTokens tokens(bytes_.substr(16), format.substr(0, 3) == "bin", bytes_.substr(12, 4) == "0064");
  tokens_ = &tokens;
  try {
    root_.reset(makeGxRoot());
    objects(0);
  } catch (const XDamage &damage) {
    diag_ << "Error reading DirectX file: " << damage.what << " at " << tokens.position()
          << std::endl;
    return nullptr;
  } catch (const std::bad_alloc &) {
    diag_ << "Error reading DirectX file: out of memory" << std::endl;
    return nullptr;
  }
  return root_.release();
}

} // namespace

GxElement *readX(std::string_view bytes, const CompanionReader &, std::ostream &diagnostics) {
  return XReader(bytes, diagnostics).run();
}
