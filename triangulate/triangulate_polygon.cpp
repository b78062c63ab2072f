#include "triangulate/triangulate_polygon.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace motr {

namespace {

// Coordinates beyond these magnitudes are first scaled by a power of two (exact), so that
// the products in the normal and in the tests can neither overflow nor underflow.
constexpr int kLargestExponent = 400;

Point3 pointAt(const double *points, int i) {
  return {points[3 * i], points[3 * i + 1], points[3 * i + 2]};
}

double largestMagnitude(const double *points, int pointCount) {
  double largest = 0.0;
  for (int i = 0; i < 3 * pointCount; ++i)
    largest = std::max(largest, std::fabs(points[i]));
  return largest;
}

void scaleIntoRange(double *points, int pointCount) {
  const double largest = largestMagnitude(points, pointCount);
  if (largest == 0.0)
    return;
  const int exponent = std::ilogb(largest);
  if (exponent > -kLargestExponent && exponent < kLargestExponent)
    return;
  for (int i = 0; i < 3 * pointCount; ++i)
    points[i] = std::ldexp(points[i], -exponent);
}

// Newell's normal of the first `count` points taken as one closed cycle, normalised; false
// when it has no length.
bool newellNormal(const double *points, int count, double n[3]) {
  n[0] = n[1] = n[2] = 0.0;
  for (int i = 0; i < count; ++i) {
    const Point3 a = pointAt(points, i);
    const Point3 b = pointAt(points, (i + 1) % count);
    n[0] += (a.y - b.y) * (a.z + b.z);
    n[1] += (a.z - b.z) * (a.x + b.x);
    n[2] += (a.x - b.x) * (a.y + b.y);
  }
  const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
  if (!(length > 0.0) || !std::isfinite(length))
    return false;
  for (int k = 0; k < 3; ++k)
    n[k] /= length;
  return true;
}

// A given normal of any finite, non-zero length becomes unit length; anything else is left
// for the rotation to refuse.
void normaliseGiven(double n[3]) {
  if (!std::isfinite(n[0]) || !std::isfinite(n[1]) || !std::isfinite(n[2]))
    return;
  const double largest = std::fmax(std::fabs(n[0]), std::fmax(std::fabs(n[1]), std::fabs(n[2])));
  if (!(largest > 0.0))
    return;
  double scaled[3] = {n[0] / largest, n[1] / largest, n[2] / largest};
  const double length =
      std::sqrt(scaled[0] * scaled[0] + scaled[1] * scaled[1] + scaled[2] * scaled[2]);
  for (int k = 0; k < 3; ++k)
    n[k] = scaled[k] / length;
}

// Rotates every point so that n becomes +Z; false (after the message) when n cannot give a
// rotation.
bool rotateOntoZ(double *points, int pointCount, const double n[3]) {
  const double x = n[0], y = n[1], z = n[2];
  if (x == 0.0 && y == 0.0 && z == 1.0)
    return true;
  double rows[3][3];
  const double d = std::hypot(x, z);
  if (!std::isfinite(d) || !std::isfinite(y) || (d == 0.0 && y == 0.0)) {
    std::printf("\nERROR: Degenerate vector: %8.4f %8.4f %8.4f", x, y, z);
    return false;
  }
  if (d == 0.0) {
    const double r[3][3] = {{1.0, 0.0, 0.0}, {0.0, 0.0, -y}, {0.0, y, 0.0}};
    std::copy(&r[0][0], &r[0][0] + 9, &rows[0][0]);
  } else {
    const double r[3][3] = {{z / d, 0.0, -x / d}, {-x * y / d, d, -y * z / d}, {x, y, z}};
    std::copy(&r[0][0], &r[0][0] + 9, &rows[0][0]);
  }
  for (int i = 0; i < pointCount; ++i) {
    const Point3 p = pointAt(points, i);
    for (int k = 0; k < 3; ++k)
      points[3 * i + k] = rows[k][0] * p.x + rows[k][1] * p.y + rows[k][2] * p.z;
  }
  return true;
}

// Two triangles for four points: the diagonal P1-P3 when P1 or P3 is the reflex corner, or,
// for a convex quadrilateral, when P3 lies inside the lifted sphere through P0, P1, P2.
// A quadrilateral running clockwise is decided as its mirror image.
int quadrilateral(const double *points, int *triangles) {
  Point3 p[4];
  for (int i = 0; i < 4; ++i)
    p[i] = pointAt(points, i);
  const bool clockwise = orient(p[0], p[1], p[2]) + orient(p[0], p[2], p[3]) < 0.0;
  if (clockwise) {
    for (Point3 &q : p)
      q.y = -q.y;
  }
  auto cw = [&](int a, int b, int c) { return orient(p[a], p[b], p[c]) < 0.0; };
  const bool diagonal13 =
      cw(0, 1, 2) ||
      (!cw(1, 2, 3) &&
       (cw(2, 3, 0) || (!cw(3, 0, 1) && inSphereLifted(p[0], p[1], p[2], p[3]) > 0.0)));
  const int ccw[2][6] = {{0, 1, 2, 0, 2, 3}, {0, 1, 3, 1, 2, 3}};
  const int *chosen = ccw[diagonal13 ? 1 : 0];
  for (int t = 0; t < 2; ++t) {
    triangles[3 * t] = chosen[3 * t];
    triangles[3 * t + 1] = chosen[3 * t + (clockwise ? 2 : 1)];
    triangles[3 * t + 2] = chosen[3 * t + (clockwise ? 1 : 2)];
  }
  return 2;
}

// Moves the points into the unit square (x and y from 0, the larger extent 1) with mean z 0.
// Returns the factor the points were scaled by, 0 when they have no extent in x and y.
double normalise(double *points, int pointCount) {
  double low[3], high[3];
  for (int k = 0; k < 3; ++k)
    low[k] = high[k] = points[k];
  for (int i = 1; i < pointCount; ++i) {
    for (int k = 0; k < 3; ++k) { // finite values: plain comparisons, no library calls
      low[k] = std::min(low[k], points[3 * i + k]);
      high[k] = std::max(high[k], points[3 * i + k]);
    }
  }
  const double extent = std::fmax(high[0] - low[0], high[1] - low[1]);
  if (!(extent > 0.0))
    return 0.0;
  const double scale = 1.0 / extent;
  double zSum = 0.0;
  for (int i = 0; i < pointCount; ++i) {
    for (int k = 0; k < 3; ++k)
      points[3 * i + k] = (points[3 * i + k] - low[k]) * scale;
    zSum += points[3 * i + 2];
  }
  const double zMean = zSum / pointCount;
  for (int i = 0; i < pointCount; ++i)
    points[3 * i + 2] -= zMean;
  return scale;
}

// Sets every z (mean 0) to 0 when none is further from 0 than `bound`.
void levelWithin(double *points, int pointCount, double bound) {
  for (int i = 0; i < pointCount; ++i) {
    if (!(std::fabs(points[3 * i + 2]) <= bound))
      return;
  }
  for (int i = 0; i < pointCount; ++i)
    points[3 * i + 2] = 0.0;
}

double loopArea(const double *points, int first, int count) {
  double twice = 0.0;
  for (int k = 0; k < count; ++k) {
    const int i = first + k;
    const int j = first + (k + 1) % count;
    twice += points[3 * i] * points[3 * j + 1] - points[3 * j] * points[3 * i + 1];
  }
  return twice;
}

} // namespace

