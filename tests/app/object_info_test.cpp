// The "Object Info" window: showing and hiding, the row controls through the script command
// layer (recorded and replayed), scrolling and the texture sizes.
#include "../script/script_fixture.h"
#include "app/main_tool_bar.h"
#include "app/object_info_window.h"
#include "layers/paint_layers.h"
#include "tool_windows_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

class ObjectInfoTest : public ToolWindowsTest {
protected:
  ObjectInfoWindow *info() { return shell->objectInfo(); }
  void settle() { QTest::qWait(20); } // the refresh that follows a scene change
};

TEST_F(ObjectInfoTest, ShowsOnlyWithObjectsAndHidesWhenTheLastGoes) {
  shell->runCommand(10240);
  EXPECT_FALSE(info()->isVisible()); // no object: ignored
  addCubes(2);
  shell->runCommand(10240);
  ASSERT_TRUE(info()->isVisible());
  EXPECT_EQ(info()->windowTitle(), "Object Info");
  EXPECT_EQ(info()->filledRows(), 2);
  EXPECT_EQ(info()->nameField(1)->text(), "cube1");
  EXPECT_EQ(info()->sizeList(0)->count(), 1);
  EXPECT_EQ(info()->sizeList(0)->itemText(0), "No Texture");
  for (int row = 0; row < 2; ++row) {
    const std::pair<QWidget *, const char *> controls[] = {
        {info()->visibilityButton(row), "Toggle Object Visibility"},
        {info()->sensitivityButton(row), "Toggle Object Sensitivity"},
        {info()->nameField(row), "Set the Object's Name"},
        {info()->sizeList(row), "Change Object Texture size"}};
    for (const auto &[control, text] : controls) {
      restOn(control);
      EXPECT_EQ(ui.status, text);
    }
  }
  shell->commands().execute(34); // delete all, as a script would
  settle();
  EXPECT_FALSE(info()->isVisible());
  addCubes(1);
  settle();
  EXPECT_FALSE(info()->isVisible()); // shown again only by the command
  shell->runCommand(10240);
  EXPECT_TRUE(info()->isVisible());
  shell->runCommand(10240);
  EXPECT_FALSE(info()->isVisible());
}

TEST_F(ObjectInfoTest, RowChangesAreRecordedAndReplay) {
  QTemporaryDir dir;
  const std::string script = dir.filePath("rows.mvs").toStdString();
  ASSERT_TRUE(shell->commands().beginRecording(script));
  addCubes(2);
  shell->runCommand(10240);
  QTest::mouseClick(info()->visibilityButton(0), Qt::LeftButton);
  QTest::mouseClick(info()->sensitivityButton(1), Qt::LeftButton);
  QTest::mouseClick(shell->mainToolBar()->palette(), Qt::LeftButton, {}, QPoint(0, 11));
  QLineEdit *name = info()->nameField(1);
  name->setFocus();
  name->selectAll();
  QTest::keyClicks(name, "wheel");
  QTest::keyClick(name, Qt::Key_Return);
  info()->nameField(0)->clear(); // an empty name is a name too
  emit info()->nameField(0)->editingFinished();
  shell->commands().endRecording();

  const Scene &live = shell->scene();
  EXPECT_EQ(live.object(0)->visible, 0);
  EXPECT_EQ(live.object(1)->sensitive, 0);
  EXPECT_EQ(live.object(1)->name, "wheel");
  EXPECT_EQ(live.object(0)->name, "");

  RecordingUi replayUi;
  Scene scene(replayUi);
  View view;
  TestHost host;
  CommandLayer layer(scene, view, replayUi, host);
  ScriptPlayer player(layer);
  ASSERT_TRUE(player.Load(script));
  while (player.Step() == ScriptPlayer::StepResult::Stepped) {
  }
  ASSERT_EQ(scene.objects.objectCount(), 2);
  for (int32_t slot = 0; slot < 2; ++slot) {
    EXPECT_EQ(scene.object(slot)->visible, live.object(slot)->visible);
    EXPECT_EQ(scene.object(slot)->sensitive, live.object(slot)->sensitive);
    EXPECT_EQ(scene.object(slot)->name, live.object(slot)->name);
  }
  EXPECT_EQ(scene.GetCurrentColour(), (moColor{255, 0, 0, 255}));
  EXPECT_EQ(host.messages.back(), "Finished\r\n");
}

TEST_F(ObjectInfoTest, ScrollingStopsWithTheLastObjectOnTheLastRow) {
  addCubes(25);
  shell->runCommand(10240);
  EXPECT_EQ(info()->filledRows(), ObjectInfoWindow::kShownRows);
  EXPECT_EQ(info()->height(), 470); // rows beyond the client area are cut off
  for (int i = 0; i < 10; ++i)
    info()->scrollLines(1);
  EXPECT_EQ(info()->firstShown(), 5);
  EXPECT_EQ(info()->rowSlot(0), 5); // the sixth object
  EXPECT_EQ(info()->filledRows(), 20);
  EXPECT_EQ(info()->height(), 22 * 20 + 6);
  info()->scrollLines(-1);
  EXPECT_EQ(info()->rowSlot(0), 4);
  for (int i = 0; i < 10; ++i)
    info()->scrollLines(-1);
  EXPECT_EQ(info()->firstShown(), 0);
}

TEST_F(ObjectInfoTest, TextureSizeChoiceResizesThePaintSurface) {
  addCubes(2);
  moObject *cube = shell->scene().object(1);
  cube->paintLayer = makePaintLayer(PaintLayer::kAtlas, 64, 64, 12);
  ASSERT_NE(cube->paintLayer, nullptr);
  shell->runCommand(10240);
  QComboBox *list = info()->sizeList(1);
  ASSERT_EQ(list->count(), 12);
  EXPECT_EQ(list->itemText(0), "64x64");
  EXPECT_EQ(list->itemText(2), "32x64");
  EXPECT_EQ(list->itemText(11), "1024x1024");
  emit list->activated(0); // the current size: nothing
  EXPECT_EQ(cube->paintLayer->image.width(), 64);
  emit list->activated(2);
  EXPECT_EQ(cube->paintLayer->image.width(), 64);
  EXPECT_EQ(cube->paintLayer->image.height(), 32);
  settle();
  EXPECT_EQ(list->itemText(0), "32x64");
  emit info()->sizeList(0)->activated(0); // "No Texture" changes nothing
  EXPECT_EQ(shell->scene().object(0)->paintLayer, nullptr);
}

} // namespace
