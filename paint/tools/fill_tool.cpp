#include "paint/tools/fill_tool.h"

#include "paint/tools/colour_source.h"
#include "paint/tools/tool_registry.h"

#include <vector>

namespace {

// A run of filled pixels x0..x1 on the row before y; row y is to be scanned, then onward in dy.
struct Segment {
  int32_t y, x0, x1, dy;
};

class SeedFill {
public:
  SeedFill(PaintCanvas &canvas, uint32_t seed, int32_t tolerance)
      : canvas_(canvas), seed_(seed), tolerance_(tolerance) {
    stack_.reserve(16);
  }
  DirtyRect run(int32_t x, int32_t y);

private:
  bool fillable(int32_t x, int32_t y) const {
    const size_t k = canvas_.offset(x, y);
    return !canvas_.dirty[k] && canvas_.index[k] < canvas_.triangleTotal &&
           colourDistance2(canvas_.colour.pixels()[k], seed_) < tolerance_;
  }
  void mark(int32_t x, int32_t y) {
    canvas_.dirty[canvas_.offset(x, y)] = 1;
    box_ = {std::min(box_.x0, x), std::min(box_.y0, y), std::max(box_.x1, x), std::max(box_.y1, y)};
  }
  void push(int32_t y, int32_t x0, int32_t x1, int32_t dy) {
    if (y + dy >= 0 && y + dy < canvas_.height())
      stack_.push_back({y + dy, x0, x1, dy});
  }
  void scan(const Segment &s);
  // The first fillable column after x, or x1 + 1 when none is left up to x1.
  int32_t skipUnfillable(int32_t x, int32_t x1, int32_t y) const {
    for (++x; x <= x1 && !fillable(x, y); ++x) {
    }
    return x;
  }

  PaintCanvas &canvas_;
  uint32_t seed_;
  int32_t tolerance_;
  std::vector<Segment> stack_;
  DirtyRect box_{INT32_MAX, INT32_MAX, -1, -1};
};

DirtyRect SeedFill::run(int32_t x, int32_t y) {
  push(y, x, x, 1);
  push(y + 1, x, x, -1);
  while (!stack_.empty()) {
    const Segment s = stack_.back();
    stack_.pop_back();
    scan(s);
  }
  return box_;
}

// Widens the run to the left, scans it to the right, and pushes what it finds for the next row
// in its direction and, where it sticks out beyond its parent, for the row it came from.
void SeedFill::scan(const Segment &s) {
  const int32_t y = s.y, w = canvas_.width();
  int32_t x = s.x0;
  for (; x >= 0 && fillable(x, y); --x)
    mark(x, y);
  int32_t left = x + 1;
  if (x < s.x0) {
    if (left < s.x0)
      push(y, left, s.x0 - 1, -s.dy);
    x = s.x0 + 1;
  } else {
    x = skipUnfillable(x, s.x1, y);
    left = x;
    if (x > s.x1)
      return;
  }
  for (;;) {
    for (; x < w && fillable(x, y); ++x)
      mark(x, y);
    push(y, left, x - 1, s.dy);
    if (x > s.x1 + 1)
      push(y, s.x1 + 1, x - 1, -s.dy);
    x = skipUnfillable(x, s.x1, y);
    left = x;
    if (x > s.x1)
      return;
  }
}

} // namespace

int32_t colourDistance2(uint32_t a, uint32_t b) {
  int32_t sum = 0;
  for (int c = 0; c < 32; c += 8) {
    const int32_t d = int32_t((a >> c) & 0xFF) - int32_t((b >> c) & 0xFF);
    sum += d * d;
  }
  return sum;
}

DirtyRect seedFill(PaintCanvas &canvas, int32_t x, int32_t y, int32_t tolerance) {
  if (!canvas.inside(x, y))
    return {};
  return SeedFill(canvas, canvas.colour.at(x, y), tolerance).run(x, y);
}

void FillTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  PaintCanvas &canvas = ctx.canvas;
  const uint32_t solid = ctx.toolbox.paintColour;
  if (!canvas.inside(x, y) ||
      (!imageSourceOn(canvas) && colourDistance2(canvas.colour.at(x, y), solid) < tolerance))
    return;
  const DirtyRect box = seedFill(canvas, x, y, tolerance);
  if (box.empty())
    return;
  const int32_t w = box.x1 - box.x0 + 1, h = box.y1 - box.y0 + 1;
  // Replaced outright: the opacity does not apply.
  for (int32_t py = box.y0; py <= box.y1; ++py)
    for (int32_t px = box.x0; px <= box.x1; ++px)
      if (canvas.dirty[canvas.offset(px, py)])
        canvas.colour.at(px, py) = sourceColour(canvas, px, py, solid) | 0xFF000000u;
  canvas.extendDirtyRect(box.x0, box.y0, w, h);
  ctx.commit();
}
