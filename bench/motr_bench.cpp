// Triangulation time of polygons of growing size through the C entry points.
#include "triangulate/motr.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

struct Polygon {
  std::vector<int> loopSizes;
  std::vector<float> points;
  int pointCount() const { return static_cast<int>(points.size() / 3); }
  int room() const { return pointCount() + 2 * (static_cast<int>(loopSizes.size()) - 1) - 2; }
};

// A loop of `count` points around (cx, cy), radius r times radiusAt(i), counter-clockwise
// unless `clockwise`.
template <typename Radius>
void addLoop(Polygon &polygon, int count, double cx, double cy, double r, bool clockwise,
             Radius radiusAt) {
  polygon.loopSizes.push_back(count);
  for (int i = 0; i < count; ++i) {
    const int k = clockwise ? count - 1 - i : i;
    const double angle = 2.0 * M_PI * k / count;
    const double radius = r * radiusAt(k);
    polygon.points.push_back(static_cast<float>(cx + radius * std::cos(angle)));
    polygon.points.push_back(static_cast<float>(cy + radius * std::sin(angle)));
    polygon.points.push_back(0.0f);
  }
}

Polygon regular(int count) {
  Polygon polygon;
  addLoop(polygon, count, 0.0, 0.0, 1.0, false, [](int) { return 1.0; });
  return polygon;
}

Polygon star(int count) {
  Polygon polygon;
  addLoop(polygon, count, 0.0, 0.0, 1.0, false, [](int k) { return k % 2 ? 0.45 : 1.0; });
  return polygon;
}

// A wavy outer loop with `holes` round holes of `holeSize` points in a row across it.
Polygon withHoles(int outer, int holes, int holeSize) {
  Polygon polygon;
  addLoop(polygon, outer, 0.0, 0.0, 1.0, false,
          [](int k) { return 1.0 + 0.05 * std::sin(0.37 * k); });
  for (int h = 0; h < holes; ++h) {
    const double x = -0.72 + 1.44 * h / (holes > 1 ? holes - 1 : 1);
    addLoop(polygon, holeSize, x, 0.0, 0.06, true, [](int) { return 1.0; });
  }
  return polygon;
}

void run(benchmark::State &state, const Polygon &polygon) {
  std::vector<int> triangles(static_cast<size_t>(3 * polygon.room()));
  int result = 0;
  for (auto _ : state) {
    result =
        motrDelaunayNPf(static_cast<int>(polygon.loopSizes.size()), polygon.loopSizes.data(),
                        polygon.pointCount(), polygon.points.data(), triangles.data(), nullptr);
    benchmark::DoNotOptimize(triangles.data());
  }
  if (result != polygon.room())
    state.SkipWithError("wrong triangle count");
  state.counters["triangles"] = result;
  state.SetItemsProcessed(state.iterations() * polygon.pointCount());
}

void BM_Regular64(benchmark::State &state) { run(state, regular(64)); }
void BM_Star1000(benchmark::State &state) { run(state, star(1000)); }
void BM_Outer10000Holes10x100(benchmark::State &state) { run(state, withHoles(10000, 10, 100)); }
// The same shape at growing sizes: time per point should stay about level.
void BM_WavyLoop(benchmark::State &state) {
  run(state, withHoles(static_cast<int>(state.range(0)), 0, 0));
}

} // namespace

BENCHMARK(BM_Regular64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Star1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Outer10000Holes10x100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WavyLoop)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond);
