// Single-precision vector and 4x4 matrix values shared by the mesh and every geometric
// operation. Sums and products may be formed in higher precision; stored results are floats.
#pragma once

struct moVec3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// Column-major 4x4 matrix as OpenGL takes it: m[4c + r] is row r of column c, the translation
// sits in m[12..14].
struct moMatrix4 {
  float m[16] = {};
};

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr float kFloatMax = 3.4028235e38f;

moVec3 add(const moVec3 &a, const moVec3 &b);
moVec3 subtract(const moVec3 &a, const moVec3 &b);
moVec3 &operator-=(moVec3 &a, const moVec3 &b);
moVec3 scale(float s, const moVec3 &a);
moVec3 scale(const moVec3 &a, float s);
// Component-wise product, for non-uniform scaling.
moVec3 multiply(const moVec3 &a, const moVec3 &b);
float dot(const moVec3 &a, const moVec3 &b);
moVec3 cross(const moVec3 &a, const moVec3 &b);
float lengthSquared(const moVec3 &a);
float length(const moVec3 &a);
float distance(const moVec3 &a, const moVec3 &b);
// a scaled to length s; a zero vector comes back unchanged (no division by zero).
moVec3 withLength(const moVec3 &a, float s);
void setLength(moVec3 &a, float s);
moVec3 unit(const moVec3 &a);
// Exact comparison of all three components.
bool equals(const moVec3 &a, const moVec3 &b);
// One corner pair's contribution to a Newell normal sum.
moVec3 newellTerm(const moVec3 &a, const moVec3 &b);

// The mean of a running set of points, summed in double precision.
class PointAverage {
public:
  void add(const moVec3 &p) {
    x_ += p.x;
    y_ += p.y;
    z_ += p.z;
    ++count_;
  }
  int count() const { return count_; }
  // The mean, or (0, 0, 0) when no point was added.
  moVec3 mean() const;

private:
  double x_ = 0, y_ = 0, z_ = 0;
  int count_ = 0;
};

moMatrix4 identity();
// r[4i + j] = sum over k of a[4i + k] * b[4k + j]: applies a first, then b. The result may alias
// either operand when assigned back.
moMatrix4 multiply(const moMatrix4 &a, const moMatrix4 &b);
// Affine transform of a point (no projective divide).
moVec3 transformPoint(const moMatrix4 &m, const moVec3 &p);
// Rotation by `degrees` about a unit-length axis.
moMatrix4 rotation(const moVec3 &axis, float degrees);
