// The colour picker, which takes the paint colour from the canvas, and the hand, which moves the
// reveal image over the window.
#pragma once

#include "paint/tools/paint_tool.h"

class ColorPickerTool : public PaintTool {
public:
  ColorPickerTool() : PaintTool(0, 0.0f, 255) {}
  void press(PaintContext &ctx, int32_t x, int32_t y) override { pick(ctx, x, y); }
  void drag(PaintContext &ctx, int32_t x, int32_t y) override { pick(ctx, x, y); }
  void release(PaintContext &, int32_t, int32_t) override {}

private:
  void pick(PaintContext &ctx, int32_t x, int32_t y);
};

// Works only while the reveal mode is on. The position is kept so that at least one image
// pixel stays on the canvas.
class HandTool : public PaintTool {
public:
  HandTool() : PaintTool(0, 0.0f, 128) {}
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;
  void release(PaintContext &ctx, int32_t x, int32_t y) override;

private:
  void outline(PaintContext &ctx) const;

  int32_t lastX_ = 0, lastY_ = 0;
  bool dragging_ = false;
};