bool decideWithoutGeometry(int loopCount, const int *loopSizes, int pointCount, const void *points,
                           int *triangles, int &result) {
  if (pointCount < 3) {
    result = kTooFewPoints;
    return true;
  }
  if (triangles == nullptr) {
    result = kBadArguments;
    return true;
  }
  if (pointCount == 3) {
    triangles[0] = 0;
    triangles[1] = 1;
    triangles[2] = 2;
    result = 1;
    return true;
  }
  result = kBadArguments;
  if (points == nullptr || loopSizes == nullptr || loopCount < 1)
    return true;
  long long total = 0;
  for (int l = 0; l < loopCount; ++l) {
    if (loopSizes[l] < 3)
      return true;
    total += loopSizes[l];
    if (total > pointCount)
      return true;
  }
  return total != pointCount;
}

int triangulatePoints(Workspace &work, int loopCount, const int *loopSizes, int pointCount,
                      double *points, int *triangles, const double *normal) {
  scaleIntoRange(points, pointCount);
  double n[3];
  if (normal != nullptr) {
    for (int k = 0; k < 3; ++k)
      n[k] = normal[k];
    normaliseGiven(n);
  } else if (!newellNormal(points, loopSizes[0], n)) {
    return kNormalFailed;
  }
  if (!rotateOntoZ(points, pointCount, n))
    return kTransformFailed;
  if (pointCount == 4)
    return quadrilateral(points, triangles);
  // How far the caller's rounding alone can take a flat polygon's points off its plane, and
  // with them the computed normal: a small multiple of the rounding of the largest coordinate
  // (the rotation changes that coordinate by less than a factor of two).
  const double roundingReach =
      work.coordinateRounding > 0.0
          ? 16.0 * work.coordinateRounding * largestMagnitude(points, pointCount)
          : 0.0;
  const double scale = normalise(points, pointCount);
  if (!(scale > 0.0))
    return 0;
  levelWithin(points, pointCount, roundingReach * scale);
  if (loopCount == 1 && work.singleLoopShortWay &&
      triangulateSingleLoop(points, pointCount, work.loop, triangles))
    return pointCount - 2;

  ConstrainedDelaunay &cdt = work.cdt;
  cdt.begin();
  work.vertexOf.assign(static_cast<size_t>(pointCount), kNone);
  auto vertexOf = [&](int i) {
    if (work.vertexOf[static_cast<size_t>(i)] == kNone)
      work.vertexOf[static_cast<size_t>(i)] = cdt.insertSite(pointAt(points, i), i);
    return work.vertexOf[static_cast<size_t>(i)];
  };
  int first = 0;
  for (int l = 0; l < loopCount; ++l) {
    const int count = loopSizes[l];
    // The polygon lies left of a counter-clockwise outer loop and right of a
    // counter-clockwise hole, whichever way the caller ran the loops.
    const double area = loopArea(points, first, count);
    const bool keepLeft = l == 0 ? !(area < 0.0) : !(area > 0.0);
    for (int k = 0; k < count; ++k) {
      const int a = vertexOf(first + k);
      const int b = vertexOf(first + (k + 1) % count);
      if (!cdt.insertSegment(a, b, keepLeft))
        return kInconsistent;
    }
    first += count;
  }
  const int32_t count = cdt.collectTriangles(work.triangles);
  if (count < 0)
    return count;
  const long long room = static_cast<long long>(pointCount) + 2LL * (loopCount - 1) - 2;
  if (count > room)
    return kInconsistent;
  std::copy(work.triangles.begin(), work.triangles.end(), triangles);
  return count;
}

} // namespace motr
