// Framing what a file brought into the scene: when the objects would not be seen whole, or
// would fill less than a tenth of the view, the camera aims at their bounding box so that they
// fill it. The angles and the projection kind stay.
#pragma once

#include "scene/scene.h"
#include "view/camera.h"

#include <cstdint>
#include <vector>

// Whether the box lo..hi lies wholly inside the camera's view (every corner in front of the eye,
// inside the borders and between the near and far planes) and its picture covers at least a
// tenth of the view.
bool boxWellInView(const Camera &camera, const moVec3 &lo, const moVec3 &hi);
// Aims the camera at the box: the target to its centre, the eye back along the viewing axis to
// where the box's bounding sphere just fits the narrower side of the view, never nearer than the
// near plane allows.
void frameBox(Camera &camera, const moVec3 &lo, const moVec3 &hi);
// The objects in slots (empty slots passed over): frames them unless boxWellInView says they
// are seen well already, or always with force. Returns whether the camera moved; false too when
// the objects have no vertices or the camera has no size.
bool frameObjects(Camera &camera, const Scene &scene, const std::vector<int32_t> &slots,
                  bool force = false);
