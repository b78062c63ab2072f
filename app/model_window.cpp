#include "app/model_window.h"

#include "app/pointer_input.h"
#include "view/frame.h"
#include "view/transforms.h"
#include "view/window_drawing.h"

#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWheelEvent>

ModelWindow::ModelWindow(CommandLayer &layer, QWidget *parent)
    : QOpenGLWidget(parent), layer_(layer), scene_(layer.scene()), view_(layer.view()),
      controller_(layer.scene(), layer.view(), layer.ui()), scripted_(controller_, layer) {
  layer.setInput(&scripted_);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true); // the hover highlight follows the pointer without a button held
  setAcceptDrops(true);
  spinTimer_.setInterval(10);
  connect(&spinTimer_, &QTimer::timeout, this, [this] {
    layer_.spinTick();
    applyPendingReaction();
  });
}

void ModelWindow::sceneChanged() {
  listsStale_ = true;
  update();
  emit sceneModified();
}

void ModelWindow::takeView() {
  // Shown again after the paint window, the widget would keep showing a stale frame buffer on
  // some platforms (Mesa under X) until its next resize: have it make a new one now.
  const QSize size = this->size();
  resize(size.width(), size.height() - 1);
  resize(size);
  view_.resize(width(), height(), devicePixelRatioF());
  sceneChanged();
}

void ModelWindow::repeatLast() {
  makeCurrent();
  apply(scripted_.key({KeyInput::RepeatLast, true}));
}

void ModelWindow::cancelDrag() {
  makeCurrent();
  apply(scripted_.cancelDrag());
}

void ModelWindow::dragKey(const QKeyEvent *event) {
  makeCurrent();
  const auto send = [this](KeyInput::Key key, char32_t character) {
    KeyInput in;
    in.key = key;
    in.character = character;
    apply(scripted_.key(in));
  };
  switch (event->key()) {
  case Qt::Key_Escape:
    return controller_.typing() ? send(KeyInput::Escape, 0) : cancelDrag();
  case Qt::Key_Backspace:
    return send(KeyInput::Backspace, 0);
  case Qt::Key_Return:
  case Qt::Key_Enter:
    return send(KeyInput::Enter, 0);
  default:
    break;
  }
  if (event->modifiers() & Qt::ControlModifier)
    return; // Ctrl with a key types nothing
  for (const char32_t c : event->text().toUcs4())
    send(KeyInput::Character, c);
}

void ModelWindow::applyPendingReaction() { apply(scripted_.takeReaction()); }

void ModelWindow::initializeGL() {
  SceneRenderer::InitGlState(view_.camera);
  listsStale_ = true;
}

void ModelWindow::resizeGL(int width, int height) {
  view_.resize(width, height, devicePixelRatioF());
}

void ModelWindow::paintGL() {
  // During a drag the fast build keeps the drag batches that the steps refill.
  const FrameLists lists = !listsStale_ ? FrameLists::Kept
                           : controller_.mode() == InteractionController::DragMode
                               ? FrameLists::Fast
                               : FrameLists::Full;
  drawFrame(view_, scene_, {controller_.interactionMode(), lists, false});
  listsStale_ = false;
  int32_t band[4];
  const int32_t w = view_.camera.width, h = view_.camera.height;
  if (controller_.rubberBand(band))
    XorRectangle(band[0], band[1], band[2], band[3], w, h);
  // The vertex a Ctrl snap holds the dragged handle on: a square ring around it.
  SnapTarget target;
  moVec3 at;
  if (controller_.snapTarget(target) &&
      project(target.position, view_.camera.viewMatrix(), view_.camera.projectionMatrix(),
              view_.camera.viewport(), at)) {
    const int32_t x = int32_t(at.x), y = int32_t(at.y);
    XorRectangle(x - 6, y - 6, x + 6, y + 6, w, h);
    XorRectangle(x - 3, y - 3, x + 3, y + 3, w, h);
  }
  emit frameDrawn();
}

