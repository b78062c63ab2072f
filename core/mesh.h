// moObject: one modeled object, a closed oriented polygon mesh in winged-edge form plus its
// attributes. Elements are addressed by index; edits leave inactive slots behind and compact()
// renumbers all three arrays densely in a fixed order that scripts, the selection and the scene
// file rely on.
#pragma once

#include "core/edge_lookup.h"
#include "core/mesh_array.h"
#include "core/mesh_elements.h"
#include "core/mesh_exceptions.h"
#include "core/paint_layer.h"

#include <memory>
#include <string>
#include <vector>

class moGroupNode; // a node of an imported scene hierarchy; not owned

constexpr int32_t kMaxFaceSlots = 0x8000;
constexpr const char *kDefaultObjectName = "unnamed_object";

class moObject {
public:
  // Empty arrays, default flags and material, no paint; the name is copied (null gives
  // "unnamed_object").
  explicit moObject(const char *name = nullptr, moGroupNode *ownerGroup = nullptr);
  // Deep copy of every element (inactive ones included, same indices), both triangle lists, the
  // flags, the material, the owner group reference and a clone of the paint layer.
  moObject(const moObject &source);
  // The same, with the given name (null keeps the source's name).
  moObject(const moObject &source, const char *name);
  moObject &operator=(const moObject &source);
  moObject(moObject &&) noexcept = default;
  moObject &operator=(moObject &&) noexcept = default;
  ~moObject() = default;

  void appendToName(const std::string &text) { name += text; }
  // Sets all five counts to 0; with releaseStorage the storage is freed too.
  void clear(bool releaseStorage);
  // Empties the object (storage released) and gives each element array the capacity asked.
  void reserve(int32_t edgeCount, int32_t faceCount, int32_t vertexCount);

  // --- Element allocation. New elements always take the next index at the end. ---

  // Appends an inactive vertex at (x, y, z). Throws moTooManyVerticesException.
  int32_t addVertex(float x, float y, float z);
  // Appends a fresh edge (all references -1, white corners, soft). Throws moTooManyEdgesException.
  int32_t appendEdge();
  // Appends an inactive face. Throws moTooManyFacesException when the index would reach
  // kMaxFaceSlots; nothing changes then.
  int32_t appendFace();

  // --- Topology edits. They keep the wings consistent where they say so; the building blocks of
  // primitives, the mesh builder and every modeling operation. They throw
  // moInvalidTopologyException for an edge that does not hold the vertex or face named, and the
  // element-limit exceptions; a face that cannot be allocated leaves its edges made but unlinked.

