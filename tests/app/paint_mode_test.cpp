// The Paint work mode on the real windows: the switch both ways, painting with the mouse in the
// paint window, and the Paint menu's commands, with a recording user interface answering.
#include "app/model_window.h"
#include "app/paint_window.h"
#include "app/top_shell.h"
#include "app/work_modes.h"
#include "image/image_file.h"
#include "scene/recording_ui.h"

#include <QApplication>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>

namespace {

class PaintModeTest : public testing::Test {
protected:
  void SetUp() override {
    shell = std::make_unique<TopShell>(&ui);
    shell->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
  }
  void addCube() {
    shell->runCommand(9733);
    ASSERT_EQ(shell->scene().objects.objectCount(), 1);
  }
  PaintWindow *paint() { return shell->paintWindow(); }
  std::vector<uint32_t> cubeTexels() {
    const ImageBuffer &image = shell->scene().object(0)->paintLayer->image;
    return {image.pixels(), image.pixels() + image.pixelCount()};
  }
  // A mouse event as the window system delivers it to the paint window.
  void mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, at, paint()->mapToGlobal(at), button, held, Qt::NoModifier);
    QApplication::sendEvent(paint(), &event);
  }
  // A paintbrush stroke across the middle of the window.
  void drag() {
    const QPoint centre = paint()->rect().center();
    mouse(QEvent::MouseButtonPress, centre - QPoint(30, 0), Qt::LeftButton, Qt::LeftButton);
    for (int dx = -25; dx <= 30; dx += 5)
      mouse(QEvent::MouseMove, centre + QPoint(dx, 0), Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, centre + QPoint(30, 0), Qt::LeftButton, Qt::NoButton);
  }
  bool firstMenuIs(const char *entry) {
    QMenu *file = shell->menuBar()->actions().constFirst()->menu();
    return file && file->actions().constFirst()->text() == QString::fromLatin1(entry);
  }

  RecordingUi ui;
  std::unique_ptr<TopShell> shell;
};

TEST_F(PaintModeTest, EmptySceneIsRefusedAndTheModelMenusStay) {
  shell->runCommand(8202);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0], "You must have objects in your scene to enter Paint");
  EXPECT_FALSE(shell->workModes().inPaint());
  EXPECT_TRUE(firstMenuIs("New"));
  EXPECT_TRUE(shell->modelWindow()->isVisible());
}

TEST_F(PaintModeTest, RecordingRefusesPaintWithoutAMessage) {
  const std::string script = testing::TempDir() + "paint_mode_test.mvs";
  ASSERT_TRUE(shell->commands().beginRecording(script)); // starts from an empty scene
  addCube();
  const size_t messages = ui.messages.size();
  shell->runCommand(8202);
  EXPECT_FALSE(shell->workModes().inPaint());
  EXPECT_EQ(ui.messages.size(), messages);
  shell->commands().endRecording();
  std::remove(script.c_str());
}

TEST_F(PaintModeTest, SwitchingCarriesTheProjectionOverAndBack) {
  addCube();
  ASSERT_EQ(shell->scene().object(0)->paintLayer, nullptr);
  shell->runCommand(8202);
  ASSERT_TRUE(shell->workModes().inPaint());
  EXPECT_TRUE(firstMenuIs("Save\tCtrl+s"));
  EXPECT_EQ(shell->menuBar(), shell->paintMenuBar());
  EXPECT_TRUE(paint()->isVisible());
  EXPECT_FALSE(shell->modelWindow()->isVisible());
  EXPECT_EQ(shell->commands().view().camera.perspective, 0);
  ToolboxWindow *toolbox = shell->workModes().toolbox();
  EXPECT_TRUE(toolbox->isVisible());
  EXPECT_EQ(toolbox->windowTitle(), "Toolbox");
  EXPECT_EQ(toolbox->size(), QSize(80, 564));
  EXPECT_NE(shell->scene().object(0)->paintLayer, nullptr); // prepared for painting
  PaintWindowInput &input = paint()->input();
  EXPECT_EQ(input.toolbox.currentIndex(), kPaintbrushTool);
  EXPECT_EQ(input.toolColour(), 0xFF000000u);
  EXPECT_EQ(ui.status, paintToolInfo(kPaintbrushTool).prompt);

  shell->runCommand(8201);
  EXPECT_FALSE(shell->workModes().inPaint());
  EXPECT_EQ(ui.status, ""); // the paint tool's prompt goes with the paint window
  EXPECT_TRUE(firstMenuIs("New"));
  EXPECT_EQ(shell->commands().view().camera.perspective, 1);
  EXPECT_TRUE(shell->modelWindow()->isVisible());
  EXPECT_FALSE(toolbox->isVisible());

  // An orthographic model view stays orthographic.
  shell->runCommand(8972);
  shell->runCommand(8202);
  shell->runCommand(8201);
  EXPECT_EQ(shell->commands().view().camera.perspective, 0);
}

