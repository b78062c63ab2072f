#include "app/top_shell.h"

#include "app/about_picture.h"
#include "app/autosave.h"
#include "app/colour_chooser.h"
#include "app/file_commands.h"
#include "app/help_browser.h"
#include "app/how_to_window.h"
#include "app/main_tool_bar.h"
#include "app/model_window.h"
#include "app/object_info_window.h"
#include "app/paint_tool_bars.h"
#include "app/settings.h"
#include "app/status_help.h"
#include "app/status_line.h"
#include "app/toolbox_window.h"
#include "app/work_modes.h"
#include "script/command_table.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>

namespace {

// The check mark of a checkable command as the view stands; -1 for commands without one.
int checkState(int32_t command, const View &view, const Scene &scene) {
  const SceneRenderer &r = view.renderer;
  switch (command) {
  case kCommandSymmetryX:
  case kCommandSymmetryY:
  case kCommandSymmetryZ:
    return scene.symmetry.on(command - kCommandSymmetryX) ? 1 : 0;
  case kCommandGroundPlane:
    return (view.groundAndAxes & View::kGroundGrid) ? 1 : 0;
  case kCommandAxes:
    return (view.groundAndAxes & View::kAxes) ? 1 : 0;
  case kCommandOrthoCamera:
    return view.camera.perspective ? 0 : 1;
  case kCommandWorkmode:
    return r.outlines() && !r.smooth() ? 1 : 0;
  case kCommandColors:
    return r.colors() ? 1 : 0;
  case kCommandTextures:
    return r.textures() ? 1 : 0;
  default:
    return -1;
  }
}

// The command of a key press: pressed keys first, then the typed character.
int32_t keyCommand(const QKeyEvent *event, const Scene &scene, bool selectMode) {
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
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
    return pressedKeyCommand(PressedKey::Letter, char('A' + event->key() - Qt::Key_A), ctrl, shift);
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

TopShell::TopShell(UserInterface *ui) : statusLine_(new StatusLine) {
  statusBar()->addPermanentWidget(statusLine_, 1);
  if (!ui)
    ownUi_ = std::make_unique<QtUserInterface>(this, statusLine_);
  ui_ = ui ? ui : ownUi_.get();
  scene_ = std::make_unique<Scene>(*ui_);
  scene_->mode = moFREE;
  view_.ResetCamera();
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
  files_ = new FileCommands(*layer_, *this, *modelWindow_, ProgramFolders::ofThisProgram());
  connect(modelWindow_, &ModelWindow::filesDropped, files_, &FileCommands::dropFiles);
  host_.onSceneReset = [this] { files_->forgetFile(); };
  buildToolWindows();
  files_->session().hooks.presentWindow = [this] { presentAtStartSize(); };
  attachShellCommands();
  workModes_ = std::make_unique<WorkModes>(*this, *workArea_, *modelWindow_);
  connectPaintMode();
  modelBar_ = menuBar();
  buildMenuBar(modelBar_, ::modelMenuBar());
  settings_ = std::make_unique<Settings>();
  files_->setSettings(settings_.get());
  addRecentFilesMenu();
  addAutosaveMenu();
  paintBar_ = new QMenuBar(this);
  paintBar_->hide();
  buildMenuBar(paintBar_, ::paintMenuBar());
  resize(startSize());
  modelWindow_->setFocus();
}

// In this order: the tool-bar strip, the Object Info window, the How To window.
void TopShell::buildToolWindows() {
  statusHelp_ = new StatusHelp(*ui_, this);
  colours_ = new ColourChooser(*layer_, this);
  toolBar_ = new MainToolBar(*colours_, *statusHelp_, this);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  connect(toolBar_, &MainToolBar::commandChosen, this, &TopShell::runCommand);
  objectInfo_ = new ObjectInfoWindow(*layer_, *statusHelp_, this);
  connect(modelWindow_, &ModelWindow::sceneModified, objectInfo_,
          &ObjectInfoWindow::scheduleRefresh);
  connect(files_, &FileCommands::objectsChanged, objectInfo_, &ObjectInfoWindow::scheduleRefresh);
  // Every change of the selection mode is followed by a frame.
  connect(modelWindow_, &ModelWindow::frameDrawn, this,
          [this] { toolBar_->showSelectionMode(scene_->mode); });
  howTo_ = new HowToWindow(*player_, *statusHelp_, this);
  host_.pane = howTo_->messagePane();
  howTo_->scriptsFolder = files_->folders().scripts;
  connect(howTo_, &HowToWindow::commandChosen, this, &TopShell::runCommand);
  howTo_->attachCommands(*layer_,
                         {[this] { return files_->askToSave(); }, [this] { presentAtStartSize(); },
                          [this](bool on) { setTutorialMode(on); }});
}

void TopShell::setTutorialMode(bool on) {
  for (QAction *menu : menuBar()->actions())
    menu->setEnabled(!on);
  modelWindow_->setEnabled(!on);
  toolBar_->setEnabled(!on);
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
    connect(menu, &QMenu::aboutToShow, this, &TopShell::refreshHistoryEntries);
  }
  refreshChecks();
}

void TopShell::showHelpOnHover(QMenu *menu) {
  connect(menu, &QMenu::hovered, this, [this](QAction *action) {
    if (!action->data().toString().isEmpty())
      ui_->setStatus(action->data().toString().toStdString());
  });
}

void TopShell::fillMenu(QMenu *menu, const std::vector<MenuItem> &items) {
  showHelpOnHover(menu);
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
    QAction *action = menu->addAction(QString::fromStdString(menuLabel(item)));
    const CommandEntry *entry = findCommand(item.command);
    action->setData(QString::fromLatin1(entry && entry->help ? entry->help : ""));
    action->setProperty("command", item.command);
    action->setEnabled(layer_->available(item.command));
    action->setCheckable(checkState(item.command, view_, *scene_) >= 0);
    connect(action, &QAction::triggered, this,
            [this, number = item.command] { runCommand(number); });
  }
}

