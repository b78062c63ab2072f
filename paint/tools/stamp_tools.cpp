#include "paint/tools/stamp_tools.h"

#include "paint/tools/tool_registry.h"

#include <cstring>

void StampTool::setImage(PaintContext &ctx, ImageBuffer image) {
  image_ = std::move(image);
  width_ = std::max(image_.width(), 1);
  height_ = std::max(image_.height(), 1);
  if (&ctx.toolbox.current() == this)
    activate(ctx);
}

void StampTool::activate(PaintContext &ctx) {
  outlineShown_ = false;
  BrushTool::activate(ctx);
}

void StampTool::deactivate(PaintContext &ctx) { hideOutline(ctx); }

void StampTool::hover(PaintContext &ctx, int32_t x, int32_t y) {
  hideOutline(ctx);
  outlineX_ = dabX(x);
  outlineY_ = dabY(y);
  ctx.feedback.xorRect(outlineX_, outlineY_, outlineX_ + width_, outlineY_ + height_);
  outlineShown_ = true;
}

void StampTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  hideOutline(ctx);
  if (image_.empty())
    return;
  dabAt(ctx, dabX(x), dabY(y));
  lastX_ = x;
  lastY_ = y;
}

void StampTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  if (image_.empty() || (std::abs(x - lastX_) < width_ && std::abs(y - lastY_) < height_))
    return;
  dabAt(ctx, dabX(x), dabY(y));
  lastX_ = x;
  lastY_ = y;
}

void StampTool::refill(PaintContext &ctx) {
  DabBuffers &dab = ctx.toolbox.dab;
  if (image_.empty() || dab.width != image_.width() || dab.height != image_.height())
    return dab.fillColour(0);
  std::memcpy(dab.colour.data(), image_.pixels(), dab.colour.size() * sizeof(uint32_t));
}

void StampTool::rebuildMask(PaintContext &ctx) {
  DabBuffers &dab = ctx.toolbox.dab;
  for (size_t k = 0; k < dab.mask.size(); ++k)
    dab.mask[k] = uint8_t(alphaOf(dab.colour[k]) * opacity_ / 255);
}

void StampTool::hideOutline(PaintContext &ctx) {
  if (outlineShown_)
    ctx.feedback.xorRect(outlineX_, outlineY_, outlineX_ + width_, outlineY_ + height_);
  outlineShown_ = false;
}

void KnifeTool::release(PaintContext &ctx, int32_t x, int32_t y) {
  hideFigure(ctx);
  const PaintCanvas &canvas = ctx.canvas;
  const int32_t x0 = std::max(std::min(pressX_, x), 0), y0 = std::max(std::min(pressY_, y), 0);
  const int32_t x1 = std::min(std::max(pressX_, x), canvas.width());
  const int32_t y1 = std::min(std::max(pressY_, y), canvas.height());
  if (x1 <= x0 || y1 <= y0)
    return;
  ImageBuffer captured(x1 - x0, y1 - y0);
  if (captured.empty())
    return;
  for (int32_t row = y0; row < y1; ++row)
    for (int32_t col = x0; col < x1; ++col)
      captured.at(col - x0, row - y0) = canvas.colour.at(col, row) | 0xFF000000u;
  ctx.toolbox.stamp().setImage(ctx, std::move(captured));
  ctx.toolbox.SelectTool(ctx, kStampTool);
}
