// Painting with symmetry on a sphere seen from the front: a stroke on the right half repeats on
// the left, in the same step of the history.
#include "paint_fixture.h"

#include "layers/texel_layer.h"

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

// A fill of the cube's +x face, the only face the view shows, fills the -x face behind it too,
// and no other.
using MirroredFillTest = PaintTest;

TEST_F(MirroredFillTest, AFillOfOneFaceFillsItsMirrorFaceOutOfView) {
  scene.createPrimitive(PrimitiveType::Cube);
  view.ViewAlong(0); // +X faces the eye
  prepare();
  const moObject &cube = *scene.object(0);
  const auto faceFacing = [&](float x) {
    for (int32_t f = 0; f < cube.faces.count(); ++f)
      if (cube.faceNormal(f, true).x * x > 0.99f)
        return f;
    return -1;
  };
  const int32_t front = faceFacing(1), back = faceFacing(-1);
  ASSERT_GE(front, 0);
  ASSERT_GE(back, 0);
  scene.symmetry.toggle(0);
  int32_t filled = 0;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x)
      if (canvas.paintable(x, y) &&
          cube.triangleFaces[int32_t(canvas.index[canvas.offset(x, y)])] == front)
        filled += canvas.setPixel(x, y, packRgba(255, 0, 0));
  ASSERT_GT(filled, 1000);
  ASSERT_TRUE(CommitStroke(scene, view, canvas));
  // The painted texels of each face's triangles: how many, how many red.
  const auto redTexels = [&](int32_t face, int32_t &all) {
    const auto &layer = static_cast<const TexelLayer &>(*cube.paintLayer);
    std::vector<TexelSample> samples;
    int32_t red = 0;
    all = 0;
    for (int32_t t = 0; t < paintTriangleCount(cube); ++t) {
      if (cube.triangleFaces[t] != face)
        continue;
      layer.texels(cube, t, samples);
      for (const TexelSample &sample : samples) {
        const uint32_t c = layer.image.at(sample.x, sample.y);
        ++all;
        red += redOf(c) > 200 && greenOf(c) < 60;
      }
    }
    return red;
  };
  int32_t all = 0;
  const int32_t red = redTexels(back, all);
  ASSERT_GT(all, 1000);
  EXPECT_GE(red, all * 99 / 100) << red << " of " << all;
  for (int32_t f = 0; f < cube.faces.count(); ++f) {
    if (f != front && f != back) {
      EXPECT_EQ(redTexels(f, all), 0) << "face " << f;
    }
  }
}

} // namespace
