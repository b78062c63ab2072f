// The mesh builder on a triangle soup as an STL file gives it: 30 000 triangles of a torus,
// every corner its own vertex, stitched back into one closed surface.
#include "core/mesh_builder.h"
#include "tests/support/mesh_fixtures.h"

#include <benchmark/benchmark.h>

#include <iostream>
#include <ostream>
#include <vector>

namespace {

struct Soup {
  std::vector<moVec3> corners; // three per triangle
};

Soup torusSoup(int32_t rings, int32_t segments) {
  const PolygonMesh torus = torusMesh(rings, segments);
  Soup soup;
  for (const auto &quad : torus.faces)
    for (int32_t k : {0, 1, 2, 0, 2, 3})
      soup.corners.push_back(torus.points[size_t(quad[size_t(k)])]);
  return soup;
}

void BM_BuilderTorusSoup(benchmark::State &state) {
  // rings x segments quads, two triangles each: 100 x 150 gives 30 000 triangles.
  const Soup soup = torusSoup(int32_t(state.range(0)), int32_t(state.range(1)));
  std::ostream quiet(nullptr);
  std::streambuf *const cerrBuffer = std::cerr.rdbuf(nullptr); // the validity test's heading
  bool ok = true;
  for (auto _ : state) {
    MeshBuilder builder(quiet);
    for (size_t k = 0; k < soup.corners.size(); k += 3) {
      int32_t loop[3];
      for (size_t c = 0; c < 3; ++c)
        loop[c] =
            builder.addVertex(soup.corners[k + c].x, soup.corners[k + c].y, soup.corners[k + c].z);
      builder.addPolygon(loop, 3, false);
    }
    moObject obj;
    ok = builder.fix() && builder.convertInto(obj) && ok;
    benchmark::DoNotOptimize(obj.edges.count());
  }
  std::cerr.rdbuf(cerrBuffer);
  if (!ok)
    state.SkipWithError("the soup did not build into a valid object");
  state.counters["triangles"] = double(soup.corners.size() / 3);
}

BENCHMARK(BM_BuilderTorusSoup)->Args({20, 30})->Args({100, 150})->Unit(benchmark::kMillisecond);

} // namespace
