// Normals of face corners, shared by smooth shading and model export.
#pragma once

#include "core/mesh.h"

#include <vector>

// The normal of corner (f, v): the unit normals of the faces around v that are reached from f
// without crossing a hard edge, summed and normalised. When v is not a corner of f, f's unit
// normal. Throws moInvalidTopologyException for a broken face loop.
moVec3 cornerNormal(const moObject &obj, int32_t v, int32_t f);

// The unit normal of every face slot (zero for a deleted face), for many cornerNormal calls.
std::vector<moVec3> unitFaceNormals(const moObject &obj);
// cornerNormal with the unit face normals given by unitFaceNormals(obj).
moVec3 cornerNormal(const moObject &obj, int32_t v, int32_t f,
                    const std::vector<moVec3> &faceNormals);
