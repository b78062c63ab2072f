// Brushes that paint with the canvas itself: the blur (each dab the 3 x 3 mean of the paint
// under it) and the smear (each drag carries the pixels under the previous dab along).
#pragma once

#include "paint/tools/brush_tool.h"

class BlurTool : public BrushTool {
public:
  BlurTool() : BrushTool(32, 0.5f, 255) {}

protected:
  void fillDab(PaintContext &ctx) override;
};

// One dab per drag event, without the spacing walk and without coverage.
class SmearTool : public BrushTool {
public:
  SmearTool() : BrushTool(32, 0.5f, 127) {}
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  void fillDab(PaintContext &ctx) override;
  void apply(PaintContext &ctx) override;
};
