// The model window: the OpenGL work window that shows the scene through the view. Its mouse input
// (the wheel too), the spin timer's ticks and the Shift and Ctrl keys go to the interaction
// controller through the script layer, which records what the script format can say of them
// when a recording runs; the window translates Qt's events and carries out what the
// controller's reactions ask (redraw, spin timer, pointer warp, cursor, the operations menu).
// Other keys go on to the main window, which owns the hot keys.
// On a high-density screen the controller, the camera's projection and scripts work in window
// pixels, as Qt reports pointer positions, while the frame buffer has the device's own pixels:
// resizeGL hands both to the view, and nothing else here converts.
#pragma once

#include "script/command_layer.h"
#include "script/scripted_controller.h"
#include "view/interaction_controller.h"

#include <QOpenGLWidget>
#include <QStringList>
#include <QTimer>

class QMenu;

class ModelWindow : public QOpenGLWidget {
  Q_OBJECT
public:
  // Becomes the command layer's input controller.
  ModelWindow(CommandLayer &layer, QWidget *parent = nullptr);
  QSize sizeHint() const override { return {720, 486}; }
  const View &view() const { return view_; }
  InteractionController &controller() { return controller_; }
  // The scene changed: every display list is rebuilt before the next frame.
  void sceneChanged();
  // Takes the view back after another work window had it: a fresh frame buffer, the camera at
  // this window's size again and the lists rebuilt.
  void takeView();
  // Key D: the last operation again.
  void repeatLast();
  // Escape: a running drag is cancelled as a right click cancels it.
  void cancelDrag();
  // A key pressed while a drag runs: the typed-amount keys (characters, Backspace, Enter) go to
  // the controller; Escape closes an open amount entry, or else cancels the drag.
  void dragKey(const QKeyEvent *event);
  // The selection's measurement, when the selection changed, in the status line.
  void showSelectionStatus() { controller_.showSelectionStatus(); }
  // Carries out what an operation started by a command asked of the window.
  void applyPendingReaction();

signals:
  // A frame has been drawn.
  void frameDrawn();
  // Local files were dropped on the window, in the order given.
  void filesDropped(const QStringList &paths);
  // The scene changed (sceneChanged was called): windows that show the scene refresh.
  void sceneModified();

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
  // Tab is a hot key here, not a focus change.
  bool focusNextPrevChild(bool) override { return false; }

private:
  void pointer(QMouseEvent *event, PointerInput::Kind kind);
  void apply(const Reaction &reaction);
  void fillMenu(QMenu *menu, const std::vector<MenuEntry> &entries);

  CommandLayer &layer_;
  Scene &scene_;
  View &view_;
  InteractionController controller_;
  ScriptedController scripted_;
  QTimer spinTimer_;
  bool listsStale_ = true;
};