void TopShell::refreshChecks() {
  for (QMenuBar *bar : {modelBar_, paintBar_})
    for (QAction *action : bar ? bar->findChildren<QAction *>() : QList<QAction *>())
      if (const int state = checkState(action->property("command").toInt(), view_, *scene_);
          state >= 0)
        action->setChecked(state == 1);
  statusLine_->setModeText(QString::fromStdString(scene_->symmetry.modeText()));
  refreshHistoryEntries();
}

// Edit ▸ Undo and Redo, in both work modes, name the step they would take back or bring back
// ("Undo Extrude\tCtrl+z") and are disabled when there is none.
void TopShell::refreshHistoryEntries() {
  for (QMenuBar *bar : {modelBar_, paintBar_})
    for (QAction *action : bar ? bar->findChildren<QAction *>() : QList<QAction *>()) {
      const int32_t command = action->property("command").toInt();
      const bool undo = command == kCommandUndo || command == kCommandPaintUndo;
      if (!undo && command != kCommandRedo && command != kCommandPaintRedo)
        continue;
      const std::string name = undo ? scene_->undoStepName() : scene_->redoStepName();
      const std::string keys = hotKeyLabel(command);
      action->setText(QString::fromStdString((undo ? "Undo" : "Redo") +
                                             (name.empty() ? "" : " " + name) +
                                             (keys.empty() ? "" : "\t" + keys)));
      action->setEnabled(undo ? scene_->canUndoStep() : scene_->canRedoStep());
    }
}

void TopShell::runCommand(int32_t number) {
  if (workModes_->inPaint()) {
    workModes_->runInPaint(number);
    PaintWindowInput &paint = paintWindow()->input();
    paintToolBars_->showToolState(paint.toolbox, paint.canvas);
    return refreshChecks();
  }
  modelWindow_->makeCurrent(); // commands may draw: picking, list rebuilds
  layer_->run(number);
  modelWindow_->applyPendingReaction();
  if (!workModes_->inPaint())
    modelWindow_->showSelectionStatus();
  refreshChecks();
  modelWindow_->update();
  toolBar_->showSelectionMode(scene_->mode);
  objectInfo_->scheduleRefresh();
}

