#include "view/transforms.h"

#include <cmath>
#include <cstdint>

moMatrix4 product(const moMatrix4 &a, const moMatrix4 &b) {
  return multiply(b, a); // multiply applies its first operand first
}

moMatrix4 translation(float x, float y, float z) {
  moMatrix4 r = identity();
  r.m[12] = x;
  r.m[13] = y;
  r.m[14] = z;
  return r;
}

moMatrix4 frustum(double l, double r, double b, double t, double n, double f) {
  moMatrix4 m;
  m.m[0] = float(2 * n / (r - l));
  m.m[5] = float(2 * n / (t - b));
  m.m[8] = float((r + l) / (r - l));
  m.m[9] = float((t + b) / (t - b));
  m.m[10] = float(-(f + n) / (f - n));
  m.m[11] = -1;
  m.m[14] = float(-2 * f * n / (f - n));
  return m;
}

moMatrix4 ortho(double l, double r, double b, double t, double n, double f) {
  moMatrix4 m = identity();
  m.m[0] = float(2 / (r - l));
  m.m[5] = float(2 / (t - b));
  m.m[10] = float(-2 / (f - n));
  m.m[12] = float(-(r + l) / (r - l));
  m.m[13] = float(-(t + b) / (t - b));
  m.m[14] = float(-(f + n) / (f - n));
  return m;
}

namespace {

// General 4x4 inverse by cofactors, in double precision.
bool invert(const double m[16], double out[16]) {
  double inv[16];
  inv[0] = m[5] * m[10] * m[15] - m[5] * m[11] * m[14] - m[9] * m[6] * m[15] + m[9] * m[7] * m[14] +
           m[13] * m[6] * m[11] - m[13] * m[7] * m[10];
  inv[4] = -m[4] * m[10] * m[15] + m[4] * m[11] * m[14] + m[8] * m[6] * m[15] -
           m[8] * m[7] * m[14] - m[12] * m[6] * m[11] + m[12] * m[7] * m[10];
  inv[8] = m[4] * m[9] * m[15] - m[4] * m[11] * m[13] - m[8] * m[5] * m[15] + m[8] * m[7] * m[13] +
           m[12] * m[5] * m[11] - m[12] * m[7] * m[9];
  inv[12] = -m[4] * m[9] * m[14] + m[4] * m[10] * m[13] + m[8] * m[5] * m[14] -
            m[8] * m[6] * m[13] - m[12] * m[5] * m[10] + m[12] * m[6] * m[9];
  inv[1] = -m[1] * m[10] * m[15] + m[1] * m[11] * m[14] + m[9] * m[2] * m[15] -
           m[9] * m[3] * m[14] - m[13] * m[2] * m[11] + m[13] * m[3] * m[10];
  inv[5] = m[0] * m[10] * m[15] - m[0] * m[11] * m[14] - m[8] * m[2] * m[15] + m[8] * m[3] * m[14] +
           m[12] * m[2] * m[11] - m[12] * m[3] * m[10];
  inv[9] = -m[0] * m[9] * m[15] + m[0] * m[11] * m[13] + m[8] * m[1] * m[15] - m[8] * m[3] * m[13] -
           m[12] * m[1] * m[11] + m[12] * m[3] * m[9];
  inv[13] = m[0] * m[9] * m[14] - m[0] * m[10] * m[13] - m[8] * m[1] * m[14] + m[8] * m[2] * m[13] +
            m[12] * m[1] * m[10] - m[12] * m[2] * m[9];
  inv[2] = m[1] * m[6] * m[15] - m[1] * m[7] * m[14] - m[5] * m[2] * m[15] + m[5] * m[3] * m[14] +
           m[13] * m[2] * m[7] - m[13] * m[3] * m[6];
  inv[6] = -m[0] * m[6] * m[15] + m[0] * m[7] * m[14] + m[4] * m[2] * m[15] - m[4] * m[3] * m[14] -
           m[12] * m[2] * m[7] + m[12] * m[3] * m[6];
  inv[10] = m[0] * m[5] * m[15] - m[0] * m[7] * m[13] - m[4] * m[1] * m[15] + m[4] * m[3] * m[13] +
            m[12] * m[1] * m[7] - m[12] * m[3] * m[5];
  inv[14] = -m[0] * m[5] * m[14] + m[0] * m[6] * m[13] + m[4] * m[1] * m[14] - m[4] * m[2] * m[13] -
            m[12] * m[1] * m[6] + m[12] * m[2] * m[5];
  inv[3] = -m[1] * m[6] * m[11] + m[1] * m[7] * m[10] + m[5] * m[2] * m[11] - m[5] * m[3] * m[10] -
           m[9] * m[2] * m[7] + m[9] * m[3] * m[6];
  inv[7] = m[0] * m[6] * m[11] - m[0] * m[7] * m[10] - m[4] * m[2] * m[11] + m[4] * m[3] * m[10] +
           m[8] * m[2] * m[7] - m[8] * m[3] * m[6];
  inv[11] = -m[0] * m[5] * m[11] + m[0] * m[7] * m[9] + m[4] * m[1] * m[11] - m[4] * m[3] * m[9] -
            m[8] * m[1] * m[7] + m[8] * m[3] * m[5];
  inv[15] = m[0] * m[5] * m[10] - m[0] * m[6] * m[9] - m[4] * m[1] * m[10] + m[4] * m[2] * m[9] +
            m[8] * m[1] * m[6] - m[8] * m[2] * m[5];
  const double det = m[0] * inv[0] + m[1] * inv[4] + m[2] * inv[8] + m[3] * inv[12];
  if (det == 0 || !std::isfinite(det))
    return false;
  for (int i = 0; i < 16; ++i)
    out[i] = inv[i] / det;
  return true;
}

// Column-major product of the projection and the modelview, in double precision.
void combined(const moMatrix4 &modelview, const moMatrix4 &projection, double out[16]) {
  for (int c = 0; c < 4; ++c)
    for (int r = 0; r < 4; ++r) {
      double sum = 0;
      for (int k = 0; k < 4; ++k)
        sum += double(projection.m[k * 4 + r]) * modelview.m[c * 4 + k];
      out[c * 4 + r] = sum;
    }
}

} // namespace