void ModelWindow::pointer(QMouseEvent *event, PointerInput::Kind kind) {
  const PointerInput in = pointerInputOf(*event, kind);
  makeCurrent(); // picking and list rebuilds draw in this window's context
  apply(scripted_.pointer(in));
}

void ModelWindow::mousePressEvent(QMouseEvent *event) { pointer(event, PointerInput::Press); }
void ModelWindow::mouseMoveEvent(QMouseEvent *event) { pointer(event, PointerInput::Move); }
void ModelWindow::mouseReleaseEvent(QMouseEvent *event) { pointer(event, PointerInput::Release); }

void ModelWindow::wheelEvent(QWheelEvent *event) {
  if (const int delta = event->angleDelta().y()) {
    layer_.wheel(delta);
    applyPendingReaction();
  }
}

void ModelWindow::apply(const Reaction &r) {
  if (r.stopSpinTimer)
    spinTimer_.stop();
  if (r.startSpinTimer)
    spinTimer_.start();
  if (r.cursor != CursorShape::Unchanged)
    setCursor(r.cursor == CursorShape::Arrow ? Qt::ArrowCursor : Qt::SizeAllCursor);
  if (r.warp)
    QCursor::setPos(mapToGlobal(QPoint(r.warpX, r.warpY)));
  if (r.redraw)
    update();
  if (r.menu == MenuKind::None)
    return;
  QMenu menu(this);
  fillMenu(&menu, operationsMenu(r.menu));
  const QSize size = menu.sizeHint();
  menu.exec(QCursor::pos() - QPoint(0, size.height() / 2));
}

void ModelWindow::fillMenu(QMenu *menu, const std::vector<MenuEntry> &entries) {
  for (const MenuEntry &entry : entries) {
    if (entry.type == MenuEntry::Type::Separator) {
      menu->addSeparator();
      continue;
    }
    const QString text = QString::fromStdString(entry.text);
    QAction *action = nullptr;
    if (entry.type == MenuEntry::Type::Submenu) {
      QMenu *sub = menu->addMenu(text);
      fillMenu(sub, entry.submenu);
      action = sub->menuAction();
    } else {
      action = menu->addAction(text);
      if (entry.type == MenuEntry::Type::Command)
        connect(action, &QAction::triggered, this, [this, command = entry.command] {
          makeCurrent();
          apply(scripted_.choose(command));
        });
    }
    action->setEnabled(entry.enabled);
    connect(action, &QAction::hovered, this, [this, &entry] { controller_.showHelp(entry); });
  }
}

void ModelWindow::keyPressEvent(QKeyEvent *event) {
  if (event->key() != Qt::Key_Shift && event->key() != Qt::Key_Control)
    return event->ignore(); // a hot key of the main window
  makeCurrent();
  const bool shift = event->key() == Qt::Key_Shift;
  apply(scripted_.key({shift ? KeyInput::Shift : KeyInput::Ctrl, true}));
}

void ModelWindow::keyReleaseEvent(QKeyEvent *event) {
  if (event->key() != Qt::Key_Shift && event->key() != Qt::Key_Control)
    return QOpenGLWidget::keyReleaseEvent(event);
  makeCurrent();
  const bool shift = event->key() == Qt::Key_Shift;
  apply(scripted_.key({shift ? KeyInput::Shift : KeyInput::Ctrl, false}));
}

void ModelWindow::dragEnterEvent(QDragEnterEvent *event) {
  if (event->mimeData()->hasUrls())
    event->acceptProposedAction();
}

void ModelWindow::dropEvent(QDropEvent *event) {
  QStringList paths;
  for (const QUrl &url : event->mimeData()->urls())
    if (url.isLocalFile())
      paths.push_back(url.toLocalFile());
  event->acceptProposedAction();
  if (!paths.isEmpty())
    emit filesDropped(paths);
}
