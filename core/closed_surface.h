// buildClosedSurface: the short way from polygons to an object for the common case. Polygons that
// already form a closed surface (every edge passed once in each direction, by two different
// faces; every polygon of three or more distinct vertices; the faces around each vertex one
// fan) need none of MeshBuilder's repairs. This fills the object from them straight away, with
// exactly the vertices, edges, faces, indices and links MeshBuilder gives them, in a fraction of
// its time and memory, and says so when it cannot.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <vector>

// positions: the vertices, in the order MeshBuilder::addVertex would receive them. Polygon k
// holds corners[starts[k]] .. corners[starts[k + 1] - 1], vertex indices in the order
// MeshBuilder::addPolygon(..., forward = false) would receive them.
// Needs: starts non-empty and non-decreasing, starts.back() == corners.size(), every corner a
// valid vertex index.
// Returns true with the object emptied and filled as MeshBuilder's fix() and convertInto() would
// fill it (locally valid by construction). Returns false, the object emptied, for polygons that
// need a repair or lie beyond the object's limits: MeshBuilder then does the work and says what
// is wrong.
bool buildClosedSurface(const std::vector<moVec3> &positions, const std::vector<int32_t> &corners,
                        const std::vector<int32_t> &starts, moObject &object);
