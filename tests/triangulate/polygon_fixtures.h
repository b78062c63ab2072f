// Polygons with holes built in code, and the checks that a triangulation covers exactly the
// polygon: for the triangulation tests.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
#include <vector>

struct TestPolygon {
  std::vector<int> loopSizes;
  std::vector<double> xyz; // x, y, z per point, loop after loop

  int pointCount() const { return static_cast<int>(xyz.size() / 3); }
  int loopCount() const { return static_cast<int>(loopSizes.size()); }
  // Room the library asks for.
  int triangleRoom() const { return pointCount() + 2 * (loopCount() - 1) - 2; }

  void addLoop(const std::vector<double> &xy, double z = 0.0) {
    loopSizes.push_back(static_cast<int>(xy.size() / 2));
    for (size_t i = 0; i + 1 < xy.size(); i += 2) {
      xyz.push_back(xy[i]);
      xyz.push_back(xy[i + 1]);
      xyz.push_back(z);
    }
  }
};

// A star-shaped loop of `count` points around (cx, cy) with radii in [rMin, rMax], counter-
// clockwise unless `clockwise`.
inline std::vector<double> starLoop(std::mt19937 &random, int count, double cx, double cy,
                                    double rMin, double rMax, bool clockwise) {
  std::uniform_real_distribution<double> radius(rMin, rMax);
  std::uniform_real_distribution<double> jitter(-0.3, 0.3);
  std::vector<double> xy;
  for (int i = 0; i < count; ++i) {
    const int k = clockwise ? count - 1 - i : i;
    const double angle = 2.0 * M_PI * (k + 0.5 + jitter(random)) / count;
    const double r = radius(random);
    xy.push_back(cx + r * std::cos(angle));
    xy.push_back(cy + r * std::sin(angle));
  }
  return xy;
}

// A random star-shaped outer loop around the origin (radius 0.8 to 1) with up to four
// star-shaped holes in separate cells of the inner square, each clockwise unless
// `holesCounterClockwise`.
inline TestPolygon randomPolygonWithHoles(std::mt19937 &random, int outerCount, int holeCount,
                                          int holeSize, bool holesCounterClockwise = false) {
  TestPolygon polygon;
  polygon.addLoop(starLoop(random, outerCount, 0.0, 0.0, 0.8, 1.0, false));
  const double centres[4][2] = {{-0.25, -0.25}, {0.25, -0.25}, {0.25, 0.25}, {-0.25, 0.25}};
  for (int h = 0; h < holeCount && h < 4; ++h)
    polygon.addLoop(starLoop(random, holeSize, centres[h][0], centres[h][1], 0.08, 0.2,
                             !holesCounterClockwise));
  return polygon;
}

// The triangles as a set, each turned to start at its lowest index: comparable whatever their
// order and first corners.
inline std::set<std::array<int, 3>> triangleSet(const int *triangles, int count) {
  std::set<std::array<int, 3>> set;
  for (int t = 0; t < count; ++t) {
    std::array<int, 3> tri = {triangles[3 * t], triangles[3 * t + 1], triangles[3 * t + 2]};
    std::rotate(tri.begin(), std::min_element(tri.begin(), tri.end()), tri.end());
    set.insert(tri);
  }
  return set;
}

inline double triangleArea2d(const double *a, const double *b, const double *c) {
  return 0.5 * ((b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]));
}

// Area enclosed by the outer loop minus the holes (loops taken unsigned).
inline double polygonArea(const TestPolygon &polygon) {
  double total = 0.0;
  int first = 0;
  for (int l = 0; l < polygon.loopCount(); ++l) {
    double twice = 0.0;
    const int n = polygon.loopSizes[l];
    for (int k = 0; k < n; ++k) {
      const double *p = &polygon.xyz[3 * (first + k)];
      const double *q = &polygon.xyz[3 * (first + (k + 1) % n)];
      twice += p[0] * q[1] - q[0] * p[1];
    }
    total += (l == 0 ? 0.5 : -0.5) * std::fabs(twice);
    first += n;
  }
  return total;
}

// Even-odd point in polygon over all loops.
inline bool insidePolygon(const TestPolygon &polygon, double x, double y) {
  bool inside = false;
  int first = 0;
  for (int l = 0; l < polygon.loopCount(); ++l) {
    const int n = polygon.loopSizes[l];
    for (int k = 0; k < n; ++k) {
      const double *p = &polygon.xyz[3 * (first + k)];
      const double *q = &polygon.xyz[3 * (first + (k + 1) % n)];
      if ((p[1] > y) != (q[1] > y) && x < p[0] + (y - p[1]) * (q[0] - p[0]) / (q[1] - p[1]))
        inside = !inside;
    }
    first += n;
  }
  return inside;
}

// Sum of the unsigned areas of the triangles, on the x, y of the polygon's points.
inline double trianglesArea(const TestPolygon &polygon, const std::vector<int> &triangles,
                            int count) {
  double total = 0.0;
  for (int t = 0; t < count; ++t) {
    const double *a = &polygon.xyz[3 * triangles[3 * t]];
    const double *b = &polygon.xyz[3 * triangles[3 * t + 1]];
    const double *c = &polygon.xyz[3 * triangles[3 * t + 2]];
    total += std::fabs(triangleArea2d(a, b, c));
  }
  return total;
}

// Number of triangles whose centroid lies outside the polygon or in a hole.
inline int trianglesOutside(const TestPolygon &polygon, const std::vector<int> &triangles,
                            int count) {
  int outside = 0;
  for (int t = 0; t < count; ++t) {
    double cx = 0.0, cy = 0.0;
    for (int k = 0; k < 3; ++k) {
      cx += polygon.xyz[3 * triangles[3 * t + k]] / 3.0;
      cy += polygon.xyz[3 * triangles[3 * t + k] + 1] / 3.0;
    }
    if (!insidePolygon(polygon, cx, cy))
      ++outside;
  }
  return outside;
}
