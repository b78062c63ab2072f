#include "triangulate/single_loop.h"
#include "triangulate/triangulate_polygon.h"

#include "tests/triangulate/polygon_fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <random>
#include <set>
#include <utility>

namespace {

using Triangle = std::array<int, 3>;

// Triangulates a copy of the polygon's points, by the short ways where they apply or always
// the general way. Triangles come back turned to start at their lowest index.
std::vector<Triangle> triangulateBy(const TestPolygon &polygon, bool shortWay, int &result) {
  motr::Workspace work;
  work.singleLoopShortWay = shortWay;
  std::vector<double> points = polygon.xyz;
  std::vector<int> out(static_cast<size_t>(3 * std::max(polygon.triangleRoom(), 1)));
  result = motr::triangulatePoints(work, polygon.loopCount(), polygon.loopSizes.data(),
                                   polygon.pointCount(), points.data(), out.data(), nullptr);
  std::vector<Triangle> triangles;
  for (int t = 0; t < result; ++t) {
    Triangle tri = {out[3 * t], out[3 * t + 1], out[3 * t + 2]};
    std::rotate(tri.begin(), std::min_element(tri.begin(), tri.end()), tri.end());
    triangles.push_back(tri);
  }
  std::sort(triangles.begin(), triangles.end());
  return triangles;
}

const double *xy(const TestPolygon &polygon, int i) { return &polygon.xyz[3 * i]; }

double loopTwiceArea(const TestPolygon &polygon, int first, int count) {
  double twice = 0.0;
  for (int k = 0; k < count; ++k) {
    const double *p = xy(polygon, first + k), *q = xy(polygon, first + (k + 1) % count);
    twice += p[0] * q[1] - q[0] * p[1];
  }
  return twice;
}

// The triangles tile the polygon exactly: the full count, all turning the way the outer loop
// does, every loop edge used once in the direction that keeps the polygon on the triangles'
// side, every other edge once each way (so nothing overlaps), and together the polygon's area.
void expectTiling(const TestPolygon &polygon, const std::vector<Triangle> &triangles) {
  ASSERT_EQ(static_cast<int>(triangles.size()), polygon.triangleRoom());
  const double turn = loopTwiceArea(polygon, 0, polygon.loopSizes[0]) > 0.0 ? 1.0 : -1.0;
  std::map<std::pair<int, int>, int> directed;
  double area = 0.0;
  for (const Triangle &t : triangles) {
    const double a = triangleArea2d(xy(polygon, t[0]), xy(polygon, t[1]), xy(polygon, t[2]));
    ASSERT_GT(turn * a, 0.0);
    area += turn * a;
    for (int k = 0; k < 3; ++k)
      ++directed[{t[k], t[(k + 1) % 3]}];
  }
  EXPECT_NEAR(area, polygonArea(polygon), 1e-9 * std::fabs(polygonArea(polygon)));
  int first = 0;
  std::set<std::pair<int, int>> loopEdges;
  for (int l = 0; l < polygon.loopCount(); ++l) {
    const int n = polygon.loopSizes[l];
    const bool sameWay = (loopTwiceArea(polygon, first, n) > 0.0) == (turn > 0.0);
    for (int k = 0; k < n; ++k) {
      const int a = first + k, b = first + (k + 1) % n;
      // The outer loop is used along its direction, holes against theirs.
      const std::pair<int, int> edge =
          (sameWay == (l == 0)) ? std::make_pair(a, b) : std::make_pair(b, a);
      EXPECT_EQ(directed[edge], 1) << "loop edge " << a << "-" << b;
      loopEdges.insert(edge);
    }
    first += n;
  }
  for (const auto &[edge, uses] : directed) {
    EXPECT_EQ(uses, 1);
    if (loopEdges.count(edge) == 0) {
      EXPECT_EQ(directed.count({edge.second, edge.first}), 1u) << "inner edge used one way";
    }
  }
}

// No corner lies clearly inside the circle of a triangle across an inner edge.
void expectLocallyDelaunay(const TestPolygon &polygon, const std::vector<Triangle> &triangles) {
  std::map<std::pair<int, int>, int> apexOf; // directed edge -> the triangle's third corner
  for (const Triangle &t : triangles) {
    for (int k = 0; k < 3; ++k)
      apexOf[{t[k], t[(k + 1) % 3]}] = t[(k + 2) % 3];
  }
  for (const auto &[edge, apex] : apexOf) {
    const auto other = apexOf.find({edge.second, edge.first});
    if (other == apexOf.end())
      continue;
    const double *a = xy(polygon, edge.first), *b = xy(polygon, edge.second);
    const double *c = xy(polygon, apex), *d = xy(polygon, other->second);
    const motr::Point3 pa{a[0], a[1], 0}, pb{b[0], b[1], 0}, pc{c[0], c[1], 0}, pd{d[0], d[1], 0};
    const double scale = std::pow(std::hypot(b[0] - a[0], b[1] - a[1]), 4);
    const double sign = motr::orient(pa, pb, pc) > 0.0 ? 1.0 : -1.0;
    EXPECT_LE(sign * motr::inCircle(pa, pb, pc, pd), 1e-9 * scale);
  }
}

enum class Expect { SameTriangles, DelaunayTriangles };

// Both ways give as many triangles; the short way's tile the polygon and are either the
// general way's or, where corners share circles, Delaunay all the same.
void compareWays(const TestPolygon &polygon, Expect expect) {
  int fast = 0, general = 0;
  const std::vector<Triangle> byShortWay = triangulateBy(polygon, true, fast);
  const std::vector<Triangle> byGeneralWay = triangulateBy(polygon, false, general);
  ASSERT_EQ(fast, general);
  expectTiling(polygon, byShortWay);
  if (expect == Expect::SameTriangles)
    EXPECT_EQ(byShortWay, byGeneralWay);
  else
    expectLocallyDelaunay(polygon, byShortWay);
}

TestPolygon singleLoop(const std::vector<double> &xy) {
  TestPolygon polygon;
  polygon.addLoop(xy);
  return polygon;
}

// Corners on an ellipse: convex, and no four on one circle.
TestPolygon ellipse(std::mt19937 &random, int count) {
  std::uniform_real_distribution<double> spread(0.1, 0.9), axis(0.2, 3.0);
  const double rx = axis(random), ry = axis(random);
  std::vector<double> xy;
  for (int k = 0; k < count; ++k) {
    const double a = 2.0 * M_PI * (k + spread(random)) / count;
    xy.insert(xy.end(), {5.0 + rx * std::cos(a), -2.0 + ry * std::sin(a)});
  }
  return singleLoop(xy);
}

// Corners on a circle, evenly spaced or not: every four lie on one circle.
TestPolygon onCircle(std::mt19937 &random, int count, bool even) {
  std::uniform_real_distribution<double> angle(0.0, 2.0 * M_PI);
  std::vector<double> angles(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    angles[static_cast<size_t>(i)] = even ? 2.0 * M_PI * i / count : angle(random);
  std::sort(angles.begin(), angles.end());
  std::vector<double> xy;
  for (double a : angles)
    xy.insert(xy.end(), {std::cos(a), std::sin(a)});
  return singleLoop(xy);
}

// A rectangle with every side cut into pieces: collinear runs, and many corners on circles.
TestPolygon cutRectangle(std::mt19937 &random) {
  std::uniform_int_distribution<int> pieces(1, 4);
  const int a = pieces(random), b = pieces(random);
  std::vector<double> xy;
  for (int i = 0; i < a; ++i)
    xy.insert(xy.end(), {3.0 * i / a, 0.0});
  for (int i = 0; i < b; ++i)
    xy.insert(xy.end(), {3.0, 2.0 * i / b});
  for (int i = 0; i < a; ++i)
    xy.insert(xy.end(), {3.0 - 3.0 * i / a, 2.0});
  for (int i = 0; i < b; ++i)
    xy.insert(xy.end(), {0.0, 2.0 - 2.0 * i / b});
  return singleLoop(xy);
}

void reverse(TestPolygon &polygon) {
  std::vector<double> xyz;
  for (int i = polygon.pointCount() - 1; i >= 0; --i)
    xyz.insert(xyz.end(), polygon.xyz.begin() + 3 * i, polygon.xyz.begin() + 3 * i + 3);
  polygon.xyz = xyz;
}

TEST(SingleLoopShortWay, GivesTheGeneralWaysTrianglesInGeneralPosition) {
  std::mt19937 random(2024);
  for (int round = 0; round < 3000; ++round) {
    const int count = 5 + round % 28;
    TestPolygon polygon =
        round % 2 ? ellipse(random, count) : randomPolygonWithHoles(random, count, 0, 0, false);
    if (round % 3 == 0)
      reverse(polygon);
    SCOPED_TRACE(round);
    compareWays(polygon, Expect::SameTriangles);
    if (HasFatalFailure())
      return;
  }
}

TEST(SingleLoopShortWay, CocircularAndCollinearCornersGiveAValidDelaunayTiling) {
  std::mt19937 random(77);
  for (int round = 0; round < 2000; ++round) {
    TestPolygon polygon = round % 3 == 0   ? onCircle(random, 5 + round % 60, round % 2 == 0)
                          : round % 3 == 1 ? cutRectangle(random)
                                           : singleLoop({0, 0, 2, 0, 2, 1, 1, 1, 1, 3, 0, 3});
    if (round % 3 == 2) { // an L moved about: collinear corners across the notch
      for (size_t i = 0; i < polygon.xyz.size(); i += 3)
        polygon.xyz[i] += round;
    }
    SCOPED_TRACE(round);
    compareWays(polygon, Expect::DelaunayTriangles);
    if (HasFatalFailure())
      return;
  }
}

TEST(SingleLoopShortWay, PolygonsWithHolesAreTiledAsBefore) {
  std::mt19937 random(5);
  for (int round = 0; round < 300; ++round) {
    const TestPolygon polygon =
        randomPolygonWithHoles(random, 5 + round % 20, 1 + round % 4, 3 + round % 8);
    SCOPED_TRACE(round);
    compareWays(polygon, Expect::SameTriangles);
    if (HasFatalFailure())
      return;
  }
}

// A loop of `count` corners: a zigzag along the bottom, closed over the top.
std::vector<double> notched(int count) {
  std::vector<double> xy;
  for (int k = 0; k < count - 2; ++k)
    xy.insert(xy.end(), {k / (count - 3.0), k % 2 ? 0.2 : 0.0});
  xy.insert(xy.end(), {1.0, 1.0, 0.0, 1.0});
  return xy;
}

// Loops in the unit square, as the short ways receive them.
bool takesShortWay(std::vector<double> xy, double z = 0.0) {
  std::vector<double> points;
  for (size_t i = 0; i < xy.size(); i += 2)
    points.insert(points.end(), {xy[i], xy[i + 1], z});
  motr::LoopScratch scratch;
  std::vector<int> triangles(points.size());
  return motr::triangulateSingleLoop(points.data(), static_cast<int>(xy.size() / 2), scratch,
                                     triangles.data());
}

TEST(SingleLoopShortWay, LeavesSpecialCasesToTheGeneralWay) {
  EXPECT_TRUE(takesShortWay({0, 0, 1, 0, 1, 1, 0.5, 1.2, 0, 1}));
  EXPECT_TRUE(takesShortWay({0, 0, 1, 0, 1, 1, 0.5, 0.5, 0, 1})); // a notch, small enough
  // Corners within the tolerance of each other or of an edge they do not end.
  EXPECT_FALSE(takesShortWay({0, 0, 1, 0, 1, 1e-7, 1, 1, 0, 1}));
  EXPECT_FALSE(takesShortWay({0, 0, 1, 0, 1, 1, 0.5, 1e-6, 0, 1}));
  // Not in one plane, crossing itself, winding twice round, no area.
  std::vector<double> points = {0, 0, 0, 1, 0, 0, 1, 1, 1e-12, 0.5, 1.2, 0, 0, 1, 0};
  motr::LoopScratch scratch;
  std::vector<int> triangles(9);
  EXPECT_FALSE(motr::triangulateSingleLoop(points.data(), 5, scratch, triangles.data()));
  EXPECT_FALSE(takesShortWay({0, 0, 1, 1, 1, 0, 0, 1, 0.5, 1.5}));
  std::vector<double> pentagram;
  for (int k = 0; k < 5; ++k) {
    const double a = 2.0 * M_PI * (2 * k % 5) / 5.0;
    pentagram.insert(pentagram.end(), {0.5 + 0.5 * std::cos(a), 0.5 + 0.5 * std::sin(a)});
  }
  EXPECT_FALSE(takesShortWay(pentagram));
  EXPECT_FALSE(takesShortWay({0, 0, 1, 0, 1, 0, 0, 0, 0.5, 0}));
  // A notched loop is taken up to 24 corners; a convex one at any size.
  EXPECT_TRUE(takesShortWay(notched(24)));
  EXPECT_FALSE(takesShortWay(notched(25)));
  std::vector<double> round;
  for (int k = 0; k < 500; ++k)
    round.insert(round.end(), {std::cos(0.01 * k), 0.5 * std::sin(0.01 * k)});
  EXPECT_TRUE(takesShortWay(round));
  std::vector<double> levelClose; // 32 corners, the closing edge level
  for (int k = 0; k < 32; ++k) {
    const double a = 2.0 * M_PI * (k + 0.5) / 32 - M_PI / 2;
    levelClose.insert(levelClose.end(), {0.5 + 0.5 * std::cos(a), 0.5 + 0.5 * std::sin(a)});
  }
  levelClose.back() = levelClose[1];
  EXPECT_TRUE(takesShortWay(levelClose));
}

} // namespace
