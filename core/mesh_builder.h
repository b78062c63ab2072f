// MeshBuilder: turns an arbitrary list of polygons, given as loops of vertex indices, into a
// closed winged-edge object. It drops degenerate polygons, repairs polygons that pass an edge
// twice, separates non-manifold edges and vertices by surface, stitches coincident open edges,
// separates vertices whose faces form several fans and closes the remaining holes with new faces.
// It works on its own lists and fills the object only at the end. Every message goes to the
// diagnostic stream given at construction (standard error by default).
#pragma once

#include "core/index_list.h"
#include "core/mesh.h"

#include <cstdint>
#include <iostream>
#include <ostream>
#include <vector>

class MeshBuilder {
public:
  struct Vertex {
    moVec3 position;
    IndexList<6> edges;     // incident edges
    IndexList<6> faces;     // incident faces
    IndexList<2> ids;       // running numbers under which the caller created it
    int32_t duplicate = -1; // the vertex made from it by the latest split, -1 if none
  };
  // An edge between p0 and p1. The faces of `left` pass it from p1 to p0 in their loops, those
  // of `right` from p0 to p1. p0 == -1 marks a deleted edge.
  struct Edge {
    int32_t p0 = -1, p1 = -1;
    IndexList<2> left, right;
    int32_t prevInClass = -1, nextInClass = -1;
    int32_t edgeClass = -1; // 4 * a + b while listed in class (a, b), else -1
    // While the edge is being split for a surface: the new edge and the surface.
    int32_t splitPartner = -1, splitSurface = -1;
    int32_t gridPrev = -1, gridNext = -1, gridCell = -1; // stitching grid list
    bool active() const { return p0 != -1; }
  };
  // A face loop: edge k runs from vertex k - 1 to vertex k (vertex -1 being the last one).
  struct Face {
    IndexList<4> edges, vertices;
    int32_t parent = -1;     // union-find parent of its surface; itself at first
    int32_t surfaceSize = 1; // size of the surface while the face is its representative
    IndexList<2> ids;        // running numbers of the polygons it came from
  };

  explicit MeshBuilder(std::ostream &diagnostics = std::cerr);

  // Empties the builder as if it were new, keeping its storage for the next mesh.
  void clear();

  // Makes room for this many vertices and polygons (and the edges of a closed mesh of them).
  void reserve(int32_t vertices, int32_t polygons);
  // Appends a vertex under the next identifier and widens the bounding box; returns its index.
  // Throws moTooManyVerticesException when the index space is exhausted.
  int32_t addVertex(float x, float y, float z);
  // Adds one polygon given as a loop of vertex indices; every call takes the next polygon
  // identifier. With forward false the finished face runs through the vertices in the given
  // order, with forward true in the reverse order.
  // Fewer than 3 indices are ignored; a polygon naming a vertex that was never added is refused
  // with a message; degenerate polygons are dropped and polygons passing an edge twice split.
  void addPolygon(const int32_t *indices, int32_t count, bool forward);
  // Repairs the collected polygons into a closed manifold; false (with messages) when that is
  // impossible.
  bool fix();
  // Empties object and fills it from the builder; returns the verbose local validity test.
  // False with a message when there are no faces or the object's limits are exceeded.
  bool convertInto(moObject &object);

  // Consistency checks of the working lists: each reports every finding ("FAIL: ...") on the
  // diagnostic stream and returns whether the element passed. builderValid runs them over all
  // vertices, then edges, then faces, each from the last index down.
  bool builderVertexValid(int32_t v) const;
  bool builderEdgeValid(int32_t e) const;
  bool builderFaceValid(int32_t f) const;
  bool builderValid() const;

  int32_t vertexCount() const { return int32_t(vertices_.size()); }
  int32_t edgeCount() const { return int32_t(edges_.size()); }
  int32_t faceCount() const { return int32_t(faces_.size()); }
  const Vertex &vertex(int32_t v) const { return vertices_[size_t(v)]; }
  const Edge &edge(int32_t e) const { return edges_[size_t(e)]; }
  const Face &face(int32_t f) const { return faces_[size_t(f)]; }
  // Number of edges with min(left faces, 3) == a and min(right faces, 3) == b.
  int32_t classCount(int a, int b) const { return classCounts_[a][b]; }
  // The squared distance under which stitching merges vertices (valid after fix()).
  float stitchThreshold() const { return threshold_; }

private:
  static constexpr int kGridCells = 16;
  static constexpr int32_t kUnsetEnd = -2;

