// The model window: the OpenGL work window that shows the scene through the view. Its mouse and
// key input goes to the interaction controller, translated from Qt's events; the window carries
// out what the controller's reactions ask (redraw, spin timer, pointer warp, cursor, the
// operations menu).
#pragma once

#include "scene/scene.h"
#include "view/interaction_controller.h"
#include "view/view.h"

#include <QOpenGLWidget>
#include <QStringList>
#include <QTimer>

class QMenu;

class ModelWindow : public QOpenGLWidget {
  Q_OBJECT
public:
  ModelWindow(Scene &scene, View &view, UserInterface &ui, QWidget *parent = nullptr);
  QSize sizeHint() const override { return {720, 486}; }
  const View &view() const { return view_; }
  InteractionController &controller() { return controller_; }
  // The scene changed: every display list is rebuilt before the next frame.
  void sceneChanged();

signals:
  // Scene files were dropped on the window, to be opened one after the other.
  void scenesDropped(const QStringList &paths);

protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void wheelEvent(QWheelEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;

private:
  void pointer(QMouseEvent *event, PointerInput::Kind kind);
  void apply(const Reaction &reaction);
  void fillMenu(QMenu *menu, const std::vector<MenuEntry> &entries);

  Scene &scene_;
  View &view_;
  InteractionController controller_;
  QTimer spinTimer_;
  bool listsStale_ = true;
};
