// The paint window: the second OpenGL work window, shown instead of the model window in the
// paint work mode. It always shows the scene orthographic and textured; the paint tools draw
// straight into its kept frame buffer between repaints, so a repaint draws only what changed.
// Mouse input goes to PaintWindowInput in device pixels (the canvas has the frame buffer's
// size); other keys go on to the main window, which owns the hot keys.
#pragma once

#include "paint/tools/paint_window_input.h"

#include <QOpenGLWidget>

class PaintWindow;

// The user interface as the paint window's input code sees it: each modal dialog runs an event
// loop of its own, which may leave another OpenGL context current, so the window's context is
// made current again before the code goes on drawing.
class PaintWindowUi : public UserInterface {
public:
  PaintWindowUi(UserInterface &ui, PaintWindow &window) : ui_(ui), window_(window) {}
  void messageBox(const std::string &text) override;
  bool askYesNo(const std::string &question) override;
  Answer askYesNoCancel(const std::string &question) override;
  void setStatus(const std::string &text) override { ui_.setStatus(text); }
  FileChoice chooseFile(const FileRequest &request) override;

private:
  UserInterface &ui_;
  PaintWindow &window_;
};

class PaintWindow : public QOpenGLWidget {
  Q_OBJECT
public:
  PaintWindow(Scene &scene, View &view, InteractionController &controller, UserInterface &ui,
              QWidget *parent = nullptr);
  QSize sizeHint() const override { return {720, 486}; }
  PaintWindowInput &input() { return input_; }

  // Enters the paint work mode (the window must be shown): prepares the canvas at the window's
  // size, on the first entry of a run sets up the first tool, and shows the tool's cursor and
  // prompt. Returns false when the canvas cannot be had.
  bool enter(bool firstEntry);
  // Leaves the paint work mode: resizes no longer prepare the canvas.
  void leave() { painting_ = enterPending_ = false; }
  // The camera or the scene changed: the canvas is prepared again and the view redrawn.
  void viewChanged();
  // Runs f with the window's context current and repaints what it drew.
  template <class F> auto withContext(F f) {
    makeCurrent();
    auto result = f(input_);
    update();
    emit swatchChanged();
    return result;
  }
  // The current tool's cursor and its prompt in the status line.
  void showToolCursor();

signals:
  // The colour swatches show something new (a colour picked, an image loaded).
  void swatchChanged();

protected:
  void initializeGL() override;
  void resizeGL(int width, int height) override;
  void paintGL() override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void enterEvent(QEnterEvent *event) override;
  // Tab is a hot key here, not a focus change.
  bool focusNextPrevChild(bool) override { return false; }

private:
  void pointer(QMouseEvent *event, PointerInput::Kind kind);
  void apply(const PaintReaction &reaction);
  // The canvas prepared in this window's context, with the first tool on the first entry.
  bool prepareEntry();

  PaintWindowUi ui_;
  PaintWindowInput input_;
  bool painting_ = false;     // in the paint work mode
  bool fullRepaint_ = true;   // the next paintGL draws the whole view
  bool enterPending_ = false; // entered before the first paint: the canvas waits for it
  bool firstEntry_ = false;   // the entry being prepared is the run's first
};
