// The main window's menus, check marks, hot keys and refusals on the real window, with a
// recording user interface answering the questions.
#include "app/model_window.h"
#include "app/top_shell.h"
#include "scene/recording_ui.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Every entry of a menu bar as "Menu/Entry", "Menu/Popup/Entry" or "Menu/-" for a separator,
// with "+" after an enabled entry and "*" after a checked one.
void listMenu(const QList<QAction *> &actions, const QString &prefix, QStringList &out) {
  for (QAction *a : actions) {
    if (a->isSeparator()) {
      out << prefix + "-";
    } else if (a->menu()) {
      listMenu(a->menu()->actions(), prefix + a->text() + "/", out);
    } else {
      out << prefix + a->text() + (a->isEnabled() ? "+" : "") + (a->isChecked() ? "*" : "");
    }
  }
}
QStringList listBar(QMenuBar *bar) {
  QStringList out;
  listMenu(bar->actions(), QString(), out);
  return out;
}

QAction *action(QMenuBar *bar, const QString &entry) {
  for (QAction *a : bar->findChildren<QAction *>())
    if (a->text() == entry)
      return a;
  return nullptr;
}

class TopShellTest : public testing::Test {
protected:
  void SetUp() override {
    shell = std::make_unique<TopShell>(&ui);
    shell->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
    shell->modelWindow()->setFocus();
  }
  void key(char c) { QTest::keyClick(shell->modelWindow(), c); }
  RecordingUi ui;
  std::unique_ptr<TopShell> shell;
};

TEST_F(TopShellTest, ModelMenuBarMatchesItsTableEntryForEntry) {
  const QStringList expected = {"File/New+",
                                "File/Add/Tetrahedron+",
                                "File/Add/Octahedron+",
                                "File/Add/Dodecahedron+",
                                "File/Add/Icosahedron+",
                                "File/Add/-",
                                "File/Add/Cube+",
                                "File/Add/-",
                                "File/Add/Cylinder+",
                                "File/Add/Cone+",
                                "File/Add/Torus+",
                                "File/Add/Sphere+",
                                "File/Add/-",
                                "File/Add/Grid+",
                                "File/Add/-",
                                "File/Add/From File",
                                "File/Open\tCtrl+o+",
                                "File/-",
                                "File/Save\tCtrl+s+",
                                "File/Save as+",
                                "File/Save selected",
                                "File/-",
                                "File/Screen Capture",
                                "File/-",
                                "File/Revert",
                                "File/-",
                                "File/Import",
                                "File/Export/All",
                                "File/Export/Selected",
                                "File/-",
                                "File/Quit\tCtrl+q+",
                                "Edit/Undo\tCtrl+z+",
                                "Edit/-",
                                "Edit/Delete\tDel+",
                                "Edit/Delete all+",
                                "View/Aim \ta+",
                                "View/Reset view\tr+",
                                "View/Ortho camera\to+",
                                "View/-",
                                "View/Ground plane\tg+*",
                                "View/Axes\t~+",
                                "View/-",
                                "View/View along/+ X\tx+",
                                "View/View along/+ Y\ty+",
                                "View/View along/+ Z\tz+",
                                "View/View along/- X\tX+",
                                "View/View along/- Y\tY+",
                                "View/View along/- Z\tZ+",
                                "View/-",
                                "View/Wireframe selected\tw+",
                                "View/Wireframe all\tW+",
                                "View/Shade selected\ts+",
                                "View/Shade all\tS+",
                                "View/-",
                                "View/Workmode\tTAB+*",
                                "View/-",
                                "View/Colors\tc+*",
                                "View/Textures\tt+*",
                                "View/-",
                                "View/Hot keys\th",
                                "Select/Grow selection\t++",
                                "Select/Shrink selection\t-+",
                                "Select/Select adjacent/Vertices\tv+",
                                "Select/Select adjacent/Edges\te+",
                                "Select/Select adjacent/Faces\tf+",
                                "Select/Select edge loop\tL+",
                                "Select/Select all/Vertices+",
                                "Select/Select all/Edges+",
                                "Select/Select all/Faces+",
                                "Select/Select all/Objects+",
                                "Select/-",
                                "Select/Deselect/Reselect  Space Bar+",
                                "Window/Show object info ...",
                                "Window/Show color mixer ...+",
                                "Help/Help...",
                                "Help/How to...",
                                "Help/-",
                                "Help/About...+"};
  EXPECT_EQ(listBar(shell->menuBar()), expected);
  QStringList titles;
  for (QAction *a : shell->menuBar()->actions())
    titles << a->text();
  EXPECT_EQ(titles, (QStringList{"File", "Edit", "View", "Select", "Window", "Help"}));
}

