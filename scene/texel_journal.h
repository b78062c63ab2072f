// Texels kept for undo: a paint step keeps only the rectangles of texels it changed, as they
// were, and exchanging them with the layers' swaps the before and the after, so the same
// journal undoes and redoes the step byte for byte.
#pragma once

#include "core/paint_layer.h"
#include "image/image_buffer.h"
#include "scene/object_table.h"

#include <cstdint>
#include <vector>

// A rectangle of one object's layer whose texels a journal keeps.
struct TexelBackup {
  int32_t slot = -1;
  TexelRect rect;
};

// The rectangles in the order they were taken and their texels one after another, row by row.
struct TexelJournal {
  std::vector<TexelBackup> rects;
  std::vector<uint32_t> texels;

  bool empty() const { return rects.empty(); }
  size_t bytes() const {
    return rects.size() * sizeof(TexelBackup) + texels.size() * sizeof(uint32_t);
  }
  // Keeps the texels of rect (inside image) unless the last rectangle kept is the same one (both
  // triangles of an atlas cell share it): one copy before either changes is enough. Returns
  // whether it kept them.
  bool keep(int32_t slot, const ImageBuffer &image, const TexelRect &rect);
  // Forgets the rectangle kept last.
  void dropLast();
};

// Exchanges the kept texels with the layers of the objects in their slots (in reverse order
// when undoing). Rectangles whose object or layer is gone, or no longer holds them, are left
// alone. Returns whether any rectangle was exchanged.
bool exchangeTexels(const ObjectTable &objects, TexelJournal &journal, bool backwards);
