// The short ways for the most common faces: one flat loop without holes that needs none of
// the general triangulation's special treatment. Its constrained Delaunay triangulation is
// built directly on a small triangle array instead of through the subdivision: by Chew's
// algorithm when the loop is convex, by ear clipping and edge flips when it is small.
#pragma once

#include "triangulate/predicates.h"

#include <cstdint>
#include <vector>

namespace motr {

// Scratch memory of triangulateSingleLoop, kept between calls.
struct LoopScratch {
  std::vector<int32_t> order;      // corner positions -> point indices, counter-clockwise
  std::vector<Point3> loop;        // the corners by position
  std::vector<int32_t> prev, next; // the shrinking loop, by position
  std::vector<int32_t> left;       // positions not yet removed
  std::vector<int32_t> removed;    // position, then its neighbours when it went
  std::vector<int32_t> corners;    // three positions per triangle, counter-clockwise
  std::vector<int32_t> neighbours; // per triangle corner: the triangle across from it
  std::vector<int32_t> outside;    // per position: the triangle beyond its outgoing loop edge
  std::vector<uint8_t> reflex;     // per position
  std::vector<int32_t> pending;    // edges to test: 3 * triangle + corner opposite
};

// Triangulates one loop of pointCount >= 3 points (x, y, z triples, already moved into the
// unit square) when the general triangulation would treat no point specially: every z the
// same, no corner within twice the snapping tolerance of another corner or of an edge it does
// not end, no edges crossing, and the loop either strictly convex or of at most 24 corners.
// Then writes pointCount - 2 counter-clockwise triangles and returns true: the triangles of
// the general way, or, where four or more corners lie on one circle, an equally Delaunay
// choice among them. Otherwise (also when rounding keeps the flips from settling) returns
// false and writes nothing.
bool triangulateSingleLoop(const double *points, int pointCount, LoopScratch &scratch,
                           int *triangles);

} // namespace motr
