#include "view/projection.h"

#include <GL/gl.h>
#include <cmath>
#include <iostream>

namespace {

constexpr double kPi = 3.14159265358979323846;

moMatrix4 currentMatrix(GLenum which) {
  moMatrix4 m;
  glGetFloatv(which, m.m);
  return m;
}

Viewport currentViewport() {
  GLint v[4] = {0, 0, 0, 0};
  glGetIntegerv(GL_VIEWPORT, v);
  return {v[0], v[1], v[2], v[3]};
}

} // namespace

void moProject(const moObject &obj, std::vector<float> &points, int32_t type,
               const moMatrix4 *modelview, const moMatrix4 *projection, const WindowRect *window,
               bool divide) {
  if (type < moPLANAR || type > moCYLINDRICAL) {
    std::cout << "moProject: invalid projection type" << std::endl;
    return;
  }
  const moMatrix4 m = modelview ? *modelview : currentMatrix(GL_MODELVIEW_MATRIX);
  const moMatrix4 p = projection ? *projection : currentMatrix(GL_PROJECTION_MATRIX);
  WindowRect rect;
  if (window) {
    rect = *window;
  } else {
    const Viewport v = currentViewport();
    rect = {double(v.x), double(v.y), double(v.width), double(v.height)};
  }
  points.resize(size_t(obj.vertices.count()) * 2);
  for (int32_t i = 0; i < obj.vertices.count(); ++i) {
    const moVec3 e = transformPoint(m, obj.vertices[i].Coordinates);
    // The projection's 3 x 3 part; its translation column only enters w.
    const double x = double(p.m[0]) * e.x + double(p.m[4]) * e.y + double(p.m[8]) * e.z;
    const double y = double(p.m[1]) * e.x + double(p.m[5]) * e.y + double(p.m[9]) * e.z;
    const double z = double(p.m[2]) * e.x + double(p.m[6]) * e.y + double(p.m[10]) * e.z;
    const double w = double(p.m[3]) * e.x + double(p.m[7]) * e.y + double(p.m[11]) * e.z + p.m[15];
    const double by = divide && w != 0 ? 1 / w : 1;
    double u = x * by, v = y * by;
    if (type != moPLANAR) {
      u = std::atan2(z, x) / kPi;
      v = type == moSPHERICAL ? std::atan2(y, std::sqrt(x * x + z * z)) / kPi : y * by;
    }
    points[size_t(i) * 2] = float((u + 1) / 2 * rect.width + rect.x);
    points[size_t(i) * 2 + 1] = float((v + 1) / 2 * rect.height + rect.y);
  }
}

bool ProjectTriangle(const moObject &obj, int32_t t, float out[6]) {
  if (t < 0 || int64_t(t) * 3 + 2 >= obj.triangleVertices.count())
    return false;
  const moMatrix4 m = currentMatrix(GL_MODELVIEW_MATRIX), p = currentMatrix(GL_PROJECTION_MATRIX);
  const Viewport viewport = currentViewport();
  for (int32_t k = 0; k < 3; ++k) {
    const int32_t v = obj.triangleVertices[t * 3 + k];
    if (!obj.vertices.contains(v))
      return false;
    moVec3 w;
    project(obj.vertices[v].Coordinates, m, p, viewport, w);
    out[k * 2] = w.x;
    out[k * 2 + 1] = w.y;
  }
  return true;
}

moVec3 UnprojectStep(const Camera &camera, double x, double y, double dx, double dy) {
  const moMatrix4 m = camera.viewMatrix(), p = camera.projectionMatrix();
  moVec3 a, b;
  if (!unproject(x, y, 0, m, p, camera.viewport(), a) ||
      !unproject(x + dx, y + dy, 0, m, p, camera.viewport(), b))
    return {};
  return subtract(b, a);
}

moVec3 UnprojectRay(const Camera &camera, double x, double y) {
  const moMatrix4 m = camera.viewMatrix(), p = camera.projectionMatrix();
  moVec3 a, b;
  if (!unproject(x, y, 0, m, p, camera.viewport(), a) ||
      !unproject(x, y, 1, m, p, camera.viewport(), b))
    return {};
  return unit(subtract(b, a));
}
