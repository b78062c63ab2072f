// The buffers the brush-like tools share: the brush mask, the colour buffer filled per dab and
// the display buffer shown on the screen, all sized like the current tool, with the stroke
// state (dab positions are the dab's lower-left corner in window pixels).
#pragma once

#include "paint/canvas.h"

#include <algorithm>
#include <cstdint>
#include <vector>

struct DabBuffers {
  int32_t width = 0, height = 0;
  std::vector<uint8_t> mask;
  std::vector<uint32_t> colour;
  std::vector<uint32_t> display;
  int32_t spacing = 1;
  int32_t lastX = 0, lastY = 0; // last dab of the stroke
  int32_t dabX = 0, dabY = 0;   // the dab being applied

  // Sizes the buffers for w x h (sizes below 1 count as 1) and sets the spacing max(1, w / 6).
  // Returns whether the size changed.
  bool fit(int32_t w, int32_t h);
  // Every pixel of the colour buffer becomes rgba.
  void fillColour(uint32_t rgba) { std::fill(colour.begin(), colour.end(), rgba); }
};

// The round brush mask: the full opacity inside the core (radius a x hardness), falling along a
// cosine to about 9 % of it at the rim, 0 outside the circle of radius a = width / 2.
void buildBrushMask(DabBuffers &dab, float hardness, int32_t opacity);

// Calls f(x, y, k) for each pixel of the w x h rectangle at (x0, y0) that lies on the canvas and
// may be painted; k is the pixel's place in the rectangle (row by row from the bottom).
template <class F>
void forPaintablePixels(const PaintCanvas &canvas, int32_t x0, int32_t y0, int32_t w, int32_t h,
                        F f) {
  const int32_t ja = std::max(0, -x0), jb = std::min(w, canvas.width() - x0);
  const int32_t ia = std::max(0, -y0), ib = std::min(h, canvas.height() - y0);
  for (int32_t i = ia; i < ib; ++i)
    for (int32_t j = ja; j < jb; ++j)
      if (canvas.index[canvas.offset(x0 + j, y0 + i)] < canvas.triangleTotal)
        f(x0 + j, y0 + i, size_t(i) * size_t(w) + size_t(j));
}

// (1 - f) * v + f * c per colour channel with f = num / den (0 <= num <= den, 0 < den <= 2^24),
// truncated, with the given alpha.
uint32_t blendColour(uint32_t v, uint32_t c, int64_t num, int64_t den, uint8_t alpha);
// Whether the first three bytes (the colour without alpha) are equal.
inline bool sameColour(uint32_t a, uint32_t b) { return ((a ^ b) & 0x00FFFFFFu) == 0; }
