// Counts every allocation of the process, to show that triangulating polygon after polygon
// allocates nothing once the scratch memory has grown.
#include "triangulate/motr.h"

#include "tests/triangulate/polygon_fixtures.h"

#include <gtest/gtest.h>

#include <atomic>
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

TEST(MotrScratch, RepeatedTriangulationAllocatesNothing) {
  std::mt19937 random(5);
  const TestPolygon polygon = randomPolygonWithHoles(random, 300, 3, 40);
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
  const int warm = run();
  ASSERT_EQ(warm, 2 * polygon.triangleRoom());
  const long before = allocations.load();
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(run(), warm);
  EXPECT_EQ(allocations.load() - before, 0);
}

} // namespace
