#include "app/top_shell.h"

#include "app/about_picture.h"
#include "app/model_window.h"
#include "app/work_modes.h"
#include "scene/scene_file.h"
#include "script/command_table.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>

namespace {

const char *const kSceneFilter = "Morvo files (*.mvo)";
const char *const kScriptFilter = "Morvo Tutorial Scripts (*.mvs)";

// The check mark of a checkable command as the view stands; -1 for commands without one.
int checkState(int32_t command, const View &view) {
  const SceneRenderer &r = view.renderer;
  switch (command) {
  case 8962:
    return (view.groundAndAxes & View::kGroundGrid) ? 1 : 0;
  case 8963:
    return (view.groundAndAxes & View::kAxes) ? 1 : 0;
  case 8972:
    return view.camera.perspective ? 0 : 1;
  case 9221:
    return r.outlines && !r.smooth ? 1 : 0;
  case 9222:
    return r.colors ? 1 : 0;
  case 9223:
    return r.textures ? 1 : 0;
  default:
    return -1;
  }
}

// The command of a key press: pressed keys first, then the typed character.
int32_t keyCommand(const QKeyEvent *event, const Scene &scene, bool selectMode) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  switch (event->key()) {
  case Qt::Key_Left:
    return pressedKeyCommand(PressedKey::Left, 0, ctrl);
  case Qt::Key_Right:
    return pressedKeyCommand(PressedKey::Right, 0, ctrl);
  case Qt::Key_Up:
    return pressedKeyCommand(PressedKey::Up, 0, ctrl);
  case Qt::Key_Down:
    return pressedKeyCommand(PressedKey::Down, 0, ctrl);
  case Qt::Key_Delete:
    return pressedKeyCommand(PressedKey::Delete, 0, ctrl);
  default:
    break;
  }
  if (ctrl && event->key() >= Qt::Key_A && event->key() <= Qt::Key_Z)
    return pressedKeyCommand(PressedKey::Letter, char('A' + event->key() - Qt::Key_A), ctrl);
  const QString text = event->text();
  return text.size() == 1 ? typedKeyCommand(text.at(0).unicode(), scene, selectMode, ctrl) : 0;
}

} // namespace

QtScriptHost::QtScriptHost() { timer.setInterval(10); }

void QtScriptHost::showScriptMessage(const std::string &text) {
  if (pane)
    pane->setPlainText(QString::fromStdString(text));
}

bool QtScriptHost::startPlaybackTimer() {
  timer.start();
  return timer.isActive();
}

void QtScriptHost::refreshModelView(bool sceneChanged) {
  if (modelWindow && sceneChanged)
    modelWindow->sceneChanged();
  else if (modelWindow)
    modelWindow->update();
}

