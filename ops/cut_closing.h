// Closing the open boundary a plane cut leaves behind with new faces in the plane.
#pragma once

#include "core/mesh.h"

// Gives every open boundary loop of obj (edges whose face on one side is inactive or missing)
// a new face; a vertex the loops pass more than once is split so each passage has its own.
// Loops that face against the cut normal n are holes: each is joined, with the face around it
// (the smallest new face facing along n whose bounds hold the hole's), into triangles through
// the polygon triangulation. The result is closed and every new face faces along n. Throws
// moInvalidTopologyException when a loop cannot be closed or a hole has no face around it, and
// the element-limit exceptions; obj is then half changed.
void closeCut(moObject &obj, const moVec3 &n);
