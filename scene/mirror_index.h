// Mirror images of the vertices, edges and faces of one object across the planes through its
// model-space origin. A hash grid over the vertex positions is built once and then asked for as
// many images as an operation needs: a vertex's image is the vertex within the tolerance of its
// mirrored position; edges and faces mirror through their vertices.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <functional>
#include <vector>

// The coordinates a mirror negates, as bits: 1 x, 2 y, 4 z. 0 is no mirror.
using MirrorFlips = uint8_t;

// p with the coordinates of `flips` negated exactly; a coordinate 0 stays +0.
// (0 - c rather than -c: the image of 0 is +0 again, bit for bit.)
inline moVec3 mirrored(const moVec3 &p, MirrorFlips flips) {
  return {flips & 1 ? 0.0f - p.x : p.x, flips & 2 ? 0.0f - p.y : p.y, flips & 4 ? 0.0f - p.z : p.z};
}

class MirrorIndex {
public:
  // The tolerance of a mirror match relative to the object's size (its bounding box's largest
  // extent over the live vertices).
  static constexpr float kRelativeTolerance = 1e-4f;

  // Indexes every live vertex of obj, which must outlive the index and keep its vertices while
  // it is asked.
  explicit MirrorIndex(const moObject &obj);
  // Indexes only the given vertices (live ones; others are passed over); images are then found
  // only among them.
  MirrorIndex(const moObject &obj, const std::vector<int32_t> &vertices);

  // The indexed vertex nearest to p within the tolerance (the lowest of equally near ones) that
  // `accept` takes, when given; -1 for none.
  int32_t find(const moVec3 &p, const std::function<bool(int32_t)> &accept = nullptr) const;
  // The images under `flips` (not 0); -1 when the object has none there. A vertex, edge or face
  // on the plane is its own image. Throws moInvalidTopologyException for a broken ring.
  int32_t vertexImage(int32_t v, MirrorFlips flips) const;
  int32_t edgeImage(int32_t e, MirrorFlips flips) const;
  int32_t faceImage(int32_t f, MirrorFlips flips) const;
  float tolerance() const { return tolerance_; }

private:
  // A run of the pool: the indexed vertices within the tolerance of one vertex's image, nearest
  // first; start -1 while not yet asked.
  struct Candidates {
    int32_t start = -1, count = 0;
  };
  void build(const std::vector<int32_t> &vertices);
  int64_t cellOf(float coordinate) const;
  size_t bucketOf(int64_t x, int64_t y, int64_t z) const;
  // Appends the indexed vertices within the tolerance of p, nearest first.
  void collect(const moVec3 &p, std::vector<int32_t> &out) const;
  // Of vertices lying on one another, any may be the image: edges and faces try each.
  Candidates candidates(int32_t v, MirrorFlips flips) const;
  bool among(const Candidates &c, int32_t v) const;
  // The squared distance of w from the image of v.
  float apart(int32_t v, int32_t w, MirrorFlips flips) const;

  const moObject &obj_;
  float tolerance_ = 0, cell_ = 1;
  std::vector<int32_t> heads_;               // per bucket the first entry, -1 for none
  std::vector<int32_t> next_;                // per entry the next entry of its bucket
  std::vector<int32_t> entries_;             // per entry its vertex
  mutable std::vector<Candidates> known_[8]; // per flips, per vertex
  mutable std::vector<int32_t> pool_;
  mutable std::vector<int32_t> corners_, ring_; // scratch of faceImage
  mutable std::vector<Candidates> wanted_;
  mutable std::vector<uint8_t> met_;
};
