#include "interchange/3ds/3ds_format.h"
#include "interchange/3ds/mesh_records.h"
#include "interchange/gx_build.h"

#include <new>

namespace {

void addIndices(GxElement &face, const char *name, const MeshObject3ds::Face &f) {
  GxNode *list = addNode(face, "integer", name, true);
  for (int corner = 2; corner >= 0; --corner) // the file's corner order is the reverse of ours
    addInt(*list, "", f.v[corner]);
}

void addFaceParts(GxElement &body, const MeshObject3ds &mesh) {
  addString(body, "material", mesh.groups.front().material);
  GxNode *parts = addNode(body, "face-part", "face-parts", true);
  for (const MeshObject3ds::MaterialGroup &group : mesh.groups) {
    GxNode *part = addNode(*parts, "face-part", "");
    addString(*part, "name", group.material);
    addString(*part, "material", group.material);
    GxNode *faces = addNode(*part, "integer", "face-indices", true);
    for (uint16_t f : group.faces)
      addInt(*faces, "", f);
  }
}

void addBody(GxElement &root, const MeshObject3ds &mesh) {
  GxNode *body = addNode(root, "body", mesh.name.c_str());
  GxNode *vertices = addNode(*body, "vertex", "vertices", true);
  for (const auto &v : mesh.vertices) // Z-up in the file
    addVec3(*addNode(*vertices, "vertex", ""), "coord", v[0], v[2], -v[1]);
  const bool textured = !mesh.texVertices.empty();
  if (textured) {
    GxNode *uvs = addNode(*body, "uv-array", "uv-array", true);
    for (const auto &t : mesh.texVertices)
      addUv(*uvs, t[0], t[1]);
  }
  GxNode *faces = addNode(*body, "face", "faces", true);
  for (const MeshObject3ds::Face &f : mesh.faces) {
    GxNode *face = addNode(*faces, "face", "");
    addIndices(*face, "vertex-indices", f);
    if (textured)
      addIndices(*face, "uv-indices", f);
  }
  if (!mesh.groups.empty())
    addFaceParts(*body, mesh);
}

void addMaterial(GxElement &root, const Material3ds &m) {
  GxNode *material = addNode(root, "material", m.name.c_str());
  GxNode *shading = addNode(*material, "GL_Shade-domain", "GL_Shade");
  addVec3(*shading, "DIFFUSE-COLOR", m.diffuse[0], m.diffuse[1], m.diffuse[2]);
  addVec3(*shading, "SPECULAR-COLOR", m.specular[0], m.specular[1], m.specular[2]);
  addFloat(*shading, "SHININESS", m.shininess);
  addFloat(*shading, "OPACITY", 1.0f - m.transparency);
  if (!m.textureMap.empty())
    addString(*addNode(*shading, "map", "TEXTURE-MAP"), "name", m.textureMap);
}

} // namespace

GxElement *read3ds(std::string_view bytes, const CompanionReader &, std::ostream &diagnostics) {
  Chunk3ds db;
  std::vector<MeshObject3ds> meshes;
  std::vector<Material3ds> materials;
  std::string detail;
  FtkError code = loadDatabase(bytes, db, detail);
  if (code == FtkError::kNone)
    code = fetchMeshObjects(db, meshes, detail);
  if (code == FtkError::kNone)
    code = fetchMaterials(db, materials, detail);
  if (code != FtkError::kNone) {
    diagnostics << "Error reading 3DS file: " << ftkErrorText(code) << " (" << detail << ")"
                << std::endl;
    return nullptr;
  }
  try {
    GxPtr root(makeGxRoot());
    for (const MeshObject3ds &mesh : meshes)
      addBody(*root, mesh);
    for (const Material3ds &material : materials)
      addMaterial(*root, material);
    return root.release();
  } catch (const std::bad_alloc &) {
    diagnostics << "Error reading 3DS file: " << ftkErrorText(FtkError::kNoMemory) << std::endl;
    return nullptr;
  }
}

bool sniff3ds(std::string_view bytes) {
  return bytes.size() >= 6 && bytes[0] == char(kChunkMain & 0xff) &&
         bytes[1] == char(kChunkMain >> 8);
}