// The paint tool bars go into the Toolbox; the strip, Object Info, the colour chooser and Screen
// Capture follow the work mode.
void TopShell::connectPaintMode() {
  WorkModes &modes = *workModes_;
  PaintWindow *window = modes.paintWindow();
  paintToolBars_ = new PaintToolBars(*statusHelp_);
  modes.toolbox()->setToolBars(paintToolBars_);
  connect(paintToolBars_, &PaintToolBars::commandChosen, this, &TopShell::runCommand);
  paintToolBars_->attachToolChoices(*layer_, window->input().toolbox, [window]() -> PaintContext & {
    return window->input().context();
  });
  modes.shareToolColour(*colours_);
  connect(&modes, &WorkModes::workModeChanged, this, [this](bool paint) {
    toolBar_->setPaintMode(paint);
    toolBar_->setBandVisible(0, !paint);
    toolBar_->setBandVisible(2, !paint);
    objectInfo_->scheduleRefresh();
  });
  connect(window, &PaintWindow::swatchChanged, colours_, &ColourChooser::colourChanged);
  connect(colours_, &ColourChooser::colourChanged, modes.toolbox()->swatch(),
          qOverload<>(&QWidget::update));
  files_->setWorkWindow([this]() -> QOpenGLWidget * {
    return workModes_->inPaint() ? static_cast<QOpenGLWidget *>(paintWindow()) : modelWindow_;
  });
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
  // While a drag runs the mesh belongs to it: the keys type an amount (digits, "-" and "."
  // start one), Escape ends the amount or cancels the drag, every other hot key waits.
  if (!workModes_->inPaint() && modelWindow_->controller().dragRunning()) {
    if (modelWindow_->controller().mode() == InteractionController::DragMode ||
        event->key() == Qt::Key_Escape)
      modelWindow_->dragKey(event);
    return;
  }
  const int32_t command = keyCommand(event, *scene_, layer_->inSelectMode());
  if (command == 0)
    return QMainWindow::keyPressEvent(event);
  runCommand(command);
}

void TopShell::attachShellCommands() {
  CommandLayer &l = *layer_;
  files_->attachTo(l);
  l.attach(kCommandQuit, [this] { close(); });
  l.attach(kCommandHelp, [this] { showHelp(QStringLiteral("index.html")); });
  l.attach(kCommandHotKeys, [this] { showHelp(QStringLiteral("hot_keys.html")); });
  l.attach(kCommandAbout, [this] { showAbout(); });
  l.attach(kCommandShowObjectInfo, [this] { objectInfo_->toggle(); });
  l.attach(kCommandShowColorMixer, [this] { colours_->ChooseColour(scene_->GetCurrentColour()); });
  l.attach(kCommandRepeatLast, [this] { modelWindow_->repeatLast(); });
}

QString TopShell::fileName() const { return files_->fileName(); }

bool TopShell::openScenePath(QString path) { return files_->openScenePath(std::move(path)); }

void TopShell::showHelp(const QString &page) {
  if (!help_)
    help_ = new HelpBrowser(files_->folders().doc, this);
  help_->showPage(page);
}

void TopShell::startAutosave(const std::string &folder) {
  // Autosave waits while the mesh follows the mouse or a stroke is not yet in the textures.
  const auto busy = [this] {
    const PaintCanvas &canvas = paintWindow()->input().canvas;
    return modelWindow_->controller().dragRunning() || !canvas.dirtyRect.empty();
  };
  autosave_ = std::make_unique<Autosave>(*files_, *scene_, busy, folder);
  applyAutosaveMinutes();
}

void TopShell::applyAutosaveMinutes() {
  const int minutes = settings_->autosaveMinutes();
  for (QAction *entry : autosaveMenu_ ? autosaveMenu_->actions() : QList<QAction *>())
    entry->setChecked(entry->property("minutes").toInt() == minutes);
  if (!autosave_)
    return;
  autosave_->setEnabled(minutes > 0);
  if (minutes > 0)
    autosave_->setTimes(std::chrono::minutes(minutes), std::chrono::seconds(10));
}

