// The matrix arithmetic of the fixed-function pipeline, done on our side so that the camera can
// be computed and tested without a context: products in the order OpenGL applies them, the
// frustum and orthographic projections, and unprojection of window points.
#pragma once

#include "core/vec_math.h"

#include <cstdint>

// The product a * b of column-major matrices (b is applied to a point first), as glMultMatrix
// appends b to a.
moMatrix4 product(const moMatrix4 &a, const moMatrix4 &b);
moMatrix4 translation(float x, float y, float z);
moMatrix4 frustum(double left, double right, double bottom, double top, double near, double far);
moMatrix4 ortho(double left, double right, double bottom, double top, double near, double far);

struct Viewport {
  int32_t x = 0, y = 0, width = 0, height = 0;
};

// The world point at window position (winX, winY) and depth winZ (0 near, 1 far), as
// gluUnProject computes it. Returns false, leaving out unchanged, when the matrices cannot be
// inverted.
bool unproject(double winX, double winY, double winZ, const moMatrix4 &modelview,
               const moMatrix4 &projection, const Viewport &viewport, moVec3 &out);
// The window position of a world point (x, y and depth), as gluProject computes it.
bool project(const moVec3 &p, const moMatrix4 &modelview, const moMatrix4 &projection,
             const Viewport &viewport, moVec3 &window);

// project() for many points under the same matrices: the product is formed once.
class Projector {
public:
  Projector(const moMatrix4 &modelview, const moMatrix4 &projection, const Viewport &viewport);
  // False, leaving window unchanged, for a point at the eye's plane (w = 0).
  bool operator()(const moVec3 &p, moVec3 &window) const;

private:
  double matrix_[16];
  Viewport viewport_;
};
