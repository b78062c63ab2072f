// Smooth-shading normals: what a face corner shows when hard edges split the vertex normal.
#pragma once

#include "core/mesh.h"

// The normal of corner (f, v) for smooth shading: the unit normals of the faces around v that
// are reached from f without crossing a hard edge, summed and normalised.
moVec3 cornerNormal(const moObject &obj, int32_t v, int32_t f);
