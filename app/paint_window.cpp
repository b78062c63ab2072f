#include "app/paint_window.h"

#include "app/brush_options_popup.h"
#include "app/pointer_input.h"
#include "app/tool_cursors.h"

#include <QCursor>
#include <QMouseEvent>

void PaintWindowUi::messageBox(const std::string &text) {
  ui_.messageBox(text);
  window_.makeCurrent();
}

bool PaintWindowUi::askYesNo(const std::string &question) {
  const bool yes = ui_.askYesNo(question);
  window_.makeCurrent();
  return yes;
}

UserInterface::Answer PaintWindowUi::askYesNoCancel(const std::string &question) {
  const Answer answer = ui_.askYesNoCancel(question);
  window_.makeCurrent();
  return answer;
}

UserInterface::FileChoice PaintWindowUi::chooseFile(const FileRequest &request) {
  FileChoice choice = ui_.chooseFile(request);
  window_.makeCurrent();
  return choice;
}

PaintWindow::PaintWindow(Scene &scene, View &view, InteractionController &controller,
                         UserInterface &ui, QWidget *parent)
    : QOpenGLWidget(parent), ui_(ui, *this), input_(scene, view, controller, ui_) {
  setUpdateBehavior(QOpenGLWidget::PartialUpdate); // tools draw into the kept frame buffer
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true); // hover feedback of the tools follows the pointer
}

bool PaintWindow::enter(bool firstEntry) {
  firstEntry_ = firstEntry;
  fullRepaint_ = true;
  setCursor(paintToolCursor(input_.toolbox.currentIndex()));
  update();
  if (!isValid()) {
    // Shown for the first time: the context exists only from the first paint on, and GL work
    // done before would land in whatever context is current (the model window's).
    painting_ = enterPending_ = true;
    return true;
  }
  makeCurrent();
  return painting_ = prepareEntry();
}

bool PaintWindow::prepareEntry() {
  const bool entered = input_.enter(width(), height(), devicePixelRatioF()); // with its prompt
  if (entered && firstEntry_)
    input_.useFirstEntryTool();
  setCursor(paintToolCursor(input_.toolbox.currentIndex()));
  return entered;
}

void PaintWindow::viewChanged() {
  makeCurrent();
  input_.viewChanged();
  fullRepaint_ = true;
  update();
}

void PaintWindow::showToolCursor() {
  setCursor(paintToolCursor(input_.toolbox.currentIndex()));
  input_.showPrompt(false);
}

void PaintWindow::initializeGL() {
  SceneRenderer::InitGlState(Camera{});
  fullRepaint_ = true;
}

void PaintWindow::resizeGL(int, int) {
  fullRepaint_ = true;
  if (!painting_ || enterPending_)
    return;
  input_.resize(width(), height(), devicePixelRatioF());
}

void PaintWindow::paintGL() {
  if (enterPending_) {
    enterPending_ = false;
    painting_ = prepareEntry();
  }
  if (!painting_ || !fullRepaint_)
    return; // what the tools drew is already in the kept frame buffer
  input_.paint();
  fullRepaint_ = false;
}

void PaintWindow::pointer(QMouseEvent *event, PointerInput::Kind kind) {
  const PointerInput in = pointerInputOf(*event, kind);
  if (!painting_)
    return;
  makeCurrent();
  apply(input_.pointer(in));
  update();
}

void PaintWindow::mousePressEvent(QMouseEvent *event) { pointer(event, PointerInput::Press); }
void PaintWindow::mouseMoveEvent(QMouseEvent *event) { pointer(event, PointerInput::Move); }
void PaintWindow::mouseReleaseEvent(QMouseEvent *event) {
  const bool stroke = painting_ && event->button() == Qt::LeftButton && !input_.inCamera();
  if (stroke)
    setCursor(Qt::WaitCursor); // the stroke commit can take a moment
  pointer(event, PointerInput::Release);
  if (stroke)
    setCursor(paintToolCursor(input_.toolbox.currentIndex()));
}

void PaintWindow::enterEvent(QEnterEvent *) {
  if (painting_ && !input_.inCamera())
    showToolCursor();
}

void PaintWindow::apply(const PaintReaction &r) {
  if (r.cameraCursor)
    setCursor(Qt::SizeAllCursor);
  if (r.toolCursor)
    showToolCursor();
  if (r.warp)
    QCursor::setPos(mapToGlobal(QPoint(r.warpX, r.warpY)));
  if (r.swatch)
    emit swatchChanged();
  if (r.brushOptions)
    showBrushOptions(this, input_, ui_, QCursor::pos());
}
