// The conversion of parsed VRML nodes into an interchange tree, and the reader's entry points.
#include "interchange/gx_build.h"
#include "interchange/vrml/vrml_format.h"
#include "interchange/vrml/vrml_parser.h"

#include <new>
#include <random>
#include <unordered_map>
#include <unordered_set>

namespace {

// Tree elements made for instances and geometry (vertex items, colours, normals, coordinates,
// corner indices).
// Past this many the rest of the file's shapes are left out, so that no file can make the tree
// outgrow memory; objects hold at most 32 768 faces, so this is still dozens of full objects.
constexpr int64_t kMaxElements = int64_t(1) << 22;
constexpr int32_t kMaxFaceCorners = 128;
// What an instance costs at most, with its members and matrix rows, for the same count.
constexpr int64_t kInstanceElements = 10;

// The children of a grouping node, or null for any other node.
const moField *childrenOf(const moNode &node) {
  static const char *const kGroups[][2] = {{"Group", "children"},     {"Transform", "children"},
                                           {"Anchor", "children"},    {"Billboard", "children"},
                                           {"Collision", "children"}, {"Switch", "choice"},
                                           {"LOD", "level"}};
  for (const auto &[type, field] : kGroups)
    if (node.type().name == type) {
      static const moField kNone;
      const moField *children = node.field(field);
      return children ? children : &kNone;
    }
  return nullptr;
}

// The values of a numeric field of a node of the expected type, or null.
const std::vector<float> *floatsOf(const moNode *node, const char *type, const char *field) {
  const moField *f = node && node->type().name == type ? node->field(field) : nullptr;
  return f ? &f->floats : nullptr;
}

const std::vector<int32_t> &intsOf(const moNode &node, const char *field) {
  static const std::vector<int32_t> kNone;
  const moField *f = node.field(field);
  return f ? f->ints : kNone;
}

// The first three values of a colour field, or the fallback when it was not given.
std::vector<float> colorOf(const moNode &node, const char *field, float fallback) {
  const moField *f = node.field(field);
  return f && f->floats.size() >= 3 ? std::vector<float>(f->floats.begin(), f->floats.begin() + 3)
                                    : std::vector<float>(3, fallback);
}

float floatOf(const moNode &node, const char *field, float fallback) {
  const moField *f = node.field(field);
  return f && !f->floats.empty() ? f->floats.front() : fallback;
}

void addIdentity(GxElement &instance) {
  GxNode *matrix = addNode(instance, "vec4f", "matrix", true);
  for (int r = 0; r < 4; ++r)
    matrix->addChild(new GxFloatArrayProperty(
        "vec4f", "",
        {r == 0 ? 1.0f : 0.0f, r == 1 ? 1.0f : 0.0f, r == 2 ? 1.0f : 0.0f, r == 3 ? 1.0f : 0.0f}));
}

// One face of an indexed face set: the positions [begin, end) of its corners in coordIndex.
struct FaceSpan {
  size_t begin, end;
  int32_t number; // counting every face of the set, also those left out
};

class VrmlToGx {
public:
  explicit VrmlToGx(std::ostream &diag) : diag_(diag), root_(makeGxRoot()) {}
  GxElement *run(const std::vector<moNodePtr> &nodes);

private:
  // The instance standing for node: made on first use, the same element when USE brings the
  // node back; null once the element budget is spent. Recursion is bounded by the parser's depth
  // limit.
  GxElement *instanceOf(const moNode &node);
  void shape(const moNode &node, GxElement &instance);
  std::string bodyName(const moNode &shape);
  void material(const moNode &appearance, const std::string &name);
  void faceSet(const moNode &set, GxElement &body);
  void faces(const moNode &set, GxElement &body, size_t points, const bool lists[3]);
  bool spend(int64_t elements);

