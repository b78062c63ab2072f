#include "paint/tools/fill_tool.h"
#include "paint/tools/stamp_tools.h"
#include "tests/paint/tool_fixture.h"

#include <deque>
#include <map>
#include <tuple>

namespace {

TEST_F(ToolTest, FillStopsAtStepsOfFortyAndAtTheBorderOfThePaint) {
  for (int32_t y = 0; y < kH; ++y) {
    for (int32_t x = 60; x < 80; ++x)
      canvas.colour.at(x, y) = packRgba(216, 255, 255); // 39 away: inside the tolerance
    for (int32_t x = 100; x < kW; ++x)
      canvas.colour.at(x, y) = packRgba(215, 255, 255); // 40 away: a border
  }
  for (int32_t y = 90; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      canvas.index[canvas.offset(x, y)] = kNoPaintIndex;
  use(kFillTool).setOpacity(ctx, 55); // the opacity does not apply to fills
  stroke({{10, 10}});
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      ASSERT_EQ(at(x, y) == kBlack, x < 100 && y < 90) << x << ", " << y;
  toolbox.current().setColour(ctx, packRgba(30, 0, 0)); // within the tolerance of black
  stroke({{10, 10}});
  EXPECT_EQ(at(10, 10), kBlack);
}

// The scanline fill marks exactly the 4-connected region a plain breadth-first search finds,
// on a maze of scattered walls where runs leak around corners in both directions.
TEST_F(ToolTest, SeedFillMatchesABreadthFirstFloodOnAMaze) {
  uint32_t state = 12345;
  for (int32_t k = 0; k < canvas.colour.pixelCount(); ++k) {
    state = state * 1103515245u + 12345u;
    canvas.colour.pixels()[k] = (state >> 16) % 100 < 42 ? kBlack : kWhite;
  }
  canvas.colour.at(70, 50) = kWhite;
  std::vector<uint8_t> expected(size_t(kW) * kH, 0);
  std::deque<std::pair<int32_t, int32_t>> queue{{70, 50}};
  expected[canvas.offset(70, 50)] = 1;
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    const int32_t next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
    for (const auto &n : next)
      if (canvas.inside(n[0], n[1]) && !expected[canvas.offset(n[0], n[1])] &&
          at(n[0], n[1]) == kWhite) {
        expected[canvas.offset(n[0], n[1])] = 1;
        queue.push_back({n[0], n[1]});
      }
  }
  seedFill(canvas, 70, 50, 1600);
  EXPECT_EQ(canvas.dirty, expected);
  EXPECT_EQ(seedFill(canvas, -1, 5, 1600).empty(), true);
}

TEST_F(ToolTest, RectangleFadesInOverThreePixelsAtEachSide) {
  use(kRectangleTool);
  stroke({{20, 20}, {60, 50}});
  const struct {
    int32_t x, y;
    uint8_t value;
  } cases[] = {{20, 35, 191}, {21, 35, 127}, {22, 35, 63},  {23, 35, 0},
               {59, 35, 191}, {60, 35, 255}, {30, 20, 191}, {30, 49, 191},
               {30, 22, 63},  {20, 20, 191}, {21, 20, 127}, {40, 19, 255}};
  for (const auto &c : cases)
    EXPECT_EQ(at(c.x, c.y), packRgba(c.value, c.value, c.value)) << c.x << ", " << c.y;
  fillCanvas(kWhite);
  stroke({{20, 20}, {20, 50}}); // no width: nothing
  EXPECT_EQ(changedPixels(), 0);
}

TEST_F(ToolTest, EllipseFillsInsideAndFadesAtTheRim) {
  use(kEllipseTool);
  stroke({{20, 20}, {60, 60}});
  EXPECT_EQ(at(40, 40), kBlack);
  EXPECT_EQ(at(20, 40), packRgba(153, 153, 153)); // q = 1: weight 0.4
  EXPECT_EQ(at(21, 21), kWhite);                  // outside the ellipse
}

TEST_F(ToolTest, LineDabsFallOnEverySecondPixelFromThePressPoint) {
  use(kLineTool); // width 16, spacing 2
  stroke({{30, 50}, {41, 50}});
  EXPECT_EQ(at(21, 50), kWhite);
  EXPECT_NE(at(22, 50), kWhite); // the first dab, centred on the press point
  EXPECT_NE(at(47, 50), kWhite); // the last dab on 40; 41 gets none
  EXPECT_EQ(at(48, 50), kWhite);
  toolbox.current().setSize(ctx, 16, 16); // the size item "Small" gives an 8-pixel line
  EXPECT_EQ(toolbox.current().width(), 8);
}

TEST_F(ToolTest, PolygonClosesNearItsLastCornerAndFillsPixelCentresInside) {
  PaintTool &polygon = use(kPolygonTool);
  for (const auto &p :
       std::vector<std::pair<int32_t, int32_t>>{{10, 10}, {50, 10}, {50, 40}, {10, 40}, {13, 44}})
    polygon.press(ctx, p.first, p.second);
  EXPECT_EQ(changedPixels(), 40 * 30);
  EXPECT_EQ(at(10, 10), kBlack);
  EXPECT_EQ(at(49, 39), kBlack);
}

TEST_F(ToolTest, KnifeCapturesARegionThatTheStampThenPrints) {
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      canvas.colour.at(x, y) = packRgba(uint8_t(x), uint8_t(y), 7);
  use(kStampTool); // no image yet: the knife
  EXPECT_EQ(toolbox.currentIndex(), kKnifeTool);
  stroke({{10, 10}, {30, 20}});
  EXPECT_EQ(toolbox.currentIndex(), kStampTool);
  EXPECT_EQ(toolbox.current().width(), 20);
  EXPECT_EQ(toolbox.current().height(), 10);
  stroke({{100, 50}}); // lower-left corner at (90, 45)
  EXPECT_EQ(at(90, 45), packRgba(10, 10, 7));
  EXPECT_EQ(at(109, 54), packRgba(29, 19, 7));
  EXPECT_EQ(at(110, 54), packRgba(110, 54, 7));
}

TEST_F(ToolTest, PickerTakesTheCanvasColourClampedToTheCanvas) {
  canvas.colour.at(kW - 1, 0) = packRgba(1, 2, 3);
  use(kColorPickerTool);
  stroke({{kW + 40, -9}});
  EXPECT_EQ(toolbox.paintColour, packRgba(1, 2, 3));
}

TEST_F(ToolTest, RevealPaintsTheImageOnlyWhereItLies) {
  canvas.revealImage = ImageBuffer(20, 20);
  std::fill_n(canvas.revealImage.pixels(), 400, packRgba(255, 0, 0, 48));
  canvas.revealFlags = 1 | 2;
  canvas.revealX = canvas.revealY = 40;
  EXPECT_FALSE(toolbox.SelectTool(ctx, kEraserTool)); // ruled out while revealing
  use(kPaintbrushTool).setHardness(ctx, 1.0f);
  stroke({{20, 50}, {90, 50}});
  EXPECT_EQ(at(50, 50), packRgba(255, 0, 0));
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < kW; ++x)
      ASSERT_TRUE(at(x, y) == kWhite || (x >= 40 && x < 60 && y >= 40 && y < 60)) << x << ", " << y;
}

