#include "paint/tools/picker_hand_tools.h"

#include "paint/tools/tool_registry.h"

void ColorPickerTool::pick(PaintContext &ctx, int32_t x, int32_t y) {
  if (ctx.canvas.width() > 0 && ctx.canvas.height() > 0)
    setColour(ctx, ctx.canvas.pixel(x, y) | 0xFF000000u);
}

void HandTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  dragging_ = ctx.canvas.revealFlags & 1;
  lastX_ = x;
  lastY_ = y;
  if (dragging_)
    outline(ctx);
}

void HandTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  PaintCanvas &canvas = ctx.canvas;
  if (!dragging_)
    return;
  outline(ctx);
  const int32_t iw = canvas.revealImage.width(), ih = canvas.revealImage.height();
  canvas.revealX = float(std::clamp(int32_t(canvas.revealX) + x - lastX_, 1 - iw,
                                    std::max(canvas.width() - 1, 1 - iw)));
  canvas.revealY = float(std::clamp(int32_t(canvas.revealY) + y - lastY_, 1 - ih,
                                    std::max(canvas.height() - 1, 1 - ih)));
  lastX_ = x;
  lastY_ = y;
  outline(ctx);
}

void HandTool::release(PaintContext &ctx, int32_t, int32_t) {
  if (!dragging_)
    return;
  outline(ctx);
  dragging_ = false;
  ctx.refresh();
}

void HandTool::outline(PaintContext &ctx) const {
  const PaintCanvas &canvas = ctx.canvas;
  if (canvas.revealImage.empty())
    return;
  const int32_t x = int32_t(canvas.revealX), y = int32_t(canvas.revealY);
  ctx.feedback.xorRect(x, y, x + canvas.revealImage.width(), y + canvas.revealImage.height());
}