  std::ostream &diag_;
  GxPtr root_;
  int64_t elements_ = 0;
  bool overBudget_ = false;
  std::unordered_map<const moNode *, GxElement *> instances_;
  std::unordered_map<const moNode *, std::string> generatedNames_; // unnamed geometry
  std::unordered_set<std::string> bodyNames_;
  std::unordered_set<const moNode *> appearances_;
  std::minstd_rand random_;
};

GxElement *VrmlToGx::run(const std::vector<moNodePtr> &nodes) {
  for (const moNodePtr &node : nodes)
    if (GxElement *instance = instanceOf(*node))
      root_->addChild(instance);
  diag_.flush();
  return root_.release();
}

GxElement *VrmlToGx::instanceOf(const moNode &node) {
  GxElement *&instance = instances_[&node];
  if (instance || !spend(kInstanceElements))
    return instance;
  instance = new GxNode("gobject", "", true, false);
  if (node.type().name == "Shape") {
    shape(node, *instance);
  } else if (const moField *children = childrenOf(node)) {
    addIdentity(*instance);
    GxNode *list = addNode(*instance, "gobject", "children", true);
    for (const moNodePtr &child : children->nodes)
      if (GxElement *childInstance = child ? instanceOf(*child) : nullptr)
        list->addChild(childInstance);
  } else if (node.type().name == "Inline") {
    diag_ << "Inline file not read: inline files are never fetched" << '\n';
  }
  return instance;
}

void VrmlToGx::shape(const moNode &node, GxElement &instance) {
  const std::string body = bodyName(node);
  const moNode *appearance = node.nodeField("appearance");
  std::string appearanceName = appearance ? appearance->name() : std::string();
  if (appearanceName.empty()) {
    if (appearance)
      diag_ << "Blank APPEAR name in moShape" << '\n';
    appearanceName = body + "_Material";
  }
  addString(instance, "name", node.name());
  addString(instance, "body", body);
  addIdentity(instance);
  GxNode *tree = addNode(*root_, "body", body.c_str());
  addString(*tree, "material", appearanceName);
  if (appearance && appearances_.insert(appearance).second) // one material per appearance
    material(*appearance, appearanceName);
  const moNode *geometry = node.nodeField("geometry");
  if (geometry && geometry->type().name == "IndexedFaceSet")
    faceSet(*geometry, *tree);
}

// The shape's DEF name, else its geometry's, else a generated "Body_<n>" not used yet.
std::string VrmlToGx::bodyName(const moNode &shape) {
  std::string name = shape.name();
  const moNode *geometry = shape.nodeField("geometry");
  if (name.empty()) {
    diag_ << "Blank BODY name in moShape" << '\n';
    name = geometry ? geometry->name() : std::string();
    if (name.empty() && geometry && generatedNames_.count(geometry))
      name = generatedNames_[geometry];
  }
  if (name.empty()) {
    diag_ << "Blank BODY name still in SUB geometry" << '\n';
    const uint32_t start = random_() % 32768;
    for (uint32_t i = 0; name.empty() || bodyNames_.count(name); ++i)
      name = "Body_" + std::to_string(i < 32768 ? (start + i) % 32768 : i);
    diag_ << "Random name is " << name << '\n';
    if (geometry)
      generatedNames_[geometry] = name;
  }
  bodyNames_.insert(name);
  return name;
}

void VrmlToGx::material(const moNode &appearance, const std::string &name) {
  GxNode *material = addNode(*root_, "material", name.c_str());
  GxNode *shading = addNode(*material, "GL_Shade-domain", "GL_Shade");
  if (const moNode *m = appearance.nodeField("material"); m && m->type().name == "Material") {
    const std::vector<float> diffuse = colorOf(*m, "diffuseColor", 0.8f),
                             specular = colorOf(*m, "specularColor", 0.0f),
                             emissive = colorOf(*m, "emissiveColor", 0.0f);
    addVec3(*shading, "DIFFUSE-COLOR", diffuse[0], diffuse[1], diffuse[2]);
    addVec3(*shading, "SPECULAR-COLOR", specular[0], specular[1], specular[2]);
    addVec3(*shading, "EMISSION-COLOR", emissive[0], emissive[1], emissive[2]);
    addFloat(*shading, "SHININESS", floatOf(*m, "shininess", 0.2f));
    addFloat(*shading, "OPACITY", 1.0f - floatOf(*m, "transparency", 0.0f));
  }
  const moNode *texture = appearance.nodeField("texture");
  const moField *url =
      texture && texture->type().name == "ImageTexture" ? texture->field("url") : nullptr;
  if (url && !url->strings.empty())
    addString(*addNode(*shading, "map", "TEXTURE-MAP"), "name", url->strings.front());
}

bool VrmlToGx::spend(int64_t elements) {
  if (!overBudget_ && elements_ + elements <= kMaxElements) {
    elements_ += elements;
    return true;
  }
  if (!overBudget_)
    diag_ << "The file holds more geometry than one import takes; the rest is left out" << '\n';
  overBudget_ = true;
  return false;
}

void VrmlToGx::faceSet(const moNode &set, GxElement &body) {
  const std::vector<float> *points = floatsOf(set.nodeField("coord"), "Coordinate", "point");
  const std::vector<float> *normals = floatsOf(set.nodeField("normal"), "Normal", "vector");
  const std::vector<float> *colors = floatsOf(set.nodeField("color"), "Color", "color");
  const std::vector<float> *uvs = floatsOf(set.nodeField("texCoord"), "TextureCoordinate", "point");
  const bool lists[3] = {normals != nullptr, colors != nullptr, uvs != nullptr};
  const int64_t corners = int64_t(intsOf(set, "coordIndex").size());
  const int64_t cost = (points ? int64_t(points->size()) : 0) + (normals ? normals->size() : 0) +
                       (colors ? colors->size() : 0) + (uvs ? uvs->size() : 0) +
                       corners * (2 + lists[0] + lists[1] + lists[2]);
  if (!points || !spend(cost))
    return;
  GxNode *vertices = addNode(body, "vertex", "vertices", true);
  for (size_t i = 0; i + 2 < points->size(); i += 3)
    addVec3(*addNode(*vertices, "vertex", ""), "coord", (*points)[i], (*points)[i + 1],
            (*points)[i + 2]);
  const std::pair<const std::vector<float> *, const char *> vectors[] = {{normals, "normals"},
                                                                         {colors, "vertex-color"}};
  for (const auto &[values, name] : vectors)
    if (values) {
      GxNode *list = addNode(body, "vec3f", name, true);
      for (size_t i = 0; i + 2 < values->size(); i += 3)
        list->addChild(new GxFloatArrayProperty(
            "vec3f", "", {(*values)[i], (*values)[i + 1], (*values)[i + 2]}));
    }
  if (uvs) {
    GxNode *list = addNode(body, "uv-array", "uv-array", true);
    for (size_t i = 0; i + 1 < uvs->size(); i += 2)
      addUv(*list, (*uvs)[i], (*uvs)[i + 1]);
  }
  faces(set, body, points->size() / 3, lists);
}

// The entry a corner (position k of coordIndex, in face number face) takes in a per-vertex or
// per-face list with the index field given; -1 when the field has no entry for it.
int32_t attributeIndex(const std::vector<int32_t> &index, const std::vector<int32_t> &coordIndex,
                       bool perVertex, size_t k, int32_t face) {
  if (perVertex && index.empty())
    return coordIndex[k];
  if (!perVertex && index.empty())
    return face;
  const size_t at = perVertex ? k : size_t(face);
  return at < index.size() ? index[at] : -1;
}

// How the corners of an indexed face set find their entries: its index fields, in the order
// normal, colour, texture coordinate, whether each applies per vertex, and which lists it has.
struct FaceIndexing {
  const std::vector<int32_t> &coordIndex;
  const std::vector<int32_t> *indices[3];
  bool perVertex[3];
  bool present[3];
  bool ccw;
};

// Adds the face whose corners stand at [begin, end) of coordIndex. With ccw (the default) the
// corners are stored from the last to the first, which gives the clockwise order of an export
// tree.
void addFace(GxElement &list, const FaceIndexing &ix, size_t begin, size_t end, int32_t number) {
  static const char *const kNames[3] = {"vertex-normal-indices", "vertex-color-indices",
                                        "uv-indices"};
  GxNode *face = addNode(list, "face", "");
  GxNode *corners = addNode(*face, "integer", "vertex-indices", true);
  GxNode *attributes[3] = {};
  for (int a = 0; a < 3; ++a)
    attributes[a] = ix.present[a] ? addNode(*face, "integer", kNames[a], true) : nullptr;
  for (size_t j = 0; j < end - begin; ++j) {
    const size_t k = ix.ccw ? end - 1 - j : begin + j;
    addInt(*corners, "", ix.coordIndex[k]);
    for (int a = 0; a < 3; ++a)
      if (attributes[a])
        addInt(*attributes[a], "",
               attributeIndex(*ix.indices[a], ix.coordIndex, ix.perVertex[a], k, number));
  }
}

// The faces: coordIndex cut at every -1. Faces naming a point that does not exist or with more
// than kMaxFaceCorners corners are left out; so are those of fewer than three corners.
void VrmlToGx::faces(const moNode &set, GxElement &body, size_t points, const bool lists[3]) {
  const FaceIndexing ix{
      intsOf(set, "coordIndex"),
      {&intsOf(set, "normalIndex"), &intsOf(set, "colorIndex"), &intsOf(set, "texCoordIndex")},
      {set.boolField("normalPerVertex", true), set.boolField("colorPerVertex", true), true},
      {lists[0], lists[1], lists[2]},
      set.boolField("ccw", true)};
  GxNode *list = addNode(body, "face", "faces", true);
  int32_t number = 0, leftOut = 0;
  for (size_t begin = 0, end = 0; end <= ix.coordIndex.size(); ++end) {
    if (end < ix.coordIndex.size() && ix.coordIndex[end] != -1)
      continue;
    bool usable = end - begin <= size_t(kMaxFaceCorners);
    for (size_t k = begin; k < end && usable; ++k)
      usable = ix.coordIndex[k] >= 0 && size_t(ix.coordIndex[k]) < points;
    leftOut += !usable;
    if (usable && end - begin >= 3)
      addFace(*list, ix, begin, end, number);
    number += end > begin;
    begin = end + 1;
  }
  if (leftOut > 0)
    diag_ << leftOut << " faces of " << body.name()
          << " left out: they name points that do not exist or have more than " << kMaxFaceCorners
          << " corners" << '\n';
}

} // namespace

GxElement *readVrml(std::string_view bytes, const CompanionReader &, std::ostream &diagnostics) {
  try {
    std::vector<moNodePtr> nodes;
    parseVrml(bytes, nodes, diagnostics);
    return VrmlToGx(diagnostics).run(nodes);
  } catch (const std::bad_alloc &) {
    diagnostics << "Out of memory reading the VRML file" << std::endl;
    return nullptr;
  }
}

bool sniffVrml(std::string_view bytes) { return bytes.substr(0, 10) == "#VRML V2.0"; }
