#include "view/view_framing.h"

#include "view/transforms.h"

#include <algorithm>
#include <cmath>

namespace {

// The part of the view a box must cover to count as seen well.
constexpr double kLeastFill = 0.1;

// The point p in clip coordinates under the product m.
void clip(const moMatrix4 &m, const moVec3 &p, double out[4]) {
  for (int r = 0; r < 4; ++r)
    out[r] = double(m.m[r]) * p.x + double(m.m[4 + r]) * p.y + double(m.m[8 + r]) * p.z +
             double(m.m[12 + r]);
}

} // namespace

bool boxWellInView(const Camera &camera, const moVec3 &lo, const moVec3 &hi) {
  const moMatrix4 m = product(camera.projectionMatrix(), camera.viewMatrix());
  double x0 = 1, x1 = -1, y0 = 1, y1 = -1;
  for (int corner = 0; corner < 8; ++corner) {
    const moVec3 p{corner & 1 ? hi.x : lo.x, corner & 2 ? hi.y : lo.y, corner & 4 ? hi.z : lo.z};
    double c[4];
    clip(m, p, c);
    if (!(c[3] > 0) || std::fabs(c[0]) > c[3] || std::fabs(c[1]) > c[3] || std::fabs(c[2]) > c[3])
      return false;
    x0 = std::min(x0, c[0] / c[3]), x1 = std::max(x1, c[0] / c[3]);
    y0 = std::min(y0, c[1] / c[3]), y1 = std::max(y1, c[1] / c[3]);
  }
  return (x1 - x0) * (y1 - y0) >= kLeastFill * 4; // the view spans -1..1 both ways
}

void frameBox(Camera &camera, const moVec3 &lo, const moVec3 &hi) {
  const moVec3 centre{(lo.x + hi.x) / 2, (lo.y + hi.y) / 2, (lo.z + hi.z) / 2};
  const moVec3 half = subtract(hi, centre);
  const double r = std::max(std::sqrt(double(dot(half, half))), 1e-6);
  // The frustum at unit depth: its half sizes are the inverses of the diagonal terms.
  const moMatrix4 frustum = camera.perspectiveMatrix();
  const double t = std::min(1 / double(frustum.m[0]), 1 / double(frustum.m[5]));
  const double nearPlane = double(frustum.m[14]) / (double(frustum.m[10]) - 1);
  const double fit = camera.perspective ? r * std::sqrt(1 + 1 / (t * t)) : r / t;
  camera.target = centre;
  camera.distance = -float(std::max(fit, r + 1.01 * nearPlane));
}

bool frameObjects(Camera &camera, const Scene &scene, const std::vector<int32_t> &slots,
                  bool force) {
  moVec3 lo{1e30f, 1e30f, 1e30f}, hi{-1e30f, -1e30f, -1e30f};
  bool any = false;
  for (const int32_t slot : slots)
    if (const moObject *obj = scene.object(slot))
      for (const moVertex &v : obj->vertices)
        if (v.active()) {
          const moVec3 &p = v.Coordinates;
          lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
          hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
          any = true;
        }
  if (!any || camera.width <= 0 || camera.height <= 0 || (!force && boxWellInView(camera, lo, hi)))
    return false;
  frameBox(camera, lo, hi);
  return true;
}
