// The images of the paint work mode (reveal, stamp, pattern) and the brush options popup's
// choices, on a canvas without OpenGL; the file dialog is answered by the recording interface.
#include "image/image_file.h"
#include "paint/tools/brush_options.h"
#include "paint/tools/paint_images.h"
#include "paint/tools/stamp_tools.h"
#include "scene/recording_ui.h"
#include "tests/paint/tool_fixture.h"

#include <cstdio>
#include <string>
#include <unistd.h>

namespace {

class PaintImagesTest : public ToolTest {
protected:
  // A w x h PPM file: red on the left half, blue on the right, its top-left pixel green.
  std::string writeImage(int32_t w, int32_t h) {
    ImageBuffer image(w, h);
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x)
        image.at(x, y) = x < w / 2 ? packRgba(255, 0, 0) : packRgba(0, 0, 255);
    image.at(0, h - 1) = packRgba(0, 255, 0);
    // Each case runs in its own process, possibly beside the others: one file per process.
    const std::string path =
        testing::TempDir() + "paint_images_test_" + std::to_string(getpid()) + ".ppm";
    EXPECT_EQ(saveImage(image, path, kImagePpm, RowOrder::kTopFirst), 1);
    files.push_back(path);
    return path;
  }
  void TearDown() override {
    for (const std::string &path : files)
      std::remove(path.c_str());
  }
  static constexpr int kPpmEntry = 4;
  RecordingUi ui;
  std::string folder = "/images";
  std::vector<std::string> files;
};

TEST_F(PaintImagesTest, RevealImageIsCentredFaintAndTurnsTheModeOn) {
  ASSERT_TRUE(canvas.resize(640, 480));
  ui.queueFile(writeImage(64, 64), 0); // under the TIFF entry: the name says PPM
  ASSERT_TRUE(ImportPaintImage(ctx, ui, folder, kRevealTarget));
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  const UserInterface::FileRequest &request = ui.fileRequests[0];
  EXPECT_EQ(request.title, "Select an image file to load");
  EXPECT_EQ(request.folder, "/images");
  EXPECT_EQ(request.defaultSuffix, "tif");
  EXPECT_EQ(request.filters.size(), 5u);
  EXPECT_TRUE(folder.empty()); // later dialogs start where this one was left

  EXPECT_EQ(canvas.revealX, 288);
  EXPECT_EQ(canvas.revealY, 208);
  EXPECT_EQ(canvas.revealFlags, 3);
  EXPECT_EQ(canvas.revealImage.at(0, 0), packRgba(255, 0, 0, 48));
  EXPECT_EQ(canvas.revealImage.at(63, 63), packRgba(0, 0, 255, 48));
  EXPECT_EQ(canvas.revealImage.at(0, 63), packRgba(0, 255, 0, 48)); // upright, row 0 at the bottom

  EXPECT_FALSE(ToggleReveal(ctx, ui, folder)); // off, the image kept
  EXPECT_EQ(canvas.revealFlags, 0);
  EXPECT_TRUE(ToggleReveal(ctx, ui, folder)); // on again without a dialog
  EXPECT_EQ(ui.fileRequests.size(), 1u);
}

TEST_F(PaintImagesTest, CancelledImportsChangeNothing) {
  EXPECT_FALSE(ToggleReveal(ctx, ui, folder));
  EXPECT_FALSE(TogglePattern(ctx, ui, folder));
  EXPECT_EQ(canvas.revealFlags, 0);
  EXPECT_EQ(canvas.patternOn, 0);
  EXPECT_EQ(ui.fileRequests.size(), 2u);
  EXPECT_TRUE(folder.empty()); // shown once: later dialogs start where the user left them
  EXPECT_FALSE(ImportPaintImage(ctx, ui, folder, kProjectionTarget)); // not one of the three
}

