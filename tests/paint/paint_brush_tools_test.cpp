#include "paint/tools/brush_tools.h"
#include "paint/tools/clone_tool.h"
#include "tests/paint/tool_fixture.h"

#include <cmath>

namespace {

TEST(BrushMask, CoreRimAndOutside) {
  DabBuffers dab;
  dab.fit(32, 32);
  buildBrushMask(dab, 0.5f, 200);
  const auto m = [&](int32_t j, int32_t i) { return int(dab.mask[size_t(i) * 32 + size_t(j)]); };
  EXPECT_EQ(m(16, 16), 200); // inside the core (radius 8)
  EXPECT_EQ(m(0, 0), 0);     // the corner lies outside the circle
  // Column 28 of the middle row lies between the core and the rim.
  const double g = 1 / (16 - 8 + 0.1), r = std::sqrt(12.5 * 12.5 + 0.25);
  const int expected = int(std::trunc((std::cos((r - 8) * g * M_PI) + 1.2) * 200 * 0.454545));
  EXPECT_EQ(m(28, 16), expected);
  EXPECT_GT(m(31, 16), 0); // the rim keeps about 9 % of the opacity
  EXPECT_LT(m(31, 16), 200 / 8);
}

TEST_F(ToolTest, CoverageCapsOneStrokeAtItsOpacityAndTheNextStrokeAddsAgain) {
  PaintTool &brush = use(kPaintbrushTool);
  brush.setHardness(ctx, 1.0f);
  brush.setOpacity(ctx, 125);
  const std::vector<std::pair<int32_t, int32_t>> there_and_back = {{40, 50}, {80, 50}, {40, 50}};
  stroke(there_and_back);
  EXPECT_EQ(at(60, 50), packRgba(130, 130, 130)); // 125/255 of the way to black, once
  EXPECT_EQ(alphaOf(at(60, 50)), 255);            // the release resets coverage
  stroke(there_and_back);
  EXPECT_EQ(at(60, 50), packRgba(66, 66, 66)); // 130 x 130 / 255
}

TEST_F(ToolTest, AirbrushBuildsUpWithEveryDabButNotWhileHeldStill) {
  use(kAirbrushTool);
  PaintTool &air = toolbox.current();
  air.press(ctx, 80, 50);
  const uint32_t afterPress = at(80, 50);
  EXPECT_LT(redOf(afterPress), 255);
  air.drag(ctx, 80, 50); // no movement, no dab
  EXPECT_EQ(at(80, 50), afterPress);
  air.drag(ctx, 92, 50);
  air.drag(ctx, 80, 50);
  EXPECT_LT(redOf(at(80, 50)), redOf(afterPress)); // no coverage limit
  air.release(ctx, 80, 50);
}

TEST_F(ToolTest, BrushSpacingWaitsForTheSpacingThenDabsEveryFourPixels) {
  PaintTool &brush = use(kPaintbrushTool); // 32 pixels: spacing 5
  brush.press(ctx, 50, 50);
  brush.drag(ctx, 54, 50); // 4 pixels away: nothing yet
  EXPECT_EQ(feedback.dabs.size(), 1u);
  brush.drag(ctx, 55, 50);
  brush.drag(ctx, 71, 50);
  brush.release(ctx, 71, 50);
  std::vector<int32_t> xs;
  for (const auto &d : feedback.dabs)
    xs.push_back(d.first);
  EXPECT_EQ(xs, (std::vector<int32_t>{34, 38, 42, 46, 50, 54}));
}

TEST_F(ToolTest, OneDabAtSpacingOneFallsOnEveryPixelTheLastDabIncluded) {
  PaintTool &pencil = use(kPencilTool); // 4 pixels: spacing 1
  pencil.press(ctx, 20, 20);
  pencil.drag(ctx, 23, 20);
  std::vector<int32_t> xs;
  for (const auto &d : feedback.dabs)
    xs.push_back(d.first);
  EXPECT_EQ(xs, (std::vector<int32_t>{18, 18, 19, 20, 21}));
}

// Every brush-like tool, dragged across the canvas edge and over a blocked half, changes only
// paintable pixels and stays inside the buffers (checked under the sanitizers).
TEST_F(ToolTest, NoToolChangesUnpaintablePixels) {
  const int32_t tools[] = {kPaintbrushTool, kPencilTool,  kAirbrushTool, kLightenTool,
                           kShadowTool,     kBlurTool,    kSmearTool,    kLineTool,
                           kRectangleTool,  kEllipseTool, kFillTool,     kEraserTool};
  for (int32_t index : tools) {
    SetUp();
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x)
        canvas.colour.at(x, y) = packRgba(uint8_t(x), uint8_t(y), 90);
    const std::vector<uint32_t> before(canvas.colour.pixels(),
                                       canvas.colour.pixels() + canvas.colour.pixelCount());
    blockLeftOf(80);
    PaintTool &t = use(index);
    t.setColour(ctx, packRgba(250, 10, 10));
    t.setSize(ctx, 64, 64);
    stroke({{100, 60}, {-30, -20}, {170, 110}, {60, 40}, {110, 50}});
    int32_t changed = 0;
    for (int32_t y = 0; y < kH; ++y)
      for (int32_t x = 0; x < kW; ++x) {
        const bool same = at(x, y) == before[canvas.offset(x, y)];
        changed += same ? 0 : 1;
        ASSERT_TRUE(same || x >= 80) << paintToolInfo(index).name << " at " << x << ", " << y;
      }
    EXPECT_GT(changed, 0) << paintToolInfo(index).name;
  }
}

