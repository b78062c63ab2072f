// The exported C entry points. Each thread keeps one Workspace for its calls.
#include "triangulate/motr.h"

#include "triangulate/triangulate_polygon.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <new>

namespace {

motr::Workspace &threadWorkspace() {
  thread_local motr::Workspace work;
  return work;
}

template <typename T> bool allFinite(const T *values, long long count) {
  for (long long i = 0; i < count; ++i) {
    if (!std::isfinite(values[i]))
      return false;
  }
  return true;
}

} // namespace

extern "C" int motrDelaunayNPf(int loopCount, const int *loopSizes, int pointCount,
                               const float *points, int *triangles, const float *normal) {
  int result;
  if (motr::decideWithoutGeometry(loopCount, loopSizes, pointCount, points, triangles, result))
    return result;
  const long long values = 3LL * pointCount;
  if (!allFinite(points, values))
    return motr::kBadArguments;
  try {
    motr::Workspace &work = threadWorkspace();
    work.points.assign(points, points + values);
    work.coordinateRounding = 0.5 * FLT_EPSILON;
    double given[3];
    if (normal != nullptr) {
      for (int k = 0; k < 3; ++k)
        given[k] = normal[k];
    }
    result = motr::triangulatePoints(work, loopCount, loopSizes, pointCount, work.points.data(),
                                     triangles, normal != nullptr ? given : nullptr);
  } catch (const std::bad_alloc &) {
    return motr::kBadArguments;
  }
  if (result == motr::kNormalFailed)
    std::printf("\nNormal find failed");
  else if (result == motr::kTransformFailed)
    std::printf("\nTransformation failed");
  return result;
}

extern "C" int motrDelaunayNPd(int loopCount, const int *loopSizes, int pointCount, double *points,
                               int *triangles, const double *normal) {
  int result;
  if (motr::decideWithoutGeometry(loopCount, loopSizes, pointCount, points, triangles, result))
    return result;
  if (!allFinite(points, 3LL * pointCount))
    return motr::kBadArguments;
  try {
    motr::Workspace &work = threadWorkspace();
    work.coordinateRounding = 0.0;
    return motr::triangulatePoints(work, loopCount, loopSizes, pointCount, points, triangles,
                                   normal);
  } catch (const std::bad_alloc &) {
    return motr::kBadArguments;
  }
}

extern "C" double motrVersionNP(void) { return 1.0; }
