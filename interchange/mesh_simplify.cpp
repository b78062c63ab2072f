#include "interchange/mesh_simplify.h"

#if MORVO_HAVE_MESHOPTIMIZER
#include <meshoptimizer.h>
#endif

#include <algorithm>
#include <array>
#include <map>

namespace {

#if MORVO_HAVE_MESHOPTIMIZER
// The triangles of the polygons as fans, over the welded vertices; triangles that welding made
// degenerate are dropped.
std::vector<unsigned> weldedTriangles(const std::vector<int32_t> &corners,
                                      const std::vector<int32_t> &starts,
                                      const std::vector<unsigned> &weld) {
  std::vector<unsigned> triangles;
  triangles.reserve(3 * corners.size());
  for (size_t k = 0; k + 1 < starts.size(); ++k)
    for (int32_t c = starts[k] + 1; c + 1 < starts[k + 1]; ++c) {
      const unsigned a = weld[size_t(corners[size_t(starts[k])])];
      const unsigned b = weld[size_t(corners[size_t(c)])], d = weld[size_t(corners[size_t(c + 1)])];
      if (a != b && b != d && a != d)
        triangles.insert(triangles.end(), {a, b, d});
    }
  return triangles;
}

// The triangles without those whose three vertices another triangle also has. The collapses do
// not check that a surface stays a manifold and now and then fold two triangles onto each other
// over a vertex of three faces; such a pair encloses nothing, and without it the surface is
// closed and manifold again.
std::vector<unsigned> withoutFoldedPairs(const std::vector<unsigned> &triangles) {
  std::map<std::array<unsigned, 3>, int> uses;
  const auto key = [&](size_t t) {
    std::array<unsigned, 3> k{triangles[t], triangles[t + 1], triangles[t + 2]};
    std::sort(k.begin(), k.end());
    return k;
  };
  for (size_t t = 0; t < triangles.size(); t += 3)
    ++uses[key(t)];
  std::vector<unsigned> kept;
  kept.reserve(triangles.size());
  for (size_t t = 0; t < triangles.size(); t += 3)
    if (uses[key(t)] == 1)
      kept.insert(kept.end(), triangles.begin() + long(t), triangles.begin() + long(t + 3));
  return kept;
}
#endif

} // namespace

bool simplificationAvailable() { return MORVO_HAVE_MESHOPTIMIZER != 0; }

bool simplifyPolygons(const std::vector<moVec3> &positions, const std::vector<int32_t> &corners,
                      const std::vector<int32_t> &starts, int32_t target, SimplifiedMesh &out) {
#if MORVO_HAVE_MESHOPTIMIZER
  static_assert(sizeof(moVec3) == 3 * sizeof(float), "positions are read as packed floats");
  std::vector<unsigned> weld(positions.size());
  const size_t welded = meshopt_generateVertexRemap(
      weld.data(), nullptr, positions.size(), positions.data(), positions.size(), sizeof(moVec3));
  std::vector<moVec3> unique(welded);
  meshopt_remapVertexBuffer(unique.data(), positions.data(), positions.size(), sizeof(moVec3),
                            weld.data());
  const std::vector<unsigned> triangles = weldedTriangles(corners, starts, weld);
  out.from = int64_t(triangles.size() / 3);
  std::vector<unsigned> kept(triangles.size());
  float error = 0;
  // An error bound of the whole extent lets the collapses go on until the target is reached;
  // the library reports the error it needed.
  kept.resize(meshopt_simplify(kept.data(), triangles.data(), triangles.size(), &unique[0].x,
                               unique.size(), sizeof(moVec3), 3 * size_t(target), 1.0f, 0, &error));
  if (kept.size() > 3 * size_t(target))
    return false;
  kept = withoutFoldedPairs(kept);
  out.error = error;
  std::vector<int32_t> renumber(unique.size(), -1);
  out.positions.clear();
  out.corners.clear();
  for (const unsigned v : kept) {
    if (renumber[v] < 0) {
      renumber[v] = int32_t(out.positions.size());
      out.positions.push_back(unique[v]);
    }
    out.corners.push_back(renumber[v]);
  }
  out.starts.resize(kept.size() / 3 + 1);
  for (size_t k = 0; k < out.starts.size(); ++k)
    out.starts[k] = int32_t(3 * k);
  out.vertexOf.resize(positions.size());
  for (size_t i = 0; i < positions.size(); ++i)
    out.vertexOf[i] = renumber[weld[i]];
  return true;
#else
  (void)positions, (void)corners, (void)starts, (void)target, (void)out;
  return false;
#endif
}

std::string groupedCount(int64_t count) {
  std::string digits = std::to_string(count);
  for (int64_t at = int64_t(digits.size()) - 3; at > (count < 0 ? 1 : 0); at -= 3)
    digits.insert(size_t(at), " ");
  return digits;
}
