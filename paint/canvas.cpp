#include "paint/canvas.h"

#include <algorithm>
#include <new>

bool PaintCanvas::resize(int32_t w, int32_t h) {
  const bool same = w == width() && h == height() && !colour.empty();
  try {
    if (!same) {
      if (!colour.reshape(w, h))
        throw std::bad_alloc();
      const size_t pixels = size_t(w) * size_t(h);
      shade.assign(pixels, 0);
      index.assign(pixels, kNoPaintIndex);
      dirty.assign(pixels, 0);
    }
  } catch (const std::bad_alloc &) {
    colour = ImageBuffer();
    shade.clear();
    index.clear();
    dirty.clear();
    dirtyRect = {};
    return false;
  }
  std::fill(dirty.begin(), dirty.end(), 0);
  dirtyRect = {w, h, -1, -1};
  return true;
}

uint32_t PaintCanvas::pixel(int32_t x, int32_t y) const {
  return colour.at(std::clamp(x, 0, width() - 1), std::clamp(y, 0, height() - 1));
}

bool PaintCanvas::setPixel(int32_t x, int32_t y, uint32_t rgba) {
  if (!paintable(x, y))
    return false;
  colour.at(x, y) = rgba;
  markDirty(x, y);
  return true;
}

void PaintCanvas::markDirty(int32_t x, int32_t y) {
  if (!inside(x, y))
    return;
  dirty[offset(x, y)] = 1;
  extendDirtyRect(x, y, 1, 1);
}

void PaintCanvas::extendDirtyRect(int32_t x, int32_t y, int32_t w, int32_t h) {
  const int32_t x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int32_t x1 = int32_t(std::min<int64_t>(int64_t(x) + w, width())) - 1;
  const int32_t y1 = int32_t(std::min<int64_t>(int64_t(y) + h, height())) - 1;
  if (x1 < x0 || y1 < y0)
    return;
  if (dirtyRect.empty()) {
    dirtyRect = {x0, y0, x1, y1};
    return;
  }
  dirtyRect = {std::min(dirtyRect.x0, x0), std::min(dirtyRect.y0, y0), std::max(dirtyRect.x1, x1),
               std::max(dirtyRect.y1, y1)};
}

void PaintCanvas::clearDirty() {
  if (!dirtyRect.empty())
    for (int32_t y = dirtyRect.y0; y <= dirtyRect.y1; ++y)
      std::fill_n(dirty.begin() + ptrdiff_t(offset(dirtyRect.x0, y)),
                  dirtyRect.x1 - dirtyRect.x0 + 1, uint8_t(0));
  dirtyRect = {width(), height(), -1, -1};
}

CanvasPixels PaintCanvas::view() const {
  return {width(), height(), colour.pixels(), index.data(), dirty.data()};
}