TEST_F(PaintModeTest, FirstEntryPlacesTheToolboxLaterEntriesKeepTheToolAndItsPlace) {
  addCube();
  shell->runCommand(8202);
  ToolboxWindow *toolbox = shell->workModes().toolbox();
  const QPoint origin = shell->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(toolbox->pos(), QPoint(std::max(0, origin.x() - 86), std::max(0, origin.y() - 44)));
  paint()->withContext([](PaintWindowInput &in) { return in.selectTool(kLightenTool); });
  EXPECT_EQ(ui.status, paintToolInfo(kLightenTool).prompt);
  toolbox->move(toolbox->pos() + QPoint(30, 30));
  const QPoint moved = toolbox->pos();
  shell->runCommand(8201);
  shell->runCommand(8202);
  EXPECT_EQ(toolbox->pos(), moved);
  EXPECT_EQ(paint()->input().toolbox.currentIndex(), kLightenTool);
  // Entering shows the shadow brush's prompt for the lighten brush.
  EXPECT_EQ(ui.status, paintToolInfo(kShadowTool).prompt);
}

TEST_F(PaintModeTest, DragPaintsTheCubeAndTheMenuUndoesAndRedoesIt) {
  addCube();
  shell->runCommand(8202);
  ASSERT_TRUE(shell->workModes().inPaint());
  const std::vector<uint32_t> blank = cubeTexels();
  drag();
  const std::vector<uint32_t> painted = cubeTexels();
  ASSERT_NE(painted, blank);
  EXPECT_NE(std::count(painted.begin(), painted.end(), 0xFF000000u), 0); // black paint arrived

  shell->runCommand(12315); // Edit/Undo
  EXPECT_EQ(cubeTexels(), blank);
  shell->runCommand(12316); // Edit/Redo
  EXPECT_EQ(cubeTexels(), painted);
  shell->runCommand(8705); // Ctrl+Z undoes the paint too
  EXPECT_EQ(cubeTexels(), blank);
  EXPECT_EQ(shell->scene().objects.objectCount(), 1);
  // The same timeline in the model work mode: Redo there brings the stroke back.
  shell->runCommand(8201);
  shell->runCommand(8707);
  EXPECT_EQ(ui.status, "Redo: paint stroke");
  EXPECT_EQ(cubeTexels(), painted);
}

TEST_F(PaintModeTest, PaintAllAndDeleteEraseThePaintOnlyOnYes) {
  addCube();
  shell->runCommand(8202);
  drag();
  const std::vector<uint32_t> painted = cubeTexels();
  shell->runCommand(13568); // Paint All, answered No
  shell->runCommand(8706);  // Delete, answered No
  ASSERT_EQ(ui.questions.size(), 2u);
  EXPECT_EQ(ui.questions[0], "This will erase the paint on all object(s). Continue?");
  EXPECT_EQ(ui.questions[1], ui.questions[0]);
  EXPECT_EQ(cubeTexels(), painted);
  ui.queueAnswer(true);
  shell->runCommand(8710); // Delete all: the paint, not the objects
  EXPECT_EQ(shell->scene().objects.objectCount(), 1);
  const std::vector<uint32_t> erased = cubeTexels();
  EXPECT_EQ(std::count(erased.begin(), erased.end(), 0xFF000000u), int64_t(erased.size()));
}

TEST_F(PaintModeTest, MiddleClickMovesTheCameraAndALeftClickPaintsAgain) {
  addCube();
  shell->runCommand(8202);
  PaintWindowInput &input = paint()->input();
  const QPoint centre = paint()->rect().center();
  mouse(QEvent::MouseButtonPress, centre, Qt::MiddleButton, Qt::MiddleButton);
  mouse(QEvent::MouseButtonRelease, centre, Qt::MiddleButton, Qt::NoButton);
  ASSERT_TRUE(input.inCamera());
  const float azimuth = shell->commands().view().camera.azimuth;
  for (int dx : {10, 30}) // the first move only tells the camera where the pointer is
    mouse(QEvent::MouseMove, centre + QPoint(dx, 0), Qt::NoButton, Qt::NoButton);
  EXPECT_NE(shell->commands().view().camera.azimuth, azimuth);
  mouse(QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(input.inCamera());
  EXPECT_EQ(shell->commands().view().camera.perspective, 0);
  const std::vector<uint32_t> before = cubeTexels();
  drag();
  EXPECT_NE(cubeTexels(), before); // the canvas follows the new view
}

TEST_F(PaintModeTest, PlanarProjectionCommandLaysTheImageOverTheCube) {
  addCube();
  shell->runCommand(8202);
  ImageBuffer image(8, 8);
  std::fill_n(image.pixels(), image.pixelCount(), packRgba(0, 200, 0));
  const std::string path = testing::TempDir() + "paint_mode_test.ppm";
  ASSERT_EQ(saveImage(image, path, kImagePpm, RowOrder::kTopFirst), 1);
  ui.queueFile(path, 4);
  shell->runCommand(13569);
  std::remove(path.c_str());
  const PaintLayer &layer = *shell->scene().object(0)->paintLayer;
  ASSERT_EQ(layer.kind(), PaintLayer::kPerVertex);
  EXPECT_EQ(layer.image.at(100, 100), packRgba(0, 200, 0));
}

TEST_F(PaintModeTest, ModelingCommandsAreIgnoredInPaint) {
  addCube();
  shell->runCommand(8202);
  shell->runCommand(9733); // Add cube
  shell->runCommand(8962); // Ground plane
  EXPECT_EQ(shell->scene().objects.objectCount(), 1);
  EXPECT_EQ(shell->commands().view().groundAndAxes & View::kGroundGrid, View::kGroundGrid);
}

} // namespace
