#include "paint/tools/face_tools.h"
#include "paint/tools/gl_feedback.h"
#include "paint/tools/tool_registry.h"
#include "tests/paint/paint_fixture.h"

namespace {

class PaintToolsGlTest : public PaintTest {
protected:
  void SetUp() override {
    PaintTest::SetUp();
    scene.createPrimitive(PrimitiveType::Cube);
    prepare();
    toolbox.activateCurrent(ctx);
  }
  std::vector<uint8_t> frame() {
    std::vector<uint8_t> rgba(size_t(kWidth) * kHeight * 4);
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
  }
  // A 64-pixel paintbrush across the window both ways through its centre.
  void crossStroke() {
    PaintTool &brush = toolbox.current();
    brush.setSize(ctx, 64, 64);
    brush.press(ctx, 60, kHeight / 2);
    for (int32_t x = 60; x <= kWidth - 60; x += 8)
      brush.drag(ctx, x, kHeight / 2);
    for (int32_t y = kHeight / 2; y >= 20; y -= 8)
      brush.drag(ctx, kWidth / 2, y);
    for (int32_t y = 20; y <= kHeight - 20; y += 8)
      brush.drag(ctx, kWidth / 2, y);
    brush.release(ctx, kWidth / 2, kHeight - 20);
  }

  PaintToolbox toolbox;
  GlToolFeedback feedback{scene, view, canvas};
  PaintContext ctx{canvas, toolbox, feedback, &scene, &view};
};

// With the mask, strokes leave the selected face's texels alone; with the inverse mask they
// change only those.
TEST_F(PaintToolsGlTest, FaceMaskKeepsItsFacesFromEveryStroke) {
  const int32_t x = kWidth / 2, y = kHeight / 2 + 30;
  const PaintTriangleRef hit = paintTriangleAt(scene, canvas, x, y);
  ASSERT_EQ(hit.slot, 0);
  const moObject &cube = *scene.object(0);
  const int32_t face = cube.triangleFaces[hit.triangle];
  scene.mode = moFACES;
  scene.selection.Append({face, 0});
  for (const bool inverse : {false, true}) {
    ToggleFaceMask(ctx, inverse);
    EXPECT_EQ(canvas.paintable(x, y), inverse);
    const std::vector<uint32_t> before = pixelsOf(cube.paintLayer->image);
    toolbox.current().setColour(ctx, inverse ? packRgba(0, 0, 255) : packRgba(255, 0, 0));
    crossStroke();
    const std::vector<uint32_t> after = pixelsOf(cube.paintLayer->image);
    int32_t changedOnFace = 0, changedElsewhere = 0;
    for (int32_t t = 0; t < paintTriangleCount(cube); ++t) {
      const TexelRect r = cube.paintLayer->texelRect(cube, t);
      for (int32_t ty = r.y; ty < r.y + r.height; ++ty)
        for (int32_t tx = r.x; tx < r.x + r.width; ++tx) {
          const size_t k = size_t(ty) * size_t(cube.paintLayer->image.width()) + size_t(tx);
          (cube.triangleFaces[t] == face ? changedOnFace : changedElsewhere) +=
              before[k] != after[k] ? 1 : 0;
        }
    }
    EXPECT_EQ(changedOnFace > 0, inverse);
    EXPECT_EQ(changedElsewhere > 0, !inverse);
  }
}

TEST_F(PaintToolsGlTest, FeedbackFiguresDrawnTwiceLeaveTheWindowAsItWas) {
  const std::vector<uint8_t> original = frame();
  const int32_t outline[6] = {50, 50, 200, 80, 120, 300};
  const std::function<void()> figures[] = {
      [&] { feedback.xorRect(100, 100, 300, 200); },
      [&] { feedback.xorLine(40, 30, 400, 250, 3); },
      [&] { feedback.xorLine(360, 236, 360, 251, 16); },
      [&] { feedback.xorOutline(outline, 3); },
  };
  for (const auto &draw : figures) {
    draw();
    EXPECT_NE(frame(), original);
    draw();
    EXPECT_EQ(frame(), original);
  }
}

} // namespace
