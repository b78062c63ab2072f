// Geometric tests on points in the plane z = 0 of the rotated polygon, with z kept for the
// normal test. Plain double arithmetic: the points lie in the unit square by the time these run.
#pragma once

#include <cmath>

namespace motr {

struct Point3 {
  double x;
  double y;
  double z;
};

// Twice the signed area of (a, b, c): positive when they turn counter-clockwise.
inline double orient(const Point3 &a, const Point3 &b, const Point3 &c) {
  return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

// Positive when d lies inside the circle through the counter-clockwise triangle (a, b, c).
inline double inCircle(const Point3 &a, const Point3 &b, const Point3 &c, const Point3 &d) {
  const double adx = a.x - d.x, ady = a.y - d.y;
  const double bdx = b.x - d.x, bdy = b.y - d.y;
  const double cdx = c.x - d.x, cdy = c.y - d.y;
  const double al = adx * adx + ady * ady;
  const double bl = bdx * bdx + bdy * bdy;
  const double cl = cdx * cdx + cdy * cdy;
  return adx * (bdy * cl - bl * cdy) - ady * (bdx * cl - bl * cdx) + al * (bdx * cdy - bdy * cdx);
}

// Like inCircle, with the lift taken over x, y and z: positive when d lies inside the sphere
// through a, b and c in that sense.
inline double inSphereLifted(const Point3 &a, const Point3 &b, const Point3 &c, const Point3 &d) {
  const double adx = a.x - d.x, ady = a.y - d.y, adz = a.z - d.z;
  const double bdx = b.x - d.x, bdy = b.y - d.y, bdz = b.z - d.z;
  const double cdx = c.x - d.x, cdy = c.y - d.y, cdz = c.z - d.z;
  const double al = adx * adx + ady * ady + adz * adz;
  const double bl = bdx * bdx + bdy * bdy + bdz * bdz;
  const double cl = cdx * cdx + cdy * cdy + cdz * cdz;
  return adx * (bdy * cl - bl * cdy) - ady * (bdx * cl - bl * cdx) + al * (bdx * cdy - bdy * cdx);
}

inline Point3 triangleNormal(const Point3 &a, const Point3 &b, const Point3 &c) {
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  return {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
}

inline Point3 cross(const Point3 &u, const Point3 &v) {
  return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

inline double dot(const Point3 &u, const Point3 &v) { return u.x * v.x + u.y * v.y + u.z * v.z; }

// Angle between the normals of two triangles, or -1 when either is degenerate. Measured with
// atan2 so that nearly flat pairs keep their resolution.
inline double normalAngle(const Point3 &n1, const Point3 &n2) {
  if (!(dot(n1, n1) > 0.0) || !(dot(n2, n2) > 0.0))
    return -1.0;
  const Point3 c = cross(n1, n2);
  return std::atan2(std::sqrt(dot(c, c)), dot(n1, n2));
}

// True when normalAngle(n1, n2) is certainly a valid angle below `bound`, decided from the same
// products without trigonometry: atan2(s, d) <= s / d for d > 0, and the test asks for half
// the bound to leave room for rounding.
inline bool bendsLessThan(const Point3 &n1, const Point3 &n2, double bound) {
  const double d = dot(n1, n2);
  if (!(d > 0.0) || !(dot(n1, n1) > 0.0) || !(dot(n2, n2) > 0.0))
    return false;
  const Point3 c = cross(n1, n2);
  const double limit = 0.5 * bound * d;
  return dot(c, c) <= limit * limit;
}

} // namespace motr
