#include "interchange/3ds/mesh_records.h"

#include <algorithm>

namespace {

struct Damage {
  FtkError code;
  std::string detail;
};

Chunk3ds leaf(uint16_t id, std::string data) {
  Chunk3ds chunk;
  chunk.id = id;
  chunk.data = std::move(data);
  return chunk;
}

Chunk3ds *editor(Chunk3ds &db) {
  for (Chunk3ds &child : db.children)
    if (child.id == kChunkEditor)
      return &child;
  db.children.push_back(leaf(kChunkEditor, ""));
  return &db.children.back();
}

// A 16-bit count and that many points of N floats each (vertices or texture vertices).
template <size_t N>
void readPoints(const Chunk3ds &chunk, const std::string &what,
                std::vector<std::array<float, N>> &points) {
  ChunkReader in(chunk.data);
  uint16_t count = 0;
  if (!in.u16(count) || !in.holds(count, 4 * N))
    throw Damage{FtkError::kInvalidData, "more " + what + " than the chunk holds"};
  points.resize(count);
  for (auto &p : points)
    for (float &c : p)
      in.f32(c);
}

void readMaterialGroup(const Chunk3ds &chunk, MeshObject3ds &mesh) {
  ChunkReader in(chunk.data);
  MeshObject3ds::MaterialGroup group;
  uint16_t count = 0;
  if (!in.text(group.material) || !in.u16(count) || !in.holds(count, 2))
    throw Damage{FtkError::kInvalidData, "a material group cut short in " + mesh.name};
  group.faces.resize(count);
  for (uint16_t &f : group.faces)
    if (!in.u16(f) || f >= mesh.faces.size())
      throw Damage{FtkError::kInvalidData, "a material group names a face beyond " + mesh.name};
  mesh.groups.push_back(std::move(group));
}

// The face chunk's own bytes were sized when the database was loaded.
void readFaces(const Chunk3ds &chunk, MeshObject3ds &mesh) {
  ChunkReader in(chunk.data);
  uint16_t count = 0;
  in.u16(count);
  mesh.faces.resize(count);
  for (MeshObject3ds::Face &f : mesh.faces) {
    for (uint16_t &v : f.v)
      in.u16(v);
    in.u16(f.flags);
    if (std::max({f.v[0], f.v[1], f.v[2]}) >= mesh.vertices.size())
      throw Damage{FtkError::kInvalidData, "a face index out of range in " + mesh.name};
  }
  for (const Chunk3ds &child : chunk.children)
    if (child.id == kChunkMaterialGroup)
      readMaterialGroup(child, mesh);
}

void readTriangles(const Chunk3ds &object, const Chunk3ds &triangles, MeshObject3ds &mesh) {
  ChunkReader(object.data).text(mesh.name);
  if (const Chunk3ds *points = findChunk(triangles, kChunkPointArray))
    readPoints(*points, "vertices of " + mesh.name, mesh.vertices);
  if (const Chunk3ds *uvs = findChunk(triangles, kChunkTexVerts))
    readPoints(*uvs, "texture vertices of " + mesh.name, mesh.texVertices);
  if (const Chunk3ds *faces = findChunk(triangles, kChunkFaceArray))
    readFaces(*faces, mesh);
}

// A colour chunk's value: float or byte colours, the first one given.
void readColor(const Chunk3ds &chunk, std::array<float, 3> &color) {
  for (const Chunk3ds &c : chunk.children) {
    ChunkReader in(c.data);
    if ((c.id == kChunkColorF || c.id == kChunkLinColorF) && in.holds(3, 4)) {
      for (float &value : color)
        in.f32(value);
      return;
    }
    if ((c.id == kChunkColor24 || c.id == kChunkLinColor24) && in.holds(3, 1)) {
      for (size_t i = 0; i < 3; ++i)
        color[i] = float(static_cast<unsigned char>(c.data[i])) / 255.0f;
      return;
    }
  }
}

// A percentage chunk's value as a fraction of 1.
void readPercent(const Chunk3ds &chunk, float &fraction) {
  for (const Chunk3ds &c : chunk.children) {
    ChunkReader in(c.data);
    uint16_t whole = 0;
    float percent = 0;
    if ((c.id == kChunkIntPercent && in.u16(whole)) ||
        (c.id == kChunkFloatPercent && in.f32(percent))) {
      fraction = (c.id == kChunkIntPercent ? float(whole) : percent) / 100.0f;
      return;
    }
  }
}

Material3ds readMaterial(const Chunk3ds &entry) {
  Material3ds m;
  for (const Chunk3ds &c : entry.children) {
    if (c.id == kChunkMatName)
      ChunkReader(c.data).text(m.name);
    else if (c.id == kChunkMatAmbient)
      readColor(c, m.ambient);
    else if (c.id == kChunkMatDiffuse)
      readColor(c, m.diffuse);
    else if (c.id == kChunkMatSpecular)
      readColor(c, m.specular);
    else if (c.id == kChunkMatShininess)
      readPercent(c, m.shininess);
    else if (c.id == kChunkMatShinStrength)
      readPercent(c, m.shininessStrength);
    else if (c.id == kChunkMatTransparency)
      readPercent(c, m.transparency);
  }
  if (const Chunk3ds *map = findChunk(entry, kChunkMatTexMap)) {
    if (const Chunk3ds *name = findChunk(*map, kChunkMatMapName))
      ChunkReader(name->data).text(m.textureMap);
    readPercent(*map, m.textureStrength);
  }
  return m;
}

Chunk3ds colorChunk(uint16_t id, const std::array<float, 3> &color) {
  std::string data;
  for (float c : color)
    putF32(data, c);
  Chunk3ds chunk = leaf(id, "");
  chunk.children.push_back(leaf(kChunkColorF, data));
  return chunk;
}

Chunk3ds percentChunk(uint16_t id, float fraction) {
  std::string data;
  putF32(data, fraction * 100.0f);
  Chunk3ds chunk = leaf(id, "");
  chunk.children.push_back(leaf(kChunkFloatPercent, data));
  return chunk;
}

Chunk3ds faceChunk(const MeshObject3ds &mesh) {
  std::string data;
  putU16(data, uint16_t(mesh.faces.size()));
  for (const MeshObject3ds::Face &f : mesh.faces) {
    for (uint16_t v : f.v)
      putU16(data, v);
    putU16(data, f.flags);
  }
  Chunk3ds chunk = leaf(kChunkFaceArray, data);
  for (const MeshObject3ds::MaterialGroup &g : mesh.groups) {
    std::string group;
    putText(group, g.material);
    putU16(group, uint16_t(g.faces.size()));
    for (uint16_t f : g.faces)
      putU16(group, f);
    chunk.children.push_back(leaf(kChunkMaterialGroup, group));
  }
  return chunk;
}

} // namespace

