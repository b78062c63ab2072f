// Simplification of a body with more triangles than an object holds, through libmeshoptimizer's
// edge-collapse simplifier on the welded triangles. Compiled out (simplificationAvailable false)
// when the library was absent at configure time.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <string>
#include <vector>

// Triangles a simplified body is brought down to: under an object's face limit with room for
// the faces the mesh builder may add while it closes the surface.
constexpr int32_t kSimplifyTarget = 30000;

// Whether simplifyPolygons can do anything in this build.
bool simplificationAvailable();

struct SimplifiedMesh {
  std::vector<moVec3> positions;        // the vertices still used, welded by position
  std::vector<int32_t> corners, starts; // triangles, in the form buildClosedSurface takes
  std::vector<int32_t> vertexOf;        // per input vertex: its vertex here, -1 when gone
  int64_t from = 0;                     // triangles before (polygons split into fans)
  double error = 0;                     // the library's error, relative to the mesh's extent
};

// Welds the input vertices of equal position, splits the polygons (given as for
// buildClosedSurface) into triangles and simplifies them to at most target triangles with the
// smallest error that reaches it. Edge collapses keep a closed surface closed and an open
// border a border. False when simplification is not available or cannot reach the target
// (out is then unspecified).
bool simplifyPolygons(const std::vector<moVec3> &positions, const std::vector<int32_t> &corners,
                      const std::vector<int32_t> &starts, int32_t target, SimplifiedMesh &out);

// "69 451": a count with its thousands set apart, as the summary lines give them.
std::string groupedCount(int64_t count);
