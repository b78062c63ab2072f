// The main window's menus, check marks, hot keys and refusals on the real window, with a
// recording user interface answering the questions.
#include "app/model_window.h"
#include "app/top_shell.h"
#include "ops/operation_ids.h"
#include "scene/recording_ui.h"
#include "script/command_numbers.h"
#include "script/command_table.h"

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
                                "File/Add/From File+",
                                "File/Open\tCtrl+o+",
                                "File/-",
                                "File/Save\tCtrl+s+",
                                "File/Save as+",
                                "File/Save selected+",
                                "File/-",
                                "File/Screen Capture+",
                                "File/-",
                                "File/Revert+",
                                "File/-",
                                "File/Import+",
                                "File/Export/All+",
                                "File/Export/Selected+",
                                "File/-",
                                "File/Quit\tCtrl+q+",
                                "Edit/Undo\tCtrl+z", // nothing to undo yet: disabled
                                "Edit/Redo\tCtrl+Shift+z",
                                "Edit/-",
                                "Edit/Delete\tDel+",
                                "Edit/Delete all+",
                                "Edit/-",
                                "Edit/Autosave/Every minute+",
                                "Edit/Autosave/Every 2 minutes+*",
                                "Edit/Autosave/Every 5 minutes+",
                                "Edit/Autosave/Every 10 minutes+",
                                "Edit/Autosave/Off+",
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
                                "View/Symmetry/X+",
                                "View/Symmetry/Y+",
                                "View/Symmetry/Z+",
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
                                "View/Hot keys\th+",
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
                                "Window/Show object info ...+",
                                "Window/Show color mixer ...+",
                                "Help/Help...+",
                                "Help/How to...+",
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
                                "File/Revert+",
                                "File/-",
                                "File/Quit\tCtrl+q+",
                                "Edit/Undo", // nothing to undo or redo yet
                                "Edit/Redo",
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
                                "View/Symmetry/X+",
                                "View/Symmetry/Y+",
                                "View/Symmetry/Z+",
                                "Select/Grow selection \t++",
                                "Select/Shrink selection \t-+",
                                "Select/-",
                                "Select/Clear selection\tSpace Bar+",
                                "Window/Show object info ...+",
                                "Window/Show color mixer ...+",
                                "Help/Help...+",
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
  EXPECT_EQ(view.renderer.smooth(), 1);
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

// Ctrl+Z steps back through the history and Ctrl+Shift+Z and Ctrl+Y forward; the Edit menu
// names the steps.
TEST_F(TopShellTest, CtrlZAndCtrlShiftZStepThroughTheHistory) {
  shell->runCommand(kCommandAddCube);
  shell->runCommand(kCommandAddSphere);
  QMenuBar *bar = shell->menuBar();
  ASSERT_NE(action(bar, "Undo Add sphere\tCtrl+z"), nullptr);
  QWidget *w = shell->modelWindow();
  QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(shell->scene().objects.objectCount(), 0);
  EXPECT_FALSE(action(bar, "Undo\tCtrl+z")->isEnabled());
  QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(shell->scene().objects.objectCount(), 1);
  EXPECT_EQ(ui.status, "Redo: Add cube");
  QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(shell->scene().objects.objectCount(), 2);
  EXPECT_FALSE(action(bar, "Redo\tCtrl+Shift+z")->isEnabled());
}

