// The twelve primitive shapes. Every builder reserves the object's arrays, appends the vertices
// in a fixed order and makes the faces in a fixed order, so that vertex, edge and face indices of
// a fresh primitive are reproducible: tutorial scripts select elements of new primitives by
// index. Arithmetic is single precision, with the angle stepping each shape prescribes. Faces run
// clockwise seen from outside. Each builder expects an empty object and throws what the topology
// edits throw.
#pragma once

#include "core/mesh.h"

enum class PrimitiveType : int32_t {
  Tetrahedron,
  Octahedron,
  Dodecahedron,
  Icosahedron,
  Cube,
  Box,
  Cylinder,
  Cone,
  Sphere,
  Ellipsoid,
  Torus,
  Grid,
};
constexpr int32_t kPrimitiveTypeCount = 12;

// The object name of a type ("tetrahederon", "octahedron", ... "grid").
const char *primitiveName(PrimitiveType type);
// The shape the Add menu makes for a type, named primitiveName(type).
moObject makePrimitive(PrimitiveType type);

// Regular tetrahedron with circumradius s, apex on +y.
void buildTetrahedron(moObject &obj, float s);
void buildOctahedron(moObject &obj, float r, const moVec3 &centre);
void buildDodecahedron(moObject &obj, float s);
void buildIcosahedron(moObject &obj, float r);
void buildBox(moObject &obj, float wx, float wy, float wz, const moVec3 &centre);
// A cylinder around the y axis; a radius of 0 at either end makes a cone instead.
void buildCylinder(moObject &obj, float topRadius, float bottomRadius, float height,
                   int32_t segments, const moVec3 &centre);
// A cone with its apex at +height/2 (below for a negative height, still facing outward).
void buildCone(moObject &obj, float radius, float height, int32_t segments, const moVec3 &centre);
// rings - 1 rings of `segments` vertices, no pole vertices; both ends are polygons.
void buildSphere(moObject &obj, int32_t segments, int32_t rings, float radius);
// An icosahedron on the ellipsoid with radii `radii`, each triangle subdivided `level` times.
void buildEllipsoid(moObject &obj, int32_t level, const moVec3 &radii);
// A torus around the z axis: `rings` rings of `segments` positions.
void buildTorus(moObject &obj, int32_t rings, int32_t segments, float majorRadius,
                float minorRadius, const moVec3 &centre);
// A flat slab: a rows x cols grid of square cells at y = 0 on top, one quad at y = -1 below.
void buildGrid(moObject &obj, int32_t rows, int32_t cols, float cell);
