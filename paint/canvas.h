// The paint canvas: a window-sized picture of the visible scene's unlit colours that the paint
// tools draw into, with the buffers that tie every pixel to the paint triangle it shows. All
// buffers are width x height in window coordinates: x to the right, y upward, row 0 at the
// bottom.
#pragma once

#include "core/paint_layer.h"
#include "image/image_buffer.h"

#include <cstdint>
#include <vector>

// Index of pixels that show no paint triangle (background, insensitive objects).
constexpr uint32_t kNoPaintIndex = 0xFFFFFFFFu;

struct DirtyRect {
  int32_t x0 = 0, y0 = 0, x1 = -1, y1 = -1; // inclusive corners; x1 < x0 when empty
  bool empty() const { return x1 < x0 || y1 < y0; }
};

class PaintCanvas {
public:
  // Sizes every buffer for width x height (kept when the size is unchanged) and resets the dirty
  // state. Returns false, leaving the canvas empty (0 x 0), when
  // the size is not a supported image size or memory runs out.
  bool resize(int32_t width, int32_t height);
  int32_t width() const { return colour.width(); }
  int32_t height() const { return colour.height(); }
  bool inside(int32_t x, int32_t y) const {
    return x >= 0 && y >= 0 && x < width() && y < height();
  }
  size_t offset(int32_t x, int32_t y) const { return size_t(y) * size_t(width()) + size_t(x); }

  // --- What the tools use ---

  // The colour at (x, y), clamped to the border. Needs a non-empty canvas.
  uint32_t pixel(int32_t x, int32_t y) const;
  // Whether the pixel shows a paint triangle that may be painted.
  bool paintable(int32_t x, int32_t y) const {
    return inside(x, y) && index[offset(x, y)] < triangleTotal;
  }
  // Sets the colour of a paintable pixel and marks it dirty; other pixels are left alone.
  // Returns whether the pixel was set.
  bool setPixel(int32_t x, int32_t y, uint32_t rgba);
  // Marks a pixel changed (skipped outside the canvas) and extends the dirty rectangle.
  void markDirty(int32_t x, int32_t y);
  // Extends the dirty rectangle by a rectangle, clipped to the canvas.
  void extendDirtyRect(int32_t x, int32_t y, int32_t w, int32_t h);
  // Clears the dirty bits inside the dirty rectangle and empties it.
  void clearDirty();
  // The buffers as the layers' transfer reads them.
  CanvasPixels view() const;

  // --- Buffers ---

  ImageBuffer colour;          // unlit colours; during a stroke alpha = 255 - coverage
  std::vector<uint8_t> shade;  // lighting intensity of each pixel
  std::vector<uint32_t> index; // global paint index shown, >= triangleTotal when none
  std::vector<uint8_t> dirty;  // non-zero: changed since the last commit
  DirtyRect dirtyRect;
  uint8_t maskOn = 0; // face mask: selected faces (or the others) cannot be painted
  uint8_t maskInverse = 0;
  ImageBuffer revealImage;        // image of the reveal mode, drawn with its lower-left corner at
  float revealX = 0, revealY = 0; // the reveal position
  uint8_t revealFlags = 0;        // 1 reveal mode, 2 image shown over the scene, 4 tiled
  ImageBuffer patternImage;
  uint8_t patternOn = 0;
  uint32_t triangleTotal = 0;   // paint triangles of all visible, sensitive objects
  std::vector<uint8_t> touched; // per global paint index: touched by the current commit

  static constexpr uint8_t kRevealShown = 2;
};
