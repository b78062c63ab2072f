// Random loops and points through both entry points of the triangulation library. Bytes:
//   flags (bit 0 raw coordinates, bit 1 a normal, bit 2 loop sizes off the point count,
//   bits 3-4 loop count - 1, bit 5 fine coordinates, bit 6 every z 0), one byte per loop
//   size, [a byte
//   shifting the point count], then the coordinates: one byte each on a coarse grid
//   (duplicates, collinear runs, crossings), two bytes each on a fine grid (general
//   positions, near-duplicates) or, raw, eight bytes each as a double (NaN, infinities,
//   extremes).
// Every call must come back with a result code; triangles stay within the room and the
// points; the short ways for single flat loops give as many triangles as the general way.
#include "triangulate/motr.h"
#include "triangulate/triangulate_polygon.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class ByteReader {
public:
  ByteReader(const uint8_t *data, size_t size) : data_(data), size_(size) {}
  uint8_t byte() { return offset_ < size_ ? data_[offset_++] : 0; }
  double fine() { return ((byte() << 8) | byte()) / 16384.0 - 2.0; }
  double raw() {
    uint8_t bytes[8] = {};
    for (uint8_t &b : bytes)
      b = byte();
    double value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }

private:
  const uint8_t *data_;
  size_t size_;
  size_t offset_ = 0;
};

void check(bool condition) {
  if (!condition)
    std::abort();
}

void checkTriangles(int result, const std::vector<int> &triangles, int pointCount) {
  if (result <= 0)
    return;
  check(3 * static_cast<size_t>(result) <= triangles.size());
  for (int i = 0; i < 3 * result; ++i)
    check(triangles[i] >= 0 && triangles[i] < pointCount);
}

// The same call with and without the short ways, on copies of the points.
void compareWays(int loopCount, const std::vector<int> &loopSizes, int pointCount,
                 const std::vector<double> &points, const double *normal) {
  int decided;
  std::vector<int> triangles(3 * static_cast<size_t>(pointCount + 2 * loopCount));
  if (motr::decideWithoutGeometry(loopCount, loopSizes.data(), pointCount, points.data(),
                                  triangles.data(), decided))
    return;
  for (double v : points) {
    if (!std::isfinite(v))
      return;
  }
  int results[2];
  for (bool shortWay : {true, false}) {
    motr::Workspace work;
    work.singleLoopShortWay = shortWay;
    std::vector<double> copy = points;
    results[shortWay] = motr::triangulatePoints(work, loopCount, loopSizes.data(), pointCount,
                                                copy.data(), triangles.data(), normal);
  }
  check(results[0] == results[1]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  ByteReader in(data, size);
  const uint8_t flags = in.byte();
  const bool raw = flags & 1;
  const bool fine = flags & 32;
  const bool withNormal = flags & 2;
  const bool offCount = flags & 4;
  const int loopCount = 1 + ((flags >> 3) & 3);
  std::vector<int> loopSizes(static_cast<size_t>(loopCount));
  int pointCount = 0;
  for (int &s : loopSizes) {
    const uint8_t b = in.byte();
    s = offCount ? b % 40 - 2 : 3 + b % 40;
    pointCount += s > 0 ? s : 0;
  }
  if (offCount)
    pointCount += in.byte() % 7 - 3;
  if (pointCount < 0)
    pointCount = 0;

  auto value = [&]() { return raw ? in.raw() : fine ? in.fine() : (in.byte() % 16) * 0.25 - 2.0; };
  const bool flat = flags & 64;
  std::vector<double> points(static_cast<size_t>(3 * pointCount));
  for (size_t i = 0; i < points.size(); ++i)
    points[i] = flat && i % 3 == 2 ? 0.0 : value();
  double normal[3];
  for (double &v : normal)
    v = value();
  const int room = pointCount + 2 * (loopCount - 1) - 2;
  std::vector<int> triangles(static_cast<size_t>(3 * (room > 1 ? room : 1)));

  compareWays(loopCount, loopSizes, pointCount, points, withNormal ? normal : nullptr);

  std::vector<float> floats(points.begin(), points.end());
  const float floatNormal[3] = {static_cast<float>(normal[0]), static_cast<float>(normal[1]),
                                static_cast<float>(normal[2])};
  int result = motrDelaunayNPf(loopCount, loopSizes.data(), pointCount, floats.data(),
                               triangles.data(), withNormal ? floatNormal : nullptr);
  checkTriangles(result, triangles, pointCount);
  result = motrDelaunayNPd(loopCount, loopSizes.data(), pointCount, points.data(), triangles.data(),
                           withNormal ? normal : nullptr);
  checkTriangles(result, triangles, pointCount);
  return 0;
}
