// Painting with symmetry on a sphere seen from the front: a stroke on the right half repeats on
// the left, in the same step of the history.
#include "paint_fixture.h"

#include <gtest/gtest.h>

namespace {

class MirroredPaintTest : public PaintTest {
protected:
  void SetUp() override {
    PaintTest::SetUp();
    scene.createPrimitive(PrimitiveType::Sphere);
    view.ViewAlong(2); // +Z faces the eye, +X to the right
    prepare();
  }
  // Canvas pixels of the object that are red.
  std::vector<uint8_t> redPixels() const {
    std::vector<uint8_t> red(size_t(kWidth) * kHeight, 0);
    for (int32_t y = 0; y < kHeight; ++y)
      for (int32_t x = 0; x < kWidth; ++x) {
        const uint32_t p = canvas.colour.at(x, y);
        red[size_t(y) * kWidth + size_t(x)] = redOf(p) > 200 && greenOf(p) < 60 ? 1 : 0;
      }
    return red;
  }
  // Paints a red disc of radius r at (cx, cy) and commits it.
  void stroke(int32_t cx, int32_t cy, int32_t r) {
    for (int32_t y = cy - r; y <= cy + r; ++y)
      for (int32_t x = cx - r; x <= cx + r; ++x)
        if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r)
          canvas.setPixel(x, y, packRgba(255, 0, 0));
    ASSERT_TRUE(CommitStroke(scene, view, canvas));
  }
};

TEST_F(MirroredPaintTest, AStrokeOnTheRightHalfRepeatsOnTheLeftAsOneStep) {
  const std::vector<uint32_t> blank = pixelsOf(scene.object(0)->paintLayer->image);
  scene.symmetry.toggle(0);
  stroke(kWidth / 2 + 60, kHeight / 2 + 20, 25);
  const std::vector<uint8_t> red = redPixels();
  // The red of the right half, mirrored about the view's centre column, against the left's.
  int32_t right = 0, matched = 0, left = 0;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = kWidth / 2; x < kWidth; ++x) {
      const bool r = red[size_t(y) * kWidth + size_t(x)];
      const bool l = red[size_t(y) * kWidth + size_t(kWidth - 1 - x)];
      right += r;
      left += l;
      matched += r && l;
    }
  ASSERT_GT(right, 1000);
  EXPECT_GE(matched, right * 95 / 100) << right << " " << left;
  EXPECT_GE(matched, left * 95 / 100) << right << " " << left;

  // One step: Undo takes both halves back.
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(pixelsOf(scene.object(0)->paintLayer->image), blank);
}

TEST_F(MirroredPaintTest, WithoutSymmetryTheLeftHalfStaysUnpainted) {
  stroke(kWidth / 2 + 60, kHeight / 2 + 20, 25);
  const std::vector<uint8_t> red = redPixels();
  int32_t left = 0;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth / 2; ++x)
      left += red[size_t(y) * kWidth + size_t(x)];
  EXPECT_EQ(left, 0);
}

} // namespace
