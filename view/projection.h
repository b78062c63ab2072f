// Projections between world and window that picking, the camera commands, the drags and the
// paint tools use.
#pragma once

#include "core/mesh.h"
#include "view/camera.h"

#include <vector>

// Window rectangle of moProject.
struct WindowRect {
  double x = 0, y = 0, width = 1, height = 1;
};
enum moProjection : int32_t { moPLANAR = 0, moSPHERICAL = 1, moCYLINDRICAL = 2 };
// Writes two floats per vertex slot of obj into points: the vertex transformed by the modelview
// and the projection's 3 x 3 part, projected planar, spherical or cylindrical and mapped into the
// window rectangle. Absent matrices or rectangle come from the current context (matrices,
// viewport). An unknown type writes "moProject: invalid projection type" to standard output and
// leaves points alone.
void moProject(const moObject &obj, std::vector<float> &points, int32_t type,
               const moMatrix4 *modelview, const moMatrix4 *projection, const WindowRect *window,
               bool divide);
// The window points (x, y) of the three corners of paint triangle t, with the current context's
// matrices and viewport. False (out untouched) for a triangle the object does not have.
bool ProjectTriangle(const moObject &obj, int32_t t, float out[6]);
// The world vector between the near-plane points under window points (x, y) and (x + dx, y + dy)
// (y upward); (0, 0, 0) when the camera cannot be inverted.
moVec3 UnprojectStep(const Camera &camera, double x, double y, double dx, double dy);
// The unit world direction of the viewing ray through window point (x, y) (y upward).
moVec3 UnprojectRay(const Camera &camera, double x, double y);
