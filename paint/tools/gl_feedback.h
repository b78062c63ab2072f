// Tool feedback drawn with OpenGL 1.1 straight into the current context's draw buffer (the
// paint window's front buffer): exclusive-or figures in window pixels and dab pixels, and
// repaints of the textured scene.
#pragma once

#include "paint/tools/paint_tool.h"

class GlToolFeedback : public ToolFeedback {
public:
  GlToolFeedback(const Scene &scene, View &view, const PaintCanvas &canvas)
      : scene_(scene), view_(view), canvas_(canvas) {}
  void xorRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1) override;
  void xorLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t width) override;
  void xorOutline(const int32_t *xy, int32_t n) override;
  void showPixels(int32_t x, int32_t y, int32_t w, int32_t h, const uint32_t *pixels) override;
  void redraw() override;

private:
  const Scene &scene_;
  View &view_;
  const PaintCanvas &canvas_;
};