TEST_F(PaintImagesTest, StampTakesTheImageOrTheKnifeCapturesInstead) {
  ui.queueFile(writeImage(24, 10), kPpmEntry);
  ASSERT_TRUE(ImportPaintImage(ctx, ui, folder, kStampTarget));
  EXPECT_EQ(toolbox.currentIndex(), kStampTool);
  EXPECT_EQ(toolbox.current().width(), 24);
  EXPECT_EQ(toolbox.current().height(), 10);

  ui.queueFile(testing::TempDir() + "no_such_image.png", 2);
  ASSERT_TRUE(ImportPaintImage(ctx, ui, folder, kStampTarget));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].find("no_such_image.png"), std::string::npos);
  EXPECT_EQ(toolbox.currentIndex(), kKnifeTool);
  EXPECT_EQ(toolbox.stamp().image().width(), 24); // the old stamp stays
}

TEST_F(PaintImagesTest, PatternIsFaintAndRulesOutTheEraser) {
  ui.queueFile(writeImage(8, 8), kPpmEntry);
  EXPECT_TRUE(TogglePattern(ctx, ui, folder));
  EXPECT_EQ(canvas.patternOn, 1);
  EXPECT_EQ(alphaOf(canvas.patternImage.at(0, 0)), 48);
  EXPECT_FALSE(toolbox.SelectTool(ctx, kEraserTool));
  EXPECT_FALSE(TogglePattern(ctx, ui, folder));
  EXPECT_TRUE(toolbox.SelectTool(ctx, kEraserTool));
}

TEST(BrushOptions, EachToolOffersItsSubmenus) {
  const auto titles = [](int32_t tool) {
    std::string out;
    for (const BrushOptionMenu *menu : brushOptionMenus(tool))
      out += std::string(menu->title) + " ";
    return out;
  };
  EXPECT_EQ(titles(kPaintbrushTool), "Size Softness Opacity ");
  EXPECT_EQ(titles(kLineTool), "Size Softness Opacity ");
  EXPECT_EQ(titles(kAirbrushTool), "Size Opacity ");
  EXPECT_EQ(titles(kEraserTool), "Size ");
  EXPECT_EQ(titles(kEllipseTool), "Opacity ");
  for (int32_t tool : {kKnifeTool, kFillTool, kColorPickerTool, kHandTool, kFaceSelectionTool})
    EXPECT_EQ(titles(tool), "") << tool;
}

TEST_F(ToolTest, BrushChoicesSetTheToolAndCarryTheCheckMark) {
  const auto choice = [](int32_t tool, size_t menu, const char *label) {
    const BrushOptionMenu &options = *brushOptionMenus(tool)[menu];
    for (const BrushChoice &c : options.choices)
      if (std::string(c.label) == label)
        return std::make_pair(options.option, c);
    ADD_FAILURE() << label;
    return std::make_pair(options.option, options.choices[0]);
  };
  const auto [size, huge] = choice(kPencilTool, 0, "Huge");
  chooseBrushOption(ctx, kPencilTool, size, huge);
  EXPECT_EQ(toolbox.tool(kPencilTool).width(), 32); // the pencil takes half
  const auto [opacity, transparent] = choice(kAirbrushTool, 1, "Transparent");
  chooseBrushOption(ctx, kAirbrushTool, opacity, transparent);
  EXPECT_EQ(toolbox.tool(kAirbrushTool).opacity(), 62); // the airbrush halves it
  const auto [softness, soft] = choice(kPaintbrushTool, 1, "Soft");
  const auto [softness2, medium] = choice(kPaintbrushTool, 1, "Medium");
  PaintTool &brush = toolbox.tool(kPaintbrushTool);
  EXPECT_TRUE(brushChoiceChecked(brush, softness2, medium));
  chooseBrushOption(ctx, kPaintbrushTool, softness, soft);
  EXPECT_EQ(brush.hardness(), 0.0f);
  EXPECT_TRUE(brushChoiceChecked(brush, softness, soft));
  EXPECT_FALSE(brushChoiceChecked(brush, softness2, medium));
}

} // namespace
