#include "core/vec_math.h"

#include <cmath>

moVec3 add(const moVec3 &a, const moVec3 &b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }

moVec3 subtract(const moVec3 &a, const moVec3 &b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

moVec3 &operator-=(moVec3 &a, const moVec3 &b) {
  a = subtract(a, b);
  return a;
}

moVec3 scale(float s, const moVec3 &a) { return {s * a.x, s * a.y, s * a.z}; }

moVec3 scale(const moVec3 &a, float s) { return scale(s, a); }

moVec3 multiply(const moVec3 &a, const moVec3 &b) { return {a.x * b.x, a.y * b.y, a.z * b.z}; }

float dot(const moVec3 &a, const moVec3 &b) {
  return static_cast<float>(double(a.x) * b.x + double(a.y) * b.y + double(a.z) * b.z);
}

moVec3 cross(const moVec3 &a, const moVec3 &b) {
  return {static_cast<float>(double(a.y) * b.z - double(a.z) * b.y),
          static_cast<float>(double(a.z) * b.x - double(a.x) * b.z),
          static_cast<float>(double(a.x) * b.y - double(a.y) * b.x)};
}

float lengthSquared(const moVec3 &a) { return dot(a, a); }

float length(const moVec3 &a) {
  return static_cast<float>(std::sqrt(double(a.x) * a.x + double(a.y) * a.y + double(a.z) * a.z));
}

float distance(const moVec3 &a, const moVec3 &b) { return length(subtract(a, b)); }

moVec3 withLength(const moVec3 &a, float s) {
  const double len = std::sqrt(double(a.x) * a.x + double(a.y) * a.y + double(a.z) * a.z);
  if (len == 0.0)
    return a;
  const double f = s / len;
  return {static_cast<float>(a.x * f), static_cast<float>(a.y * f), static_cast<float>(a.z * f)};
}

void setLength(moVec3 &a, float s) { a = withLength(a, s); }

moVec3 unit(const moVec3 &a) { return withLength(a, 1.0f); }

bool equals(const moVec3 &a, const moVec3 &b) { return a.x == b.x && a.y == b.y && a.z == b.z; }

moVec3 newellTerm(const moVec3 &a, const moVec3 &b) {
  return {static_cast<float>((double(b.y) - a.y) * (double(b.z) + a.z)),
          static_cast<float>((double(a.x) + b.x) * (double(b.z) - a.z)),
          static_cast<float>((double(b.y) + a.y) * (double(b.x) - a.x))};
}

moVec3 PointAverage::mean() const {
  if (count_ == 0)
    return {};
  return {float(x_ / count_), float(y_ / count_), float(z_ / count_)};
}

moMatrix4 identity() {
  moMatrix4 r;
  r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1.0f;
  return r;
}

moMatrix4 multiply(const moMatrix4 &a, const moMatrix4 &b) {
  moMatrix4 r;
  for (int i = 0; i < 4; ++i)
    for (int j = 0; j < 4; ++j) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k)
        sum += double(a.m[4 * i + k]) * b.m[4 * k + j];
      r.m[4 * i + j] = static_cast<float>(sum);
    }
  return r;
}

moVec3 transformPoint(const moMatrix4 &m, const moVec3 &p) {
  float out[3];
  for (int i = 0; i < 3; ++i)
    out[i] = static_cast<float>(double(m.m[12 + i]) + double(p.x) * m.m[i] +
                                double(p.y) * m.m[4 + i] + double(p.z) * m.m[8 + i]);
  return {out[0], out[1], out[2]};
}

moMatrix4 rotation(const moVec3 &axis, float degrees) {
  const double theta = degrees * kDegreesToRadians;
  const double c = std::cos(theta), s = std::sin(theta), t = 1.0 - c;
  const double x = axis.x, y = axis.y, z = axis.z;
  moMatrix4 r = identity();
  r.m[0] = static_cast<float>(c + t * x * x);
  r.m[1] = static_cast<float>(t * x * y + s * z);
  r.m[2] = static_cast<float>(t * x * z - s * y);
  r.m[4] = static_cast<float>(t * x * y - s * z);
  r.m[5] = static_cast<float>(c + t * y * y);
  r.m[6] = static_cast<float>(t * y * z + s * x);
  r.m[8] = static_cast<float>(t * x * z + s * y);
  r.m[9] = static_cast<float>(t * y * z - s * x);
  r.m[10] = static_cast<float>(c + t * z * z);
  return r;
}