  // --- lists and classes (mesh_builder.cpp) ---
  int32_t newVertexLike(int32_t v);
  // An edge from p0 to p1 listed at both ends; -1 with a message when p0 == p1.
  int32_t newEdge(int32_t p0, int32_t p1);
  // An edge whose ends are not set yet (kUnsetEnd), listed nowhere.
  int32_t newEdgeSlot();
  int32_t newFace(IndexList<2> ids);
  void classify(int32_t e);
  void unclassify(int32_t e);
  bool hasFaces() const; // any face with edges
  bool nonManifoldPopulated() const;
  bool boundaryPopulated() const;
  int32_t faceTotal(int32_t e) const;
  bool faceOnEdge(int32_t e, int32_t f) const;
  // The highest-numbered active edge joining p and q in either direction, -1 if none.
  int32_t findEdge(int32_t p, int32_t q) const;
  // Removes f from e's face lists; an edge left without faces is deleted.
  void detachFaceFromEdge(int32_t f, int32_t e);
  void deleteEdge(int32_t e);
  // Takes the face out of all its edges and vertices and clears its lists.
  void emptyFace(int32_t f);
  void dropTrailingEmptyFaces();
  // Splits faces passing an edge twice; false when the polygon is degenerate.
  bool repairLoops(int32_t f);
  bool splitLoopAtEdge(int32_t f, int32_t e, IndexList<4> &work);

  // --- surfaces and splitting (mesh_builder_split.cpp) ---
  int32_t surfaceOf(int32_t f);
  void groupSurfaces();
  void uniteSurfaces(int32_t a, int32_t b);
  bool allFacesOnSurface(int32_t e, int32_t s);
  template <class List> bool anyFaceOnSurface(const List &faces, int32_t s);
  void splitNonManifoldEdges();
  // Runs pass (1, 2 or 3) over the non-manifold classes.
  void runSplitPass(int pass);
  bool splitPassOne(int32_t e);
  bool splitPassTwo(int32_t e);
  // Gives every face but one of e an edge of its own; false when that is impossible.
  bool takeEdgeApart(int32_t e);
  // Splits e for surface s, with every vertex and edge that the split reaches.
  void splitEdgeForSurface(int32_t e, int32_t s);

  // --- stitching (mesh_builder_stitch.cpp) ---
  void stitch();
  int gridCoordinate(float value, int axis) const;
  void gridRemove(int32_t e);
  bool sharesFace(int32_t a, int32_t b) const; // a face on both edges
  // Moves the edges, faces and identifiers of vertex `from` to `into`.
  void mergeVertex(int32_t from, int32_t into);
  // Moves the faces of edge `from` onto `into` and deletes `from`; the two share no face.
  void mergeEdge(int32_t from, int32_t into, bool sameDirection);

  // --- fans and holes (mesh_builder_fix.cpp) ---
  int32_t awayFace(int32_t e, int32_t v) const;
  int32_t towardFace(int32_t e, int32_t v) const;
  int32_t turnAround(int32_t e, int32_t v, bool forward) const;
  // Number of edges in the fan of v's first edge; 0 (with a message) for broken lists.
  int32_t fanSize(int32_t v);
  bool separateFans();
  bool closeBoundaryLoops();
  // Gives the boundary loop through edge `start` a new face; false when the loop breaks off.
  bool closeLoopFrom(int32_t start);
  // A hole of two edges between the same vertices: the edges become one; false when they do
  // not join the same vertices or border the same face.
  bool mergeTwoEdgeLoop(int32_t h);

  std::ostream &diag_;
  std::vector<Vertex> vertices_;
  std::vector<Edge> edges_;
  std::vector<Face> faces_;
  int32_t nextVertexId_ = 0;
  int32_t nextPolygonId_ = 0;
  int32_t classCounts_[4][4] = {};
  int32_t classHeads_[4][4];
  moVec3 boundsMin_, boundsMax_;
  float threshold_ = 0.0f;
  std::vector<int32_t> grid_; // kGridCells^3 list heads while stitching
};
