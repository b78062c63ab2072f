// The glTF writer: every body of the export tree becomes one mesh of one triangle primitive whose
// corners are shared where position, normal, colour and texture coordinate all agree; every
// instance becomes a node. A face's corner list in the tree turns the other way round from
// glTF's front faces (counter-clockwise about the outward normal), so each is written backwards.
#include "interchange/format_registry.h"
#include "interchange/gltf/gltf_colors.h"
#include "interchange/gltf/gltf_container.h"
#include "interchange/gltf/gltf_format.h"
#include "interchange/gx_build.h"

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <unordered_map>

using json = nlohmann::json;

namespace {

constexpr int kUnsignedShort = 5123, kUnsignedInt = 5125, kFloat = 5126;
constexpr int kArrayBuffer = 34962, kElementArrayBuffer = 34963;

// One glTF vertex: position, normal, colour, texture coordinate.
using Corner = std::array<float, 11>;

std::vector<const GxElement *> itemsOf(const GxElement &body, const char *name) {
  const GxElement *list = body.findChild(name);
  if (!list)
    return {};
  return {list->children().begin(), list->children().end()};
}

// values[at..at+n) of item when it holds that many, else nothing is changed.
void copyValues(const std::vector<const GxElement *> &items, int32_t index, float *to, size_t n) {
  if (index < 0 || size_t(index) >= items.size())
    return;
  const GxElement *item = items[size_t(index)];
  const std::vector<float> *values =
      floatValues(item->findChild("coord") ? item->findChild("coord") : item);
  if (values && values->size() >= n)
    std::copy(values->begin(), values->begin() + long(n), to);
}

void setUnitNormal(float *n, const float *a, const float *b, const float *c) {
  double len = std::sqrt(double(n[0]) * n[0] + double(n[1]) * n[1] + double(n[2]) * n[2]);
  if (!(len > 1e-12) || !std::isfinite(len)) { // no usable normal: the triangle's own
    const double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    const double v[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    const double x[3] = {u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2],
                         u[0] * v[1] - u[1] * v[0]};
    len = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    const bool usable = len > 1e-30 && std::isfinite(len);
    for (int i = 0; i < 3; ++i)
      n[i] = usable ? float(x[i] / len) : i == 1 ? 1.0f : 0.0f;
    return;
  }
  for (int i = 0; i < 3; ++i)
    n[i] = float(n[i] / len);
}

class GltfBuilder {
public:
  GltfBuilder(const GxElement &tree, const WrittenModel &out, bool binary)
      : tree_(tree), textures_(out.textures), binary_(binary) {}
  void build();
  json doc;
  std::string bin;
  std::vector<std::pair<std::string, std::string>> images; // written beside a ".gltf"

private:
  struct Material {
    int index = -1;
    bool textured = false;
  };
  int addView(const void *data, size_t size, int target);
  int addAccessor(const void *data, size_t count, int components, int componentType, int target);
  Material material(const GxElement &body, bool colored);
  int texture(const std::string &name);
  int addMesh(const GxElement &body);
  json addAttributes(const std::vector<Corner> &corners, bool colored, bool textured);
  int addIndices(const std::vector<uint32_t> &indices, size_t vertices);
  // Meshes by body name, in body order; an instance takes the first one of its name left.
  using MeshQueue = std::map<std::string, std::deque<int>>;
  json node(const GxElement &instance, MeshQueue &meshes);

