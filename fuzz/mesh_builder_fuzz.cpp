// Feeds random vertex and polygon lists through the mesh builder. Whatever the input, the
// builder must end without a fault, and an object it reports as built must pass the local
// validity test. Where the short way for closed surfaces takes the same polygons, the builder
// must build them too, into exactly the same object.
//
// Input: byte 0 gives the vertex count (mod 48); then three bytes per vertex, each a coordinate
// on a coarse grid (so that corners coincide) or, for the top values, a tiny offset, an infinity
// or NaN; then polygons, each a byte with the corner count (low 4 bits) and the direction (top
// bit) followed by one byte per corner naming a vertex index from -2 to count + 1.
#include "core/closed_surface.h"
#include "core/mesh_builder.h"
#include "core/mesh_validation.h"
#include "tests/support/mesh_fixtures.h"

#include <algorithm>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <ostream>
#include <vector>

namespace {

float coordinate(uint8_t c) {
  if (c == 255)
    return std::numeric_limits<float>::quiet_NaN();
  if (c == 254)
    return std::numeric_limits<float>::infinity();
  if (c == 253)
    return -std::numeric_limits<float>::infinity();
  if (c >= 240)
    return float(c - 240) * 1e-7f;
  return float(c % 16) * 0.25f;
}

// Every face of an accepted object must be a closed ring of wings.
bool ringsClose(const moObject &obj) {
  try {
    for (int32_t f = 0; f < obj.faces.count(); ++f)
      obj.forEachEdgeOfFace(f, false, [](int32_t) {});
    for (int32_t v = 0; v < obj.vertices.count(); ++v)
      obj.forEachEdgeAtVertex(v, [](int32_t) {});
  } catch (const moInvalidTopologyException &) {
    return false;
  }
  return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static std::ostream quiet(nullptr);
  static const bool silenced = (std::cerr.rdbuf(nullptr), true); // the object test's heading
  (void)silenced;
  if (size == 0)
    return 0;
  MeshBuilder builder(quiet);
  size_t at = 0;
  const int32_t vertexCount = data[at++] % 48;
  for (int32_t v = 0; v < vertexCount && at + 3 <= size; ++v, at += 3)
    builder.addVertex(coordinate(data[at]), coordinate(data[at + 1]), coordinate(data[at + 2]));
  const int32_t added = builder.vertexCount();
  std::vector<moVec3> positions;
  for (int32_t v = 0; v < added; ++v)
    positions.push_back(builder.vertex(v).position);
  // The polygons the builder takes, as the short way gets them: forward polygons reversed.
  std::vector<int32_t> loop, corners, starts{0};
  while (at < size) {
    const uint8_t head = data[at++];
    loop.clear();
    for (int32_t k = 0; k < (head & 15) && at < size; ++k)
      loop.push_back(int32_t(data[at++] % (added + 4)) - 2);
    builder.addPolygon(loop.data(), int32_t(loop.size()), (head & 0x80) != 0);
    if (loop.size() < 3 ||
        std::any_of(loop.begin(), loop.end(), [&](int32_t v) { return v < 0 || v >= added; }))
      continue;
    if (head & 0x80)
      std::reverse(loop.begin(), loop.end());
    corners.insert(corners.end(), loop.begin(), loop.end());
    starts.push_back(int32_t(corners.size()));
  }
  // A failed repair still converts: whatever it gives must hold together.
  const bool fixed = builder.fix();
  moObject obj;
  const bool converted = builder.convertInto(obj);
  if (converted && !(objectLocallyValid(obj, false) && ringsClose(obj)))
    std::abort();
  moObject direct;
  if (buildClosedSurface(positions, corners, starts, direct) &&
      !(fixed && converted && meshDifference(direct, obj).empty()))
    std::abort();
  return 0;
}
