// The real main window under a display (Xvfb in the test script): it opens, its menus act on
// the scene and the model window draws.
#include "app/main_window.h"
#include "app/model_window.h"
#include "app/surface_format.h"
#include "scene/scene_file.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

QAction *findAction(QWidget *menuOwner, const QStringList &path) {
  QList<QAction *> actions = menuOwner->actions();
  QAction *found = nullptr;
  for (const QString &name : path) {
    found = nullptr;
    for (QAction *a : actions)
      if (a->text() == name)
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
    window = std::make_unique<MainWindow>();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }
  std::unique_ptr<MainWindow> window;
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
    QLabel status;
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

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS(); // listing needs no display
  useProgramSurfaceFormat();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