  const GxElement &tree_;
  const std::vector<std::pair<std::string, std::string>> &textures_;
  bool binary_;
  // By tree material (null: none) and whether colours are written.
  std::map<std::pair<const GxElement *, bool>, Material> materials_;
  std::map<std::string, int> textureIndex_;
};

int GltfBuilder::addView(const void *data, size_t size, int target) {
  bin.append((4 - bin.size() % 4) % 4, '\0');
  json view = {{"buffer", 0}, {"byteOffset", bin.size()}, {"byteLength", size}};
  if (target)
    view["target"] = target;
  bin.append(static_cast<const char *>(data), size);
  doc["bufferViews"].push_back(view);
  return int(doc["bufferViews"].size() - 1);
}

int GltfBuilder::addAccessor(const void *data, size_t count, int components, int componentType,
                             int target) {
  static const char *const kTypes[] = {"", "SCALAR", "VEC2", "VEC3", "VEC4"};
  const size_t size = componentType == kUnsignedShort ? 2 : 4;
  json accessor = {{"bufferView", addView(data, count * size_t(components) * size, target)},
                   {"componentType", componentType},
                   {"count", count},
                   {"type", kTypes[components]}};
  doc["accessors"].push_back(accessor);
  return int(doc["accessors"].size() - 1);
}

// The material a body names: the last one of that name before it in the tree, as the export
// converter writes each object's material just before its body (object names, and so material
// names, may repeat). A colour written as COLOR_0 is the whole colour, so its material's base
// colour is white.
GltfBuilder::Material GltfBuilder::material(const GxElement &body, bool colored) {
  const GxString *wanted = stringMember(body, "material");
  const GxElement *source = nullptr;
  for (const GxElement *child : tree_.children()) {
    if (child == &body)
      break;
    if (wanted && child->typeName() == "material" && child->name() == *wanted)
      source = child;
  }
  const auto known = materials_.find({source, colored});
  if (known != materials_.end())
    return known->second;
  std::array<float, 3> diffuse{1, 1, 1};
  int textureIndex = -1;
  if (const GxElement *shading = source ? source->findChild("GL_Shade") : nullptr) {
    const std::vector<float> *rgb = floatValues(shading->findChild("DIFFUSE-COLOR"));
    if (rgb && rgb->size() >= 3)
      std::copy(rgb->begin(), rgb->begin() + 3, diffuse.begin());
    const GxElement *map = shading->findChild("TEXTURE-MAP");
    if (const GxString *file = map ? stringMember(*map, "name") : nullptr)
      textureIndex = texture(file->str());
  }
  json pbr = {{"metallicFactor", 0.0}, {"roughnessFactor", 0.8}};
  const bool white = colored || textureIndex >= 0;
  pbr["baseColorFactor"] = {white ? 1.0f : srgbToLinear(diffuse[0]),
                            white ? 1.0f : srgbToLinear(diffuse[1]),
                            white ? 1.0f : srgbToLinear(diffuse[2]), 1.0};
  if (textureIndex >= 0)
    pbr["baseColorTexture"] = {{"index", textureIndex}};
  doc["materials"].push_back(
      {{"name", source ? source->name().str() : "default"}, {"pbrMetallicRoughness", pbr}});
  return materials_[{source, colored}] = {int(doc["materials"].size() - 1), textureIndex >= 0};
}

constexpr int kLinear = 9729; // GL_LINEAR

// The texture of the file the tree names, when the export handed its bytes in; else -1.
int GltfBuilder::texture(const std::string &name) {
  const auto known = textureIndex_.find(name);
  if (known != textureIndex_.end())
    return known->second;
  int index = -1;
  for (const auto &[file, bytes] : textures_) {
    if (file != name)
      continue;
    json image = {{"mimeType", "image/png"}};
    if (binary_) {
      image["bufferView"] = addView(bytes.data(), bytes.size(), 0);
    } else {
      image["uri"] = encodePercent(file);
      images.emplace_back(file, bytes);
    }
    doc["images"].push_back(image);
    // The program draws paint with linear filtering and no mipmaps; the one sampler says so,
    // so that viewers show the texture as the program does.
    if (!doc.contains("samplers"))
      doc["samplers"] = {{{"magFilter", kLinear}, {"minFilter", kLinear}}};
    doc["textures"].push_back({{"source", doc["images"].size() - 1}, {"sampler", 0}});
    index = int(doc["textures"].size() - 1);
    break;
  }
  return textureIndex_[name] = index;
}

// The glTF vertices of a body's faces (each face a fan, its corner list walked backwards) and
// three indices per triangle; corners equal in every value share a vertex.
void collectCorners(const GxElement &body, bool textured, std::vector<Corner> &corners,
                    std::vector<uint32_t> &indices) {
  const auto vertices = itemsOf(body, "vertices"), normals = itemsOf(body, "normals"),
             colors = itemsOf(body, "vertex-color"), uvs = itemsOf(body, "uv-array");
  const char *const names[] = {"vertex-indices", "vertex-normal-indices", "vertex-color-indices",
                               "uv-indices"};
  std::unordered_map<std::string, uint32_t> known;
  std::vector<int32_t> ids[4];
  auto id = [&ids](int list, size_t j) { return j < ids[list].size() ? ids[list][j] : -1; };
  for (const GxElement *face : itemsOf(body, "faces")) {
    for (int k = 0; k < 4; ++k) {
      ids[k].clear();
      if (const GxElement *list = face->findChild(names[k]))
        intValues(*list, ids[k]);
    }
    std::vector<Corner> ring(ids[0].size());
    for (size_t j = 0; j < ring.size(); ++j) {
      Corner &c = ring[j];
      c.fill(0.0f);
      c[6] = c[7] = c[8] = 1.0f;
      copyValues(vertices, id(0, j), &c[0], 3);
      copyValues(normals, id(1, j), &c[3], 3);
      copyValues(colors, id(2, j), &c[6], 3);
      const int32_t uv = id(3, j);
      if (textured && uv >= 0 && size_t(uv) < uvs.size())
        uvOf(*uvs[size_t(uv)], c[9], c[10]);
    }
    for (size_t j = 1; j + 1 < ring.size(); ++j)
      for (const size_t k : {size_t(0), j + 1, j}) {
        Corner c = ring[k];
        setUnitNormal(&c[3], &ring[0][0], &ring[j + 1][0], &ring[j][0]);
        for (size_t i = 6; i < 9; ++i)
          c[i] = srgbToLinear(std::min(1.0f, std::max(0.0f, c[i])));
        const std::string key(reinterpret_cast<const char *>(c.data()), sizeof(Corner));
        const auto [at, added] = known.emplace(key, uint32_t(corners.size()));
        if (added)
          corners.push_back(c);
        indices.push_back(at->second);
      }
  }
}

int GltfBuilder::addMesh(const GxElement &body) {
  const bool colored =
      body.findChild("vertex-color") && body.findChild("vertex-color")->childCount();
  const Material m = material(body, colored);
  std::vector<Corner> corners;
  std::vector<uint32_t> indices;
  collectCorners(body, m.textured, corners, indices);
  if (indices.empty())
    return -1;
  json primitive = {{"attributes", addAttributes(corners, colored, m.textured)},
                    {"indices", addIndices(indices, corners.size())},
                    {"mode", 4},
                    {"material", m.index}};
  // json::array: braces around one json value copy it with some compilers.
  doc["meshes"].push_back({{"name", body.name().str()}, {"primitives", json::array({primitive})}});
  return int(doc["meshes"].size() - 1);
}

json GltfBuilder::addAttributes(const std::vector<Corner> &corners, bool colored, bool textured) {
  json attributes;
  std::vector<float> column;
  const std::pair<const char *, int> kAttributes[] = {
      {"POSITION", 3}, {"NORMAL", 3}, {"COLOR_0", 3}, {"TEXCOORD_0", 2}};
  int first = 0;
  for (const auto &[name, width] : kAttributes) {
    const bool wanted = first < 6 || (first == 6 ? colored : textured);
    column.clear();
    for (const Corner &c : corners)
      column.insert(column.end(), c.begin() + first, c.begin() + first + width);
    if (wanted)
      attributes[name] = addAccessor(column.data(), corners.size(), width, kFloat, kArrayBuffer);
    first += width;
  }
  std::array<float, 3> low{corners[0][0], corners[0][1], corners[0][2]}, high = low;
  for (const Corner &c : corners)
    for (size_t i = 0; i < 3; ++i) {
      low[i] = std::min(low[i], c[i]);
      high[i] = std::max(high[i], c[i]);
    }
  json &position = doc["accessors"][size_t(attributes["POSITION"].get<int>())];
  position["min"] = low;
  position["max"] = high;
  return attributes;
}

// Unsigned shorts while every index fits (65535 itself is kept for primitive restart).
int GltfBuilder::addIndices(const std::vector<uint32_t> &indices, size_t vertices) {
  if (vertices < 0xFFFF) {
    const std::vector<uint16_t> shorts(indices.begin(), indices.end());
    return addAccessor(shorts.data(), shorts.size(), 1, kUnsignedShort, kElementArrayBuffer);
  }
  return addAccessor(indices.data(), indices.size(), 1, kUnsignedInt, kElementArrayBuffer);
}

// The node of an instance and of everything below it. A body is shown by its first instance.
json GltfBuilder::node(const GxElement &instance, MeshQueue &meshes) {
  json n = json::object();
  if (const GxString *name = stringMember(instance, "name"))
    n["name"] = name->str();
  const GxString *body = stringMember(instance, "body");
  const auto mesh = body ? meshes.find(body->str()) : meshes.end();
  if (mesh != meshes.end() && !mesh->second.empty()) {
    n["mesh"] = mesh->second.front();
    mesh->second.pop_front();
  }
  const GxElement *rows = instance.findChild("matrix");
  if (rows && rows->childCount() == 4) {
    std::vector<float> m(16, 0.0f);
    bool complete = true;
    for (int r = 0; r < 4; ++r) {
      const std::vector<float> *row = floatValues(rows->childAt(r));
      complete = complete && row && row->size() >= 4;
      for (int c = 0; complete && c < 4; ++c)
        m[size_t(4 * c + r)] = (*row)[size_t(c)];
    }
    if (complete)
      n["matrix"] = m;
  }
  return n;
}

void GltfBuilder::build() {
  doc = {{"asset", {{"version", "2.0"}, {"generator", "Morvo"}}}};
  MeshQueue meshes;
  for (const GxElement *child : tree_.children())
    if (child->typeName() == "body") {
      const int mesh = addMesh(*child);
      if (mesh >= 0)
        meshes[child->name().str()].push_back(mesh);
    }
  // Instances to nodes, parents before children, without recursion.
  json nodes = json::array(), roots = json::array();
  std::vector<std::pair<const GxElement *, int>> pending; // instance, parent node or -1
  for (auto it = tree_.children().rbegin(); it != tree_.children().rend(); ++it)
    if ((*it)->typeName() == "gobject")
      pending.emplace_back(*it, -1);
  while (!pending.empty()) {
    const auto [instance, parent] = pending.back();
    pending.pop_back();
    nodes.push_back(node(*instance, meshes));
    const int index = int(nodes.size() - 1);
    (parent < 0 ? roots : nodes[size_t(parent)]["children"]).push_back(index);
    if (const GxElement *children = instance->findChild("children"))
      for (auto it = children->children().rbegin(); it != children->children().rend(); ++it)
        pending.emplace_back(*it, index);
  }
  for (const auto &[name, left] : meshes) // bodies no instance shows get a node of their own
    for (const int mesh : left) {
      nodes.push_back({{"name", name}, {"mesh", mesh}});
      roots.push_back(nodes.size() - 1);
    }
  if (!nodes.empty()) {
    doc["nodes"] = nodes;
    doc["scenes"] = json::array({json{{"nodes", roots}}});
    doc["scene"] = 0;
  }
}

int writeEither(const GxElement *tree, const std::string &fileName, WrittenModel &out,
                bool binary) {
  if (!tree)
    return 2;
  GltfBuilder builder(*tree, out, binary);
  builder.build();
  if (!builder.bin.empty()) {
    json buffer = {{"byteLength", builder.bin.size()}};
    if (!binary) {
      const size_t dot = fileName.rfind('.');
      const std::string binName = fileName.substr(0, dot) + ".bin";
      buffer["uri"] = encodePercent(binName);
      out.companions.emplace_back(binName, builder.bin);
    }
    builder.doc["buffers"] = json::array({buffer});
  }
  // Names come from other files and may not be UTF-8: such bytes are written as U+FFFD.
  const std::string text =
      builder.doc.dump(binary ? -1 : 1, ' ', false, json::error_handler_t::replace);
  out.main = binary ? packGlb(text, builder.bin) : text + "\n";
  for (auto &image : builder.images)
    out.companions.push_back(std::move(image));
  return 0;
}

} // namespace

int writeGltf(const GxElement *tree, const std::string &fileName, WrittenModel &out,
              std::ostream &) {
  return writeEither(tree, fileName, out, false);
}

int writeGlb(const GxElement *tree, const std::string &fileName, WrittenModel &out,
             std::ostream &) {
  return writeEither(tree, fileName, out, true);
}
