#include "paint/tools/brush_tools.h"

#include "paint/tools/tool_registry.h"

#include <cmath>

void EraserTool::setColour(PaintContext &ctx, uint32_t rgba) {
  ctx.toolbox.baseColour = rgba;
  if (&ctx.toolbox.current() == this)
    refill(ctx);
}

uint32_t EraserTool::solidColour(const PaintContext &ctx) const { return ctx.toolbox.baseColour; }

void ShadowTool::setOpacity(PaintContext &ctx, int32_t opacity) {
  BrushTool::setOpacity(ctx, opacity / 10);
}

void AirbrushTool::setOpacity(PaintContext &ctx, int32_t opacity) {
  BrushTool::setOpacity(ctx, std::min(opacity / 2, 127));
}

// No coverage: every dab moves the pixel alpha(C) x m / 65025 of the way toward the colour.
void AirbrushTool::apply(PaintContext &ctx) {
  applyBlend(ctx.canvas, ctx.toolbox.dab, 65025,
             [](uint8_t m, uint32_t c) { return int64_t(alphaOf(c)) * m; });
}

// Coverage as the paintbrush has it; each channel (at least 20) grows by the factor
// (B/255 + 10) / (A/255 + 10).
void LightenTool::apply(PaintContext &ctx) {
  PaintCanvas &canvas = ctx.canvas;
  const DabBuffers &dab = ctx.toolbox.dab;
  forPaintablePixels(
      canvas, dab.dabX, dab.dabY, dab.width, dab.height, [&](int32_t x, int32_t y, size_t k) {
        uint32_t &v = canvas.colour.at(x, y);
        const int32_t a = 255 - alphaOf(v);
        if (dab.mask[k] == 0 || a >= opacity_)
          return;
        const int32_t b = std::min(opacity_, dab.mask[k] + a);
        const double factor = (b / 255.0 + 10) / (a / 255.0 + 10);
        const auto up = [factor](uint8_t ch) {
          return uint8_t(std::min(255.0, std::round(std::max<int>(ch, 20) * factor)));
        };
        v = packRgba(up(redOf(v)), up(greenOf(v)), up(blueOf(v)), uint8_t(255 - b));
        canvas.dirty[canvas.offset(x, y)] = 1;
      });
}
