// The tutorial window: loading a shipped tutorial puts the program into tutorial mode, Play runs
// it to its end, Done leaves; and the tool windows draw their pictures.
#include "app/button_pictures.h"
#include "app/how_to_window.h"
#include "app/main_tool_bar.h"
#include "app/object_info_window.h"
#include "app/paint_tool_bars.h"
#include "tool_windows_fixture.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolButton>

namespace {

class HowToTest : public ToolWindowsTest {
protected:
  HowToWindow *howTo() { return shell->howTo(); }
  bool menusEnabled() {
    for (QAction *menu : shell->menuBar()->actions())
      if (!menu->isEnabled())
        return false;
    return true;
  }
  // Waits until the message pane shows text, at most a minute.
  bool waitForMessage(const QString &text) {
    QElapsedTimer waited;
    waited.start();
    while (!howTo()->messagePane()->toPlainText().contains(text) && waited.elapsed() < 60000)
      QTest::qWait(20);
    return howTo()->messagePane()->toPlainText().contains(text);
  }
};

TEST_F(HowToTest, CancelledQuestionOrDialogLoadsNothing) {
  addCubes(1);
  ui.queueAnswer(UserInterface::Answer::Cancel);
  shell->runCommand(9484);
  EXPECT_TRUE(ui.fileRequests.empty());
  ui.queueAnswer(UserInterface::Answer::No);
  shell->runCommand(9484); // the dialog is cancelled: no tutorial
  ASSERT_EQ(ui.fileRequests.size(), 1u);
  EXPECT_EQ(ui.fileRequests.back().title, "Select a tutorial script to load");
  EXPECT_EQ(ui.fileRequests.back().filters,
            std::vector<std::string>{"Morvo Tutorial Scripts (*.mvs)"});
  EXPECT_FALSE(howTo()->isVisible());
  EXPECT_TRUE(menusEnabled());
  EXPECT_EQ(shell->scene().objects.objectCount(), 1);
}

TEST_F(HowToTest, ShippedTutorialPlaysToFinishedAndDoneLeavesTutorialMode) {
  ui.queueFile(MORVO_SCRIPTS_DIR "/first_steps.mvs");
  shell->runCommand(9484);
  ASSERT_TRUE(howTo()->isVisible());
  EXPECT_EQ(howTo()->windowTitle(), "Build a first_steps");
  EXPECT_FALSE(menusEnabled());
  EXPECT_FALSE(shell->modelWindow()->isEnabled());
  EXPECT_FALSE(shell->mainToolBar()->isEnabled());
  EXPECT_EQ(howTo()->messagePane()->toPlainText(), "Press the play button to begin.");

  const std::pair<int32_t, const char *> buttons[] = {
      {20480, "Exit tutorial mode"},
      {20481, "Rewind tutorial script"},
      {20482, "Stop playing tutorial script"},
      {20483, "Play tutorial script"},
      {20484, "Step through next tutorial script command"}};
  for (const auto &[command, text] : buttons) {
    restOn(howTo()->button(command));
    EXPECT_EQ(ui.status, text);
  }

  QTest::mouseClick(howTo()->button(20484), Qt::LeftButton); // one step: the first text
  EXPECT_NE(howTo()->messagePane()->toPlainText(), "Press the play button to begin.");
  EXPECT_FALSE(shell->player().playing());
  QTest::mouseClick(howTo()->button(20483), Qt::LeftButton);
  EXPECT_TRUE(waitForMessage("Finished"));
  EXPECT_GT(shell->scene().objects.objectCount(), 0);

  QTest::mouseClick(howTo()->button(20481), Qt::LeftButton); // rewind: the start again
  EXPECT_EQ(howTo()->messagePane()->toPlainText(), "Press the play button to begin.");
  EXPECT_EQ(shell->scene().objects.objectCount(), 0);

  QTest::mouseClick(howTo()->button(20480), Qt::LeftButton);
  EXPECT_FALSE(howTo()->isVisible());
  EXPECT_TRUE(menusEnabled());
  EXPECT_TRUE(shell->modelWindow()->isEnabled());
  EXPECT_TRUE(shell->mainToolBar()->isEnabled());
  EXPECT_FALSE(shell->player().loaded());
}

TEST_F(HowToTest, UnreadableTutorialSaysWhyAndPlayLeavesTutorialMode) {
  ui.queueFile("/nonexistent/lost.mvs");
  shell->runCommand(9484);
  ASSERT_TRUE(howTo()->isVisible());
  EXPECT_TRUE(howTo()->messagePane()->toPlainText().startsWith("Cannot read the script"));
  EXPECT_FALSE(menusEnabled());
  shell->runCommand(20483); // nothing to play: back to work
  EXPECT_FALSE(howTo()->isVisible());
  EXPECT_TRUE(menusEnabled());
}

TEST_F(HowToTest, ClosingTheWindowLeavesTutorialMode) {
  ui.queueFile(MORVO_SCRIPTS_DIR "/scene_display.mvs");
  shell->runCommand(9484);
  ASSERT_TRUE(howTo()->isVisible());
  EXPECT_EQ(howTo()->windowTitle(), "Build a scene_display");
  howTo()->close();
  EXPECT_TRUE(menusEnabled());
  EXPECT_TRUE(shell->modelWindow()->isEnabled());
  EXPECT_FALSE(shell->player().loaded());
}

// Tutorial texts are long lines: the pane wraps them, even a long path, and is wide enough for a
// line of 60 average characters beside its scroll bar; the buttons stay in order, centred.
TEST_F(HowToTest, MessagePaneWrapsLongTextsAndFitsSixtyCharactersALine) {
  ui.queueFile(MORVO_SCRIPTS_DIR "/first_steps.mvs");
  shell->runCommand(9484);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(howTo()));
  shell->commands().host().showScriptMessage(
      "Objects can be renamed in the Object Info window: type the new name into the object's "
      "field and leave it.\nThe scene keeps it in "
      "/home/someone/Models/a_folder_name_much_longer_than_the_pane_is_wide/scene.mvo when saved, "
      "and the next tutorial shows how to select faces of the renamed object and move them.");
  QPlainTextEdit *pane = howTo()->messagePane();
  QApplication::processEvents();
  EXPECT_FALSE(pane->horizontalScrollBar()->isVisible());
  EXPECT_EQ(pane->horizontalScrollBar()->maximum(), 0);
  const int textWidth = pane->viewport()->width() - 2 * int(pane->document()->documentMargin());
  EXPECT_GE(textWidth, 60 * pane->fontMetrics().averageCharWidth());

