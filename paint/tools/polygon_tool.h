// The polygon tool: clicks put down corners joined by exclusive-or edges, a rubber line follows
// the pointer, and a click near the last corner fills the closed polygon.
#pragma once

#include "paint/tools/paint_tool.h"

#include <vector>

class PolygonTool : public PaintTool {
public:
  PolygonTool() : PaintTool(0, 0.0f, 255) {}
  void deactivate(PaintContext &ctx) override;
  void hover(PaintContext &ctx, int32_t x, int32_t y) override;
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override { hover(ctx, x, y); }
  void release(PaintContext &, int32_t, int32_t) override {}
  size_t cornerCount() const { return points_.size() / 2; }

private:
  void hideRubber(PaintContext &ctx);
  void hideEdges(PaintContext &ctx);
  void fill(PaintContext &ctx);

  std::vector<int16_t> points_; // x, y pairs
  bool rubberShown_ = false;
  int32_t rubberX_ = 0, rubberY_ = 0;
};

// The pixel runs (row, first, last column, inclusive) inside the closed polygon through the
// given x, y pairs, sampled at the pixel centres and clipped to a width x height canvas.
struct PixelRun {
  int32_t y, x0, x1;
};
std::vector<PixelRun> polygonRuns(const std::vector<int16_t> &xy, int32_t width, int32_t height);
