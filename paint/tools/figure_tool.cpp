#include "paint/tools/figure_tool.h"

void FigureTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  hideFigure(ctx);
  pressX_ = lastX_ = x;
  pressY_ = lastY_ = y;
}

void FigureTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  hideFigure(ctx);
  lastX_ = x;
  lastY_ = y;
  drawFigure(ctx, pressX_, pressY_, x, y);
  shown_ = true;
}

void FigureTool::hideFigure(PaintContext &ctx) {
  if (shown_)
    drawFigure(ctx, pressX_, pressY_, lastX_, lastY_);
  shown_ = false;
}
