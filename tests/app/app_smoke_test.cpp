// The real main window under a display (Xvfb in the test script): it opens, its menus act on
// the scene and the model window draws.
#include "app/model_window.h"
#include "app/qt_user_interface.h"
#include "app/settings.h"
#include "app/status_line.h"
#include "app/top_shell.h"
#include "scene/scene_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

QAction *findAction(QWidget *menuOwner, const QStringList &path) {
  QList<QAction *> actions = menuOwner->actions();
  QAction *found = nullptr;
  for (const QString &name : path) {
    found = nullptr;
    for (QAction *a : actions)
      if (a->text().section('\t', 0, 0) == name) // the label without its key
        found = a;
    if (!found)
      return nullptr;
    if (found->menu())
      actions = found->menu()->actions();
  }
  return found;
}

class AppSmokeTest : public testing::Test {
protected:
  void SetUp() override {
    window = std::make_unique<TopShell>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  std::unique_ptr<TopShell> window;
};

TEST_F(AppSmokeTest, WindowOpensWithTitleStatusLineAndModelWindow) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Morvo 1.5 - untitled.mvo"));
  ASSERT_NE(window->statusLine(), nullptr);
  EXPECT_TRUE(window->statusLine()->isVisible());
  EXPECT_GE(window->modelWindow()->width(), 100);
}

TEST_F(AppSmokeTest, AddCubeFromTheMenuAddsCubeZeroAndDrawsIt) {
  const QImage before = window->modelWindow()->grabFramebuffer();
  QAction *cube = findAction(window->menuBar(), {"File", "Add", "Cube"});
  ASSERT_NE(cube, nullptr);
  cube->trigger();
  ASSERT_NE(window->scene().object(0), nullptr);
  EXPECT_EQ(window->scene().object(0)->name, "cube0");
  const QImage frame = window->modelWindow()->grabFramebuffer();
  ASSERT_FALSE(frame.isNull());
  // Not blank: the cube's lit faces and outlines differ from the background.
  const QRgb background = frame.pixel(2, 2);
  int differing = 0;
  for (int y = 0; y < frame.height(); y += 4)
    for (int x = 0; x < frame.width(); x += 4)
      differing += frame.pixel(x, y) != background ? 1 : 0;
  EXPECT_GT(differing, 50);
  EXPECT_NE(before, frame);
}

TEST_F(AppSmokeTest, KeysDriveTheCameraAndFilesOpen) {
  window->modelWindow()->setFocus();
  QTest::keyClick(window->modelWindow(), Qt::Key_Right);
  EXPECT_GT(window->modelWindow()->view().camera.target.x, 0.5f);
  QAction *reset = findAction(window->menuBar(), {"View", "Reset view"});
  ASSERT_NE(reset, nullptr);
  reset->trigger();
  EXPECT_EQ(window->modelWindow()->view().camera.target.x, 0.0f);

  const auto path = std::filesystem::temp_directory_path() / "morvo_app_smoke.mvo";
  {
    StatusLine status;
    QtUserInterface ui(nullptr, &status);
    Scene scene(ui);
    scene.createPrimitive(PrimitiveType::Torus);
    ASSERT_TRUE(saveSceneFile(scene, path.string(), false));
  }
  ASSERT_TRUE(window->openScenePath(QString::fromStdString('"' + path.string() + '"')));
  EXPECT_EQ(window->scene().object(0)->name, "torus0");
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Morvo 1.5 - morvo_app_smoke.mvo"));
  std::filesystem::remove(path);
}

// A help text wider than the status line ends in "..." and shows whole in the status bar's tool
// tip; resizing the window cuts it again for the new width.
TEST_F(AppSmokeTest, LongStatusTextIsCutToTheWindowWithItsWholeTextInTheToolTip) {
  const QString help =
      "Save the selected object or objects with a new name or location in MVO format";
  QAction *saveSelected = findAction(window->menuBar(), {"File", "Save selected"});
  ASSERT_NE(saveSelected, nullptr);
  QLabel *line = window->statusLine();
  const int textWidth = line->fontMetrics().horizontalAdvance(help);
  const auto resizeTo = [&](int width) {
    window->resize(width, window->height());
    return QTest::qWaitFor([&] { return window->width() == width; });
  };
  ASSERT_TRUE(resizeTo(textWidth / 2 + 40));
  emit static_cast<QMenu *>(saveSelected->parent())->hovered(saveSelected);
  const auto cutToFit = [&] {
    const QString shown = line->text();
    return shown.endsWith("...") && help.startsWith(shown.chopped(3)) && shown.size() > 10 &&
           line->fontMetrics().horizontalAdvance(shown) <= line->contentsRect().width() &&
           window->statusBar()->toolTip() == help;
  };
  EXPECT_TRUE(cutToFit()) << line->text().toStdString();
  const QString narrow = line->text();

  ASSERT_TRUE(resizeTo(textWidth + 120));
  EXPECT_EQ(line->text(), help);
  EXPECT_TRUE(window->statusBar()->toolTip().isEmpty()); // nothing hidden, no tip
  ASSERT_TRUE(resizeTo(textWidth * 3 / 4 + 40));
  EXPECT_TRUE(cutToFit()) << line->text().toStdString();
  EXPECT_GT(line->text().size(), narrow.size());
}

