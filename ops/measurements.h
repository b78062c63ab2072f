// Measurements of a small selection for the status line, so that precise modeling can check
// what it made: the distance between two vertices, the length of an edge, the area and normal of
// a face, the size of an object's bounding box.
#pragma once

#include "scene/scene.h"

#include <string>

// The measurement of the selection in the scene's mode, or an empty string when there is none:
// exactly two vertices give "Distance 2.000 (x 2.000, y 0.000, z 0.000)" (the second vertex
// minus the first), one edge "Edge length 2.000", one face "Face area 4.000, normal (0.000,
// 0.000, 1.000)" (the unit outward normal; the area of a face that is not flat is that of its
// projection along the normal), one object "Object size 2.000 x 2.000 x 2.000" (its bounding box
// along X, Y and Z, from its active vertices). Entries that name no element are not measured.
std::string measureSelection(const Scene &scene);