  int left = 0;
  for (const int32_t command : {20481, 20482, 20483, 20484}) {
    const QRect at = howTo()->button(command)->geometry();
    EXPECT_GE(at.left(), left) << command;
    left = at.right();
  }
  const int middle = howTo()->width() / 2;
  EXPECT_NEAR(howTo()->button(20481)->geometry().left() +
                  howTo()->button(20484)->geometry().right(),
              2 * middle, 2);
  EXPECT_NEAR(howTo()->button(20480)->geometry().center().x(), middle, 1);
  EXPECT_TRUE(howTo()->rect().contains(howTo()->button(20480)->geometry()));
}

TEST_F(HowToTest, EveryShippedTutorialPlaysToTheEnd) {
  for (const char *name : {"first_steps", "scene_display", "selecting_faces"}) {
    ui.queueFile(std::string(MORVO_SCRIPTS_DIR "/") + name + ".mvs");
    shell->runCommand(9484);
    shell->runCommand(20483);
    EXPECT_TRUE(waitForMessage("Finished")) << name;
    EXPECT_TRUE(shell->player().damage().empty()) << name;
    shell->runCommand(20480);
  }
}

TEST_F(HowToTest, ToolBarsAndToolWindowsShowTheirPictures) {
  ui.queueFile(MORVO_SCRIPTS_DIR "/first_steps.mvs");
  shell->runCommand(9484);
  addCubes(3);
  shell->runCommand(10240);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(shell->objectInfo()));
  StatusHelp help(ui, nullptr);
  PaintToolBars bars(help);
  bars.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(howTo()));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bars));
  QWidget *const shown[] = {shell->mainToolBar(), shell->objectInfo(), howTo(), &bars};
  for (QWidget *widget : shown)
    EXPECT_TRUE(showsSomething(widget->grab().toImage())) << widget->objectName().toStdString();
  // The element bar's pictures differ from one another, and a current one from a normal one.
  const QImage free = shell->mainToolBar()->elementButton(0)->grab().toImage();
  const QImage faces = shell->mainToolBar()->elementButton(3)->grab().toImage();
  EXPECT_NE(free, faces);
  // Every picture is drawn for both pixel ratios, not scaled from one.
  const std::pair<QIcon, QSize> icons[] = {{elementPicture(2), {47, 27}},
                                           {workModePicture(true), {47, 25}},
                                           {paintToolPicture(12303), {28, 28}},
                                           {eyePicture(false), {23, 22}},
                                           {scriptPicture(20483), {18, 18}}};
  for (const auto &[icon, button] : icons) {
    const QSize picture = buttonPictureSize(button);
    EXPECT_TRUE(icon.availableSizes().contains(picture));
    EXPECT_TRUE(icon.availableSizes().contains(picture * 2));
  }
}

} // namespace
