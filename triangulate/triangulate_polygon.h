// The triangulation of one polygon from its loops of 3D points, behind both C entry points:
// argument checks, the normal, the rotation onto +Z, the 3- and 4-point cases, scaling into
// the unit square and the constrained Delaunay triangulation.
#pragma once

#include "triangulate/cdt.h"
#include "triangulate/single_loop.h"

#include <cstdint>
#include <vector>

namespace motr {

enum ResultCode : int {
  kNormalFailed = -1,
  kTransformFailed = -3,
  kBadArguments = -4,
  kInconsistent = -5,
  kTooFewPoints = -6,
};

// Scratch memory of one thread; every buffer only grows, so that triangulating polygon after
// polygon stops allocating once the largest has been seen.
struct Workspace {
  std::vector<double> points;
  std::vector<int32_t> vertexOf;
  std::vector<int32_t> triangles;
  LoopScratch loop;
  ConstrainedDelaunay cdt;
  // Off: single flat loops go the general way too (for comparisons).
  bool singleLoopShortWay = true;
  // Relative rounding of the caller's coordinates (0: taken as exact). A polygon whose
  // heights, once rotated, stay within what that rounding can cause is levelled first, so
  // that the normal test does not choose diagonals by rounding noise and a flat face in a
  // tilted plane is triangulated as it would be lying level.
  double coordinateRounding = 0.0;
};

// Decides the calls that need no geometry: fewer than 3 points (kTooFewPoints), exactly 3
// (writes (0, 1, 2), result 1), arguments that do not describe loops (kBadArguments). Returns
// true and sets `result` when the call is decided.
bool decideWithoutGeometry(int loopCount, const int *loopSizes, int pointCount, const void *points,
                           int *triangles, int &result);

// Triangulates pointCount > 3 finite points (x, y, z triples, transformed in place) whose
// loops decideWithoutGeometry accepted. normal may be null. Returns the triangle count written
// to `triangles` or a negative ResultCode; prints "\nERROR: Degenerate vector: ..." when the
// normal cannot be turned into a rotation.
int triangulatePoints(Workspace &work, int loopCount, const int *loopSizes, int pointCount,
                      double *points, int *triangles, const double *normal);

} // namespace motr
