// The quad-edge structure of a planar subdivision (Guibas and Stolfi). A directed edge is an
// index 4 * quad + r: r = 0 and 2 are the two directions of the primal edge, 1 and 3 the dual
// edges, which only the Onext rings use inside. Quads live in growable arrays that keep their
// capacity across clear(), so a reused mesh stops allocating once it has seen its largest
// subdivision.
#pragma once

#include <cassert>
#include <cstdint>
#include <vector>

namespace motr {

using EdgeRef = int32_t;
constexpr int32_t kNone = -1;

class QuadEdgeMesh {
public:
  // Forgets every edge and vertex; keeps the memory.
  void clear();

  // Adds a vertex slot with no edge yet and returns its number.
  int32_t addVertex();
  // One edge leaving vertex v, kNone when v has none.
  EdgeRef edgeOf(int32_t v) const { return vertexEdge_[v]; }

  // A new isolated edge from org to dest.
  EdgeRef makeEdge(int32_t org, int32_t dest);
  // Removes e from the subdivision; its quad is reused by a later makeEdge.
  void deleteEdge(EdgeRef e);
  // The splice operator: joins or separates the origin rings of a and b.
  void splice(EdgeRef a, EdgeRef b);
  // A new edge from dest(a) to org(b) such that a, the new edge and b share their left face.
  EdgeRef connect(EdgeRef a, EdgeRef b);
  // Turns e, the diagonal of the quadrilateral formed by its two faces, into the other one.
  void swap(EdgeRef e);

  static EdgeRef sym(EdgeRef e) { return e ^ 2; }
  EdgeRef onext(EdgeRef e) const { return edges_[e].next; }
  // Every edge passed in or handed out is primal (an even number). That turns Rot and its
  // inverse into flipping bits (Rot e = e ^ 1 and Rot^-1 e = e ^ 3 on primal edges, Rot d =
  // d ^ 3 on dual ones), which matters in the innermost loops.
  EdgeRef oprev(EdgeRef e) const { return primal(edges_[e ^ 1].next ^ 3); }
  EdgeRef lnext(EdgeRef e) const { return primal(edges_[e ^ 3].next ^ 3); }
  EdgeRef lprev(EdgeRef e) const { return sym(edges_[e].next); }
  int32_t org(EdgeRef e) const { return edges_[e].org; }
  int32_t dest(EdgeRef e) const { return edges_[sym(e)].org; }
  // True when the face to the left of e has exactly three edges.
  bool leftIsTriangle(EdgeRef e) const { return lnext(lnext(lnext(e))) == e; }

  bool constrained(EdgeRef e) const { return (quads_[e >> 2] & kConstrained) != 0; }
  void setConstrained(EdgeRef e) { quads_[e >> 2] |= kConstrained; }
  // Per directed primal edge: the polygon lies to the left of this edge.
  bool keepsLeft(EdgeRef e) const { return (flags_[e] & kKeepLeft) != 0; }
  void setKeepsLeft(EdgeRef e) { flags_[e] |= kKeepLeft; }
  uint8_t sideFlags(EdgeRef e) const { return flags_[e] & kKeepLeft; }
  void addSideFlags(EdgeRef e, uint8_t flags) { flags_[e] |= flags; }

  // A scratch mark per directed edge, for walks that must not visit an edge twice.
  bool visited(EdgeRef e) const { return (flags_[e] & kVisited) != 0; }
  void setVisited(EdgeRef e, bool on) {
    uint8_t &flags = flags_[e];
    flags = static_cast<uint8_t>(on ? flags | kVisited : flags & ~kVisited);
  }

  // Number of the triangle to the left of e, -1 for none.
  int32_t triangle(EdgeRef e) const { return triangles_[e]; }
  void setTriangle(EdgeRef e, int32_t t) { triangles_[e] = t; }

  // Quads are numbered 0..quadSlots()-1; deleted ones stay as dead slots until reused.
  int32_t quadSlots() const { return quadCount_; }
  bool alive(int32_t quad) const { return (quads_[quad] & kAlive) != 0; }
  int32_t liveQuads() const { return liveQuads_; }

private:
  static EdgeRef primal(EdgeRef e) {
    assert((e & 1) == 0);
    return e;
  }

  static constexpr uint8_t kKeepLeft = 1;
  static constexpr uint8_t kVisited = 2;
  static constexpr uint8_t kConstrained = 1;
  static constexpr uint8_t kAlive = 2;

  // What the walks and tests read all the time, together and small; the rest apart.
  struct DirectedEdge {
    EdgeRef next; // Onext
    int32_t org;  // origin vertex (kNone on dual edges)
  };

  std::vector<DirectedEdge> edges_; // four per quad
  std::vector<int32_t> triangles_;  // per directed edge: output triangle to the left
  std::vector<uint8_t> flags_;      // per directed edge
  std::vector<uint8_t> quads_;      // per quad: constrained, alive
  int32_t quadCount_ = 0;           // slots in use; the arrays may be longer
  std::vector<int32_t> freeQuads_;
  std::vector<EdgeRef> vertexEdge_;
  int32_t liveQuads_ = 0;
};

} // namespace motr