bool unproject(double winX, double winY, double winZ, const moMatrix4 &modelview,
               const moMatrix4 &projection, const Viewport &viewport, moVec3 &out) {
  double pm[16], inv[16];
  combined(modelview, projection, pm);
  if (!invert(pm, inv) || viewport.width == 0 || viewport.height == 0)
    return false;
  const double in[4] = {(winX - viewport.x) / viewport.width * 2 - 1,
                        (winY - viewport.y) / viewport.height * 2 - 1, winZ * 2 - 1, 1};
  double o[4];
  for (int r = 0; r < 4; ++r)
    o[r] = inv[r] * in[0] + inv[4 + r] * in[1] + inv[8 + r] * in[2] + inv[12 + r] * in[3];
  if (o[3] == 0)
    return false;
  out = {float(o[0] / o[3]), float(o[1] / o[3]), float(o[2] / o[3])};
  return true;
}

Projector::Projector(const moMatrix4 &modelview, const moMatrix4 &projection,
                     const Viewport &viewport)
    : viewport_(viewport) {
  combined(modelview, projection, matrix_);
}

bool Projector::operator()(const moVec3 &p, moVec3 &window) const {
  const double *pm = matrix_;
  const double in[4] = {p.x, p.y, p.z, 1};
  double o[4];
  for (int r = 0; r < 4; ++r)
    o[r] = pm[r] * in[0] + pm[4 + r] * in[1] + pm[8 + r] * in[2] + pm[12 + r] * in[3];
  if (o[3] == 0)
    return false;
  window = {float(viewport_.x + (o[0] / o[3] + 1) * viewport_.width / 2),
            float(viewport_.y + (o[1] / o[3] + 1) * viewport_.height / 2),
            float((o[2] / o[3] + 1) / 2)};
  return true;
}

bool project(const moVec3 &p, const moMatrix4 &modelview, const moMatrix4 &projection,
             const Viewport &viewport, moVec3 &window) {
  return Projector(modelview, projection, viewport)(p, window);
}