Chunk3ds initDatabase() {
  std::string version, scale;
  putU32(version, 3);
  putF32(scale, 1.0f);
  Chunk3ds db = leaf(kChunkMain, "");
  db.children.push_back(leaf(kChunkVersion, version));
  Chunk3ds edit = leaf(kChunkEditor, "");
  edit.children.push_back(leaf(kChunkMeshVersion, version));
  edit.children.push_back(leaf(kChunkMasterScale, scale));
  db.children.push_back(std::move(edit));
  return db;
}

FtkError fetchMeshObjects(const Chunk3ds &db, std::vector<MeshObject3ds> &out,
                          std::string &detail) {
  const Chunk3ds *edit = findChunk(db, kChunkEditor);
  if (!edit) {
    detail = "the file has no editor chunk";
    return FtkError::kUnfoundChunk;
  }
  try {
    for (const Chunk3ds &object : edit->children)
      if (const Chunk3ds *triangles =
              object.id == kChunkNamedObject ? findChunk(object, kChunkTriObject) : nullptr) {
        MeshObject3ds mesh;
        readTriangles(object, *triangles, mesh);
        out.push_back(std::move(mesh));
      }
  } catch (const Damage &damage) {
    detail = damage.detail;
    return damage.code;
  }
  return FtkError::kNone;
}

FtkError fetchMaterials(const Chunk3ds &db, std::vector<Material3ds> &out, std::string &detail) {
  const Chunk3ds *edit = findChunk(db, kChunkEditor);
  if (!edit) {
    detail = "the file has no editor chunk";
    return FtkError::kUnfoundChunk;
  }
  for (const Chunk3ds &entry : edit->children)
    if (entry.id == kChunkMatEntry)
      out.push_back(readMaterial(entry));
  return FtkError::kNone;
}

void putMeshObject(Chunk3ds &db, const MeshObject3ds &mesh) {
  std::string points, uvs, name, matrix;
  putU16(points, uint16_t(mesh.vertices.size()));
  for (const auto &v : mesh.vertices)
    for (float c : v)
      putF32(points, c);
  putText(name, mesh.name);
  for (float c : {1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f, 1.f, 0.f, 0.f, 0.f})
    putF32(matrix, c);
  Chunk3ds triangles = leaf(kChunkTriObject, "");
  triangles.children.push_back(leaf(kChunkPointArray, points));
  if (!mesh.texVertices.empty()) {
    putU16(uvs, uint16_t(mesh.texVertices.size()));
    for (const auto &t : mesh.texVertices)
      for (float c : t)
        putF32(uvs, c);
    triangles.children.push_back(leaf(kChunkTexVerts, uvs));
  }
  triangles.children.push_back(leaf(kChunkMeshMatrix, matrix));
  triangles.children.push_back(faceChunk(mesh));
  Chunk3ds object = leaf(kChunkNamedObject, name);
  object.children.push_back(std::move(triangles));
  editor(db)->children.push_back(std::move(object));
}

void putMaterial(Chunk3ds &db, const Material3ds &m) {
  std::string name;
  putText(name, m.name);
  Chunk3ds entry = leaf(kChunkMatEntry, "");
  entry.children.push_back(leaf(kChunkMatName, name));
  entry.children.push_back(colorChunk(kChunkMatAmbient, m.ambient));
  entry.children.push_back(colorChunk(kChunkMatDiffuse, m.diffuse));
  entry.children.push_back(colorChunk(kChunkMatSpecular, m.specular));
  entry.children.push_back(percentChunk(kChunkMatShininess, m.shininess));
  entry.children.push_back(percentChunk(kChunkMatShinStrength, m.shininessStrength));
  entry.children.push_back(percentChunk(kChunkMatTransparency, m.transparency));
  if (!m.textureMap.empty()) {
    std::string map;
    putText(map, m.textureMap);
    Chunk3ds texture = percentChunk(kChunkMatTexMap, m.textureStrength);
    texture.children.push_back(leaf(kChunkMatMapName, map));
    entry.children.push_back(std::move(texture));
  }
  std::vector<Chunk3ds> &chunks = editor(db)->children;
  const auto firstObject = std::find_if(
      chunks.begin(), chunks.end(), [](const Chunk3ds &c) { return c.id == kChunkNamedObject; });
  chunks.insert(firstObject, std::move(entry));
}
