#include "paint/tools/line_tool.h"

#include "paint/tools/colour_source.h"
#include "paint/tools/line_walk.h"
#include "paint/tools/tool_registry.h"

void LineTool::setSize(PaintContext &ctx, int32_t width, int32_t height) {
  FigureTool::setSize(ctx, std::max(width / 2, 1), std::max(height / 2, 1));
}

void LineTool::activate(PaintContext &ctx) {
  ctx.toolbox.dab.fit(width_, height_);
  rebuildMask(ctx);
}

void LineTool::rebuildMask(PaintContext &ctx) {
  buildBrushMask(ctx.toolbox.dab, hardness_, opacity_);
}

void LineTool::release(PaintContext &ctx, int32_t x, int32_t y) {
  hideFigure(ctx);
  if (x == pressX_ && y == pressY_)
    return;
  const int32_t rx = std::min(pressX_, lastX_) - width_ / 2;
  const int32_t ry = std::min(pressY_, lastY_) - height_ / 2;
  const int32_t rw = std::abs(lastX_ - pressX_) + 1 + 2 * (width_ / 2);
  const int32_t rh = std::abs(lastY_ - pressY_) + 1 + 2 * (height_ / 2);
  // The step counter starts at the spacing, so the first dab lies on the press point.
  const int32_t spacing = ctx.toolbox.dab.spacing;
  int32_t count = spacing;
  walkLine(pressX_, pressY_, lastX_, lastY_, [&](int32_t px, int32_t py) {
    if (count++ % spacing == 0)
      lineDab(ctx, px, py);
  });
  ctx.canvas.extendDirtyRect(rx, ry, rw, rh);
  ctx.commit();
}

void LineTool::lineDab(PaintContext &ctx, int32_t x, int32_t y) {
  PaintCanvas &canvas = ctx.canvas;
  const DabBuffers &dab = ctx.toolbox.dab;
  const uint32_t solid = ctx.toolbox.paintColour;
  forPaintablePixels(canvas, x - dab.width / 2, y - dab.height / 2, dab.width, dab.height,
                     [&](int32_t px, int32_t py, size_t k) {
                       if (dab.mask[k] == 0)
                         return;
                       uint32_t &v = canvas.colour.at(px, py);
                       v = blendColour(v, sourceColour(canvas, px, py, solid), dab.mask[k], 255,
                                       255);
                       canvas.dirty[canvas.offset(px, py)] = 1;
                     });
}
