#include "paint/tools/brush_tool.h"

#include "paint/tools/colour_source.h"
#include "paint/tools/line_walk.h"
#include "paint/tools/tool_registry.h"

void BrushTool::activate(PaintContext &ctx) {
  ctx.toolbox.dab.fit(width_, height_);
  refill(ctx);
  rebuildMask(ctx);
}

void BrushTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  DabBuffers &dab = ctx.toolbox.dab;
  dabAt(ctx, dabX(x), dabY(y));
  dab.lastX = dab.dabX;
  dab.lastY = dab.dabY;
}

void BrushTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  DabBuffers &dab = ctx.toolbox.dab;
  const int32_t tx = dabX(x), ty = dabY(y);
  if (std::max(std::abs(tx - dab.lastX), std::abs(ty - dab.lastY)) < dab.spacing)
    return;
  // The counter is 1 on the last dab and counts the pixels walked since; a dab falls where it
  // reaches a multiple of the spacing (on the last dab itself when the spacing is 1).
  int32_t counter = 1;
  walkLine(dab.lastX, dab.lastY, tx, ty, [&](int32_t px, int32_t py) {
    if (counter % dab.spacing == 0) {
      dabAt(ctx, px, py);
      dab.lastX = px;
      dab.lastY = py;
      counter = 1;
    }
    ++counter;
  });
}

void BrushTool::release(PaintContext &ctx, int32_t, int32_t) { endStroke(ctx); }

void BrushTool::dabAt(PaintContext &ctx, int32_t x, int32_t y) {
  DabBuffers &dab = ctx.toolbox.dab;
  dab.dabX = x;
  dab.dabY = y;
  fillDab(ctx);
  apply(ctx);
  ctx.canvas.extendDirtyRect(x, y, dab.width, dab.height);
  showDab(ctx);
}

void BrushTool::fillDab(PaintContext &ctx) {
  if (!imageSourceOn(ctx.canvas))
    return;
  DabBuffers &dab = ctx.toolbox.dab;
  for (int32_t i = 0; i < dab.height; ++i)
    for (int32_t j = 0; j < dab.width; ++j)
      dab.colour[size_t(i) * size_t(dab.width) + size_t(j)] =
          sourceColour(ctx.canvas, dab.dabX + j, dab.dabY + i, 0);
}

void BrushTool::apply(PaintContext &ctx) { applyCoverage(ctx.canvas, ctx.toolbox.dab, opacity_); }

uint32_t BrushTool::solidColour(const PaintContext &ctx) const { return ctx.toolbox.paintColour; }

void BrushTool::refill(PaintContext &ctx) { ctx.toolbox.dab.fillColour(solidColour(ctx)); }

void BrushTool::rebuildMask(PaintContext &ctx) {
  buildBrushMask(ctx.toolbox.dab, hardness_, opacity_);
}

void BrushTool::endStroke(PaintContext &ctx) {
  PaintCanvas &canvas = ctx.canvas;
  const DirtyRect r = canvas.dirtyRect;
  for (int32_t y = r.y0; !r.empty() && y <= r.y1; ++y)
    for (int32_t x = r.x0; x <= r.x1; ++x)
      canvas.colour.at(x, y) |= 0xFF000000u;
  ctx.commit();
}

void applyCoverage(PaintCanvas &canvas, const DabBuffers &dab, int32_t opacity) {
  forPaintablePixels(canvas, dab.dabX, dab.dabY, dab.width, dab.height,
                     [&](int32_t x, int32_t y, size_t k) {
                       const int32_t m = dab.mask[k];
                       uint32_t &v = canvas.colour.at(x, y);
                       const uint32_t c = dab.colour[k];
                       if (m == 0 || sameColour(v, c))
                         return;
                       const int32_t a = 255 - alphaOf(v);
                       if (a >= opacity)
                         return;
                       const int32_t b = std::min(opacity, m + a);
                       v = blendColour(v, c, b - a, 255 - a, uint8_t(255 - b));
                       canvas.dirty[canvas.offset(x, y)] = 1;
                     });
}

// The dab as the window shows it: the canvas lit by its shade, and, while the reveal image is
// shown, moved 48/255 of the way toward the image where it covers the dab.
void showDab(PaintContext &ctx) {
  DabBuffers &dab = ctx.toolbox.dab;
  const PaintCanvas &canvas = ctx.canvas;
  const bool revealShown = canvas.revealFlags & PaintCanvas::kRevealShown;
  for (int32_t i = 0; i < dab.height; ++i)
    for (int32_t j = 0; j < dab.width; ++j) {
      const int32_t x = dab.dabX + j, y = dab.dabY + i;
      uint32_t &shown = dab.display[size_t(i) * size_t(dab.width) + size_t(j)];
      if (!canvas.inside(x, y)) {
        shown = 0xFF000000u;
        continue;
      }
      const uint32_t v = canvas.colour.at(x, y), s = canvas.shade[canvas.offset(x, y)];
      shown = packRgba(uint8_t(redOf(v) * s / 255), uint8_t(greenOf(v) * s / 255),
                       uint8_t(blueOf(v) * s / 255));
      uint32_t image = 0;
      if (revealShown && revealPixel(canvas, x, y, image))
        shown = blendColour(shown, image, 48, 255, 255);
    }
  ctx.feedback.showPixels(dab.dabX, dab.dabY, dab.width, dab.height, dab.display.data());
}
