// The fill tool: a click replaces the 4-connected paintable area of colours near the clicked one
// (squared distance over all four bytes below the tolerance) with the paint.
#pragma once

#include "paint/tools/paint_tool.h"

class FillTool : public PaintTool {
public:
  FillTool() : PaintTool(0, 0.0f, 255) {}
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &, int32_t, int32_t) override {}
  void release(PaintContext &, int32_t, int32_t) override {}

  int32_t tolerance = 1600;
};

// Marks the dirty bits of the region grown from (x, y) over paintable pixels within tolerance
// of the colour at (x, y) (scanline seed fill); the canvas's dirty bits must be clear. Returns
// the bounding rectangle of the marked pixels, empty when (x, y) is off the canvas.
DirtyRect seedFill(PaintCanvas &canvas, int32_t x, int32_t y, int32_t tolerance);
// Squared distance of two colours over all four bytes.
int32_t colourDistance2(uint32_t a, uint32_t b);
