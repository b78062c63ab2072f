// The model window: the OpenGL work window that shows the scene through the view. For now the
// mouse drives the camera only: left drag orbits, middle or right drag zooms (a horizontal
// middle-button flick spins), the wheel moves the eye toward the target; the arrow keys pan.
#pragma once

#include "scene/scene.h"
#include "view/view.h"

#include <QOpenGLWidget>
#include <QTimer>

class ModelWindow : public QOpenGLWidget {
  Q_OBJECT
public:
  ModelWindow(Scene &scene, View &view, UserInterface &ui, QWidget *parent = nullptr);
  QSize sizeHint() const override { return {720, 486}; }
  const View &view() const { return view_; }
  // The scene changed: every display list is rebuilt before the next frame.
  void sceneChanged();

protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  Scene &scene_;
  View &view_;
  UserInterface &ui_;
  QTimer spinTimer_;
  bool listsStale_ = true;
  QPoint previous_;
  QPoint accumulated_;
};
