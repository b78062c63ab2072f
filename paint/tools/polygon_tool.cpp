#include "paint/tools/polygon_tool.h"

#include "paint/tools/colour_source.h"
#include "paint/tools/dab_buffers.h"
#include "paint/tools/tool_registry.h"

#include <cmath>

void PolygonTool::deactivate(PaintContext &ctx) {
  hideRubber(ctx);
  hideEdges(ctx);
  points_.clear();
}

void PolygonTool::hover(PaintContext &ctx, int32_t x, int32_t y) {
  if (points_.empty())
    return;
  hideRubber(ctx);
  ctx.feedback.xorLine(points_[points_.size() - 2], points_.back(), x, y, 2);
  rubberShown_ = true;
  rubberX_ = x;
  rubberY_ = y;
}

void PolygonTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  x = std::clamp(x, -32768, 32767);
  y = std::clamp(y, -32768, 32767);
  const bool closing = !points_.empty() && std::abs(x - points_[points_.size() - 2]) <= 5 &&
                       std::abs(y - points_.back()) <= 5;
  if (closing) {
    hideRubber(ctx);
    hideEdges(ctx);
    fill(ctx);
    points_.clear();
    return;
  }
  // The rubber line up to the new corner stays on the screen as its edge.
  if (!points_.empty() && !(rubberShown_ && rubberX_ == x && rubberY_ == y)) {
    hideRubber(ctx);
    ctx.feedback.xorLine(points_[points_.size() - 2], points_.back(), x, y, 2);
  }
  rubberShown_ = false;
  points_.push_back(int16_t(x));
  points_.push_back(int16_t(y));
}

void PolygonTool::hideRubber(PaintContext &ctx) {
  if (rubberShown_ && !points_.empty())
    ctx.feedback.xorLine(points_[points_.size() - 2], points_.back(), rubberX_, rubberY_, 2);
  rubberShown_ = false;
}

void PolygonTool::hideEdges(PaintContext &ctx) {
  for (size_t i = 2; i + 1 < points_.size(); i += 2)
    ctx.feedback.xorLine(points_[i - 2], points_[i - 1], points_[i], points_[i + 1], 2);
}

void PolygonTool::fill(PaintContext &ctx) {
  PaintCanvas &canvas = ctx.canvas;
  const std::vector<PixelRun> runs = polygonRuns(points_, canvas.width(), canvas.height());
  if (runs.empty())
    return;
  const uint32_t solid = ctx.toolbox.paintColour;
  for (const PixelRun &r : runs)
    forPaintablePixels(canvas, r.x0, r.y, r.x1 - r.x0 + 1, 1, [&](int32_t x, int32_t y, size_t) {
      uint32_t &v = canvas.colour.at(x, y);
      v = blendColour(v, sourceColour(canvas, x, y, solid), opacity_, 255, 255);
      canvas.markDirty(x, y);
    });
  ctx.commit();
}

std::vector<PixelRun> polygonRuns(const std::vector<int16_t> &xy, int32_t width, int32_t height) {
  std::vector<PixelRun> runs;
  const size_t n = xy.size() / 2;
  if (n < 3)
    return runs;
  int32_t yMin = xy[1], yMax = xy[1];
  for (size_t i = 0; i < n; ++i) {
    yMin = std::min<int32_t>(yMin, xy[2 * i + 1]);
    yMax = std::max<int32_t>(yMax, xy[2 * i + 1]);
  }
  std::vector<double> crossings;
  for (int32_t y = std::max(yMin, 0); y <= std::min(yMax, height - 1); ++y) {
    const double sy = y + 0.5;
    crossings.clear();
    for (size_t i = 0; i < n; ++i) {
      const size_t j = (i + 1) % n;
      const double ya = xy[2 * i + 1], yb = xy[2 * j + 1], xa = xy[2 * i], xb = xy[2 * j];
      if ((ya <= sy) != (yb <= sy)) // an edge counts from its lower end up to its upper end
        crossings.push_back(xa + (sy - ya) * (xb - xa) / (yb - ya));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      const int32_t x0 = std::max(int32_t(std::ceil(crossings[k] - 0.5)), 0);
      const int32_t x1 = std::min(int32_t(std::floor(crossings[k + 1] - 0.5)), width - 1);
      if (x0 <= x1)
        runs.push_back({y, x0, x1});
    }
  }
  return runs;
}
