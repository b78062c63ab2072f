// Splitting a face into triangles with the polygon triangulation library, for drawing, painting
// and export.
#pragma once

#include "core/mesh.h"

#include <algorithm>
#include <vector>

// Triangulates face f of obj, whose corner list (faceVertices order, clockwise from outside) is
// `corners`. Appends triples of positions in `corners`, counter-clockwise seen from outside, to
// `triangles` and returns how many triangles it added: 0 when the polygon cannot be
// triangulated (the caller falls back to a fan). Allocates nothing once it has seen a face as
// large.
int32_t triangulateFace(const moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                        std::vector<int32_t> &triangles);

enum TriangulationMethod : int32_t {
  kTriangulateFan = 0,      // k - 2 triangles from each face's first corner
  kTriangulateDelaunay = 2, // triangulateFace, a fan where it does not cover the whole face
};

// Fills obj's paint triangle lists from scratch with the method: every live face of k >= 3
// corners becomes k - 2 triangles, each listed counter-clockwise seen from outside, the
// triangles of one face consecutive, faces in order. Returns false and leaves the lists alone
// for an unknown method. Throws moInvalidTopologyException for a broken face loop; the lists are
// empty then.
bool triangulateFaces(moObject &obj, int32_t method);

// The triangles of face f as they are drawn and painted: a triangle as it is, larger faces
// through triangulateFace, a fan from the first corner where that gives nothing. Appends
// position triples as triangulateFace does and returns their count (0 for fewer than three
// corners).
int32_t faceTriangles(const moObject &obj, int32_t f, const std::vector<int32_t> &corners,
                      std::vector<int32_t> &triangles);

// The number of paint triangles obj has: entries present in both of its lists.
inline int32_t paintTriangleCount(const moObject &obj) {
  return std::min(obj.triangleFaces.count(), obj.triangleVertices.count() / 3);
}
