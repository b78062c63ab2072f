// The line tool: a line of round dabs of the brush mask from the press point to the last dragged
// point, blended without coverage so that overlapping dabs build up.
#pragma once

#include "paint/tools/figure_tool.h"

class LineTool : public FigureTool {
public:
  LineTool() : FigureTool(16, 0.5f, 255) {}
  void setSize(PaintContext &ctx, int32_t width, int32_t height) override; // half the value
  void activate(PaintContext &ctx) override;
  void release(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  void rebuildMask(PaintContext &ctx) override;
  void drawFigure(PaintContext &ctx, int32_t x0, int32_t y0, int32_t x1,
                  int32_t y1) const override {
    ctx.feedback.xorLine(x0, y0, x1, y1, width_);
  }

private:
  void lineDab(PaintContext &ctx, int32_t x, int32_t y);
};