// At the end of Edit: how often a recovery copy of unsaved work is written.
void TopShell::addAutosaveMenu() {
  QMenu *edit = nullptr;
  for (QAction *menu : modelBar_->actions())
    if (menu->text() == QStringLiteral("Edit"))
      edit = menu->menu();
  if (!edit)
    return;
  edit->addSeparator();
  autosaveMenu_ = edit->addMenu(QStringLiteral("Autosave"));
  showHelpOnHover(autosaveMenu_);
  autosaveMenu_->menuAction()->setData(
      QStringLiteral("How often a recovery copy of unsaved work is written"));
  auto *choices = new QActionGroup(autosaveMenu_);
  for (const int minutes : {1, 2, 5, 10, 0}) {
    QAction *entry =
        autosaveMenu_->addAction(minutes == 0   ? QStringLiteral("Off")
                                 : minutes == 1 ? QStringLiteral("Every minute")
                                                : QStringLiteral("Every %1 minutes").arg(minutes));
    entry->setData(minutes == 0
                       ? QStringLiteral("Write no recovery copies of unsaved work")
                       : QStringLiteral("Write a recovery copy of unsaved work after "
                                        "%1 of changes or 10 seconds without one")
                             .arg(minutes == 1 ? QStringLiteral("a minute")
                                               : QStringLiteral("%1 minutes").arg(minutes)));
    entry->setCheckable(true);
    entry->setActionGroup(choices);
    entry->setProperty("minutes", minutes);
    connect(entry, &QAction::triggered, this, [this, minutes] {
      settings_->setAutosaveMinutes(minutes);
      applyAutosaveMinutes();
    });
  }
  applyAutosaveMinutes();
}

void TopShell::useSettings(std::unique_ptr<Settings> settings) {
  settings_ = std::move(settings);
  files_->setSettings(settings_.get());
  if (ownUi_)
    ownUi_->keepFoldersIn(settings_.get());
  for (const auto &[name, window] : keptWindows())
    if (const QByteArray geometry = settings_->geometry(name); !geometry.isEmpty())
      window->restoreGeometry(geometry);
  view_.groundAndAxes = settings_->groundAndAxes(view_.groundAndAxes);
  refreshChecks();
  applyAutosaveMinutes();
}

std::vector<std::pair<QString, QWidget *>> TopShell::keptWindows() const {
  return {{QStringLiteral("main"), const_cast<TopShell *>(this)},
          {QStringLiteral("objectInfo"), objectInfo_},
          {QStringLiteral("toolbox"), workModes_->toolbox()},
          {QStringLiteral("howTo"), howTo_}};
}

// Under Open: the recent scenes, newest first, listed afresh each time the menu opens.
void TopShell::addRecentFilesMenu() {
  QAction *open = nullptr;
  for (QAction *action : modelBar_->findChildren<QAction *>())
    if (action->property("command").toInt() == kCommandOpen)
      open = action;
  QMenu *file = open ? qobject_cast<QMenu *>(open->parent()) : nullptr;
  if (!file)
    return;
  recentMenu_ = new QMenu(QStringLiteral("Recent files"), file);
  recentMenu_->menuAction()->setData(QStringLiteral("Open one of the scenes last opened or saved"));
  const QList<QAction *> entries = file->actions();
  const int after = int(entries.indexOf(open)) + 1;
  file->insertMenu(after < entries.size() ? entries.at(after) : nullptr, recentMenu_);
  connect(recentMenu_, &QMenu::aboutToShow, this, [this] {
    recentMenu_->clear();
    for (const QString &path : files_->recentFiles())
      recentMenu_->addAction(path, this, [this, path] {
        modelWindow_->makeCurrent();
        files_->openRecent(path);
        objectInfo_->scheduleRefresh();
      });
  });
}

void TopShell::offerRecovery() {
  if (autosave_)
    autosave_->offerRecovery(*ui_);
}

void TopShell::showAbout() {
  if (about_)
    return;
  about_ = new AboutPicture(this);
  about_->show();
}

// A client area of 720 x 486 for the model window, below the tool-bar strip.
QSize TopShell::startSize() const {
  return {720, 486 + menuBar()->sizeHint().height() + toolBar_->sizeHint().height() +
                   statusBar()->sizeHint().height()};
}

void TopShell::presentAtStartSize() {
  resize(startSize());
  if (const QScreen *screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());
  show();
}

// Quit, from the menu, Ctrl+Q or the window's close button.
void TopShell::closeEvent(QCloseEvent *event) {
  if (!quitting_ && !files_->askToSave()) {
    event->ignore();
    return;
  }
  quitting_ = true;
  if (autosave_)
    autosave_->quitCleanly();
  for (const auto &[name, window] : keptWindows())
    settings_->setGeometry(name, window->saveGeometry());
  settings_->setGroundAndAxes(view_.groundAndAxes);
  settings_->save();
  player_->Stop();
  layer_->endRecording();
  scene_->DeleteAll();
  event->accept();
}
