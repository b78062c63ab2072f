// The glTF reader: walks the node tree of the scene shown, and turns every triangle primitive
// of every mesh a node shows into a body in world coordinates, with its material. A face's
// corner list in the tree turns the other way round from glTF's front faces, so each triangle is
// written backwards (unless a mirroring transform has turned it already).
#include "core/mesh.h"
#include "interchange/gltf/gltf_colors.h"
#include "interchange/gltf/gltf_container.h"
#include "interchange/gltf/gltf_data.h"
#include "interchange/gltf/gltf_draco.h"
#include "interchange/gltf/gltf_format.h"
#include "interchange/gltf/gltf_meshopt.h"
#include "interchange/gx_build.h"

#include <array>
#include <cmath>
#include <numeric>
#include <set>

namespace {

// Triangle corners read from one file in all: the tree holds about a dozen elements per
// triangle, so this keeps a small file from asking for gigabytes through shared accessors.
constexpr int64_t kMaxCorners = int64_t(1) << 20;

using Matrix = std::array<double, 16>; // column-major: m[4 * column + row]

const Matrix kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

Matrix multiply(const Matrix &a, const Matrix &b) {
  Matrix r{};
  for (int c = 0; c < 4; ++c)
    for (int row = 0; row < 4; ++row)
      for (int k = 0; k < 4; ++k)
        r[size_t(4 * c + row)] += a[size_t(4 * k + row)] * b[size_t(4 * c + k)];
  return r;
}

// A node's own transform: its matrix, or translation x rotation x scale.
Matrix localMatrix(const json &node) {
  if (node.contains("matrix")) {
    const std::vector<double> m = GltfData::numbers(node, "matrix", 16, {});
    Matrix r;
    std::copy(m.begin(), m.end(), r.begin());
    return r;
  }
  const auto t = GltfData::numbers(node, "translation", 3, {0, 0, 0});
  auto q = GltfData::numbers(node, "rotation", 4, {0, 0, 0, 1});
  const auto s = GltfData::numbers(node, "scale", 3, {1, 1, 1});
  const double len = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
  for (double &v : q)
    v = len > 0 ? v / len : 0;
  const double x = q[0], y = q[1], z = q[2], w = len > 0 ? q[3] : 1;
  const double r[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                          {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                          {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
  Matrix m = kIdentity;
  for (int c = 0; c < 3; ++c)
    for (int row = 0; row < 3; ++row)
      m[size_t(4 * c + row)] = r[row][c] * s[size_t(c)];
  for (int row = 0; row < 3; ++row)
    m[size_t(12 + row)] = t[size_t(row)];
  return m;
}

// Whether the transform turns the space inside out, which turns every face's corners around.
bool mirrors(const Matrix &m) {
  return m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
             m[8] * (m[1] * m[6] - m[5] * m[2]) <
         0;
}

// The triangles of a list, strip or fan of corners (modes 4, 5 and 6), three corners each, in
// the standard order: a strip's even triangles run (i, i+1, i+2), its odd ones (i+1, i, i+2); a
// fan's are (0, i, i+1). Triangles of strips and fans that repeat a corner are dropped (they
// join the pieces of a strip); a list loses its incomplete last triangle.
std::vector<uint32_t> triangleCorners(int64_t mode, const std::vector<uint32_t> &corners) {
  if (mode == 4) {
    std::vector<uint32_t> list = corners;
    list.resize(list.size() - list.size() % 3);
    return list;
  }
  std::vector<uint32_t> list;
  list.reserve(corners.size() < 3 ? 0 : 3 * (corners.size() - 2));
  for (size_t i = 0; i + 2 < corners.size(); ++i) {
    const uint32_t a = mode == 6 ? corners[0] : corners[i + (i % 2)];
    const uint32_t b = mode == 6 ? corners[i + 1] : corners[i + 1 - (i % 2)];
    const uint32_t c = corners[i + 2];
    if (a != b && b != c && a != c)
      list.insert(list.end(), {a, b, c});
  }
  return list;
}

constexpr const char *kDracoExtension = "KHR_draco_mesh_compression";

// The extensions this build reads.
bool supported(const std::string &extension) {
  return extension == "KHR_mesh_quantization" ||
         (extension == kMeshoptExtension && meshoptDecodingAvailable()) ||
         (extension == kDracoExtension && dracoDecodingAvailable());
}

struct MaterialRef {
  std::string name; // empty: the file's default material
  std::array<double, 3> factor{1, 1, 1};
};

class GltfReader {
public:
  GltfReader(const GltfData &data, std::ostream &diag) : data_(data), diag_(diag) {}
  GxPtr read();

private:
  void noteTopLevel();
  std::vector<json> sceneRoots() const;
  void walk(const std::vector<json> &roots);
  void addMesh(const json &node, const Matrix &world, const std::string &name);
  // The checked data of one triangle primitive.
  struct Primitive {
    std::vector<float> positions, colors, uvs; // per vertex
    int colorWidth = 0;
    std::vector<uint32_t> corners; // three per triangle
  };
  void addPrimitive(const json &primitive, const Matrix &world, const std::string &name);
  bool readPrimitive(const json &primitive, const std::string &name, Primitive &p);
  // The data of a primitive from its accessors, or decoded from its Draco stream.
  void readAccessors(const json &primitive, Primitive &p);
  void readDraco(const json &extension, const std::string &name, Primitive &p);
  void addBody(Primitive &p, const MaterialRef &m, const Matrix &world, const std::string &name);
  MaterialRef material(const json &index);
  struct Image {
    GxElement *data = nullptr; // the bytes, as a "data" leaf every material using it shares
    std::string label;         // a file name of the image's type, for the converter
  };
  Image image(const json &index);
  void note(const std::string &what) { skipped_.insert(what); }

  const GltfData &data_;
  std::ostream &diag_;
  GxPtr root_{makeGxRoot()};
  std::set<std::string> skipped_;
  std::map<int64_t, MaterialRef> materials_;
  std::map<int64_t, Image> images_;
  int64_t corners_ = 0, bodies_ = 0;
};

GxPtr GltfReader::read() {
  const json &doc = data_.doc();
  const json version = doc.contains("asset") && doc["asset"].is_object()
                           ? doc["asset"].value("version", json())
                           : json();
  if (!version.is_string() || version.get<std::string>().compare(0, 2, "2.") != 0)
    throw GltfDamage("not a glTF 2.0 file (asset.version)");
  noteTopLevel();
  walk(sceneRoots());
  if (!skipped_.empty()) {
    std::string list;
    for (const std::string &what : skipped_)
      list += (list.empty() ? "" : ", ") + what;
    diag_ << "glTF: left out " << list << std::endl;
  }
  if (bodies_ == 0)
    diag_ << "glTF: the scene shows no triangle meshes" << std::endl;
  return std::move(root_);
}

void GltfReader::noteTopLevel() {
  const json &doc = data_.doc();
  for (const char *list : {"animations", "skins", "cameras"})
    if (doc.contains(list) && doc[list].is_array() && !doc[list].empty())
      note(list);
  if (doc.contains("extensionsRequired") && doc["extensionsRequired"].is_array())
    for (const json &name : doc["extensionsRequired"])
      if (!name.is_string() || !supported(name.get<std::string>()))
        throw GltfDamage("the file needs the extension " + name.dump().substr(0, 80) +
                         ", which is not supported");
  if (doc.contains("extensionsUsed") && doc["extensionsUsed"].is_array())
    for (const json &name : doc["extensionsUsed"])
      if (name.is_string() && !supported(name.get<std::string>()))
        note("extension " + name.get<std::string>().substr(0, 80));
}

// The root nodes of the scene shown; without scenes, every node no other node holds.
std::vector<json> GltfReader::sceneRoots() const {
  const json &doc = data_.doc();
  std::vector<json> roots;
  if (doc.contains("scenes") && doc["scenes"].is_array() && !doc["scenes"].empty()) {
    const int64_t count = int64_t(doc["scenes"].size());
    const json &scene = data_.item("scenes", GltfData::integer(doc, "scene", 0, 0, count - 1));
    if (scene.contains("nodes") && scene["nodes"].is_array())
      roots.assign(scene["nodes"].begin(), scene["nodes"].end());
    return roots;
  }
  const size_t count = doc.contains("nodes") && doc["nodes"].is_array() ? doc["nodes"].size() : 0;
  std::vector<bool> held(count, false);
  for (size_t i = 0; i < count; ++i)
    if (doc["nodes"][i].is_object() && doc["nodes"][i].contains("children") &&
        doc["nodes"][i]["children"].is_array())
      for (const json &child : doc["nodes"][i]["children"])
        if (child.is_number_unsigned() && child.get<uint64_t>() < count)
          held[child.get<size_t>()] = true;
  for (size_t i = 0; i < count; ++i)
    if (!held[i])
      roots.emplace_back(i);
  return roots;
}

// Depth first without recursion; a node reached twice (a cycle, or two parents) is damage.
void GltfReader::walk(const std::vector<json> &roots) {
  const json &doc = data_.doc();
  const size_t count = doc.contains("nodes") && doc["nodes"].is_array() ? doc["nodes"].size() : 0;
  std::vector<bool> seen(count, false);
  std::vector<std::pair<json, Matrix>> pending;
  for (auto it = roots.rbegin(); it != roots.rend(); ++it)
    pending.emplace_back(*it, kIdentity);
  while (!pending.empty()) {
    const auto [index, parent] = pending.back();
    pending.pop_back();
    const json &node = data_.item("nodes", index);
    if (seen[index.get<size_t>()])
      throw GltfDamage("node " + index.dump() + " is reached twice: the nodes are not a tree");
    seen[index.get<size_t>()] = true;
    const Matrix world = multiply(parent, localMatrix(node));
    for (const auto &[key, what] : {std::pair("camera", "cameras"), std::pair("skin", "skins"),
                                    std::pair("weights", "morph targets")})
      if (node.contains(key))
        note(what);
    std::string name = node.contains("name") && node["name"].is_string()
                           ? node["name"].get<std::string>()
                           : "node" + index.dump();
    if (node.contains("mesh"))
      addMesh(node, world, name);
    if (node.contains("children") && node["children"].is_array())
      for (auto it = node["children"].rbegin(); it != node["children"].rend(); ++it)
        pending.emplace_back(*it, world);
  }
}

void GltfReader::addMesh(const json &node, const Matrix &world, const std::string &name) {
  const json &mesh = data_.item("meshes", node["mesh"]);
  if (mesh.contains("weights"))
    note("morph targets");
  if (!mesh.contains("primitives") || !mesh["primitives"].is_array())
    throw GltfDamage("mesh " + node["mesh"].dump() + " has no primitives");
  const bool named = node.contains("name") && node["name"].is_string();
  const std::string base = !named && mesh.contains("name") && mesh["name"].is_string()
                               ? mesh["name"].get<std::string>()
                               : name;
  int k = 0;
  for (const json &primitive : mesh["primitives"]) {
    if (!primitive.is_object())
      throw GltfDamage("mesh " + node["mesh"].dump() + " has a primitive that is not an object");
    addPrimitive(primitive, world, k == 0 ? base : base + "_" + std::to_string(k));
    ++k;
  }
}

void GltfReader::addPrimitive(const json &primitive, const Matrix &world, const std::string &name) {
  Primitive p;
  if (!readPrimitive(primitive, name, p))
    return;
  const MaterialRef m =
      primitive.contains("material") ? material(primitive["material"]) : MaterialRef();
  addBody(p, m, world, name);
}

// The checked data of a triangle primitive; false (noted) for one that is left out.
bool GltfReader::readPrimitive(const json &primitive, const std::string &name, Primitive &p) {
  const int64_t mode = GltfData::integer(primitive, "mode", 4, 0, 6);
  if (mode < 4) {
    note("primitives drawn as points or lines");
    return false;
  }
  if (!primitive.contains("attributes") || !primitive["attributes"].is_object())
    throw GltfDamage(name + ": a primitive without attributes");
  const json &attributes = primitive["attributes"];
  for (const auto &[key, unused] : attributes.items())
    if (key != "POSITION" && key != "NORMAL" && key != "COLOR_0" && key != "TEXCOORD_0")
      note(key.rfind("JOINTS_", 0) == 0 || key.rfind("WEIGHTS_", 0) == 0
               ? "skins"
               : "attribute " + key.substr(0, 40));
  if (primitive.contains("targets"))
    note("morph targets");
  if (!attributes.contains("POSITION")) {
    note("primitives without positions");
    return false;
  }
  const json *draco = primitive.contains("extensions") && primitive["extensions"].is_object() &&
                              primitive["extensions"].contains(kDracoExtension)
                          ? &primitive["extensions"][kDracoExtension]
                          : nullptr;
  if (draco)
    readDraco(*draco, name, p);
  else
    readAccessors(primitive, p);
  const size_t n = p.positions.size() / 3;
  for (const uint32_t c : p.corners)
    if (c >= n)
      throw GltfDamage(name + " has an index past its " + std::to_string(n) + " vertices");
  p.corners = triangleCorners(draco ? 4 : mode, p.corners); // Draco decodes to a list
  if (p.corners.empty())
    return false; // nothing to show: no body
  corners_ += int64_t(p.corners.size());
  if (corners_ > kMaxCorners)
    throw GltfDamage("more than " + std::to_string(kMaxCorners) + " triangle corners in all");
  if ((!p.colors.empty() && p.colors.size() / size_t(p.colorWidth) != n) ||
      (!p.uvs.empty() && p.uvs.size() / 2 != n))
    throw GltfDamage(name + ": its attributes differ in count");
  return true;
}

void GltfReader::readAccessors(const json &primitive, Primitive &p) {
  const json &attributes = primitive["attributes"];
  int width = 0;
  p.positions = data_.floats(attributes["POSITION"], {3}, width);
  if (primitive.contains("indices")) {
    p.corners = data_.indices(primitive["indices"]);
  } else {
    p.corners.resize(p.positions.size() / 3);
    std::iota(p.corners.begin(), p.corners.end(), 0u);
  }
  if (attributes.contains("COLOR_0"))
    p.colors = data_.floats(attributes["COLOR_0"], {3, 4}, p.colorWidth);
  if (attributes.contains("TEXCOORD_0"))
    p.uvs = data_.floats(attributes["TEXCOORD_0"], {2}, width);
}

void GltfReader::readDraco(const json &extension, const std::string &name, Primitive &p) {
  if (!extension.is_object() || !extension.contains("bufferView"))
    throw GltfDamage(name + ": a Draco primitive without its buffer view");
  DracoPrimitive decoded;
  std::string error;
  if (!decodeDracoPrimitive(data_.viewBytes(extension["bufferView"]),
                            extension.value("attributes", json()), decoded, error))
    throw GltfDamage(name + ": " + error);
  p.positions = std::move(decoded.positions);
  p.colors = std::move(decoded.colors);
  p.colorWidth = decoded.colorWidth;
  p.uvs = std::move(decoded.uvs);
  p.corners = std::move(decoded.corners);
}

// The body of a primitive: only the vertices its triangles use, numbered in order of first use,
// moved into place; colours are the material's base colour times COLOR_0.
void GltfReader::addBody(Primitive &p, const MaterialRef &m, const Matrix &world,
                         const std::string &name) {
  GxNode *body = addNode(*root_, "body", name.c_str());
  GxNode *vertices = addNode(*body, "vertex", "vertices", true);
  if (!m.name.empty())
    addString(*body, "material", m.name);
  GxNode *faces = addNode(*body, "face", "faces", true);
  GxNode *colors = p.colors.empty() ? nullptr : addNode(*body, "vec3f", "vertex-color", true);
  GxNode *uvs = p.uvs.empty() ? nullptr : addNode(*body, "uv-array", "uv-array", true);
  std::vector<int32_t> item(p.positions.size() / 3, -1);
  int32_t items = 0;
  for (uint32_t &c : p.corners) {
    if (item[c] < 0) {
      item[c] = items++;
      const float *at = &p.positions[3 * size_t(c)];
      double w[3];
      for (int i = 0; i < 3; ++i) {
        w[i] = world[i] * at[0] + world[4 + i] * at[1] + world[8 + i] * at[2] + world[12 + i];
        if (!(std::fabs(w[i]) < 1e30))
          throw GltfDamage(name + ": a position out of range once transformed");
      }
      addVec3(*addNode(*vertices, "vertex", ""), "coord", float(w[0]), float(w[1]), float(w[2]));
      if (colors) {
        const float *rgb = &p.colors[size_t(p.colorWidth) * c];
        addVec3(*colors, "", linearToSrgb(float(rgb[0] * m.factor[0])),
                linearToSrgb(float(rgb[1] * m.factor[1])),
                linearToSrgb(float(rgb[2] * m.factor[2])));
      }
      if (uvs) // glTF's v runs down the image, the program's up
        addUv(*uvs, p.uvs[2 * size_t(c)], 1.0f - p.uvs[2 * size_t(c) + 1]);
    }
    c = uint32_t(item[c]);
  }
  const bool turn = mirrors(world);
  const std::pair<const char *, bool> lists[] = {{"vertex-indices", true},
                                                 {"vertex-color-indices", colors != nullptr},
                                                 {"uv-indices", uvs != nullptr}};
  for (size_t t = 0; t + 2 < p.corners.size(); t += 3) {
    GxNode *face = addNode(*faces, "face", "");
    for (const auto &[list, present] : lists) {
      if (!present)
        continue;
      GxNode *indices = addNode(*face, "integer", list, true);
      for (const size_t k : {size_t(0), size_t(turn ? 1 : 2), size_t(turn ? 2 : 1)})
        addInt(*indices, "", int32_t(p.corners[t + k]));
    }
  }
  ++bodies_;
}

// The tree material of a glTF material (made on first use): its base colour, and its base
// colour texture when that is a PNG or JPEG image read from the first texture coordinates.
MaterialRef GltfReader::material(const json &index) {
  const json &source = data_.item("materials", index);
  const int64_t i = index.get<int64_t>();
  const auto known = materials_.find(i);
  if (known != materials_.end())
    return known->second;
  MaterialRef m;
  m.name = "material" + std::to_string(i);
  const json pbr =
      source.contains("pbrMetallicRoughness") && source["pbrMetallicRoughness"].is_object()
          ? source["pbrMetallicRoughness"]
          : json::object();
  const std::vector<double> factor = GltfData::numbers(pbr, "baseColorFactor", 4, {1, 1, 1, 1});
  for (size_t c = 0; c < 3; ++c)
    m.factor[c] = std::min(1.0, std::max(0.0, factor[c]));
  for (const char *map : {"normalTexture", "occlusionTexture", "emissiveTexture"})
    if (source.contains(map))
      note("maps other than the base colour");
  if (pbr.contains("metallicRoughnessTexture"))
    note("maps other than the base colour");
  GxNode *tree = addNode(*root_, "material", m.name.c_str());
  GxNode *shading = addNode(*tree, "GL_Shade-domain", "GL_Shade");
  addVec3(*shading, "DIFFUSE-COLOR", linearToSrgb(float(m.factor[0])),
          linearToSrgb(float(m.factor[1])), linearToSrgb(float(m.factor[2])));
  if (pbr.contains("baseColorTexture") && pbr["baseColorTexture"].is_object()) {
    const json &info = pbr["baseColorTexture"];
    if (GltfData::integer(info, "texCoord", 0, 0, INT32_MAX) != 0) {
      note("textures on other texture coordinates than the first");
    } else {
      const Image picture =
          image(data_.item("textures", info.value("index", json())).value("source", json()));
      if (picture.data) {
        GxNode *map = addNode(*shading, "map", "TEXTURE-MAP");
        addString(*map, "name", picture.label);
        map->addChild(picture.data);
      }
    }
  }
  return materials_[i] = m;
}

GltfReader::Image GltfReader::image(const json &index) {
  if (index.is_null()) {
    note("textures only an extension provides");
    return {};
  }
  const json &source = data_.item("images", index);
  const int64_t i = index.get<int64_t>();
  const auto known = images_.find(i);
  if (known != images_.end())
    return known->second;
  const std::string what = "image " + std::to_string(i);
  std::string_view bytes;
  if (source.contains("uri") && source["uri"].is_string()) {
    const std::string *loaded = data_.uriBytes(source["uri"].get<std::string>(), what);
    if (!loaded) {
      diag_ << "glTF: " << what << ": cannot read \"" << source["uri"].get<std::string>()
            << "\", left out" << std::endl;
      return images_[i] = {};
    }
    bytes = *loaded;
  } else if (source.contains("bufferView")) {
    bytes = data_.viewBytes(source["bufferView"]);
  } else {
    throw GltfDamage(what + " has no data");
  }
  Image picture;
  if (bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n")
    picture.label = "image" + std::to_string(i) + ".png";
  else if (bytes.substr(0, 3) == "\xFF\xD8\xFF")
    picture.label = "image" + std::to_string(i) + ".jpg";
  else
    note("images other than PNG and JPEG");
  if (!picture.label.empty())
    picture.data = new GxStringProperty("string", "data", std::string(bytes));
  return images_[i] = picture;
}

} // namespace

GxElement *readGltf(std::string_view bytes, const CompanionReader &companions,
                    std::ostream &diagnostics) {
  try {
    const GltfData data(bytes, companions);
    return GltfReader(data, diagnostics).read().release();
  } catch (const GltfDamage &damage) {
    diagnostics << "glTF: " << damage.what() << std::endl;
  } catch (const json::exception &failure) { // a member of an unexpected kind
    diagnostics << "glTF: " << failure.what() << std::endl;
  } catch (const std::bad_alloc &) {
    diagnostics << "glTF: out of memory" << std::endl;
  }
  return nullptr;
}

bool sniffGltf(std::string_view bytes) {
  if (isGlb(bytes))
    return true;
  const std::string_view start = bytes.substr(0, 4096);
  const size_t brace = start.find_first_not_of(" \t\r\n");
  return brace != std::string_view::npos && start[brace] == '{' &&
         start.find("\"asset\"") != std::string_view::npos;
}
