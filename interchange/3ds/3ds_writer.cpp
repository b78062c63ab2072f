#include "interchange/3ds/3ds_format.h"
#include "interchange/3ds/mesh_records.h"
#include "interchange/format_registry.h"
#include "interchange/gx_build.h"

#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace {

constexpr size_t kMaxCount = std::numeric_limits<uint16_t>::max();

// name cut to limit characters, its end replaced by "_<n>" while the result is taken already.
std::string uniqueName(const std::string &name, size_t limit,
                       std::unordered_set<std::string> &used) {
  std::string candidate = name.substr(0, limit);
  for (int n = 1; !used.insert(candidate).second; ++n) {
    const std::string suffix = "_" + std::to_string(n);
    candidate = name.substr(0, limit - suffix.size()) + suffix;
  }
  return candidate;
}

float first(const GxElement *leaf, size_t i) {
  const std::vector<float> *values = floatValues(leaf);
  return values && i < values->size() ? (*values)[i] : 0.0f;
}

std::array<float, 3> color(const GxElement *leaf) {
  return {first(leaf, 0), first(leaf, 1), first(leaf, 2)};
}

class ThreeDsWriter {
public:
  explicit ThreeDsWriter(std::ostream &diag) : diag_(diag) {}
  void material(const GxElement &material);
  // False (reported) when the body does not fit a 3DS object.
  bool body(const GxElement &body);
  const Chunk3ds &database() const { return db_; }

private:
  void vertices(const GxElement &body, MeshObject3ds &mesh) const;
  void faces(const GxElement &body, MeshObject3ds &mesh) const;
  bool addFace(const GxElement *face, MeshObject3ds &mesh) const;

  std::ostream &diag_;
  Chunk3ds db_ = initDatabase();
  std::unordered_set<std::string> meshNames_, materialNames_;
  std::unordered_map<std::string, std::string> materialNameOf_; // tree name -> file name
};

void ThreeDsWriter::material(const GxElement &material) {
  Material3ds m;
  m.name = uniqueName(material.name().str(), kMaterialNameLimit, materialNames_);
  materialNameOf_.emplace(material.name().str(), m.name);
  m.shininessStrength = 0.5f;
  for (const GxElement *shading : material.children()) {
    if (shading->name() != "GL_Shade")
      continue;
    for (const GxElement *e : shading->children()) {
      const auto *number = dynamic_cast<const GxFloatProperty *>(e);
      if (e->name() == "DIFFUSE-COLOR")
        m.diffuse = color(e);
      else if (e->name() == "SPECULAR-COLOR")
        m.specular = color(e);
      else if (e->name() == "SHININESS" && number)
        m.shininess = number->value();
      else if (e->name() == "OPACITY" && number)
        m.transparency = 1.0f - number->value();
      else if (e->name() == "TEXTURE-MAP")
        if (const GxString *name = stringMember(*e, "name")) {
          m.textureMap = name->str().substr(0, kMapNameLimit);
          m.textureStrength = 1.0f;
        }
    }
  }
  putMaterial(db_, m);
}

void ThreeDsWriter::vertices(const GxElement &body, MeshObject3ds &mesh) const {
  for (const GxElement *list : body.children()) {
    if (list->typeName() == "vertex" && list->isArray())
      for (const GxElement *item : list->children()) {
        const GxElement *coord = item->findChild("coord");
        mesh.vertices.push_back({first(coord, 0), -first(coord, 2), first(coord, 1)}); // Z-up
      }
    if (list->typeName() == "uv-array" && list->isArray())
      for (const GxElement *item : list->children()) {
        float u = 0, v = 0;
        uvOf(*item, u, v);
        mesh.texVertices.push_back({u, v});
      }
  }
}

bool ThreeDsWriter::addFace(const GxElement *face, MeshObject3ds &mesh) const {
  std::vector<int32_t> indices;
  if (const GxElement *list = face ? face->findChild("vertex-indices") : nullptr)
    intValues(*list, indices);
  if (indices.size() > 3)
    diag_ << "Mesh is for triangles only" << std::endl;
  if (indices.size() < 3)
    return false;
  MeshObject3ds::Face f;
  for (size_t i = 0; i < 3; ++i) {
    if (indices[i] < 0 || size_t(indices[i]) >= mesh.vertices.size())
      return false;
    f.v[2 - i] = uint16_t(indices[i]);
  }
  f.flags = 7;
  mesh.faces.push_back(f);
  return true;
}

// The faces the face parts list (every face when there are none), in that order.
void ThreeDsWriter::faces(const GxElement &body, MeshObject3ds &mesh) const {
  const GxElement *list = body.findChild("faces");
  const GxElement *parts = body.findChild("face-parts");
  std::vector<int32_t> order;
  for (const GxElement *part : parts ? parts->children() : std::vector<GxElement *>())
    if (const GxElement *indices = part->findChild("face-indices"))
      intValues(*indices, order);
  if (!parts && list)
    for (int32_t f = 0; f < list->childCount(); ++f)
      order.push_back(f);
  for (int32_t f : order)
    if (!addFace(list ? list->childAt(f) : nullptr, mesh))
      diag_ << "A face of " << body.name() << " is left out: it is not a triangle of the mesh"
            << std::endl;
}

bool ThreeDsWriter::body(const GxElement &body) {
  MeshObject3ds mesh;
  mesh.name = uniqueName(body.name().str(), kMeshNameLimit, meshNames_);
  vertices(body, mesh);
  faces(body, mesh);
  if (mesh.vertices.size() > kMaxCount || mesh.texVertices.size() > kMaxCount ||
      mesh.faces.size() > kMaxCount) {
    diag_ << body.name() << " has more than " << kMaxCount
          << " vertices or faces, more than a 3DS object holds" << std::endl;
    return false;
  }
  const GxString *material = stringMember(body, "material");
  if (material && !material->empty()) {
    const auto known = materialNameOf_.find(material->str());
    MeshObject3ds::MaterialGroup group;
    group.material = known != materialNameOf_.end() ? known->second
                                                    : material->str().substr(0, kMaterialNameLimit);
    for (size_t f = 0; f < mesh.faces.size(); ++f)
      group.faces.push_back(uint16_t(f));
    mesh.groups.push_back(std::move(group));
  }
  putMeshObject(db_, mesh);
  return true;
}

} // namespace

int write3ds(const GxElement *tree, const std::string &, WrittenModel &out,
             std::ostream &diagnostics) {
  if (!tree)
    return 2;
  ThreeDsWriter writer(diagnostics);
  for (const GxElement *child : tree->children())
    if (child->typeName() == "material")
      writer.material(*child);
  for (const GxElement *child : tree->children())
    if (child->typeName() == "body" && !writer.body(*child))
      return 1;
  out.main = writeDatabase(writer.database());
  return 0;
}
