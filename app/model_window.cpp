#include "app/model_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

ModelWindow::ModelWindow(Scene &scene, View &view, UserInterface &ui, QWidget *parent)
    : QOpenGLWidget(parent), scene_(scene), view_(view), ui_(ui) {
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(false);
  spinTimer_.setInterval(10);
  connect(&spinTimer_, &QTimer::timeout, this, [this] {
    if (view_.cameraMode.spinTick(view_.camera))
      update();
    else
      spinTimer_.stop();
  });
}

void ModelWindow::sceneChanged() {
  listsStale_ = true;
  update();
}

void ModelWindow::initializeGL() {
  SceneRenderer::InitGlState(view_.camera);
  listsStale_ = true;
}

void ModelWindow::resizeGL(int width, int height) {
  const qreal ratio = devicePixelRatioF();
  view_.resize(int32_t(width * ratio), int32_t(height * ratio));
}

void ModelWindow::paintGL() {
  view_.camera.ApplyProjection();
  if (listsStale_) {
    view_.renderer.RebuildLists(scene_, true);
    listsStale_ = false;
  }
  view_.renderer.DrawScene(scene_, view_.camera, view_.groundAndAxes, InteractionMode::Camera,
                           false);
}

void ModelWindow::mousePressEvent(QMouseEvent *event) {
  previous_ = event->position().toPoint();
  accumulated_ = {};
  if (event->button() == Qt::MiddleButton)
    view_.cameraMode.spinArmed = !view_.cameraMode.spinArmed;
  else
    view_.cameraMode.spinArmed = false; // any other press ends a spin
}

void ModelWindow::mouseMoveEvent(QMouseEvent *event) {
  const QPoint p = event->position().toPoint();
  const QPoint step = p - previous_;
  accumulated_ += step;
  CameraMode &mode = view_.cameraMode;
  if (event->buttons() & (Qt::MiddleButton | Qt::RightButton)) {
    if (mode.spinArmed && std::abs(accumulated_.x()) + 4 >= std::abs(4 * accumulated_.y()))
      mode.trackSpin(step.x());
    mode.zoom(view_.camera, p.y(), previous_.y(), accumulated_.x(), accumulated_.y());
  } else if (event->buttons() & Qt::LeftButton) {
    mode.orbit(view_.camera, p.x(), p.y(), previous_.x(), previous_.y());
  }
  previous_ = p;
  update();
}

void ModelWindow::mouseReleaseEvent(QMouseEvent *event) {
  if (event->button() == Qt::MiddleButton && view_.cameraMode.releaseSpin(view_.camera)) {
    spinTimer_.start();
    update();
  }
}

void ModelWindow::wheelEvent(QWheelEvent *event) {
  wheelZoom(view_.camera, event->angleDelta().y());
  ui_.setStatus(" In MouseWheel ");
  // The wheel does not redraw by itself; the change shows with the next frame.
}

void ModelWindow::keyPressEvent(QKeyEvent *event) {
  switch (event->key()) {
  case Qt::Key_Left:
    view_.PanCamera(-10, 0);
    break;
  case Qt::Key_Up:
    view_.PanCamera(0, 10);
    break;
  case Qt::Key_Right:
    view_.PanCamera(10, 0);
    break;
  case Qt::Key_Down:
    view_.PanCamera(0, -10);
    break;
  default:
    QOpenGLWidget::keyPressEvent(event);
    return;
  }
  update();
}