// While a drag runs the hot keys leave the scene and the camera alone; Escape cancels the drag
// exactly as a right click does.
TEST_F(TopShellTest, DuringADragOnlyEscapeActsAndItCancels) {
  CommandLayer &layer = shell->commands();
  layer.run("add-cube");
  layer.run("select-all-objects");
  const moObject before = *shell->scene().object(0);
  InteractionController &controller = shell->modelWindow()->controller();
  shell->modelWindow()->makeCurrent();
  controller.startOperation(kOpMoveAxis, 0);
  ASSERT_TRUE(controller.dragRunning());
  // The pointer's motion arrives from the display a moment later.
  QTest::mouseMove(shell->modelWindow(), {360, 243});
  for (int x = 370; x < 460 && shell->scene().object(0)->vertices[0].Coordinates.x ==
                                   before.vertices[0].Coordinates.x;
       x += 10) {
    QTest::mouseMove(shell->modelWindow(), {x, 243});
    QTest::qWait(20);
  }
  const moVec3 moved = shell->scene().object(0)->vertices[0].Coordinates;
  ASSERT_NE(moved.x, before.vertices[0].Coordinates.x);
  const float axisX = controller.axis.x,
              cameraAzimuth = shell->modelWindow()->view().camera.azimuth;
  for (int k : {int(Qt::Key_Delete), int(Qt::Key_Backspace), int(Qt::Key_Space)})
    QTest::keyClick(shell->modelWindow(), Qt::Key(k));
  key('x');
  key('a');
  key('r');
  QTest::keyClick(shell->modelWindow(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_NE(shell->scene().object(0), nullptr);
  EXPECT_TRUE(controller.dragRunning());
  EXPECT_EQ(shell->scene().selection.Count(), 1);
  EXPECT_EQ(shell->modelWindow()->view().camera.azimuth, cameraAzimuth);
  EXPECT_EQ(controller.axis.x, axisX);
  EXPECT_EQ(shell->scene().object(0)->vertices[0].Coordinates.x, moved.x);
  QTest::keyClick(shell->modelWindow(), Qt::Key_Escape);
  EXPECT_FALSE(controller.dragRunning());
  EXPECT_EQ(shell->scene().object(0)->vertices[0].Coordinates.x, before.vertices[0].Coordinates.x);
  EXPECT_TRUE(ui.messages.empty());
}

// An amount typed during a drag, on the real window: the status line shows the entry, Enter
// moves the face by exactly that much along its normal and commits.
TEST_F(TopShellTest, ATypedAmountMovesTheExtrudedFaceByExactlyThatMuch) {
  CommandLayer &layer = shell->commands();
  layer.run("add-cube");
  shell->runCommand(findCommand("select-all-objects")->number); // the selection's measurement
  EXPECT_EQ(ui.status, "Object size 20.000 x 20.000 x 20.000");
  layer.execute(kScriptSetMode, {moFACES});
  layer.execute(kScriptToggle, {0, 0});
  ASSERT_EQ(shell->scene().selection.Count(), 1);
  const moObject &cube = *shell->scene().object(0);
  const moVec3 centre = cube.faceCentroid(0), normal = cube.faceNormal(0, true);
  shell->modelWindow()->makeCurrent();
  layer.execute(56); // Extrude normal, as the operations menu starts it
  InteractionController &controller = shell->modelWindow()->controller();
  ASSERT_EQ(controller.mode(), InteractionController::DragMode);
  EXPECT_EQ(ui.status, "Use the mouse to move, then (CLICK-L)"); // until the first change
  QTest::keyClicks(shell->modelWindow(), "2.5");
  EXPECT_EQ(ui.status, "Extrude normal = 2.5_");
  QTest::keyClick(shell->modelWindow(), Qt::Key_Return);
  EXPECT_EQ(controller.mode(), InteractionController::SelectMode);
  const moObject &extruded = *shell->scene().object(0);
  EXPECT_EQ(extruded.faces.count(), 10); // the face and its four new sides
  const moVec3 moved = subtract(extruded.faceCentroid(0), centre);
  EXPECT_NEAR(dot(moved, normal), 2.5f, 1e-5f);
  EXPECT_NEAR(length(moved), 2.5f, 1e-5f);
  EXPECT_TRUE(ui.messages.empty());
  key('5'); // outside a drag the key is a hot key again, or nothing
  EXPECT_EQ(controller.mode(), InteractionController::SelectMode);
}

TEST_F(TopShellTest, MenuHelpGoesToTheStatusLine) {
  QMenu *select = shell->menuBar()->actions().at(3)->menu();
  emit select->hovered(action(shell->menuBar(), "Objects"));
  EXPECT_EQ(ui.status, "Select all objects in scene");
  emit select->hovered(action(shell->menuBar(), "Hot keys\th"));
  EXPECT_EQ(ui.status, "Select all objects in scene");
}

// Hovers every entry and heading of a menu (a menu bar's menus are its own entries) and lists
// the status line after each as "Path=text".
void hoverAll(QWidget *owner, const QList<QAction *> &actions, const QString &prefix,
              RecordingUi &ui, QStringList &out) {
  for (QAction *a : actions) {
    if (a->isSeparator())
      continue;
    ui.status = "-";
    if (auto *bar = qobject_cast<QMenuBar *>(owner))
      emit bar->hovered(a);
    else
      emit static_cast<QMenu *>(owner)->hovered(a);
    const QString path = prefix + a->text().section('\t', 0, 0).trimmed();
    out << path + "=" + QString::fromStdString(ui.status);
    if (a->menu())
      hoverAll(a->menu(), a->menu()->actions(), path + "/", ui, out);
  }
}

TEST_F(TopShellTest, EveryMenuEntryShowsItsStatusHelp) {
  QStringList shown;
  hoverAll(shell->menuBar(), shell->menuBar()->actions(), QString(), ui, shown);
  const QStringList model = {
      "File=File menu",
      "File/New=Create a new scene",
      "File/Add=New primitive submenu",
      "File/Add/Tetrahedron=Add a tetrahedron",
      "File/Add/Octahedron=Add a octahedron",
      "File/Add/Dodecahedron=Add a dodecahedron",
      "File/Add/Icosahedron=Add a icosahedron",
      "File/Add/Cube=Add a cube",
      "File/Add/Cylinder=Add a cylinder",
      "File/Add/Cone=Add a cone",
      "File/Add/Torus=Add a torus",
      "File/Add/Sphere=Add a sphere",
      "File/Add/Grid=Add a grid",
      "File/Add/From File=-",
      "File/Open=Delete everything from the Model window and load the selected file",
      "File/Recent files=Open one of the scenes last opened or saved",
      "File/Save=Save everything as a single file in MVO format",
      "File/Save as=Save everything as a single file with a new name and location in MVO format",
      "File/Save selected=Save the selected object or objects with a new name or location in MVO "
      "format",
      "File/Screen Capture=Save a screen capture to image file",
      "File/Revert=Revert to last saved version",
      "File/Import=Import an object",
      "File/Export=Export submenu",
      "File/Export/All=Save everything as a single file in a foreign format",
      "File/Export/Selected=Save selected as a single file in a foreign format",
      "File/Quit=Exit Morvo",
      "Edit=Edit menu",
      "Edit/Undo=Undo the last action",
      "Edit/Redo=Redo the last undone action",
      "Edit/Delete=Delete selected object",
      "Edit/Delete all=Delete all objects",
      "Edit/Autosave=How often a recovery copy of unsaved work is written",
      "Edit/Autosave/Every minute=Write a recovery copy of unsaved work after a minute of changes "
      "or 10 seconds without one",
      "Edit/Autosave/Every 2 minutes=Write a recovery copy of unsaved work after 2 minutes of "
      "changes or 10 seconds without one",
      "Edit/Autosave/Every 5 minutes=Write a recovery copy of unsaved work after 5 minutes of "
      "changes or 10 seconds without one",
      "Edit/Autosave/Every 10 minutes=Write a recovery copy of unsaved work after 10 minutes of "
      "changes or 10 seconds without one",
      "Edit/Autosave/Off=Write no recovery copies of unsaved work",
      "View=View menu",
      "View/Aim=Aim the camera at the selected element",
      "View/Reset view=Reset the camera to the initial camera view",
      "View/Ortho camera=Toggle between orthographic and perspective camera views",
      "View/Ground plane=Show the grid in the Model window",
      "View/Axes=Show the X, Y, and Z axes in the modeling window",
      "View/View along=View along axis submenu",
      "View/View along/+ X=View from the positive x axis",
      "View/View along/+ Y=View from the positive y axis",
      "View/View along/+ Z=View from the positive z axis",
      "View/View along/- X=View from the negative x axis",
      "View/View along/- Y=View from the negative y axis",
      "View/View along/- Z=View from the negative z axis",
      "View/Symmetry=Symmetry planes submenu",
      "View/Symmetry/X=Repeat every operation on selected elements at their mirror images "
      "across x = 0",
      "View/Symmetry/Y=Repeat every operation on selected elements at their mirror images "
      "across y = 0",
      "View/Symmetry/Z=Repeat every operation on selected elements at their mirror images "
      "across z = 0",
      "View/Wireframe selected=Display selected objects as a wireframe",
      "View/Wireframe all=Display all objects as a wireframe",
      "View/Shade selected=Display selected objects shaded",
      "View/Shade all=Display all objects shaded",
      "View/Workmode=Display all objects without outlines and with smooth shading",
      "View/Colors=Show colors applied to the object in modeling window",
      "View/Textures=Show the textures on all objects",
      "View/Hot keys=-",
      "Select=Select menu",
      "Select/Grow selection=Select neighboring elements of the same type",
      "Select/Shrink selection=Deselect the outermost elements in a continuous collection",
      "Select/Select adjacent=Select adjacent element submenu",
      "Select/Select adjacent/Vertices=Select all vertices adjacent to the selected element",
      "Select/Select adjacent/Edges=Select all edges adjacent to the selected element",
      "Select/Select adjacent/Faces=Select all faces adjacent to the selected element",
      "Select/Select edge loop=Select edge loop",
      "Select/Select all=Select all submenu",
      "Select/Select all/Vertices=Select all vertices on selected object",
      "Select/Select all/Edges=Select all edges on selected object",
      "Select/Select all/Faces=Select all faces on selected object",
      "Select/Select all/Objects=Select all objects in scene",
      "Select/Deselect/Reselect  Space Bar=Deselect current selection",
      "Window=Window menu",
      "Window/Show object info ...=Open the Object Info window to set parameters for individual "
      "objects",
      "Window/Show color mixer ...=Open the Color Mixer to choose a color",
      "Help=Help menu",
      "Help/Help...=View online help",
      "Help/How to...=View tutorials",
      "Help/About...=About Morvo"};
  EXPECT_EQ(shown, model);
  shown.clear();
  hoverAll(shell->paintMenuBar(), shell->paintMenuBar()->actions(), QString(), ui, shown);
  const QStringList paint = {
      "Edit/Undo=Undo - reverses the last operation", "Edit/Redo=Redo - undoes the last undo",
      "Edit/Paint All=Erase texture", "Select/Clear selection=Deselect current selection"};
  for (const QString &entry : paint)
    EXPECT_TRUE(shown.contains(entry)) << entry.toStdString();
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
