#include "triangulate/face_triangulator.h"
#include "triangulate/motr.h"

#include "tests/triangulate/polygon_fixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <set>
#include <string>

namespace {

using ::testing::ElementsAre;

// Runs the double entry on a copy of the polygon's points.
int triangulate(const TestPolygon &polygon, std::vector<int> &triangles,
                const double *normal = nullptr) {
  std::vector<double> points = polygon.xyz;
  triangles.assign(static_cast<size_t>(3 * std::max(polygon.triangleRoom(), 1)), -7);
  return motrDelaunayNPd(polygon.loopCount(), polygon.loopSizes.data(), polygon.pointCount(),
                         points.data(), triangles.data(), normal);
}

int triangulateFloat(const TestPolygon &polygon, std::vector<int> &triangles,
                     const float *normal = nullptr) {
  const std::vector<float> points(polygon.xyz.begin(), polygon.xyz.end());
  triangles.assign(static_cast<size_t>(3 * std::max(polygon.triangleRoom(), 1)), -7);
  return motrDelaunayNPf(polygon.loopCount(), polygon.loopSizes.data(), polygon.pointCount(),
                         points.data(), triangles.data(), normal);
}

bool hasEdge(const std::vector<int> &triangles, int count, int a, int b) {
  for (int t = 0; t < count; ++t) {
    for (int k = 0; k < 3; ++k) {
      const int p = triangles[3 * t + k], q = triangles[3 * t + (k + 1) % 3];
      if ((p == a && q == b) || (p == b && q == a))
        return true;
    }
  }
  return false;
}

// Checks that the triangles tile the polygon: the expected count, every index in range,
// counter-clockwise, none outside or in a hole, and together exactly the polygon's area.
void expectTiles(const TestPolygon &polygon, const std::vector<int> &triangles, int count) {
  ASSERT_EQ(count, polygon.pointCount() + 2 * (polygon.loopCount() - 1) - 2);
  for (int i = 0; i < 3 * count; ++i) {
    ASSERT_GE(triangles[i], 0);
    ASSERT_LT(triangles[i], polygon.pointCount());
  }
  for (int t = 0; t < count; ++t) {
    const double *a = &polygon.xyz[3 * triangles[3 * t]];
    const double *b = &polygon.xyz[3 * triangles[3 * t + 1]];
    const double *c = &polygon.xyz[3 * triangles[3 * t + 2]];
    EXPECT_GT(triangleArea2d(a, b, c), 0.0) << "triangle " << t;
  }
  EXPECT_EQ(trianglesOutside(polygon, triangles, count), 0);
  EXPECT_NEAR(trianglesArea(polygon, triangles, count), polygonArea(polygon), 1e-9);
}

TestPolygon squareWithSquareHole(bool holeClockwise) {
  TestPolygon polygon;
  polygon.addLoop({0, 0, 4, 0, 4, 4, 0, 4});
  if (holeClockwise)
    polygon.addLoop({1, 1, 1, 3, 3, 3, 3, 1});
  else
    polygon.addLoop({1, 1, 3, 1, 3, 3, 1, 3});
  return polygon;
}

TEST(MotrResult, FewerThanThreePointsGiveMinusSix) {
  const int loop[] = {2};
  const float points[] = {0, 0, 0, 1, 0, 0};
  int triangles[3];
  EXPECT_EQ(motrDelaunayNPf(1, loop, 2, points, triangles, nullptr), -6);
  EXPECT_EQ(motrDelaunayNPd(1, loop, 0, nullptr, triangles, nullptr), -6);
}

TEST(MotrResult, ThreePointsGiveOneTriangleWhateverTheirPositions) {
  const int loop[] = {3};
  const float collinear[] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
  int triangles[3] = {-1, -1, -1};
  EXPECT_EQ(motrDelaunayNPf(1, loop, 3, collinear, triangles, nullptr), 1);
  EXPECT_THAT(triangles, ElementsAre(0, 1, 2));
  double nan3[9];
  std::fill(nan3, nan3 + 9, std::numeric_limits<double>::quiet_NaN());
  std::fill(triangles, triangles + 3, -1);
  EXPECT_EQ(motrDelaunayNPd(1, loop, 3, nan3, triangles, nullptr), 1);
  EXPECT_THAT(triangles, ElementsAre(0, 1, 2));
}

TEST(MotrResult, VersionIsOne) { EXPECT_EQ(motrVersionNP(), 1.0); }

TEST(MotrResult, LoopsThatDoNotDescribeThePointsGiveMinusFour) {
  const float points[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0.5f, 2, 0, 0, 1, 0};
  int triangles[12];
  const int tooMany[] = {6};
  const int twoShort[] = {3, 2};
  const int zero[] = {0, 5};
  EXPECT_EQ(motrDelaunayNPf(1, tooMany, 5, points, triangles, nullptr), -4);
  EXPECT_EQ(motrDelaunayNPf(2, twoShort, 5, points, triangles, nullptr), -4);
  EXPECT_EQ(motrDelaunayNPf(2, zero, 5, points, triangles, nullptr), -4);
  const int five[] = {5};
  EXPECT_EQ(motrDelaunayNPf(0, five, 5, points, triangles, nullptr), -4);
  EXPECT_EQ(motrDelaunayNPf(1, nullptr, 5, points, triangles, nullptr), -4);
  EXPECT_EQ(motrDelaunayNPf(1, five, 5, nullptr, triangles, nullptr), -4);
  EXPECT_EQ(motrDelaunayNPf(1, five, 5, points, nullptr, nullptr), -4);
  EXPECT_EQ(motrDelaunayNPf(1, five, 5, points, triangles, nullptr), 3);
}

TEST(MotrResult, NonFiniteCoordinatesGiveMinusFour) {
  const int loop[] = {5};
  int triangles[9];
  for (double bad :
       {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
    double points[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, bad, 0.5, 2, 0};
    EXPECT_EQ(motrDelaunayNPd(1, loop, 5, points, triangles, nullptr), -4);
    const float floats[] = {0, 0, 0, 1, 0, 0, 1, 1, 0, static_cast<float>(bad), 1, 0, 0.5f, 2, 0};
    EXPECT_EQ(motrDelaunayNPf(1, loop, 5, floats, triangles, nullptr), -4);
  }
}

TEST(MotrResult, ZeroNormalPrintsDegenerateVectorAndGivesMinusThree) {
  TestPolygon pentagon;
  pentagon.addLoop({0, 0, 1, 0, 1, 1, 0.5, 1.5, 0, 1});
  std::vector<int> triangles;
  const float zero[] = {0, 0, 0};
  testing::internal::CaptureStdout();
  EXPECT_EQ(triangulateFloat(pentagon, triangles, zero), -3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nERROR: Degenerate vector:   0.0000   0.0000   0.0000\nTransformation failed");
  const double nanNormal[] = {0, std::numeric_limits<double>::quiet_NaN(), 1};
  testing::internal::CaptureStdout();
  EXPECT_EQ(triangulate(pentagon, triangles, nanNormal), -3);
  EXPECT_EQ(testing::internal::GetCapturedStdout(),
            "\nERROR: Degenerate vector:   0.0000      nan   1.0000");
}

TEST(MotrResult, CollinearLoopWithoutNormalGivesMinusOne) {
  TestPolygon line;
  line.addLoop({0, 0, 1, 1, 2, 2, 3, 3, 1.5, 1.5});
  std::vector<int> triangles;
  testing::internal::CaptureStdout();
  EXPECT_EQ(triangulateFloat(line, triangles), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "\nNormal find failed");
  testing::internal::CaptureStdout();
  EXPECT_EQ(triangulate(line, triangles), -1);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST(MotrResult, PointsEnclosingNoAreaGiveNoTriangles) {
  TestPolygon pile;
  pile.addLoop({2, 2, 2, 2, 2, 2, 2, 2, 2, 2});
  std::vector<int> triangles;
  const double up[] = {0, 0, 1};
  EXPECT_EQ(triangulate(pile, triangles, up), 0);
  TestPolygon line;
  line.addLoop({0, 0, 1, 1, 2, 2, 3, 3, 2, 2, 1, 1});
  EXPECT_EQ(triangulate(line, triangles, up), 0);
}

TEST(MotrQuadrilateral, ConvexQuadTakesTheDelaunayDiagonal) {
  std::vector<int> triangles;
  // P3 far outside the circle through P0, P1, P2: diagonal P0-P2.
  TestPolygon wide;
  wide.addLoop({0, 0, 1, 0, 1.2, 1, -3, 0.5});
  ASSERT_EQ(triangulate(wide, triangles), 2);
  EXPECT_THAT(triangles, ElementsAre(0, 1, 2, 0, 2, 3));
  // P3 inside that circle: diagonal P1-P3.
  TestPolygon kite;
  kite.addLoop({0, 0, 2, -1, 4, 0, 2, 0.5});
  ASSERT_EQ(triangulate(kite, triangles), 2);
  EXPECT_THAT(triangles, ElementsAre(0, 1, 3, 1, 2, 3));
}

TEST(MotrQuadrilateral, ReflexCornerGetsTheDiagonal) {
  std::vector<int> triangles;
  TestPolygon dartAt1; // P1 is the reflex corner
  dartAt1.addLoop({0, 0, 1, 1, 2, 0, 1, 3});
  ASSERT_EQ(triangulate(dartAt1, triangles), 2);
  EXPECT_THAT(triangles, ElementsAre(0, 1, 3, 1, 2, 3));
  TestPolygon dartAt0; // the same dart starting at the reflex corner
  dartAt0.addLoop({1, 1, 2, 0, 1, 3, 0, 0});
  ASSERT_EQ(triangulate(dartAt0, triangles), 2);
  EXPECT_THAT(triangles, ElementsAre(0, 1, 2, 0, 2, 3));
}

TEST(MotrQuadrilateral, ClockwiseDartAgainstItsNormalStaysInside) {
  // Seen from the given normal the loop runs clockwise; the reflex corner still gets the
  // diagonal and the triangles come out counter-clockwise about that normal.
  TestPolygon dart;
  dart.addLoop({0, 0, 1, 3, 2, 0, 1, 1});
  std::vector<int> triangles;
  const double up[] = {0, 0, 1};
  ASSERT_EQ(triangulate(dart, triangles, up), 2);
  expectTiles(dart, triangles, 2);
  EXPECT_TRUE(hasEdge(triangles, 2, 1, 3));
}

TEST(MotrPolygon, LShapedHexagonGivesFourTrianglesInsideTheL) {
  TestPolygon ell;
  ell.addLoop({0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2});
  std::vector<int> triangles;
  const int count = triangulate(ell, triangles);
  ASSERT_EQ(count, 4);
  expectTiles(ell, triangles, count);
}

TEST(MotrPolygon, SquareWithSquareHoleGivesEightTriangles) {
  std::vector<int> triangles;
  for (bool holeClockwise : {true, false}) {
    const TestPolygon polygon = squareWithSquareHole(holeClockwise);
    const int count = triangulate(polygon, triangles);
    ASSERT_EQ(count, 8) << "hole clockwise " << holeClockwise;
    expectTiles(polygon, triangles, count);
    // Against a normal pointing the other way the same region is kept.
    const double down[] = {0, 0, -1};
    ASSERT_EQ(triangulate(polygon, triangles, down), 8);
    EXPECT_EQ(trianglesOutside(polygon, triangles, 8), 0);
    EXPECT_NEAR(trianglesArea(polygon, triangles, 8), 12.0, 1e-12);
  }
}

TEST(MotrPolygon, NearDuplicatePointsCountAsOne) {
  TestPolygon polygon;
  polygon.addLoop({0, 0, 1, 0, 1, 1e-9, 2, 0.5, 1, 1, 0, 1});
  std::vector<int> triangles;
  const int count = triangulate(polygon, triangles);
  ASSERT_EQ(count, 3); // five distinct points
  for (int t = 0; t < count; ++t) {
    const std::set<int> corners = {triangles[3 * t], triangles[3 * t + 1], triangles[3 * t + 2]};
    EXPECT_EQ(corners.size(), 3u);
    EXPECT_EQ(corners.count(2), 0u) << "the later duplicate is never used";
  }
  EXPECT_NEAR(trianglesArea(polygon, triangles, count), polygonArea(polygon), 1e-8);
}

TEST(MotrPolygon, CollinearRunsStayOnTheBoundary) {
  TestPolygon polygon;
  polygon.addLoop({0, 0, 1, 0, 2, 0, 3, 0, 3, 1, 3, 2, 2, 2, 1, 2, 0, 2, 0, 1});
  std::vector<int> triangles;
  const int count = triangulate(polygon, triangles);
  expectTiles(polygon, triangles, count);
}

TEST(MotrPolygon, NormalAlongYUsesTheSecondRotation) {
  // An L in the x-z plane, handed the normal (0, 1, 0).
  TestPolygon ell;
  const double xz[] = {0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2};
  ell.loopSizes = {6};
  for (int i = 0; i < 6; ++i)
    ell.xyz.insert(ell.xyz.end(), {xz[2 * i], 5.0, xz[2 * i + 1]});
  std::vector<int> triangles;
  const double alongY[] = {0, 1, 0};
  const int count = triangulate(ell, triangles, alongY);
  ASSERT_EQ(count, 4);
  TestPolygon flat; // the same L in the x-y plane, for the area and inside checks
  flat.addLoop({0, 0, 2, 0, 2, 1, 1, 1, 1, 2, 0, 2});
  EXPECT_EQ(trianglesOutside(flat, triangles, count), 0);
  EXPECT_NEAR(trianglesArea(flat, triangles, count), 3.0, 1e-12);
}

TEST(MotrPolygon, TiltedPolygonFindsItsOwnNormal) {
  // A random polygon with holes rotated into a tilted plane and moved far from the origin.
  std::mt19937 random(7);
  const TestPolygon flat = randomPolygonWithHoles(random, 40, 3, 12);
  TestPolygon tilted = flat;
  const double c = std::cos(0.7), s = std::sin(0.7);
  for (size_t i = 0; i < tilted.xyz.size(); i += 3) {
    const double x = flat.xyz[i], y = flat.xyz[i + 1];
    tilted.xyz[i] = 1000.0 + x;
    tilted.xyz[i + 1] = 2000.0 + c * y;
    tilted.xyz[i + 2] = 3000.0 + s * y;
  }
  std::vector<int> triangles;
  const int count = triangulate(tilted, triangles);
  expectTiles(flat, triangles, count);
  EXPECT_EQ(triangulateFloat(tilted, triangles), count);
}

// The polygon's points turned about x by `a`, then about y by `b`, moved by `offset` and
// rounded to single precision (kept as doubles, so that both entries see the same points).
TestPolygon tiltedInSinglePrecision(const TestPolygon &polygon, double a, double b, double offset) {
  TestPolygon tilted = polygon;
  for (size_t i = 0; i < tilted.xyz.size(); i += 3) {
    const double x = polygon.xyz[i], y = polygon.xyz[i + 1], z = polygon.xyz[i + 2];
    const double y1 = std::cos(a) * y - std::sin(a) * z, z1 = std::sin(a) * y + std::cos(a) * z;
    const double turned[3] = {std::cos(b) * x + std::sin(b) * z1, y1,
                              -std::sin(b) * x + std::cos(b) * z1};
    for (int k = 0; k < 3; ++k)
      tilted.xyz[i + k] = static_cast<float>(offset + turned[k]);
  }
  return tilted;
}

TEST(MotrPolygon, FlatFacesInTiltedPlanesGetTheirLevelTriangles) {
  // Single precision leaves a flat polygon in a tilted plane a little bent; that rounding
  // must not choose its diagonals. Convex and notched loops, some with holes.
  std::mt19937 random(31);
  std::uniform_real_distribution<double> angle(0.0, 2.0 * M_PI);
  std::vector<int> level, tilted;
  for (int round = 0; round < 400; ++round) {
    const bool convex = round % 2 == 0;
    TestPolygon polygon;
    polygon.addLoop(starLoop(random, 5 + round % 60, 0.0, 0.0, convex ? 0.97 : 0.6, 1.0, false));
    if (round % 10 == 1)
      polygon.addLoop(starLoop(random, 6, 0.1, 0.0, 0.1, 0.2, true));
    SCOPED_TRACE(round);
    const int count = triangulateFloat(polygon, level);
    ASSERT_EQ(count, polygon.triangleRoom());
    const double offset = round % 3 == 0 ? 0.0 : 50.0 * (round % 3);
    const TestPolygon turned =
        tiltedInSinglePrecision(polygon, angle(random), angle(random), offset);
    ASSERT_EQ(triangulateFloat(turned, tilted), count);
    EXPECT_EQ(triangleSet(tilted.data(), count), triangleSet(level.data(), count));
  }
}

TEST(MotrPolygon, FacesBentBeyondRoundingKeepTheNormalTestInSinglePrecision) {
  // Heights of a ten-thousandth of the size are a real bend: both entries decide it alike.
  std::mt19937 random(32);
  std::uniform_real_distribution<double> angle(0.0, 2.0 * M_PI), bump(-1e-4, 1e-4);
  std::vector<int> bySingle, byDouble;
  int bentApart = 0; // rounds whose bend changes the triangles
  for (int round = 0; round < 200; ++round) {
    TestPolygon polygon;
    polygon.addLoop(starLoop(random, 8 + round % 40, 0.0, 0.0, 0.6, 1.0, false));
    std::vector<int> flat;
    const int count = triangulateFloat(polygon, flat);
    for (size_t i = 2; i < polygon.xyz.size(); i += 3)
      polygon.xyz[i] = bump(random);
    const TestPolygon turned = tiltedInSinglePrecision(polygon, angle(random), angle(random), 0.0);
    SCOPED_TRACE(round);
    ASSERT_EQ(triangulateFloat(turned, bySingle), count);
    ASSERT_EQ(triangulate(turned, byDouble), count);
    EXPECT_EQ(triangleSet(bySingle.data(), count), triangleSet(byDouble.data(), count));
    bentApart += triangleSet(bySingle.data(), count) != triangleSet(flat.data(), count);
  }
  EXPECT_GT(bentApart, 20); // the bends do reach the normal test
}

TEST(MotrPolygon, RandomPolygonsWithHolesAreTiledExactly) {
  // Half of them get bumpy heights under the normal +Z, so that the normal test swaps edges
  // among the many reflex corners of star-shaped loops.
  std::mt19937 random(1234);
  std::uniform_real_distribution<double> bump(-0.1, 0.1);
  std::vector<int> triangles;
  const double up[] = {0, 0, 1};
  const float upFloat[] = {0, 0, 1};
  for (int round = 0; round < 150; ++round) {
    const int holes = round % 5;
    TestPolygon polygon =
        randomPolygonWithHoles(random, 8 + round % 50, holes, 3 + round % 17, round % 2 == 1);
    const bool bumpy = round % 4 >= 2;
    if (bumpy) {
      for (size_t i = 2; i < polygon.xyz.size(); i += 3)
        polygon.xyz[i] = bump(random);
    }
    SCOPED_TRACE(round);
    const int count = triangulate(polygon, triangles, bumpy ? up : nullptr);
    expectTiles(polygon, triangles, count);
    const int floatCount = triangulateFloat(polygon, triangles, bumpy ? upFloat : nullptr);
    ASSERT_EQ(floatCount, count);
    expectTiles(polygon, triangles, floatCount);
    if (HasFatalFailure())
      return;
  }
}

TEST(MotrPolygon, RaisedCornerMovesTheDiagonalToTheFold) {
  // A 3 x 2 rectangle P0 P1 P3 P4 with a cap at each end; its corners lie on one circle. Flat,
  // the rectangle is split along P0-P3. With P3 raised the split along P1-P4 leaves one
  // triangle flat and bends less, so the normal test takes it.
  TestPolygon hexagon;
  hexagon.addLoop({0, 0, 3, 0, 4, 1, 3, 2, 0, 2, -1, 1});
  std::vector<int> triangles;
  ASSERT_EQ(triangulate(hexagon, triangles), 4);
  EXPECT_TRUE(hasEdge(triangles, 4, 0, 3));
  hexagon.xyz[3 * 3 + 2] = 1.0;
  const double up[] = {0, 0, 1};
  ASSERT_EQ(triangulate(hexagon, triangles, up), 4);
  EXPECT_TRUE(hasEdge(triangles, 4, 1, 4));
  EXPECT_FALSE(hasEdge(triangles, 4, 0, 3));
}

TEST(MotrBadInput, SelfIntersectingAndTouchingLoopsStayWithinTheRoom) {
  std::vector<TestPolygon> cases(5);
  cases[0].addLoop({0, 0, 2, 2, 2, 0, 0, 2, 1, 3}); // bow tie
  cases[1].addLoop({0, 0, 4, 0, 4, 4, 0, 4});       // hole touching the outer corner
  cases[1].addLoop({0, 0, 1, 2, 2, 1});
  cases[2].addLoop({0, 0, 1, 0, 1, 1, 0, 1}); // hole outside the outer loop
  cases[2].addLoop({5, 5, 5, 6, 6, 6, 6, 5});
  cases[3].addLoop({0, 0, 4, 0, 4, 4, 0, 4}); // crossing holes
  cases[3].addLoop({1, 1, 1, 3, 3, 3, 3, 1});
  cases[3].addLoop({2, 0.5, 2, 2, 3.5, 2, 3.5, 0.5});
  cases[4].addLoop({0, 0, 3, 0, 3, 3, 0, 3, 0, 0, 3, 0, 3, 3, 0, 3}); // loop run twice
  std::vector<int> triangles;
  for (size_t i = 0; i < cases.size(); ++i) {
    const int count = triangulate(cases[i], triangles);
    EXPECT_TRUE(count >= 0 || count == -5) << "case " << i << " gave " << count;
    for (int k = 0; k < 3 * std::max(count, 0); ++k) {
      ASSERT_GE(triangles[k], 0);
      ASSERT_LT(triangles[k], cases[i].pointCount());
    }
  }
}

TEST(MotrBadInput, HugeAndTinyCoordinatesAreScaledNotOverflowed) {
  for (double scale : {1e300, 1e-300}) {
    TestPolygon polygon = squareWithSquareHole(true);
    for (double &v : polygon.xyz)
      v *= scale;
    std::vector<int> triangles;
    EXPECT_EQ(triangulate(polygon, triangles), 8) << scale;
  }
}

TEST(MotrFaceTriangulator, TriangulatesFaceAfterFace) {
  FaceTriangulator faces;
  for (int face = 0; face < 3; ++face) {
    faces.clear();
    faces.addPoint(0, 0, 0);
    faces.addPoint(4, 0, 0);
    faces.addPoint(4, 4, 0);
    faces.addPoint(0, 4, 0);
    faces.closeLoop();
    faces.addPoint(1, 1, 0);
    faces.addPoint(1, 3, 0);
    faces.addPoint(3, 3, 0);
    faces.addPoint(3, 1, 0);
    ASSERT_EQ(faces.triangulate(), 8);
    EXPECT_EQ(faces.triangles().size(), 24u);
  }
  faces.clear();
  faces.addPoint(0, 0, 0);
  faces.addPoint(1, 0, 0);
  EXPECT_EQ(faces.triangulate(), -6);
  EXPECT_TRUE(faces.triangles().empty());
}

} // namespace
