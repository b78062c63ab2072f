#include "paint/paint_undo.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

class PaintUndoRingTest : public testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(ring.reset(10, 10));
    ASSERT_TRUE(canvas.reshape(10, 10));
  }
  // One stroke: the rectangle is saved, then filled with value.
  void stroke(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t value) {
    ASSERT_TRUE(ring.save(canvas, x, y, w, h));
    for (int32_t row = y; row < y + h; ++row)
      for (int32_t col = x; col < x + w; ++col)
        canvas.at(col, row) = value;
    ring.closeStroke({});
  }
  std::vector<uint32_t> pixels() const {
    return {canvas.pixels(), canvas.pixels() + canvas.pixelCount()};
  }

  PaintUndoRing ring;
  ImageBuffer canvas;
};

TEST_F(PaintUndoRingTest, UndoAndRedoWalkStrokesAndTheOldestToggles) {
  EXPECT_EQ(ring.capacity(), 106);
  EXPECT_EQ(ring.undo(canvas), nullptr);
  const auto s0 = pixels();
  stroke(0, 0, 4, 4, 1);
  const auto s1 = pixels();
  stroke(2, 2, 4, 4, 2); // overlaps the first
  const auto s2 = pixels();
  ASSERT_NE(ring.undo(canvas), nullptr);
  EXPECT_EQ(pixels(), s1);
  ASSERT_NE(ring.undo(canvas), nullptr);
  EXPECT_EQ(pixels(), s0);
  ASSERT_NE(ring.undo(canvas), nullptr); // the oldest again: redone
  EXPECT_EQ(pixels(), s1);
  ASSERT_NE(ring.undo(canvas), nullptr);
  EXPECT_EQ(pixels(), s0);
  ASSERT_NE(ring.redo(canvas), nullptr); // redo from the start brings the oldest first
  EXPECT_EQ(pixels(), s1);
  ASSERT_NE(ring.redo(canvas), nullptr);
  EXPECT_EQ(pixels(), s2);
  EXPECT_EQ(ring.redo(canvas), nullptr);
  // A new stroke after an undo forgets the undone one.
  ring.undo(canvas);
  stroke(8, 8, 2, 2, 3);
  EXPECT_EQ(ring.redo(canvas), nullptr);
  EXPECT_EQ(ring.strokeCount(), 2);
}

TEST_F(PaintUndoRingTest, RecordsWrapAroundAndForgetTheOldestStrokes) {
  // Each 5 x 5 record takes 31 ints of the 106: the fourth no longer fits and goes to the start,
  // over the first stroke.
  for (uint32_t k = 1; k <= 4; ++k)
    stroke(0, 0, 5, 5, k);
  EXPECT_EQ(ring.strokeCount(), 3);
  for (uint32_t expect : {3u, 2u, 1u}) {
    ASSERT_NE(ring.undo(canvas), nullptr);
    EXPECT_EQ(canvas.at(0, 0), expect);
  }
  // A whole-canvas record always fits, alone.
  stroke(0, 0, 10, 10, 9);
  EXPECT_EQ(ring.strokeCount(), 1);
  ring.undo(canvas);
  EXPECT_EQ(canvas.at(0, 0), 1u);
  EXPECT_EQ(canvas.at(9, 9), 0u);
}

TEST_F(PaintUndoRingTest, RectanglesAreClippedAndTexelsKeptWithTheirStroke) {
  EXPECT_FALSE(ring.save(canvas, 20, 20, 5, 5));
  EXPECT_FALSE(ring.save(canvas, 3, 3, 0, 4));
  EXPECT_TRUE(ring.save(canvas, -5, -5, 7, 7)); // clipped to 2 x 2
  EXPECT_TRUE(ring.strokeOpen());
  EXPECT_EQ(ring.undo(canvas), nullptr); // an open stroke must be closed first
  ring.closeStroke({{{0, {1, 2, 3, 4}}}, std::vector<uint32_t>(12, 7)});
  PaintStroke *s = ring.undo(canvas);
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->texels.rects.size(), 1u);
  EXPECT_EQ(s->texels.rects[0].rect.width, 3);
  // A commit without canvas records (a fill) is a stroke of its own.
  ring.closeStroke({{{0, {0, 0, 1, 1}}}, {5}});
  EXPECT_EQ(ring.strokeCount(), 1);
  EXPECT_FALSE(PaintUndoRing().reset(0, 10));
}

} // namespace
