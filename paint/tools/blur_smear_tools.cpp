#include "paint/tools/blur_smear_tools.h"

#include "paint/tools/tool_registry.h"

namespace {

// The per-channel mean of the paintable pixels around (x, y); keep when there are none.
uint32_t meanAround(const PaintCanvas &canvas, int32_t x, int32_t y, uint32_t keep) {
  uint32_t sum[4] = {0, 0, 0, 0}, n = 0;
  for (int32_t dy = -1; dy <= 1; ++dy)
    for (int32_t dx = -1; dx <= 1; ++dx) {
      if (!canvas.paintable(x + dx, y + dy))
        continue;
      const uint32_t p = canvas.colour.at(x + dx, y + dy);
      for (int c = 0; c < 4; ++c)
        sum[c] += (p >> (8 * c)) & 0xFF;
      ++n;
    }
  if (n == 0)
    return keep;
  return packRgba(uint8_t(sum[0] / n), uint8_t(sum[1] / n), uint8_t(sum[2] / n),
                  uint8_t(sum[3] / n));
}

} // namespace

void BlurTool::fillDab(PaintContext &ctx) {
  DabBuffers &dab = ctx.toolbox.dab;
  for (int32_t i = 0; i < dab.height; ++i)
    for (int32_t j = 0; j < dab.width; ++j) {
      uint32_t &c = dab.colour[size_t(i) * size_t(dab.width) + size_t(j)];
      c = meanAround(ctx.canvas, dab.dabX + j, dab.dabY + i, c);
    }
}

void SmearTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  ctx.toolbox.dab.lastX = dabX(x);
  ctx.toolbox.dab.lastY = dabY(y);
}

void SmearTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  DabBuffers &dab = ctx.toolbox.dab;
  dabAt(ctx, dabX(x), dabY(y));
  dab.lastX = dab.dabX;
  dab.lastY = dab.dabY;
}

void SmearTool::fillDab(PaintContext &ctx) {
  DabBuffers &dab = ctx.toolbox.dab;
  const PaintCanvas &canvas = ctx.canvas;
  for (int32_t i = 0; i < dab.height; ++i)
    for (int32_t j = 0; j < dab.width; ++j) {
      const int32_t px = dab.lastX + j, py = dab.lastY + i;
      dab.colour[size_t(i) * size_t(dab.width) + size_t(j)] =
          canvas.paintable(px, py) ? canvas.colour.at(px, py)
                                   : canvas.pixel(dab.dabX + j, dab.dabY + i);
    }
}

void SmearTool::apply(PaintContext &ctx) {
  applyBlend(ctx.canvas, ctx.toolbox.dab, 255, [](uint8_t m, uint32_t) { return int64_t(m); });
}
