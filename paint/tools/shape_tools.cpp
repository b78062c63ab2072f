#include "paint/tools/shape_tools.h"

#include "paint/tools/colour_source.h"
#include "paint/tools/tool_registry.h"

#include <cmath>

void ShapeTool::release(PaintContext &ctx, int32_t x, int32_t y) {
  hideFigure(ctx);
  if (x == pressX_ || y == pressY_)
    return;
  PaintCanvas &canvas = ctx.canvas;
  const int32_t x0 = std::max(std::min(pressX_, lastX_), 0);
  const int32_t y0 = std::max(std::min(pressY_, lastY_), 0);
  const int32_t x1 = std::min(std::max(pressX_, lastX_), canvas.width());
  const int32_t y1 = std::min(std::max(pressY_, lastY_), canvas.height());
  if (x1 <= x0 || y1 <= y0)
    return;
  const int32_t w = x1 - x0, h = y1 - y0;
  const uint32_t solid = ctx.toolbox.paintColour;
  // Weights in 1/65536 steps keep the blend in integers.
  forPaintablePixels(canvas, x0, y0, w, h, [&](int32_t px, int32_t py, size_t) {
    const int64_t f = int64_t(weight(px - x0, py - y0, w, h) * 65536.0);
    const uint32_t s = sourceColour(canvas, px, py, solid);
    uint32_t &v = canvas.colour.at(px, py);
    if (f <= 0 || v == s)
      return;
    v = blendColour(v, s, std::min<int64_t>(f, 65536), 65536, 255);
    canvas.markDirty(px, py);
  });
  ctx.commit();
}

// Full weight three pixels inside every side; the three outer columns and then the three outer
// rows fade in at a quarter, half and three quarters.
double RectangleTool::weight(int32_t x, int32_t y, int32_t w, int32_t h) const {
  const int32_t kx = std::min(x, w - 1 - x), ky = std::min(y, h - 1 - y);
  if (kx < 3)
    return (kx + 1) * opacity_ / 1020.0;
  if (ky < 3)
    return (ky + 1) * opacity_ / 1020.0;
  return opacity_ / 255.0;
}

double EllipseTool::weight(int32_t x, int32_t y, int32_t w, int32_t h) const {
  const double rx = w / 2.0, ry = h / 2.0;
  const double q = ((x - rx) / rx) * ((x - rx) / rx) + ((y - ry) / ry) * ((y - ry) / ry);
  if (q > 1)
    return 0;
  const double e = q < 0.9 ? 0 : (q - 0.8) * 3;
  return (1 - e) * opacity_ / 255.0;
}

// The 20-gon inscribed in the box between the two points.
void EllipseTool::drawFigure(PaintContext &ctx, int32_t x0, int32_t y0, int32_t x1,
                             int32_t y1) const {
  int32_t xy[40];
  const double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0;
  const double rx = std::abs(x1 - x0) / 2.0, ry = std::abs(y1 - y0) / 2.0;
  for (int k = 0; k < 20; ++k) {
    const double a = k * M_PI / 10;
    xy[2 * k] = int32_t(std::lround(cx + rx * std::cos(a)));
    xy[2 * k + 1] = int32_t(std::lround(cy + ry * std::sin(a)));
  }
  ctx.feedback.xorOutline(xy, 20);
}
