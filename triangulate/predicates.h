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

// Angle between the normals of two triangles, or -1 when either is degenerate. Measured with
// atan2 so that nearly flat pairs keep their resolution.
inline double normalAngle(const Point3 &n1, const Point3 &n2) {
  const double cx = n1.y * n2.z - n1.z * n2.y;
  const double cy = n1.z * n2.x - n1.x * n2.z;
  const double cz = n1.x * n2.y - n1.y * n2.x;
  const double d = n1.x * n2.x + n1.y * n2.y + n1.z * n2.z;
  const double len1 = n1.x * n1.x + n1.y * n1.y + n1.z * n1.z;
  const double len2 = n2.x * n2.x + n2.y * n2.y + n2.z * n2.z;
  if (!(len1 > 0.0) || !(len2 > 0.0))
    return -1.0;
  return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz), d);
}

} // namespace motr
