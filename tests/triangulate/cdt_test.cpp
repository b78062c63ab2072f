#include "triangulate/cdt.h"
#include "triangulate/triangulate_polygon.h"

#include "tests/triangulate/polygon_fixtures.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <set>

namespace {

using motr::ConstrainedDelaunay;
using motr::Point3;

std::set<std::array<int, 3>> triangulateWith(const TestPolygon &polygon, bool exhaustive) {
  motr::Workspace work;
  work.cdt.exhaustiveLocation = exhaustive;
  std::vector<double> points = polygon.xyz;
  std::vector<int> triangles(static_cast<size_t>(3 * polygon.triangleRoom()));
  const int count =
      motr::triangulatePoints(work, polygon.loopCount(), polygon.loopSizes.data(),
                              polygon.pointCount(), points.data(), triangles.data(), nullptr);
  return triangleSet(triangles.data(), count);
}

TEST(ConstrainedDelaunay, WalkingAndExhaustiveLocationAgree) {
  std::mt19937 random(99);
  for (int round = 0; round < 20; ++round) {
    const TestPolygon polygon = randomPolygonWithHoles(random, 30 + round, round % 4, 10);
    const auto walked = triangulateWith(polygon, false);
    EXPECT_EQ(walked.size(), static_cast<size_t>(polygon.triangleRoom()));
    EXPECT_EQ(walked, triangulateWith(polygon, true)) << "round " << round;
  }
}

TEST(ConstrainedDelaunay, SiteWithinToleranceReusesTheVertex) {
  ConstrainedDelaunay cdt;
  cdt.begin();
  const int32_t a = cdt.insertSite({0.5, 0.5, 0.0}, 0);
  EXPECT_EQ(cdt.insertSite({0.5 + 6e-7, 0.5 - 6e-7, 0.0}, 1), a); // 8.5e-7 away
  EXPECT_NE(cdt.insertSite({0.5 + 1e-6, 0.5 + 1e-6, 0.0}, 2), a); // 1.4e-6 away
}

TEST(ConstrainedDelaunay, PointOnABoundaryTakesItsHeightAndSplitsIt) {
  ConstrainedDelaunay cdt;
  cdt.begin();
  const int32_t a = cdt.insertSite({0.1, 0.5, 0.0}, 0);
  const int32_t b = cdt.insertSite({0.9, 0.5, 1.0}, 1);
  ASSERT_TRUE(cdt.insertSegment(a, b, true));
  const int32_t c = cdt.insertSite({0.3, 0.5 + 5e-7, 7.0}, 2);
  EXPECT_NEAR(cdt.point(c).z, 0.25, 1e-6);
  // Points above and below the line; both halves must still be boundary pieces, so the
  // triangles beside them survive the outside removal on the kept (left) side only.
  const int32_t d = cdt.insertSite({0.5, 0.8, 0.0}, 3);
  cdt.insertSite({0.5, 0.2, 0.0}, 4);
  ASSERT_TRUE(cdt.insertSegment(b, d, true));
  ASSERT_TRUE(cdt.insertSegment(d, a, true));
  std::vector<int32_t> triangles;
  const int32_t count = cdt.collectTriangles(triangles);
  ASSERT_EQ(count, 2); // (a, c, d) and (c, b, d): the halves of the base
  for (int32_t i : triangles)
    EXPECT_NE(i, 4) << "nothing below the boundary is kept";
}

TEST(ConstrainedDelaunay, CrossingBoundariesAreSplitAtTheirIntersection) {
  ConstrainedDelaunay cdt;
  cdt.begin();
  const int32_t a = cdt.insertSite({0.2, 0.2, 0.0}, 0);
  const int32_t b = cdt.insertSite({0.8, 0.8, 0.0}, 1);
  const int32_t c = cdt.insertSite({0.2, 0.8, 2.0}, 2);
  const int32_t d = cdt.insertSite({0.8, 0.2, 0.0}, 3);
  ASSERT_TRUE(cdt.insertSegment(a, b, true));
  const int32_t before = cdt.vertexCount();
  ASSERT_TRUE(cdt.insertSegment(c, d, true));
  ASSERT_EQ(cdt.vertexCount(), before + 1);
  const Point3 &x = cdt.point(before);
  EXPECT_NEAR(x.x, 0.5, 1e-12);
  EXPECT_NEAR(x.y, 0.5, 1e-12);
  EXPECT_NEAR(x.z, 0.0, 1e-12) << "height interpolated along the crossed edge a-b";
}

} // namespace
