// What the tools that drag out a figure share (knife, line, rectangle, ellipse): the press point,
// the last dragged point and the exclusive-or figure between them, erased and drawn again as the
// pointer moves.
#pragma once

#include "paint/tools/paint_tool.h"

class FigureTool : public PaintTool {
public:
  using PaintTool::PaintTool;
  void deactivate(PaintContext &ctx) override { hideFigure(ctx); }
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  // Draws (or, drawn again, erases) the figure between two points.
  virtual void drawFigure(PaintContext &ctx, int32_t x0, int32_t y0, int32_t x1,
                          int32_t y1) const = 0;
  void hideFigure(PaintContext &ctx);

  int32_t pressX_ = 0, pressY_ = 0, lastX_ = 0, lastY_ = 0;
  bool shown_ = false;
};
