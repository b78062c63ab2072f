// Plane Cut splits objects in two at an axis plane through the origin, closing both cuts; Axis
// Multi Cut only slices objects into halves or thirds along an axis.
#pragma once

#include "ops/plane_slice.h"
#include "scene/scene.h"

// Whether obj has vertices farther than the tolerance on both sides of the plane, so that a cut
// leaves something on each side.
bool planeDividesObject(const moObject &obj, const AxisPlane &plane);

// Cuts obj in two: obj keeps the part below the plane, the returned object (with obj's
// attributes, without paint) the part above; both are closed in the plane and compacted. Needs
// planeDividesObject. Throws the element-limit exceptions and moInvalidTopologyException (obj
// then half changed).
moObject planeCutObject(moObject &obj, const AxisPlane &plane);

// Plane Cut X / Y / Z (moOBJECTS): cuts every selected object at coordinate axis = 0, the upper
// part becoming a new object "planecut%d" in the lowest empty slot; clears the selection and the
// previous selection. A plane with nothing on one side of some selected object changes nothing
// and shows "The plane does not cut the object.". Reports progress per object. After a failure
// the scene is restored and the selection cleared; stopped by the user, the scene is restored
// and the selection kept. Returns whether it cut.
bool planeCut(Scene &scene, int32_t axis);

// Axis Multi Cut (moOBJECTS): slices every selected object at count (1 halves, 2 thirds) evenly
// spaced planes across its extent along the axis; the objects stay whole and selected. After a
// failure the scene is restored and the selection cleared. Returns whether it ran.
bool axisMultiCut(Scene &scene, int32_t axis, int32_t count);
