// A canvas of known pixels without OpenGL, for the paint tool tests: every pixel white and
// paintable unless a test says otherwise, the tools of one toolbox, and feedback that records
// where dabs were shown.
#pragma once

#include "paint/tools/tool_registry.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

struct RecordingFeedback : ToolFeedback {
  std::vector<std::pair<int32_t, int32_t>> dabs;
  int32_t xorFigures = 0;
  void showPixels(int32_t x, int32_t y, int32_t, int32_t, const uint32_t *) override {
    dabs.push_back({x, y});
  }
  void xorRect(int32_t, int32_t, int32_t, int32_t) override { ++xorFigures; }
  void xorLine(int32_t, int32_t, int32_t, int32_t, int32_t) override { ++xorFigures; }
};

class ToolTest : public testing::Test {
protected:
  static constexpr int32_t kW = 160, kH = 100;
  static constexpr uint32_t kWhite = 0xFFFFFFFFu, kBlack = 0xFF000000u;

  void SetUp() override {
    ASSERT_TRUE(canvas.resize(kW, kH));
    canvas.triangleTotal = 1;
    std::fill(canvas.index.begin(), canvas.index.end(), 0u);
    fillCanvas(kWhite);
    std::fill(canvas.shade.begin(), canvas.shade.end(), uint8_t(255));
    toolbox.activateCurrent(ctx);
  }
  void fillCanvas(uint32_t rgba) {
    std::fill(canvas.colour.pixels(), canvas.colour.pixels() + canvas.colour.pixelCount(), rgba);
  }
  // Makes the pixels with x below column unpaintable.
  void blockLeftOf(int32_t column) {
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < column; ++x)
        canvas.index[canvas.offset(x, y)] = kNoPaintIndex;
  }
  PaintTool &use(int32_t index) {
    EXPECT_TRUE(toolbox.SelectTool(ctx, index));
    return toolbox.current();
  }
  // Press at the first point, drags through the others, release at the last.
  void stroke(const std::vector<std::pair<int32_t, int32_t>> &points) {
    PaintTool &t = toolbox.current();
    t.press(ctx, points.front().first, points.front().second);
    for (size_t i = 1; i < points.size(); ++i)
      t.drag(ctx, points[i].first, points[i].second);
    t.release(ctx, points.back().first, points.back().second);
  }
  uint32_t at(int32_t x, int32_t y) const { return canvas.colour.at(x, y); }
  int32_t changedPixels(uint32_t from = kWhite) const {
    int32_t n = 0;
    for (int32_t k = 0; k < canvas.colour.pixelCount(); ++k)
      n += canvas.colour.pixels()[k] != from ? 1 : 0;
    return n;
  }

  PaintCanvas canvas;
  PaintToolbox toolbox;
  RecordingFeedback feedback;
  PaintContext ctx{canvas, toolbox, feedback};
};