TEST_F(ToolTest, EraserPaintsTheBaseColourAndShadowNearlyTransparentBlack) {
  fillCanvas(packRgba(10, 20, 30));
  use(kEraserTool);
  stroke({{40, 50}});
  EXPECT_EQ(at(40, 50), kWhite);
  use(kShadowTool);
  stroke({{100, 50}});
  EXPECT_EQ(at(100, 50), packRgba(10 * 230 / 255, 20 * 230 / 255, 30 * 230 / 255));
}

TEST_F(ToolTest, ShadowAndAirbrushScaleTheChosenOpacity) {
  toolbox.tool(kShadowTool).setOpacity(ctx, 255);
  toolbox.tool(kAirbrushTool).setOpacity(ctx, 255);
  EXPECT_EQ(toolbox.tool(kShadowTool).opacity(), 25);
  EXPECT_EQ(toolbox.tool(kAirbrushTool).opacity(), 127);
}

TEST_F(ToolTest, CloneOnTheBackgroundSetsNoSourceAndPaintsNothing) {
  blockLeftOf(40);
  use(kCloneTool);
  auto &clone = static_cast<CloneTool &>(toolbox.current());
  stroke({{10, 50}});
  EXPECT_FALSE(clone.hasSource());
  stroke({{100, 50}, {120, 50}});
  EXPECT_EQ(changedPixels(), 0);
  EXPECT_TRUE(clone.hasSource()); // that release was on paint
}

TEST_F(ToolTest, CloneCopiesAroundTheSourceShiftedWithTheBrush) {
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < 60; ++x)
      canvas.colour.at(x, y) = packRgba(uint8_t(x * 4), uint8_t(y), 0);
  PaintTool &clone = use(kCloneTool);
  clone.setHardness(ctx, 1.0f);
  stroke({{15, 50}});             // the source
  stroke({{100, 50}, {105, 52}}); // dabs at the press and 4, 2 further on
  EXPECT_EQ(at(100, 50), at(15, 50));
  EXPECT_EQ(at(119, 52), at(34, 52)); // reached only by the second dab, shifted with it
  use(kPaintbrushTool);
  use(kCloneTool); // choosing it again forgets the source
  EXPECT_FALSE(static_cast<CloneTool &>(toolbox.current()).hasSource());
}

TEST_F(ToolTest, BlurAveragesAnEdgeAndSmearDragsPaintAlong) {
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < 40; ++x)
      canvas.colour.at(x, y) = kBlack;
  use(kBlurTool).setHardness(ctx, 1.0f);
  stroke({{40, 50}});
  EXPECT_EQ(at(39, 50), packRgba(85, 85, 85)); // black, black, white
  EXPECT_EQ(at(40, 50), packRgba(170, 170, 170));
  SetUp();
  for (int32_t y = 0; y < kH; ++y)
    for (int32_t x = 0; x < 40; ++x)
      canvas.colour.at(x, y) = kBlack;
  PaintTool &smear = use(kSmearTool);
  smear.setHardness(ctx, 1.0f);
  smear.press(ctx, 30, 50); // sets the last dab only
  EXPECT_EQ(changedPixels(), 40 * kH);
  smear.drag(ctx, 60, 50); // carries the black under (30, 50) to (60, 50)
  smear.release(ctx, 60, 50);
  EXPECT_LT(redOf(at(60, 50)), 255);
}

} // namespace
