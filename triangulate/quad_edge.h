// The quad-edge structure of a planar subdivision (Guibas and Stolfi). A directed edge is an
// index 4 * quad + r: r = 0 and 2 are the two directions of the primal edge, 1 and 3 the dual
// edges. Quads live in growable arrays that keep their capacity across clear(), so a reused
// mesh stops allocating once it has seen its largest subdivision.
#pragma once

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

  static EdgeRef rot(EdgeRef e) { return (e & ~3) | ((e + 1) & 3); }
  static EdgeRef sym(EdgeRef e) { return e ^ 2; }
  static EdgeRef invRot(EdgeRef e) { return (e & ~3) | ((e + 3) & 3); }
  EdgeRef onext(EdgeRef e) const { return next_[e]; }
  EdgeRef oprev(EdgeRef e) const { return rot(next_[rot(e)]); }
  EdgeRef lnext(EdgeRef e) const { return rot(next_[invRot(e)]); }
  EdgeRef lprev(EdgeRef e) const { return sym(next_[e]); }
  int32_t org(EdgeRef e) const { return org_[e]; }
  int32_t dest(EdgeRef e) const { return org_[sym(e)]; }
  // True when the face to the left of e has exactly three edges.
  bool leftIsTriangle(EdgeRef e) const { return lnext(lnext(lnext(e))) == e; }

  bool constrained(EdgeRef e) const { return constrained_[e >> 2] != 0; }
  void setConstrained(EdgeRef e) { constrained_[e >> 2] = 1; }
  // Per directed primal edge: the polygon lies to the left of this edge.
  bool keepsLeft(EdgeRef e) const { return (flags_[e] & kKeepLeft) != 0; }
  void setKeepsLeft(EdgeRef e) { flags_[e] |= kKeepLeft; }
  uint8_t sideFlags(EdgeRef e) const { return flags_[e] & kKeepLeft; }
  void addSideFlags(EdgeRef e, uint8_t flags) { flags_[e] |= flags; }

  // A scratch mark per directed edge, for walks that must not visit an edge twice.
  bool visited(EdgeRef e) const { return (flags_[e] & kVisited) != 0; }
  void setVisited(EdgeRef e, bool on) {
    flags_[e] = static_cast<uint8_t>(on ? flags_[e] | kVisited : flags_[e] & ~kVisited);
  }

  // Number of the triangle to the left of e, -1 for none.
  int32_t triangle(EdgeRef e) const { return triangle_[e]; }
  void setTriangle(EdgeRef e, int32_t t) { triangle_[e] = t; }

  // Quads are numbered 0..quadSlots()-1; deleted ones stay as dead slots until reused.
  int32_t quadSlots() const { return static_cast<int32_t>(alive_.size()); }
  bool alive(int32_t quad) const { return alive_[quad] != 0; }
  int32_t liveQuads() const { return liveQuads_; }

private:
  static constexpr uint8_t kKeepLeft = 1;
  static constexpr uint8_t kVisited = 2;

  std::vector<EdgeRef> next_;        // Onext, per directed edge
  std::vector<int32_t> org_;         // origin vertex, per directed edge (kNone on dual edges)
  std::vector<int32_t> triangle_;    // output triangle to the left, per directed edge
  std::vector<uint8_t> flags_;       // per directed edge
  std::vector<uint8_t> constrained_; // per quad
  std::vector<uint8_t> alive_;       // per quad
  std::vector<int32_t> freeQuads_;
  std::vector<EdgeRef> vertexEdge_;
  int32_t liveQuads_ = 0;
};

} // namespace motr
