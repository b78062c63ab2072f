// Flip mirrors each selected object across its own centre; Evert turns objects inside out.
#pragma once

#include "scene/scene.h"

// Mirrors obj across the plane through its centre (mean of its vertices) perpendicular to the
// axis (0 x, 1 y, 2 z), then flips the orientation so the faces face outward again.
void flipObject(moObject &obj, int32_t axis);

// Flip X / Y / Z (moOBJECTS): flipObject on every selected object; the selection stays. After a
// failure the scene is restored and the selection cleared. Returns whether it ran (false for an
// axis other than 0, 1, 2).
bool flipObjects(Scene &scene, int32_t axis);

// Evert (moOBJECTS): reverses the orientation of every face of each selected object, turning the
// normals inward; the selection stays. After a failure the scene is restored and the selection
// cleared. Returns whether it ran.
bool evertObjects(Scene &scene);
