// The paint triangulation of an object: its two triangle lists (three vertex indices per
// triangle, the face each came from), used by painting and export.
#pragma once

#include "scene/user_interface.h"

#include "core/mesh.h"

enum TriangulationMethod : int32_t {
  kTriangulateFan = 0,      // k - 2 triangles from each face's first corner
  kTriangulateDelaunay = 2, // the polygon triangulation library, a fan where it fails
};

// Refills obj's triangle lists face by face in face order; every triangle runs clockwise seen
// from outside, like the faces. Returns false and leaves the lists alone for another method.
bool triangulateFaces(moObject &obj, int32_t method);

// Triangulate(method): triangulateFaces, showing "Triangulation method not implemented yet" for
// a method it does not know.
bool Triangulate(moObject &obj, int32_t method, UserInterface &ui);
