// The 3DS file toolkit's upper half: the mesh object and material records that readers and
// writers exchange with a chunk database, fetched from it and put into it.
#pragma once

#include "interchange/3ds/chunk_database.h"

#include <array>
#include <string>
#include <vector>

// Name limits of the file: longer names are shortened by the writer.
constexpr size_t kMeshNameLimit = 10;
constexpr size_t kMaterialNameLimit = 16;
constexpr size_t kMapNameLimit = 12; // an 8.3 file name

struct MeshObject3ds {
  struct Face {
    uint16_t v[3] = {0, 0, 0};
    uint16_t flags = 0;
  };
  struct MaterialGroup {
    std::string material;
    std::vector<uint16_t> faces;
  };
  std::string name;
  std::vector<std::array<float, 3>> vertices;
  std::vector<std::array<float, 2>> texVertices; // u, v
  std::vector<Face> faces;
  std::vector<MaterialGroup> groups;
};

struct Material3ds {
  std::string name;
  std::array<float, 3> ambient{}, diffuse{}, specular{};
  // Fractions of 1; the file keeps them as percentages.
  float shininess = 0, shininessStrength = 0, transparency = 0;
  std::string textureMap; // empty: none
  float textureStrength = 0;
};

// A new database: the main chunk with its version and an empty editor chunk.
Chunk3ds initDatabase();

// The mesh objects (triangle meshes) of the database, in file order. On failure (counts beyond
// a chunk's data, face indices out of range, a chunk missing) returns the code with the reason
// in detail, and out holds what was fetched before.
FtkError fetchMeshObjects(const Chunk3ds &db, std::vector<MeshObject3ds> &out, std::string &detail);
// The materials of the database, in file order; failures as above.
FtkError fetchMaterials(const Chunk3ds &db, std::vector<Material3ds> &out, std::string &detail);

// Put a record into the database's editor chunk: materials before every object. The caller keeps
// within the file's limits (at most 65535 vertices, texture vertices and faces).
void putMeshObject(Chunk3ds &db, const MeshObject3ds &mesh);
void putMaterial(Chunk3ds &db, const Material3ds &material);