TopShell::TopShell(UserInterface *ui) : statusLine_(new QLabel) {
  statusBar()->addPermanentWidget(statusLine_, 1);
  if (!ui)
    ownUi_ = std::make_unique<QtUserInterface>(this, statusLine_);
  ui_ = ui ? ui : ownUi_.get();
  scene_ = std::make_unique<Scene>(*ui_);
  scene_->mode = moFREE;
  view_.ResetCamera();
  QWidget *howTo = new QWidget(this, Qt::Tool);
  howTo->setWindowTitle(QStringLiteral("How To..."));
  host_.pane = new QPlainTextEdit(howTo);
  host_.pane->setReadOnly(true);
  host_.pane->setLineWrapMode(QPlainTextEdit::NoWrap);
  layer_ = std::make_unique<CommandLayer>(*scene_, view_, *ui_, host_);
  player_ = std::make_unique<ScriptPlayer>(*layer_);
  modelWindow_ = new ModelWindow(*layer_, this);
  host_.modelWindow = modelWindow_;
  connect(&host_.timer, &QTimer::timeout, this, [this] {
    modelWindow_->makeCurrent();
    player_->tick();
  });
  workArea_ = new QStackedWidget(this);
  workArea_->addWidget(modelWindow_);
  setCentralWidget(workArea_);
  connect(modelWindow_, &ModelWindow::scenesDropped, this, [this](const QStringList &paths) {
    if (askToSave())
      for (const QString &path : paths)
        openScenePath(path);
  });
  attachShellCommands();
  workModes_ = std::make_unique<WorkModes>(*this, *workArea_, *modelWindow_);
  modelBar_ = menuBar();
  buildMenuBar(modelBar_, ::modelMenuBar());
  paintBar_ = new QMenuBar(this);
  paintBar_->hide();
  buildMenuBar(paintBar_, ::paintMenuBar());
  refreshTitle();
  // A client area of 720 x 486 for the model window.
  resize(720, 486 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  modelWindow_->setFocus();
}

TopShell::~TopShell() = default;

QString TopShell::scriptMessage() const { return host_.pane->toPlainText(); }

void TopShell::buildMenuBar(QMenuBar *bar, const std::vector<MenuDefinition> &menus) {
  connect(bar, &QMenuBar::hovered, this, [this](QAction *action) {
    if (!action->data().toString().isEmpty())
      ui_->setStatus(action->data().toString().toStdString());
  });
  for (const MenuDefinition &definition : menus) {
    QMenu *menu = bar->addMenu(QString::fromLatin1(definition.title));
    menu->menuAction()->setData(QString::fromLatin1(definition.help));
    fillMenu(menu, definition.items);
  }
  refreshChecks();
}

void TopShell::fillMenu(QMenu *menu, const std::vector<MenuItem> &items) {
  connect(menu, &QMenu::hovered, this, [this](QAction *action) {
    if (!action->data().toString().isEmpty())
      ui_->setStatus(action->data().toString().toStdString());
  });
  for (const MenuItem &item : items) {
    if (!item.label) {
      menu->addSeparator();
      continue;
    }
    if (item.popup) {
      QMenu *popup = menu->addMenu(QString::fromLatin1(item.label));
      popup->menuAction()->setData(QString::fromLatin1(item.help));
      fillMenu(popup, *item.popup);
      continue;
    }
    QAction *action = menu->addAction(QString::fromLatin1(item.label));
    const CommandEntry *entry = findCommand(item.command);
    action->setData(QString::fromLatin1(entry && entry->help ? entry->help : ""));
    action->setProperty("command", item.command);
    action->setEnabled(layer_->available(item.command));
    action->setCheckable(checkState(item.command, view_) >= 0);
    connect(action, &QAction::triggered, this,
            [this, number = item.command] { runCommand(number); });
  }
}

void TopShell::refreshChecks() {
  for (QMenuBar *bar : {modelBar_, paintBar_})
    for (QAction *action : bar ? bar->findChildren<QAction *>() : QList<QAction *>())
      if (const int state = checkState(action->property("command").toInt(), view_); state >= 0)
        action->setChecked(state == 1);
}

void TopShell::runCommand(int32_t number) {
  if (workModes_->inPaint()) {
    workModes_->runInPaint(number);
    return refreshChecks();
  }
  modelWindow_->makeCurrent(); // commands may draw: picking, list rebuilds
  layer_->run(number);
  modelWindow_->applyPendingReaction();
  refreshChecks();
  modelWindow_->update();
}

PaintWindow *TopShell::paintWindow() const { return workModes_->paintWindow(); }

void TopShell::installMenuBar(bool paint) {
  QMenuBar *shown = paint ? paintBar_ : modelBar_;
  QMenuBar *hidden = paint ? modelBar_ : paintBar_;
  hidden->hide();
  // The layout's own setter swaps the bars; QMainWindow's would delete the one taken out.
  layout()->setMenuBar(shown);
  shown->show();
}

void TopShell::keyPressEvent(QKeyEvent *event) {
  const int32_t command = keyCommand(event, *scene_, layer_->inSelectMode());
  if (command == 0)
    return QMainWindow::keyPressEvent(event);
  runCommand(command);
}

void TopShell::attachShellCommands() {
  CommandLayer &l = *layer_;
  l.attach(8449, [this] { newScene(); });
  l.attach(8450, [this] {
    if (!askToSave())
      return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Select a Morvo file to load"), QString(), kSceneFilter);
    if (!path.isEmpty())
      openScenePath(path);
  });
  l.attach(8452, [this] { save(!named_); });
  l.attach(8453, [this] { save(true); });
  l.attach(8461, [this] { close(); });
  l.attach(9473, [this] { showAbout(); });
  l.attach(10241, [this] { chooseColour(); });
  l.attach(kCommandRepeatLast, [this] { modelWindow_->repeatLast(); });
  l.attach(kCommandStartRecording, [this] { startRecording(); });
}

void TopShell::refreshTitle() {
  const QString name = fileName_.isEmpty() ? QStringLiteral("untitled.mvo") : fileName_;
  setWindowTitle(QStringLiteral("Morvo 1.5 - ") + QFileInfo(name).fileName());
}

void TopShell::showAbout() {
  if (about_)
    return;
  about_ = new AboutPicture(this);
  about_->show();
}

void TopShell::newScene() {
  if (!askToSave())
    return;
  fileName_.clear();
  named_ = false;
  refreshTitle();
  layer_->execute(34);
}

void TopShell::chooseColour() {
  const moColor c = scene_->GetCurrentColour();
  const QColor chosen = QColorDialog::getColor(QColor(c.r, c.g, c.b), this, QString(),
                                               QColorDialog::DontUseNativeDialog);
  if (chosen.isValid())
    layer_->execute(120, {chosen.red(), chosen.green(), chosen.blue(), 255});
}

void TopShell::startRecording() {
  if (layer_->recorder().recording())
    return;
  resize(720, 486 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  ui_->setStatus("Begin recording script");
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Record tutorial script as ..."), QString(), kScriptFilter);
  if (!path.isEmpty())
    layer_->beginRecording(path.toStdString());
}

bool TopShell::openScenePath(QString path) {
  if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"'))
    path = path.mid(1, path.size() - 2);
  if (!openSceneFile(*scene_, path.toStdString(), true))
    return false;
  scene_->backup.clear(true); // the opened scene starts a new undo history
  fileName_ = path;
  named_ = true;
  refreshTitle();
  modelWindow_->sceneChanged();
  return true;
}

bool TopShell::save(bool chooseName) {
  QString path = fileName_;
  if (chooseName) {
    path = QFileDialog::getSaveFileName(this, QStringLiteral("Select the filename to save"),
                                        fileName_, kSceneFilter);
    if (path.isEmpty())
      return false;
    if (!path.endsWith(QStringLiteral(".mvo"), Qt::CaseInsensitive))
      path += QStringLiteral(".mvo");
  }
  if (!saveSceneFile(*scene_, path.toStdString(), false))
    return false;
  fileName_ = path;
  named_ = true;
  refreshTitle();
  modelWindow_->sceneChanged(); // saving compacts and clears the selection
  return true;
}

bool TopShell::askToSave() {
  if (scene_->objects.objectCount() == 0)
    return true;
  const UserInterface::Answer answer = ui_->askYesNoCancel(
      "This will throw away unsaved data. Would you like to save your work now?");
  if (answer == UserInterface::Answer::Cancel)
    return false;
  if (answer == UserInterface::Answer::Yes)
    save(true); // the flow goes on also when the dialog was cancelled
  return true;
}

// Quit, from the menu, Ctrl+Q or the window's close button.
void TopShell::closeEvent(QCloseEvent *event) {
  if (!quitting_ && !askToSave()) {
    event->ignore();
    return;
  }
  quitting_ = true;
  player_->Stop();
  layer_->endRecording();
  scene_->DeleteAll();
  event->accept();
}
