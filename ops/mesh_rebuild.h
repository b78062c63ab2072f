// Rewriting a patch of a winged-edge mesh by describing its faces as corner loops. An operation
// says which faces get new corner loops, which are new and which go; apply() then finds or makes
// the edges, links every wing from the loops and retires what no loop uses. Because the wings are
// derived from the loops alone, every operation built on this leaves consistent topology or
// throws, never a half-linked edge.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <unordered_set>
#include <vector>

// One corner of a face: its vertex, the corner colour of that face there, and the edge that
// should lead into it from the previous corner when that edge still joins the two (-1: any). The
// hint keeps edges apart where two edges join the same vertices.
struct Corner {
  int32_t vertex = -1;
  moColor colour;
  int32_t via = -1;
};
using CornerLoop = std::vector<Corner>;

// The corners of face f, clockwise seen from outside, starting with the end of its EdgeIndex,
// each naming the edge that leads into it.
// Throws moInvalidTopologyException for a broken face.
CornerLoop readLoop(const moObject &obj, int32_t f);
// The position of the first corner at vertex v, or -1.
int32_t cornerIndex(const CornerLoop &loop, int32_t v);
// The loop turned so that the first corner at v comes first (unchanged when v is absent).
CornerLoop rotatedToStart(const CornerLoop &loop, int32_t v);
// Drops consecutive corners at the same vertex (first and last count as consecutive), keeping the
// first of each run.
void dropRepeatedCorners(CornerLoop &loop);
// The face in which edge e leaves its end v (RightFace at the Tail, LeftFace at the Head).
int32_t faceLeaving(const moObject &obj, int32_t e, int32_t v);
// The edges around v in ring order (prevEdgeAtVertex from its EdgeIndex).
std::vector<int32_t> edgesAround(const moObject &obj, int32_t v);

class MeshRebuild {
public:
  explicit MeshRebuild(moObject &obj) : obj_(obj) {}

  // Allocates a face slot now (the face limit is tested before anything else changes) to be
  // linked to the loop by apply(). Returns its index. Throws moTooManyFacesException.
  int32_t addFace(CornerLoop loop);
  // Face f gets a new loop; edges of its old loop that no loop uses afterwards are retired.
  void reshape(int32_t f, CornerLoop loop);
  bool scheduled(int32_t f) const { return scheduled_.count(f) != 0; }
  // Face f goes, with the edges only it used.
  void removeFace(int32_t f);
  // A new edge tail -> head that loops may claim. Throws moTooManyEdgesException.
  int32_t newEdge(int32_t tail, int32_t head);
  // Replaces end `from` of edge e by `to` (the edge keeps its index and its wings).
  void moveEdgeEnd(int32_t e, int32_t from, int32_t to);
  // Loops claim e only when no other edge joins its ends; hints naming it are ignored. For an
  // edge that gives way to another between the same vertices.
  void avoidEdge(int32_t e) { avoided_.insert(e); }
  // Vertex v is inactive after apply().
  void removeVertex(int32_t v) { removedVertices_.push_back(v); }

  // Links every scheduled loop. Each consecutive corner pair claims the edge its corner names
  // when that edge joins them with the side free, else a released or new edge joining them (one
  // whose other side is still in use first, then the lowest index), else a new edge. Released
  // edges no loop claimed are retired. Throws moInvalidTopologyException when a loop is shorter
  // than 3 corners, uses an edge twice, or leaves an edge linked on one side only; the object is
  // then half-changed and must be restored by the caller.
  void apply();

private:
  // While apply() runs, a face field of kOpen marks a side that a loop may claim.
  static constexpr int32_t kOpen = -2;

  // Released and new edges by their vertex pair, for corners that name no usable edge: open
  // addressing over a flat array, built when first needed.
  class PairPool {
  public:
    void insert(uint64_t key, int32_t e);
    template <class Fn> void forEach(uint64_t key, Fn fn) const;

  private:
    void grow();
    std::vector<uint64_t> keys_;
    std::vector<int32_t> edges_;
    size_t size_ = 0;
  };

  void release(int32_t f);
  int32_t claim(int32_t face, int32_t from, int32_t to, int32_t hint);
  bool claimable(int32_t e, int32_t from, int32_t to) const;
  int32_t fromPool(int32_t from, int32_t to);
  void link(int32_t f, const CornerLoop &loop, const std::vector<int32_t> &ring);
  void retireAndCheck();
  void repairVertices(const std::vector<std::vector<int32_t>> &rings);

  moObject &obj_;
  std::vector<std::pair<int32_t, CornerLoop>> loops_; // reshaped and new faces, in order
  std::unordered_set<int32_t> scheduled_;
  std::vector<int32_t> removedFaces_;
  std::vector<int32_t> removedVertices_;
  std::vector<int32_t> touchedVertices_;
  std::vector<int32_t> released_;  // edges with a side open (repeats allowed)
  std::vector<int32_t> madeEdges_; // new edges, both sides open once apply() starts
  std::unordered_set<int32_t> avoided_;
  PairPool pool_;
  bool pooled_ = false;
};

// Throws moInvalidTopologyException unless the object passes the local validity test and the
// edge ring of every active vertex reaches every edge that ends there (no vertex where separate
// fans of faces touch). Operations run it on what they built, so that a construction the mesh
// cannot hold ends in recovery instead of a damaged object. Linear in the object's size.
void requireSoundMesh(const moObject &obj);
