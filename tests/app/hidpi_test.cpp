// The model window on a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2, set before the
// application starts): it shows the same scene as at ratio 1, drawn with the device's own pixels,
// and clicks and rubber bands select what lies under the pointer.
#include "app/model_window.h"
#include "app/surface_format.h"
#include "app/top_shell.h"
#include "scene/recording_ui.h"
#include "script/script_recorder.h"
#include "view/frame.h"
#include "view/projection.h"

#include <QApplication>
#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iostream>

namespace {

constexpr int kAddCube = 9733;
constexpr int kGroundPlane = 8962;

// Share of the frame's pixels that differ from the background (the top-left pixel).
double coveredShare(const QImage &frame) {
  const QImage image = frame.convertToFormat(QImage::Format_RGB32);
  const QRgb background = image.pixel(0, 0);
  int64_t covered = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      covered += image.pixel(x, y) != background ? 1 : 0;
  return double(covered) / (double(image.width()) * image.height());
}

// The scene as the window's view shows it, drawn at ratio 1 in an offscreen frame buffer of the
// window's size.
QImage frameAtRatioOne(const Scene &scene, const View &shown, QSize size) {
  QOffscreenSurface surface;
  surface.create();
  QOpenGLContext context;
  context.create();
  context.makeCurrent(&surface);
  QImage image;
  {
    QOpenGLFramebufferObject buffer(size, QOpenGLFramebufferObject::CombinedDepthStencil);
    buffer.bind();
    View view;
    view.camera = shown.camera;
    view.resize(size.width(), size.height());
    view.groundAndAxes = shown.groundAndAxes;
    drawFrame(view, scene);
    image = buffer.toImage();
  }
  context.doneCurrent();
  return image;
}

// Where a world point shows in a window of that camera, in Qt's window coordinates (y downward).
QPoint windowPoint(const Camera &c, const moVec3 &p) {
  moVec3 w;
  project(p, c.viewMatrix(), c.projectionMatrix(), c.viewport(), w);
  return {int(std::lround(w.x)), int(std::lround(c.height - w.y))};
}

// The window rectangle that holds every vertex of obj.
QRect windowBounds(const Camera &c, const moObject &obj) {
  QRect bounds;
  for (const moVertex &v : obj.vertices)
    bounds |= QRect(windowPoint(c, v.Coordinates), QSize(1, 1));
  return bounds;
}

class HiDpiTest : public testing::Test {
protected:
  void SetUp() override {
    shell = std::make_unique<TopShell>(&ui);
    shell->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(shell.get()));
    model = shell->modelWindow();
    ASSERT_DOUBLE_EQ(2.0, model->devicePixelRatioF());
    shell->runCommand(kAddCube);
    ASSERT_NE(nullptr, shell->scene().object(0));
  }
  void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), QPointF(model->mapToGlobal(at)), button, held,
                      Qt::NoModifier);
    QApplication::sendEvent(model, &event);
  }
  // Hovers the point (the first move only records a position), then clicks it.
  void clickAt(QPoint at) {
    send(QEvent::MouseMove, at - QPoint(2, 0), Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
  }

  RecordingUi ui;
  std::unique_ptr<TopShell> shell;
  ModelWindow *model = nullptr;
};

TEST_F(HiDpiTest, CubeFillsTheSameShareOfTheViewAsAtRatioOneAtFullResolution) {
  shell->runCommand(kGroundPlane); // the cube alone
  ASSERT_EQ(0, model->view().groundAndAxes);
  const QImage shown = model->grabFramebuffer();
  EXPECT_EQ(std::lround(model->width() * 2.0), shown.width());
  EXPECT_EQ(std::lround(model->height() * 2.0), shown.height());
  const double atTwo = coveredShare(shown);
  const double atOne = coveredShare(frameAtRatioOne(shell->scene(), model->view(), model->size()));
  std::cout << "cube's share of the view: " << atOne << " at ratio 1, " << atTwo << " at ratio 2\n";
  EXPECT_GT(atOne, 0.01); // the cube is there
  EXPECT_NEAR(atOne, atTwo, 0.02 * atOne);
}

TEST_F(HiDpiTest, ClickingEachFacingFaceSelectsThatFace) {
  const moObject &cube = *shell->scene().object(0);
  const Camera &camera = model->view().camera;
  const moVec3 ray = UnprojectRay(camera, camera.width / 2, camera.height / 2);
  int clicked = 0;
  for (int32_t f = 0; f < cube.faces.count(); ++f) {
    if (dot(cube.faceNormal(f, true), ray) > -0.2f)
      continue; // turned away, or seen too nearly edge-on to click its middle
    clickAt(windowPoint(camera, cube.faceCentroid(f)));
    ++clicked;
    ASSERT_EQ(moFACES, shell->scene().mode);
    EXPECT_TRUE(shell->scene().selection.Contains({f, 0})) << "face " << f;
    EXPECT_EQ(clicked, shell->scene().selection.Count());
  }
  EXPECT_EQ(3, clicked); // the default view sees the top and two sides
}

TEST_F(HiDpiTest, RubberBandAroundTheCubeSelectsAllItsFaces) {
  QTest::keyClick(model, 'f'); // faces, with nothing selected
  const QRect bounds = windowBounds(model->view().camera, *shell->scene().object(0));
  const QPoint from = bounds.topLeft() - QPoint(15, 15), to = bounds.bottomRight() + QPoint(15, 15);
  send(QEvent::MouseMove, from - QPoint(2, 0), Qt::NoButton, Qt::NoButton);
  send(QEvent::MouseMove, from, Qt::NoButton, Qt::NoButton);
  send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  int32_t band[4];
  ASSERT_TRUE(model->controller().rubberBand(band));
  send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(6, shell->scene().selection.Count()); // hidden faces too
}

// A script recorded at ratio 1 plays to the same scene here: its header holds the window's size
// and its rubber band the rectangle around its cube as the ratio-1 window showed it.
TEST_F(HiDpiTest, ScriptRecordedAtRatioOneSelectsTheSameFaces) {
  View recorded;
  recorded.resize(model->width(), model->height());
  recorded.ResetCamera();
  const QRect band =
      windowBounds(recorded.camera, *shell->scene().object(0)).adjusted(-10, -10, 10, 10);
  const auto path = std::filesystem::temp_directory_path() / "morvo_hidpi_test.mvs";
  ScriptRecorder recorder;
  ASSERT_TRUE(recorder.begin(path.string(), recorded.camera.width, recorded.camera.height));
  recorder.write(35, {int32_t(PrimitiveType::Cube)}); // a script starts on an empty scene
  recorder.write(36, {moFACES});
  recorder.write(kScriptRectangleSelect,
                 {band.center().x(), recorded.camera.height - band.center().y(), band.width(),
                  band.height(), moFACES, 600, 0});
  recorder.end();

  ScriptPlayer &player = shell->player();
  ASSERT_TRUE(player.Load(path.string()));
  ASSERT_TRUE(player.Play());
  QTRY_VERIFY(player.finished());
  std::filesystem::remove(path);
  EXPECT_EQ(6, shell->scene().selection.Count());
}

} // namespace

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  if (testing::GTEST_FLAG(list_tests))
    return RUN_ALL_TESTS(); // listing needs no display
  qputenv("QT_SCALE_FACTOR", "2");
  useProgramSurfaceFormat();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
