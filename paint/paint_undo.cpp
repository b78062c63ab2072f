#include "paint/paint_undo.h"

#include <algorithm>
#include <climits>
#include <new>

bool PaintUndoRing::reset(int32_t width, int32_t height) {
  ring_.clear();
  clear();
  const int64_t size = int64_t(width) * height + 6;
  if (width <= 0 || height <= 0 || size > INT32_MAX)
    return false;
  try {
    ring_.assign(size_t(size), 0);
  } catch (const std::bad_alloc &) {
    return false;
  }
  clear();
  return true;
}

void PaintUndoRing::clear() {
  strokes_.clear();
  current_ = -1;
  applied_ = false;
  texelBytes_ = 0;
  position_ = 0;
  if (!ring_.empty())
    ring_[0] = -1;
}

bool PaintUndoRing::overlaps(int32_t record, int32_t start, int32_t size) const {
  // The int after a record's pixels is the first int of the record that follows it: writing it
  // only changes that record's back link, which the oldest record left does not need.
  return record < start + size - 1 && start < recordEnd(record);
}

void PaintUndoRing::dropRedoBranch() {
  const size_t keep = current_ < 0 ? 0 : size_t(applied_ ? current_ + 1 : current_);
  while (strokes_.size() > keep) {
    texelBytes_ -= strokes_.back().texels.texels.size() * sizeof(uint32_t);
    strokes_.pop_back();
  }
  current_ = int32_t(strokes_.size()) - 1;
  applied_ = current_ >= 0;
  position_ = 0;
  for (auto s = strokes_.rbegin(); s != strokes_.rend(); ++s)
    if (!s->records.empty()) {
      position_ = recordEnd(s->records.back());
      return;
    }
  if (!ring_.empty())
    ring_[0] = -1;
}

void PaintUndoRing::dropOldest() {
  texelBytes_ -= strokes_.front().texels.texels.size() * sizeof(uint32_t);
  strokes_.pop_front();
  if (--current_ < 0)
    applied_ = false;
}

bool PaintUndoRing::save(const ImageBuffer &canvas, int32_t x, int32_t y, int32_t w, int32_t h) {
  const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int32_t x1 = int32_t(std::min<int64_t>(int64_t(x) + w, canvas.width()));
  const int32_t y1 = int32_t(std::min<int64_t>(int64_t(y) + h, canvas.height()));
  if (x1 <= x0 || y1 <= y0 || ring_.empty())
    return false;
  const int64_t size = 6 + int64_t(x1 - x0) * (y1 - y0);
  if (size > int64_t(ring_.size()))
    return false;
  dropRedoBranch();
  int32_t n = position_;
  if (n + size > int64_t(ring_.size()))
    n = 0;
  // Forget the newest stroke with a record in the way and every stroke before it.
  for (int32_t s = int32_t(strokes_.size()) - 1; s >= 0; --s) {
    const auto &records = strokes_[size_t(s)].records;
    if (std::none_of(records.begin(), records.end(),
                     [&](int32_t r) { return overlaps(r, n, int32_t(size)); }))
      continue;
    if (s == int32_t(strokes_.size()) - 1 && strokeOpen()) {
      clear(); // the record would overwrite its own stroke
      n = 0;
      break;
    }
    for (int32_t k = 0; k <= s; ++k)
      dropOldest();
    break;
  }
  int32_t previous = -1;
  for (auto s = strokes_.rbegin(); s != strokes_.rend() && previous == -1; ++s)
    if (!s->records.empty())
      previous = s->records.back();
  int32_t *record = &ring_[size_t(n)];
  record[0] = previous;
  record[1] = x0;
  record[2] = y0;
  record[3] = x1 - x0;
  record[4] = y1 - y0;
  int32_t *out = record + 5;
  for (int32_t row = y0; row < y1; ++row)
    for (int32_t col = x0; col < x1; ++col)
      *out++ = int32_t(canvas.at(col, row));
  *out = n;
  position_ = int32_t(out - ring_.data());
  if (!strokeOpen())
    strokes_.push_back({});
  strokes_.back().records.push_back(n);
  current_ = int32_t(strokes_.size()) - 1;
  applied_ = true;
  return true;
}

void PaintUndoRing::closeStroke(TexelJournal texels) {
  if (!strokeOpen()) {
    if (texels.empty())
      return;
    dropRedoBranch();
    strokes_.push_back({});
  }
  texelBytes_ += texels.texels.size() * sizeof(uint32_t);
  strokes_.back().texels = std::move(texels);
  strokes_.back().closed = true;
  current_ = int32_t(strokes_.size()) - 1;
  applied_ = true;
  while (texelBytes_ > kTexelLimit && strokes_.size() > 1)
    dropOldest();
  if (texelBytes_ > kTexelLimit)
    clear(); // a single stroke larger than the limit cannot be undone
}

void PaintUndoRing::exchange(ImageBuffer &canvas, int32_t n) {
  int32_t *record = &ring_[size_t(n)];
  const int32_t x = record[1], y = record[2], w = record[3], h = record[4];
  if (x < 0 || y < 0 || int64_t(x) + w > canvas.width() || int64_t(y) + h > canvas.height())
    return; // a canvas of another size; the ring is emptied when the canvas is resized
  int32_t *saved = record + 5;
  for (int32_t row = y; row < y + h; ++row)
    for (int32_t col = x; col < x + w; ++col, ++saved) {
      const uint32_t pixel = canvas.at(col, row);
      canvas.at(col, row) = uint32_t(*saved);
      *saved = int32_t(pixel);
    }
}

void PaintUndoRing::exchangeStroke(ImageBuffer &canvas, PaintStroke &stroke, bool backwards) {
  if (backwards)
    for (auto r = stroke.records.rbegin(); r != stroke.records.rend(); ++r)
      exchange(canvas, *r);
  else
    for (int32_t r : stroke.records)
      exchange(canvas, r);
}

PaintStroke *PaintUndoRing::undo(ImageBuffer &canvas) {
  if (current_ < 0 || strokeOpen())
    return nullptr;
  PaintStroke &stroke = strokes_[size_t(current_)];
  exchangeStroke(canvas, stroke, applied_);
  if (!applied_)
    applied_ = true; // the oldest stroke again: undoing it twice redoes it
  else if (current_ > 0)
    --current_;
  else
    applied_ = false;
  return &stroke;
}

PaintStroke *PaintUndoRing::redo(ImageBuffer &canvas) {
  if (current_ < 0 || strokeOpen())
    return nullptr;
  if (applied_) {
    if (current_ + 1 >= int32_t(strokes_.size()))
      return nullptr;
    ++current_;
  }
  applied_ = true;
  PaintStroke &stroke = strokes_[size_t(current_)];
  exchangeStroke(canvas, stroke, false);
  return &stroke;
}