  // Unless forceNew, the existing edge joining from and to (either direction); otherwise a new
  // edge from -> to, which also becomes the EdgeIndex of either vertex that has none yet.
  int32_t makeEdge(int32_t from, int32_t to, bool forceNew = false);
  // A triangle or quad over corners given clockwise seen from outside: edges are made or found,
  // then the face is allocated and linked. A triangle also takes its corner colours from the
  // neighbouring corners across its edges.
  int32_t makeFace(int32_t c0, int32_t c1, int32_t c2);
  int32_t makeFace(int32_t c0, int32_t c1, int32_t c2, int32_t c3);
  // A face over n >= 3 listed vertices (null: vertices 0..n-1), running through the list
  // backwards when reversed. The face index is allocated before the edges.
  int32_t makeFacePolygon(const int32_t *list, int32_t n, bool reversed = false);
  // A triangle or quad from existing edges in face order; starts[k] is the vertex at which edge k
  // enters the face, or -1 (or starts null) for the vertex it shares with the previous edge.
  int32_t makeFaceFromEdges(const int32_t *edgeList, const int32_t *starts, int32_t n);
  // Links e into face on the side on which e leaves v: next and prev become its wings there
  // (-1 leaves a field as it is). A face that loses e and named it gets another edge.
  void linkEdgeIntoFace(int32_t e, int32_t v, int32_t next, int32_t face, int32_t prev);
  // linkEdgeIntoFace, then points the new next and previous wings back at e.
  void linkEdgeIntoFaceAndBack(int32_t e, int32_t v, int32_t next, int32_t face, int32_t prev);
  // Sets the wing of e at its end v (ForeWing/BackWing, or the ccw one) to w and w's back-link.
  void setWingAtVertex(int32_t e, int32_t v, int32_t w, bool ccw);
  // Sets the wing that precedes e around f to w, with w's back-link.
  void setPrevWingOfFace(int32_t e, int32_t f, int32_t w);
  // Sets all four wings (a -1 one takes its partner at the same end) and their back-links.
  void setAllWings(int32_t e, int32_t fore, int32_t back, int32_t ccwFore, int32_t ccwBack);
  // Replaces e's Head (head) or Tail by v; the old vertex, if it named e, moves to a wing at that
  // end. Then sets the wings at that end (wing: ForeWing/BackWing, ccwWing: the ccw one; -1
  // leaves a field as it is). No back-links are set.
  void setEdgeVertex(int32_t e, bool head, int32_t v, int32_t wing, int32_t ccwWing);
  // Takes e out of the wing rings (faces untouched; the caller merges them) and deactivates it.
  void detachEdge(int32_t e);
  // When f names the removed edge, gives it preferA or preferB (whichever is active) or the next
  // active edge around it; a face left with none and preferA == preferB becomes inactive.
  void repairFaceReference(int32_t f, int32_t removed, int32_t preferA, int32_t preferB);
  void deleteVertex(int32_t v);
  void deleteFace(int32_t f);
  // Gives every loop of edges with a face on one side only a new face, then runs the verbose
  // local validity test and returns its result. Throws moInvalidTopologyException when a hole's
  // boundary is not a simple loop.
  bool closeHoles();
  // Makes this object a copy of the listed faces of source (with their edges and vertices),
  // closed by closeHoles and compacted. faceList[k] becomes the index face k got here before
  // compaction. Throws moInvalidTopologyException for an inactive or repeated face.
  void buildFromFaces(std::vector<int32_t> &faceList, const moObject &source);

  // After changing Head or Tail of an existing edge directly, call this so findEdge sees it.
  void edgeEndsChanged(int32_t e) { edgeLookup_.rekey(edges, e); }
  // Process-wide switch making findEdge scan linearly; a reference for benchmarks and tests.
  static bool linearEdgeSearch;

  // --- Element queries. Queries that name an edge throw moInvalidTopologyException when the
  // edge does not hold the vertex or face asked about, or when the index is out of range. ---

  int32_t otherVertex(int32_t e, int32_t v) const;
  int32_t otherFace(int32_t e, int32_t f) const;
  int32_t startVertex(int32_t e, int32_t f) const; // first vertex of e in f's traversal
  int32_t endVertex(int32_t e, int32_t f) const;   // last vertex of e in f's traversal
  // Walks around a face clockwise (next) or counter-clockwise (prev) seen from outside.
  // e = -1 gives the face's EdgeIndex; f = -1 gives -1.
  int32_t nextEdgeOfFace(int32_t e, int32_t f) const;
  int32_t prevEdgeOfFace(int32_t e, int32_t f) const;
  // Walks the edges around a vertex. e = -1 gives the vertex's EdgeIndex; v = -1 gives -1; with
  // quiet an edge without v gives -1 instead of the exception.
  int32_t nextEdgeAtVertex(int32_t e, int32_t v, bool quiet = false) const;
  int32_t prevEdgeAtVertex(int32_t e, int32_t v, bool quiet = false) const;
  int32_t faceOfCorner(int32_t e, int32_t v) const; // the face whose corner at v e stores
  moColor cornerColor(int32_t e, int32_t f) const;
  int32_t commonVertex(int32_t e1, int32_t e2) const;
  // The lowest-numbered active edge joining a and b in either direction, -1 if none. Constant
  // time on average; edges whose ends were set directly must have been announced with
  // edgeEndsChanged().
  int32_t findEdge(int32_t a, int32_t b) const;
  // findEdge by a plain scan over every edge slot; the reference the fast lookup must match.
  int32_t findEdgeLinear(int32_t a, int32_t b) const;
  int32_t edgeOfFaceEndingAt(int32_t f, int32_t v) const;
  // Fills list with the corners (or edges) of f starting at its EdgeIndex, clockwise seen from
  // outside, or counter-clockwise with reverse; returns the count.
  int32_t faceVertices(int32_t f, std::vector<int32_t> &list, bool reverse = false) const;
  int32_t faceEdges(int32_t f, std::vector<int32_t> &list, bool reverse = false) const;
  bool facesShareVertex(int32_t f1, int32_t f2) const;
  int32_t sharedEdgeCount(int32_t f, int32_t g) const;
  // True when every edge of f has the same other face (one side of a two-faced lamina).
  bool isSingleNeighbour(int32_t f) const;
  bool leftFaceIsTriangle(int32_t e) const;
  bool rightFaceIsTriangle(int32_t e) const;
  // The first vertex slot (active or not) exactly at p, -1 if none.
  int32_t findVertexAt(const moVec3 &p) const;
  // The edge of f whose two ends are nearest to p (sum of squared distances; ties keep the edge
  // met first walking counter-clockwise from EdgeIndex), -1 if none.
  int32_t nearestEdgeOfFace(int32_t f, const moVec3 &p) const;

