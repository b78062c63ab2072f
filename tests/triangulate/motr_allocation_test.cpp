// Counts every allocation of the process, to show that triangulating polygon after polygon
// allocates nothing once the scratch memory has grown.
#include "triangulate/motr.h"

#include "tests/triangulate/polygon_fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>

namespace {
std::atomic<long> allocations{0};
} // namespace

void *operator new(std::size_t size) {
  ++allocations;
  if (void *p = std::malloc(size == 0 ? 1 : size))
    return p;
  throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

// Both entry points on the polygon, over and over; returns the triangles of the last round.
int repeatAndCountAllocations(const TestPolygon &polygon, long &allocated) {
  const std::vector<float> floats(polygon.xyz.begin(), polygon.xyz.end());
  std::vector<double> points(polygon.xyz.size());
  std::vector<int> triangles(static_cast<size_t>(3 * polygon.triangleRoom()));
  auto run = [&] {
    std::copy(polygon.xyz.begin(), polygon.xyz.end(), points.begin());
    const int d = motrDelaunayNPd(polygon.loopCount(), polygon.loopSizes.data(),
                                  polygon.pointCount(), points.data(), triangles.data(), nullptr);
    const int f = motrDelaunayNPf(polygon.loopCount(), polygon.loopSizes.data(),
                                  polygon.pointCount(), floats.data(), triangles.data(), nullptr);
    return d + f;
  };
  run();
  const long before = allocations.load();
  int result = 0;
  for (int i = 0; i < 5; ++i)
    result = run();
  allocated = allocations.load() - before;
  return result;
}

TEST(MotrScratch, RepeatedTriangulationAllocatesNothing) {
  std::mt19937 random(5);
  const TestPolygon withHoles = randomPolygonWithHoles(random, 300, 3, 40);
  // Single flat loops go the short ways: convex, and notched.
  TestPolygon convex;
  std::vector<double> circle;
  for (int k = 0; k < 64; ++k)
    circle.insert(circle.end(), {std::cos(k * M_PI / 32), std::sin(k * M_PI / 32)});
  convex.addLoop(circle);
  TestPolygon notched;
  notched.addLoop({0, 0, 4, 0, 4, 3, 3, 1, 2, 3, 1, 1, 0, 3});
  const TestPolygon *polygons[] = {&withHoles, &convex, &notched};
  for (const TestPolygon *polygon : polygons) {
    long allocated = 0;
    EXPECT_EQ(repeatAndCountAllocations(*polygon, allocated), 2 * polygon->triangleRoom());
    EXPECT_EQ(allocated, 0);
  }
}

} // namespace
