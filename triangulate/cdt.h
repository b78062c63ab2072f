// Constrained Delaunay triangulation of points in the unit square, on the quad-edge
// structure. Sites are located by walking from the last place of work; loop segments become
// chains of constrained edges that are never swapped. Besides the in-circle test, an edge is
// swapped when the two triangles on the other diagonal bend less against each other in z.
// All buffers keep their capacity between uses: after warm-up a triangulation allocates
// nothing.
#pragma once

#include "triangulate/predicates.h"
#include "triangulate/quad_edge.h"

#include <cstdint>
#include <vector>

namespace motr {

// Points closer than this (in x and y) are one point; a point closer than this to an edge's
// line lies on it.
constexpr double kTolerance = 1e-6;

class ConstrainedDelaunay {
public:
  // Starts over with the square (-0.05, -0.05)..(1.05, 1.05) of four constrained edges split by
  // one diagonal; its corners carry input index -1.
  void begin();

  // Inserts point p that carries input index `input` (-1 for none) and returns its vertex
  // number, or that of an existing vertex within kTolerance. p must lie inside the square.
  int32_t insertSite(const Point3 &p, int32_t input);

  // Makes the segment from vertex a to vertex b a chain of constrained edges, splitting it at
  // vertices on its line and splitting constrained edges it crosses. keepLeft tells on which
  // side of a->b the polygon lies. False when the segment cannot be inserted consistently.
  bool insertSegment(int32_t a, int32_t b, bool keepLeft);

  // Collects the triangles whose corners are all input points and that lie on the kept side
  // of every constrained edge, as input index triples (counter-clockwise) in `out`. Returns
  // their count, or -5 when a walk around a loop vertex finds no next loop edge.
  int32_t collectTriangles(std::vector<int32_t> &out);

  int32_t vertexCount() const { return static_cast<int32_t>(points_.size()); }
  const Point3 &point(int32_t v) const { return points_[v]; }

  // Locates every site by searching all triangles instead of walking (for comparisons).
  bool exhaustiveLocation = false;

private:
  int32_t addVertex(const Point3 &p, int32_t input);
  EdgeRef walkLocate(const Point3 &p);
  EdgeRef exhaustiveLocate(const Point3 &p) const;
  void insertInFace(EdgeRef e, int32_t v);
  void insertOnEdge(EdgeRef e, int32_t v);
  EdgeRef edgeUnder(EdgeRef e, const Point3 &p) const;
  EdgeRef connectStar(EdgeRef &e, int32_t v);
  void restoreAroundSite(EdgeRef e, EdgeRef startSpoke);
  bool shouldSwap(EdgeRef e) const;
  // The corners around an edge a->b: c on its left, d on its right.
  struct Quadrilateral {
    const Point3 *a, *b, *c, *d;
  };
  bool swapByFullRule(EdgeRef e, const Quadrilateral &q, bool inside) const;
  void swapCreatedEdges();
  EdgeRef edgeBetween(EdgeRef first, int32_t to) const;
  int32_t insertPiece(int32_t from, int32_t to, bool keepLeft);
  bool splitCrossing(EdgeRef s, double sideOrg, double sideDest);
  void triangulateFace(EdgeRef base);
  void markPiece(EdgeRef e, bool keepLeft);
  int32_t numberTriangles(std::vector<int32_t> &out);
  bool markOutside(int32_t count);
  void clearVisited(const std::vector<EdgeRef> &edges);

  QuadEdgeMesh mesh_;
  std::vector<Point3> points_;
  std::vector<int32_t> inputs_;
  EdgeRef startingEdge_ = kNone;
  uint32_t random_ = 1;
  std::vector<EdgeRef> crossed_;
  std::vector<EdgeRef> created_;
  std::vector<EdgeRef> faceStack_;
  std::vector<uint8_t> removed_;
};

} // namespace motr
