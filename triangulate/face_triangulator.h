// Triangulates faces one after another through motrDelaunayNPf. The point and triangle
// buffers are kept between faces and only grow, so a long run of faces stops allocating once
// the largest face has been seen (the library's own scratch memory behaves the same way).
// One object per thread.
#pragma once

#include "triangulate/motr.h"

#include <cstddef>
#include <vector>

class FaceTriangulator {
public:
  // Starts a new face: forgets the previous points, loops and triangles, keeps the memory.
  void clear() {
    points_.clear();
    loopSizes_.clear();
    triangles_.clear();
    openLoop_ = 0;
  }

  // Appends a corner to the current loop.
  void addPoint(float x, float y, float z) {
    points_.push_back(x);
    points_.push_back(y);
    points_.push_back(z);
    ++openLoop_;
  }

  // Ends the current loop; the first loop is the outer boundary, later ones are holes.
  void closeLoop() {
    if (openLoop_ > 0)
      loopSizes_.push_back(openLoop_);
    openLoop_ = 0;
  }

  // Triangulates the face, ending an open loop first. normal is null or three floats. Returns
  // the triangle count or a negative code as motrDelaunayNPf does; triangles() then holds
  // three point indices per triangle (empty after a negative code).
  int triangulate(const float *normal = nullptr) {
    closeLoop();
    const int pointCount = static_cast<int>(points_.size() / 3);
    const int loopCount = static_cast<int>(loopSizes_.size());
    const int room = pointCount + 2 * (loopCount > 0 ? loopCount - 1 : 0) - 2;
    triangles_.resize(room > 0 ? static_cast<std::size_t>(3 * room) : 0);
    const int result = motrDelaunayNPf(loopCount, loopSizes_.data(), pointCount, points_.data(),
                                       triangles_.data(), normal);
    triangles_.resize(result > 0 ? static_cast<std::size_t>(3 * result) : 0);
    return result;
  }

  const std::vector<int> &triangles() const { return triangles_; }

private:
  std::vector<float> points_;
  std::vector<int> triangles_;
  std::vector<int> loopSizes_;
  int openLoop_ = 0;
};