TEST_F(TopShellTest, PaintMenuBarMatchesItsTable) {
  const QStringList expected = {"File/Save\tCtrl+s+",
                                "File/Save as+",
                                "File/-",
                                "File/Revert",
                                "File/-",
                                "File/Quit\tCtrl+q+",
                                "Edit/Undo+",
                                "Edit/Redo+",
                                "Edit/-",
                                "Edit/Paint All+",
                                "View/Aim \ta+",
                                "View/Reset view\tr+",
                                "View/-",
                                "View/View along/+ X\tx+",
                                "View/View along/+ Y\ty+",
                                "View/View along/+ Z\tz+",
                                "View/View along/- X\tX+",
                                "View/View along/- Y\tY+",
                                "View/View along/- Z\tZ+",
                                "Select/Grow selection \t++",
                                "Select/Shrink selection \t-+",
                                "Select/-",
                                "Select/Clear selection\tSpace Bar+",
                                "Window/Show object info ...",
                                "Window/Show color mixer ...+",
                                "Help/Help...",
                                "Help/-",
                                "Help/About...+"};
  EXPECT_EQ(listBar(shell->paintMenuBar()), expected);
}

TEST_F(TopShellTest, CheckMarksToggleWithTheirCommands) {
  QMenuBar *bar = shell->menuBar();
  const QString entries[] = {"Ground plane\tg", "Axes\t~",     "Workmode\tTAB",
                             "Colors\tc",       "Textures\tt", "Ortho camera\to"};
  for (const QString &entry : entries) {
    QAction *a = action(bar, entry);
    ASSERT_NE(a, nullptr) << entry.toStdString();
    const bool before = a->isChecked();
    a->trigger();
    EXPECT_NE(a->isChecked(), before) << entry.toStdString();
    a->trigger();
    EXPECT_EQ(a->isChecked(), before) << entry.toStdString();
  }
  key('g'); // the key reaches the same command, and the mark follows
  EXPECT_FALSE(action(bar, "Ground plane\tg")->isChecked());
}

TEST_F(TopShellTest, HotKeysReachTheirCommands) {
  const View &view = shell->modelWindow()->view();
  key('x');
  EXPECT_EQ(view.camera.azimuth, -90);
  key('Y');
  EXPECT_EQ(view.camera.elevation, -90);
  key('r');
  EXPECT_EQ(view.camera.azimuth, -45);
  key('o');
  EXPECT_EQ(view.camera.perspective, 0);
  QTest::keyClick(shell->modelWindow(), Qt::Key_Tab);
  EXPECT_EQ(view.renderer.smooth, 1);
  QTest::keyClick(shell->modelWindow(), Qt::Key_Right);
  EXPECT_GT(view.camera.target.x, 0.f);
  key('f'); // nothing selected: the faces button of the element tool bar
  EXPECT_EQ(shell->scene().mode, moFACES);
  key('a');
  EXPECT_EQ(ui.messages.back(), "You must have elements or objects selected");
  QTest::keyClick(shell->modelWindow(), Qt::Key_Delete);
  EXPECT_EQ(ui.messages.back(), "You must have objects selected");
  QTest::keyClick(shell->modelWindow(), Qt::Key_A, Qt::ControlModifier); // nothing with Ctrl
  EXPECT_EQ(ui.messages.size(), 2u);
}

TEST_F(TopShellTest, MenuHelpGoesToTheStatusLine) {
  QMenu *select = shell->menuBar()->actions().at(3)->menu();
  emit select->hovered(action(shell->menuBar(), "Objects"));
  EXPECT_EQ(ui.status, "Select all objects in scene");
  emit select->hovered(action(shell->menuBar(), "Hot keys\th"));
  EXPECT_EQ(ui.status, "Select all objects in scene");
}

TEST_F(TopShellTest, QuitAsksToSaveAndCancelKeepsTheWindow) {
  action(shell->menuBar(), "Cube")->trigger();
  EXPECT_EQ(shell->windowTitle(), QStringLiteral("Morvo 1.5 - untitled.mvo"));
  ui.queueAnswer(UserInterface::Answer::Cancel);
  action(shell->menuBar(), "Quit\tCtrl+q")->trigger();
  EXPECT_TRUE(shell->isVisible());
  EXPECT_EQ(ui.questions.back(),
            "This will throw away unsaved data. Would you like to save your work now?");
  EXPECT_EQ(shell->scene().objects.objectCount(), 1);
  ui.queueAnswer(UserInterface::Answer::No);
  action(shell->menuBar(), "Quit\tCtrl+q")->trigger();
  EXPECT_FALSE(shell->isVisible());
  EXPECT_EQ(shell->scene().objects.objectCount(), 0);
}

TEST_F(TopShellTest, AboutPictureShowsOnceAndClosesItself) {
  shell->showAbout();
  QWidget *about = shell->aboutPicture();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->size(), QSize(551, 280));
  shell->showAbout();
  EXPECT_EQ(shell->aboutPicture(), about);
  QTest::qWait(5000);
  EXPECT_NE(shell->aboutPicture(), nullptr); // still up before six seconds
  // Closed soon after; a loaded machine may deliver the timer late.
  QElapsedTimer waited;
  waited.start();
  while (shell->aboutPicture() && waited.elapsed() < 20000)
    QTest::qWait(50);
  EXPECT_EQ(shell->aboutPicture(), nullptr);
}

} // namespace
