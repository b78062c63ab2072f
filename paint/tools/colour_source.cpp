#include "paint/tools/colour_source.h"

#include <algorithm>

namespace {

bool revealOn(const PaintCanvas &c) { return (c.revealFlags & 1) && !c.revealImage.empty(); }
bool patternOn(const PaintCanvas &c) { return c.patternOn && !c.patternImage.empty(); }

// The pixel of a tiled image for window pixel (x, y); negative remainders count as 0.
uint32_t tiled(const ImageBuffer &image, int32_t x, int32_t y) {
  return image.at(std::max(0, x % image.width()), std::max(0, y % image.height()));
}

} // namespace

bool imageSourceOn(const PaintCanvas &canvas) { return revealOn(canvas) || patternOn(canvas); }

bool revealPixel(const PaintCanvas &canvas, int32_t x, int32_t y, uint32_t &out) {
  const ImageBuffer &image = canvas.revealImage;
  if (image.empty())
    return false;
  if (canvas.revealFlags & 4) {
    out = tiled(image, x, y);
    return true;
  }
  const int32_t ix = x - int32_t(canvas.revealX), iy = y - int32_t(canvas.revealY);
  if (ix < 0 || iy < 0 || ix >= image.width() || iy >= image.height())
    return false;
  out = image.at(ix, iy);
  return true;
}

uint32_t sourceColour(const PaintCanvas &canvas, int32_t x, int32_t y, uint32_t solid) {
  uint32_t revealed = 0;
  if (revealOn(canvas))
    return revealPixel(canvas, x, y, revealed) ? revealed : canvas.pixel(x, y);
  if (patternOn(canvas))
    return tiled(canvas.patternImage, x, y);
  return solid;
}