  // --- Geometry queries ---

  // Outward normal: the negated Newell sum of f's clockwise traversal; its length is twice the
  // area of a planar face. With unit it is scaled to length 1. Inactive faces give (0, 0, 0).
  moVec3 faceNormal(int32_t f, bool unit) const;
  moVec3 faceCentroid(int32_t f) const;
  void faceBounds(int32_t f, moVec3 &min, moVec3 &max) const;
  moVec3 vertexNeighbourCentroid(int32_t v) const;
  moVec3 edgeMidpoint(int32_t e) const;
  moVec3 edgeVector(int32_t e, int32_t fromVertex) const;
  // Sum of the two unit face normals; for faces folded flat onto each other, the edge direction
  // crossed with the left face's normal.
  moVec3 edgeNormal(int32_t e, bool unit) const;
  // 0 for a flat edge, 1 for faces folded back onto each other (or a missing face).
  float edgeSharpness(int32_t e) const;
  // True when the directions from v to a and to b are parallel within tolerance.
  static bool nearlyCollinear(const moVec3 &v, const moVec3 &a, const moVec3 &b, float tolerance);
  moVec3 objectCentroid() const; // mean of the active vertices

  // --- Corner colours ---

  void setFaceColor(int32_t f, moColor c);
  void setVertexColor(int32_t v, moColor c);
  // The four corners at both ends of e, on both of its faces.
  void setEdgeColor(int32_t e, moColor c);
  // Throws moInvalidTopologyException when v is not a corner of f.
  moColor cornerColorAt(int32_t v, int32_t f) const;
  // Does nothing when v is not a corner of f.
  void setCornerColor(int32_t v, int32_t f, moColor c);
  // Gives e's two corners the colours that the neighbouring corners across e hold at the same
  // vertices; used after a new edge has been linked between existing edges.
  void copyCornerColorsFromWings(int32_t e);

  // --- Whole-object edits ---

  void transform(const moMatrix4 &m);                           // every active vertex
  void scaleAbout(const moVec3 &centre, const moVec3 &factors); // every active vertex
  void scaleFaceAbout(int32_t f, const moVec3 &centre, const moVec3 &factors);
  void scaleEdgeAbout(int32_t e, const moVec3 &centre, const moVec3 &factors);
  // Turns the surface inside out: faces swap sides, wings swap direction, and the corner
  // colours move so that every corner keeps its colour.
  void flipOrientation();
  // Reflects through the plane with unit normal n through q, then flips the orientation so the
  // faces keep facing outward.
  void mirror(const moVec3 &n, const moVec3 &q);
  // Marks inactive every element reachable through wings from e.
  void deleteComponent(int32_t e);
  // Renumbers edges, then vertices, then faces densely: the highest active slot repeatedly fills
  // the lowest hole. Every reference (wings, ends, faces, EdgeIndex, triangle lists) follows.
  void compact();

  // --- Fields ---