TEST_F(ToolTest, HandKeepsOneImagePixelOnTheCanvas) {
  canvas.revealImage = ImageBuffer(64, 64);
  canvas.revealFlags = 1 | 2;
  PaintTool &hand = use(kHandTool);
  hand.press(ctx, 50, 50);
  hand.drag(ctx, -5000, 50);
  EXPECT_EQ(canvas.revealX, 1 - 64);
  hand.drag(ctx, 5000, 5000);
  EXPECT_EQ(canvas.revealX, kW - 1);
  EXPECT_EQ(canvas.revealY, kH - 1);
  hand.release(ctx, 5000, 5000);
  canvas.revealFlags = 0;
  EXPECT_FALSE(toolbox.SelectTool(ctx, kPaintbrushTool) && toolbox.SelectTool(ctx, kHandTool));
}

// Exclusive-or figures toggle pixels, so each must be drawn an even number of times once a tool
// has finished and been put down: anything else leaves a stray figure on the screen.
struct XorLedger : ToolFeedback {
  std::map<std::tuple<int, int32_t, int32_t, int32_t, int32_t, int32_t>, int> toggles;
  void xorRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1) override {
    ++toggles[{0, x0, y0, x1, y1, 0}];
  }
  void xorLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t w) override {
    ++toggles[{1, x0, y0, x1, y1, w}];
  }
  void xorOutline(const int32_t *xy, int32_t n) override {
    ++toggles[{2, xy[0], xy[1], xy[2 * n - 2], xy[2 * n - 1], n}];
  }
  bool clean() const {
    for (const auto &t : toggles)
      if (t.second % 2)
        return false;
    return true;
  }
};

TEST_F(ToolTest, EveryExclusiveOrFigureIsErasedWhenItsToolIsDone) {
  XorLedger ledger;
  PaintContext xorCtx{canvas, toolbox, ledger};
  const auto session = [&](int32_t index, const std::vector<std::pair<int32_t, int32_t>> &moves,
                           const std::vector<std::pair<int32_t, int32_t>> &presses) {
    ASSERT_TRUE(toolbox.SelectTool(xorCtx, index));
    PaintTool &t = toolbox.current();
    for (const auto &p : presses) {
      for (const auto &m : moves)
        t.hover(xorCtx, m.first, m.second);
      t.press(xorCtx, p.first, p.second);
      for (const auto &m : moves)
        t.drag(xorCtx, m.first, m.second);
      t.release(xorCtx, moves.back().first, moves.back().second);
    }
    ASSERT_TRUE(toolbox.SelectTool(xorCtx, kPencilTool));
    EXPECT_TRUE(ledger.clean()) << paintToolInfo(index).name;
  };
  const std::vector<std::pair<int32_t, int32_t>> moves = {{30, 30}, {70, 40}, {90, 80}};
  session(kLineTool, moves, {{10, 10}});
  session(kRectangleTool, moves, {{10, 10}});
  session(kEllipseTool, moves, {{10, 10}});
  session(kCloneTool, moves, {{50, 50}, {60, 60}});
  session(kPolygonTool, {{40, 40}}, {{10, 10}, {80, 15}, {60, 70}});
  session(kKnifeTool, moves, {{10, 10}}); // leaves the stamp current
  session(kStampTool, moves, {{20, 20}});
}

} // namespace
