#include "paint/tools/clone_tool.h"

#include "paint/tools/tool_registry.h"

void CloneTool::deactivate(PaintContext &ctx) { hideCross(ctx); }

void CloneTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  if (!hasSource_)
    return;
  firstX_ = dabX(x);
  firstY_ = dabY(y);
  BrushTool::press(ctx, x, y);
  showCross(ctx, shiftedX(ctx), shiftedY(ctx));
}

void CloneTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  if (!hasSource_)
    return;
  BrushTool::drag(ctx, x, y);
  showCross(ctx, shiftedX(ctx), shiftedY(ctx));
}

void CloneTool::release(PaintContext &ctx, int32_t x, int32_t y) {
  if (hasSource_) {
    hideCross(ctx);
    endStroke(ctx);
  } else if (ctx.canvas.paintable(x, y)) {
    hasSource_ = true;
    sourceX_ = x;
    sourceY_ = y;
  } else {
    return;
  }
  showCross(ctx, sourceX_, sourceY_);
}

void CloneTool::fillDab(PaintContext &ctx) {
  DabBuffers &dab = ctx.toolbox.dab;
  const PaintCanvas &canvas = ctx.canvas;
  const int32_t ox = shiftedX(ctx) - (width_ >> 1), oy = shiftedY(ctx) - (height_ >> 1);
  for (int32_t i = 0; i < dab.height; ++i)
    for (int32_t j = 0; j < dab.width; ++j) {
      const int32_t sx = ox + j, sy = oy + i;
      dab.colour[size_t(i) * size_t(dab.width) + size_t(j)] =
          canvas.paintable(sx, sy) ? canvas.colour.at(sx, sy)
                                   : canvas.pixel(dab.dabX + j, dab.dabY + i);
    }
}

void CloneTool::refill(PaintContext &ctx) {
  hideCross(ctx);
  hasSource_ = false;
  BrushTool::refill(ctx);
}

int32_t CloneTool::shiftedX(const PaintContext &ctx) const {
  return sourceX_ + ctx.toolbox.dab.dabX - firstX_;
}
int32_t CloneTool::shiftedY(const PaintContext &ctx) const {
  return sourceY_ + ctx.toolbox.dab.dabY - firstY_;
}

void CloneTool::showCross(PaintContext &ctx, int32_t x, int32_t y) {
  hideCross(ctx);
  ctx.feedback.xorLine(x - 7, y, x + 8, y, 3);
  ctx.feedback.xorLine(x, y - 7, x, y + 8, 3);
  crossShown_ = true;
  crossX_ = x;
  crossY_ = y;
}

void CloneTool::hideCross(PaintContext &ctx) {
  if (!crossShown_)
    return;
  ctx.feedback.xorLine(crossX_ - 7, crossY_, crossX_ + 8, crossY_, 3);
  ctx.feedback.xorLine(crossX_, crossY_ - 7, crossX_, crossY_ + 8, 3);
  crossShown_ = false;
}