  moGroupNode *ownerGroup = nullptr;
  moArray<moEdge> edges;
  moArray<moFace> faces;
  moArray<moVertex> vertices;
  moArray<int32_t> triangleVertices; // three vertex indices per paint triangle, in face order
  moArray<int32_t> triangleFaces;    // the face each paint triangle came from
  uint8_t visible = 1;
  uint8_t sensitive = 1;
  uint8_t shaded = 1;
  uint8_t showTexture = 1;
  std::string name;
  moMaterial material;
  std::unique_ptr<PaintLayer> paintLayer;

  // Which wing of an edge.
  enum class Wing { Fore, CcwFore, CcwBack, Back };
  // The field of edge w that must point back at an edge d whose `which` wing w is: w shares
  // d.Head (Fore, CcwFore) or d.Tail (CcwBack, Back), and the field depends on whether w has
  // that vertex as its Head or its Tail. Null when w does not hold the shared vertex.
  int32_t *backLinkField(int32_t w, const moEdge &d, Wing which);

  // Bounds-checked element access: throws moInvalidTopologyException for an index that names
  // no slot, so that corrupt references never read out of bounds.
  const moEdge &edgeAt(int32_t e) const;
  const moVertex &vertexAt(int32_t v) const;
  const moFace &faceAt(int32_t f) const;

  // Calls fn(edge) for each edge of f from its EdgeIndex, following nextEdgeOfFace (or
  // prevEdgeOfFace with reverse). Nothing for an inactive face. Throws moInvalidTopologyException
  // when the walk breaks off or does not close within the edge count.
  template <class Fn> void forEachEdgeOfFace(int32_t f, bool reverse, Fn fn) const;
  // Calls fn(edge) for each edge around v from its EdgeIndex, following prevEdgeAtVertex.
  // Nothing for an inactive vertex; the same exception as above for a broken ring.
  template <class Fn> void forEachEdgeAtVertex(int32_t v, Fn fn) const;

private:
  using Field = int32_t moEdge::*;
  moEdge &checkedEdge(int32_t e) {
    edgeAt(e);
    return edges[e];
  }
  int32_t makeFaceFromCorners(const int32_t *corners, int32_t n);
  // Allocates a face and links ring[k] into it leaving start[k]; a triangle copies its colours.
  int32_t linkNewFace(const int32_t *ring, const int32_t *start, int32_t n);
  void linkBack(int32_t e, int32_t w, Wing which);
  int32_t nextHoleEdge(int32_t e, int32_t v, int32_t first) const;
  moColor &storedColorAt(int32_t e, int32_t v); // the corner colour e stores at its end v
  // The wing of e paired with whichever of e's fields `first`, `second` equals key.
  int32_t wingFor(int32_t e, int32_t key, Field first, Field firstWing, Field second,
                  Field secondWing, bool quiet) const;
  // Calls fn on each edge of a ring from `first`, stepping with step(edge) until it returns to
  // first; throws moInvalidTopologyException when the ring breaks off or does not close.
  template <class Step, class Fn> void walkRing(int32_t first, Step step, Fn fn) const;
  [[noreturn]] static void invalidTopology();

  mutable EdgeLookup edgeLookup_;
};

template <class Step, class Fn> void moObject::walkRing(int32_t first, Step step, Fn fn) const {
  if (first == -1)
    return;
  int32_t e = first;
  for (int32_t steps = 0; steps <= edges.count(); ++steps) {
    fn(e);
    e = step(e);
    if (e == first)
      return;
    if (e == -1)
      break;
  }
  invalidTopology();
}

template <class Fn> void moObject::forEachEdgeOfFace(int32_t f, bool reverse, Fn fn) const {
  if (f != -1)
    walkRing(
        faceAt(f).EdgeIndex,
        [&](int32_t e) { return reverse ? prevEdgeOfFace(e, f) : nextEdgeOfFace(e, f); }, fn);
}

template <class Fn> void moObject::forEachEdgeAtVertex(int32_t v, Fn fn) const {
  if (v != -1)
    walkRing(
        vertexAt(v).EdgeIndex, [&](int32_t e) { return prevEdgeAtVertex(e, v); }, fn);
}
