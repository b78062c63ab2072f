// Meshes built in code for tests and benchmarks, linked straight from polygon lists without the
// topology edits under test.
#pragma once

#include <ostream>

#include "core/mesh.h"

#include <string>
#include <vector>

struct PolygonMesh {
  std::vector<moVec3> points;
  std::vector<std::vector<int32_t>> faces; // corners clockwise seen from outside
};

// Appends the mesh to obj: points become vertices (indices offset by the vertex count so far),
// each face gets its edges (shared between neighbours) and all wings. The faces must form a
// closed, consistently oriented surface.
void appendPolygonMesh(moObject &obj, const PolygonMesh &mesh);
moObject makeObject(const PolygonMesh &mesh);

// Cube with corners (+-1, +-1, +-1); vertex i has x = +1 when bit 0 is set, y bit 1, z bit 2.
PolygonMesh cubeMesh();
// Closed torus of rings x segments vertices. Each face spans `span` segments of a ring (span 1:
// quads), so larger spans give fewer, many-sided faces: rings * segments * (1 + 1 / span) edges
// and rings * segments / span faces. segments must be a multiple of span.
PolygonMesh torusMesh(int32_t rings, int32_t segments, int32_t span = 1);

// Closed slab: an nx x ny grid of quads on top (z = 1) and bottom (z = 0) joined by a ring of
// side quads; 2 * nx * ny + 2 * (nx + ny) faces.
PolygonMesh slabMesh(int32_t nx, int32_t ny);

// Closed sphere of radius r around the origin, all triangles: two poles and stacks - 1 rings
// of segments vertices; 2 * segments * (stacks - 1) faces.
PolygonMesh sphereMesh(int32_t segments, int32_t stacks, float r = 1.0f);
// The mesh as Wavefront OBJ text ("v" and "f" lines, faces counter-clockwise from outside).
std::string objText(const PolygonMesh &mesh);

// Checks the winged-edge invariants of every active edge (both faces and ends set, every wing
// pointing back through the field the back-link table names); returns the first problem found
// or an empty string.
std::string wingProblem(moObject &obj);

// The first difference between two objects' element arrays (every field, inactive slots
// included), or an empty string when they are identical element for element.
std::string meshDifference(const moObject &a, const moObject &b);

// Active vertices, edges and faces.
struct ElementCounts {
  int32_t vertices = 0, edges = 0, faces = 0;
  bool operator==(const ElementCounts &o) const {
    return vertices == o.vertices && edges == o.edges && faces == o.faces;
  }
};
ElementCounts countElements(const moObject &obj);
std::ostream &operator<<(std::ostream &out, const ElementCounts &c);
