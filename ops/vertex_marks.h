// Marks on the vertices of the scene's objects, so that a walk over selected elements visits each
// shared vertex once. Storage per object grows on first use.
#pragma once

#include "core/mesh.h"

#include <cstdint>
#include <vector>

class VertexMarks {
public:
  // Marks vertex v of object slot; returns true when it was not marked yet. Needs slot >= 0 and
  // v < obj.vertices.count().
  bool mark(int32_t slot, const moObject &obj, int32_t v) {
    if (size_t(slot) >= marks_.size())
      marks_.resize(size_t(slot) + 1);
    std::vector<uint8_t> &m = marks_[size_t(slot)];
    if (m.size() < size_t(obj.vertices.count()))
      m.resize(size_t(obj.vertices.count()));
    if (m[size_t(v)])
      return false;
    m[size_t(v)] = 1;
    return true;
  }

private:
  std::vector<std::vector<uint8_t>> marks_;
};
