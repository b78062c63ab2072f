// The rectangle and ellipse: dragged out as exclusive-or figures and filled into the canvas on
// release with edges that fade in over a few pixels.
#pragma once

#include "paint/tools/figure_tool.h"

class ShapeTool : public FigureTool {
public:
  ShapeTool() : FigureTool(0, 0.0f, 255) {}
  void release(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  // The weight (0..1) of box pixel (x, y) of a w x h box (box-relative), 0 for none.
  virtual double weight(int32_t x, int32_t y, int32_t w, int32_t h) const = 0;
};

class RectangleTool : public ShapeTool {
protected:
  void drawFigure(PaintContext &ctx, int32_t x0, int32_t y0, int32_t x1,
                  int32_t y1) const override {
    ctx.feedback.xorRect(x0, y0, x1, y1);
  }
  double weight(int32_t x, int32_t y, int32_t w, int32_t h) const override;
};

class EllipseTool : public ShapeTool {
protected:
  void drawFigure(PaintContext &ctx, int32_t x0, int32_t y0, int32_t x1, int32_t y1) const override;
  double weight(int32_t x, int32_t y, int32_t w, int32_t h) const override;
};