// The road of one interactive operation: hover and click a face, Move > Normal from the
// right-button menu, drag, click; the face has moved along its normal.
TEST_F(AppSmokeTest, ClickAFaceMoveItAlongItsNormalFromTheOperationsMenu) {
  QAction *add = findAction(window->menuBar(), {"File", "Add", "Cube"});
  ASSERT_NE(add, nullptr);
  add->trigger();
  ModelWindow *model = window->modelWindow();
  QTest::qWait(50);
  // The middle of the cube's left front face (the window's centre is on the edge between the two
  // front faces).
  const QPoint face(model->width() / 2 - 52, model->height() / 2);
  // The first motion only records the position; the second hovers. Motion reaches the window
  // through the display server: wait until each step has arrived.
  QTest::mouseMove(model, face - QPoint(5, 0));
  QTRY_COMPARE(model->controller().lastX, face.x() - 5);
  QTest::mouseMove(model, face);
  QTRY_COMPARE(model->controller().lastX, face.x());
  QTest::mouseClick(model, Qt::LeftButton, Qt::NoModifier, face);
  Scene &scene = window->scene();
  ASSERT_EQ(1, scene.selection.Count());
  ASSERT_EQ(moFACES, scene.mode);
  const int32_t f = scene.selection.Get(0).element;
  const moVec3 before = scene.object(0)->faceCentroid(f),
               normal = scene.object(0)->faceNormal(f, true);

  bool chosen = false;
  QTimer::singleShot(200, [&] {
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    QAction *normalMove = menu ? findAction(menu, {"Move", "Normal"}) : nullptr;
    if (normalMove) {
      normalMove->trigger();
      chosen = true;
    }
    if (menu)
      menu->close();
  });
  QTest::mousePress(model, Qt::RightButton, Qt::NoModifier, face);
  QTest::mouseRelease(model, Qt::RightButton, Qt::NoModifier, face);
  ASSERT_TRUE(chosen);
  EXPECT_EQ(InteractionController::DragMode, model->controller().mode());
  QTest::mouseMove(model, face + QPoint(5, 0));
  QTRY_COMPARE(model->controller().lastX, face.x() + 5);
  QTest::mouseMove(model, face + QPoint(45, 0));
  QTRY_COMPARE(model->controller().lastX, face.x() + 45);
  QTest::mouseClick(model, Qt::LeftButton, Qt::NoModifier, face + QPoint(45, 0));
  EXPECT_EQ(InteractionController::SelectMode, model->controller().mode());
  const moVec3 after = scene.object(0)->faceCentroid(f);
  EXPECT_NEAR(4.0f, dot(subtract(after, before), normal), 1e-3f);
}

// A file dialog starts in the folder the last dialog for the same purpose ended in, which the
// settings keep for the next run; a dialog for another purpose starts where it asks.
TEST(FileDialogFolders, EachPurposeStartsWhereItsLastDialogEnded) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const char *folder : {"models", "chosen", "other"})
    ASSERT_TRUE(QDir(dir.path()).mkdir(folder));
  QFile(dir.filePath("chosen/a.obj")).open(QIODevice::WriteOnly);
  Settings settings;
  QWidget owner;
  QtUserInterface ui(&owner, nullptr);
  ui.keepFoldersIn(&settings);
  const auto ask = [&](const std::string &purpose, const QString &folder, const QString &file) {
    QString started;
    QTimer::singleShot(0, [&] {
      auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      started = dialog->directory().absolutePath();
      if (file.isEmpty())
        return dialog->reject();
      dialog->selectFile(file);
      static_cast<QDialog *>(dialog)->accept(); // QFileDialog keeps its override protected
    });
    UserInterface::FileRequest request;
    request.title = "Choose";
    request.folder = folder.toStdString();
    request.purpose = purpose;
    ui.chooseFile(request);
    return started;
  };
  EXPECT_EQ(ask("import", dir.filePath("models"), dir.filePath("chosen/a.obj")),
            dir.filePath("models"));
  EXPECT_EQ(settings.folder("import"), dir.filePath("chosen"));
  EXPECT_EQ(ask("import", dir.filePath("models"), QString()), dir.filePath("chosen"));
  EXPECT_EQ(ask("export", dir.filePath("other"), QString()), dir.filePath("other"));
}

} // namespace
