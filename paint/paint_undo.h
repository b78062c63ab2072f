// The paint undo buffer. Before a tool changes a rectangle of the canvas it saves the rectangle's
// pixels here; the stroke commit then closes the records saved since the previous commit into
// one stroke and keeps the texels the commit overwrote. Undo and redo step a whole stroke: the
// canvas rectangles and the texels are exchanged with what is kept, so either way the canvas
// and the textures come back byte for byte, and exchanging twice gives the first state again.
//
// Canvas pixels live in one ring of 32-bit ints sized for a record of the whole canvas. A record
// at n holds the start of the record before it (-1 none), x, y, width, height and the pixels;
// the int after the pixels holds n and is the first int of the next record. A record that does
// not fit before the end of the ring goes to its start, and the strokes whose records it
// overwrites are forgotten (all of them when it would overwrite the stroke it belongs to).
#pragma once

#include "core/paint_layer.h"
#include "image/image_buffer.h"

#include <cstdint>
#include <deque>
#include <vector>

// A rectangle of one object's layer whose texels a journal keeps.
struct TexelBackup {
  int32_t slot = -1;
  TexelRect rect;
};

// Texels as they were before a commit (or after it, once exchanged): the rectangles in the
// order they were taken and their texels one after another, row by row.
struct TexelJournal {
  std::vector<TexelBackup> rects;
  std::vector<uint32_t> texels;
  bool empty() const { return rects.empty(); }
};

// One stroke: its canvas records (oldest first) and the texels its commit replaced.
struct PaintStroke {
  std::vector<int32_t> records; // starts in the ring
  TexelJournal texels;
  bool closed = false;
};

class PaintUndoRing {
public:
  // Empties the buffer and sizes the ring for a width x height canvas (width x height + 6
  // ints). Returns false, leaving the buffer empty and unable to save, when that much memory
  // cannot be had.
  bool reset(int32_t width, int32_t height);
  // Forgets every stroke; the ring keeps its size.
  void clear();

  // Saves the pixels of rectangle (x, y, w, h) of canvas, clipped to it, as a record of the open
  // stroke (a new one when the last is closed). Strokes that were undone are forgotten first.
  // Nothing is saved for an empty rectangle. Returns whether a record was saved.
  bool save(const ImageBuffer &canvas, int32_t x, int32_t y, int32_t w, int32_t h);
  // Closes the open stroke with the texels its commit replaced (a stroke without canvas records
  // when none is open and texels are given). Oldest strokes are forgotten while the texels kept
  // exceed the memory limit.
  void closeStroke(TexelJournal texels);
  // Whether records were saved since the last close.
  bool strokeOpen() const { return !strokes_.empty() && !strokes_.back().closed; }

  // Undo: exchanges the canvas records of the current stroke with canvas and returns the stroke
  // so the caller exchanges its texels; steps back to the stroke before. At the oldest stroke
  // the exchange alternates between undoing and redoing it. Null when nothing is kept; an open
  // stroke must have been closed first.
  PaintStroke *undo(ImageBuffer &canvas);
  // Redo: the next stroke forward, exchanged likewise; null at the newest.
  PaintStroke *redo(ImageBuffer &canvas);

  int32_t capacity() const { return int32_t(ring_.size()); }
  int32_t strokeCount() const { return int32_t(strokes_.size()); }

  // At most this many bytes of texels are kept over all strokes.
  static constexpr size_t kTexelLimit = size_t(128) << 20;

private:
  int32_t recordEnd(int32_t n) const { return n + 5 + ring_[size_t(n) + 3] * ring_[size_t(n) + 4]; }
  bool overlaps(int32_t record, int32_t start, int32_t size) const;
  void dropRedoBranch();
  void dropOldest();
  void exchange(ImageBuffer &canvas, int32_t record);
  void exchangeStroke(ImageBuffer &canvas, PaintStroke &stroke, bool backwards);

  std::vector<int32_t> ring_;
  int32_t position_ = 0; // the link slot after the newest record
  std::deque<PaintStroke> strokes_;
  int32_t current_ = -1; // the newest stroke in effect (or the oldest, undone)
  bool applied_ = false; // whether strokes_[current_] is in effect
  size_t texelBytes_ = 0;
};
