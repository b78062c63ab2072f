// Projecting an image onto the objects from the paint view.
#include "paint/projection_paint.h"
#include "tests/paint/paint_fixture.h"
#include "view/projection.h"

namespace {

class ProjectionTest : public PaintTest {
protected:
  void SetUp() override {
    PaintTest::SetUp();
    scene.createPrimitive(PrimitiveType::Cube);
    view.ViewAlong(2);
    view.SetPerspective(false);
    prepare();
  }
  // Red on the left half, blue on the right.
  static ImageBuffer twoColours() {
    ImageBuffer image(64, 32);
    for (int32_t y = 0; y < 32; ++y)
      for (int32_t x = 0; x < 64; ++x)
        image.at(x, y) = x < 32 ? packRgba(255, 0, 0) : packRgba(0, 0, 255);
    return image;
  }
};

TEST_F(ProjectionTest, PlanarFromTheFrontColoursTheFrontFaceAsTheImage) {
  ASSERT_TRUE(ProjectImage(scene, view, canvas, twoColours(), moPLANAR));
  const moObject &cube = *scene.object(0);
  ASSERT_EQ(cube.paintLayer->kind(), PaintLayer::kPerVertex);
  EXPECT_EQ(cube.paintLayer->image.width(), 512); // the size of the layer it replaced
  for (int32_t v = 0; v < cube.vertices.count(); ++v) {
    const moVec3 w = onScreen(cube.vertices[v].Coordinates);
    EXPECT_NEAR(cube.paintLayer->coordinates[size_t(2 * v)], w.x / kWidth, 1e-4) << v;
    EXPECT_NEAR(cube.paintLayer->coordinates[size_t(2 * v + 1)], w.y / kHeight, 1e-4) << v;
  }
  // The refreshed canvas holds the unlit colours of what the view shows.
  int32_t checked = 0;
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) {
      if (!canvas.paintable(x, y) || std::abs(x + 0.5f - kWidth / 2.0f) < 4)
        continue; // texture filtering blends the colours at the seam
      const uint32_t p = canvas.colour.at(x, y);
      const bool left = x < kWidth / 2;
      EXPECT_NEAR(redOf(p), left ? 255 : 0, 8) << x << "," << y;
      EXPECT_NEAR(blueOf(p), left ? 0 : 255, 8) << x << "," << y;
      EXPECT_NEAR(greenOf(p), 0, 8) << x << "," << y;
      ++checked;
    }
  EXPECT_GT(checked, 1000);
}

TEST_F(ProjectionTest, CylindricalWrapsOnlyAcrossAndEachProjectionIsOneStep) {
  ASSERT_TRUE(ProjectImage(scene, view, canvas, twoColours(), moPLANAR));
  const std::vector<float> planar = scene.object(0)->paintLayer->coordinates;
  ASSERT_TRUE(ProjectImage(scene, view, canvas, twoColours(), moCYLINDRICAL));
  EXPECT_EQ(scene.undoStepName(), "Project image");
  ASSERT_TRUE(scene.UndoStep());
  EXPECT_EQ(scene.object(0)->paintLayer->coordinates, planar);
  ASSERT_TRUE(scene.RedoStep());
  const std::vector<float> &wrapped = scene.object(0)->paintLayer->coordinates;
  ASSERT_EQ(wrapped.size(), planar.size());
  int32_t across = 0;
  for (size_t k = 0; k < planar.size(); k += 2) {
    EXPECT_NEAR(wrapped[k + 1], planar[k + 1], 1e-5); // heights as the view shows them
    EXPECT_GE(wrapped[k], 0.0f);                      // the angle around the axis, 0..1
    EXPECT_LE(wrapped[k], 1.0f);
    across += std::abs(wrapped[k] - planar[k]) > 1e-3f ? 1 : 0;
  }
  EXPECT_GT(across, 0);
}

TEST_F(ProjectionTest, EmptyImageOrUnknownKindChangesNothing) {
  const PaintLayer *before = scene.object(0)->paintLayer.get();
  EXPECT_FALSE(ProjectImage(scene, view, canvas, ImageBuffer(), moPLANAR));
  EXPECT_FALSE(ProjectImage(scene, view, canvas, twoColours(), 3));
  EXPECT_EQ(scene.object(0)->paintLayer.get(), before);
}

} // namespace
