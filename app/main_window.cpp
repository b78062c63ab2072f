#include "app/main_window.h"

#include "app/model_window.h"
#include "scene/scene_file.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>

namespace {

const char *const kSceneFilter = "Morvo files (*.mvo)";

} // namespace

MainWindow::MainWindow() : statusLine_(new QLabel) {
  statusBar()->addPermanentWidget(statusLine_, 1);
  ui_ = std::make_unique<QtUserInterface>(this, statusLine_);
  scene_ = std::make_unique<Scene>(*ui_);
  scene_->mode = moFREE;
  view_.ResetCamera();
  modelWindow_ = new ModelWindow(*scene_, view_, *ui_, this);
  setCentralWidget(modelWindow_);
  connect(modelWindow_, &ModelWindow::scenesDropped, this, [this](const QStringList &paths) {
    if (!askToSave())
      return;
    for (const QString &path : paths)
      openScenePath(path);
  });
  buildMenus();
  refreshTitle();
  // A client area of 720 x 486 for the model window.
  resize(720, 486 + menuBar()->sizeHint().height() + statusBar()->sizeHint().height());
}

MainWindow::~MainWindow() = default;

void MainWindow::refreshTitle() {
  setWindowTitle(QStringLiteral("Morvo 1.5 - ") + QFileInfo(fileName_).fileName());
}

void MainWindow::changed() { modelWindow_->sceneChanged(); }

void MainWindow::buildMenus() {
  QMenu *file = menuBar()->addMenu(QStringLiteral("File"));
  QMenu *add = file->addMenu(QStringLiteral("Add"));
  const struct {
    const char *label;
    PrimitiveType type;
  } shapes[] = {{"Tetrahedron", PrimitiveType::Tetrahedron},
                {"Octahedron", PrimitiveType::Octahedron},
                {"Dodecahedron", PrimitiveType::Dodecahedron},
                {"Icosahedron", PrimitiveType::Icosahedron},
                {nullptr, PrimitiveType::Cube},
                {"Cube", PrimitiveType::Cube},
                {nullptr, PrimitiveType::Cube},
                {"Cylinder", PrimitiveType::Cylinder},
                {"Cone", PrimitiveType::Cone},
                {"Torus", PrimitiveType::Torus},
                {"Sphere", PrimitiveType::Sphere},
                {nullptr, PrimitiveType::Cube},
                {"Grid", PrimitiveType::Grid}};
  for (const auto &shape : shapes) {
    if (!shape.label) {
      add->addSeparator();
      continue;
    }
    const PrimitiveType type = shape.type;
    add->addAction(QString::fromLatin1(shape.label), this, [this, type] {
      scene_->createPrimitive(type);
      changed();
    });
  }
  file->addAction(QStringLiteral("Open"), QKeySequence(QStringLiteral("Ctrl+O")), this, [this] {
    if (!askToSave())
      return;
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Select a Morvo file to load"), QString(), kSceneFilter);
    if (!path.isEmpty())
      openScenePath(path);
  });
  file->addSeparator();
  file->addAction(QStringLiteral("Save"), QKeySequence(QStringLiteral("Ctrl+S")), this,
                  [this] { save(!named_); });
  file->addAction(QStringLiteral("Save as"), this, [this] { save(true); });
  file->addSeparator();
  file->addAction(QStringLiteral("Quit"), QKeySequence(QStringLiteral("Ctrl+Q")), this,
                  [this] { close(); });

  QMenu *viewMenu = menuBar()->addMenu(QStringLiteral("View"));
  const auto command = [&](QMenu *menu, const char *label, const char *key, auto run) {
    QAction *action = menu->addAction(QString::fromLatin1(label));
    if (key)
      action->setShortcut(QKeySequence(QString::fromLatin1(key)));
    connect(action, &QAction::triggered, this, [this, run] {
      run();
      modelWindow_->update();
    });
    return action;
  };
  command(viewMenu, "Aim ", "A", [this] { view_.AimAtSelection(*scene_); });
  command(viewMenu, "Reset view", "R", [this] { view_.ResetCamera(); });
  command(viewMenu, "Ortho camera", "O",
          [this] { view_.SetPerspective(!view_.camera.perspective); });
  viewMenu->addSeparator();
  QAction *ground =
      command(viewMenu, "Ground plane", "G", [this] { view_.groundAndAxes ^= View::kGroundGrid; });
  ground->setCheckable(true);
  ground->setChecked(true);
  QAction *axes = command(viewMenu, "Axes", "~", [this] { view_.groundAndAxes ^= View::kAxes; });
  axes->setCheckable(true);
  viewMenu->addSeparator();
  QMenu *along = viewMenu->addMenu(QStringLiteral("View along"));
  const struct {
    const char *label, *key;
    int32_t axis;
  } axesList[] = {{"+ X", "X", 0},       {"+ Y", "Y", 1},       {"+ Z", "Z", 2},
                  {"- X", "Shift+X", 7}, {"- Y", "Shift+Y", 8}, {"- Z", "Shift+Z", 9}};
  for (const auto &a : axesList) {
    const int32_t axis = a.axis;
    command(along, a.label, a.key, [this, axis] { view_.ViewAlong(axis); });
  }
  viewMenu->addSeparator();
  const auto shading = [&](const char *label, const char *key, bool shaded, bool selectedOnly) {
    command(viewMenu, label, key, [this, shaded, selectedOnly] {
      scene_->SetShading(shaded, selectedOnly);
      changed();
    });
  };
  shading("Wireframe selected", "W", false, true);
  shading("Wireframe all", "Shift+W", false, false);
  shading("Shade selected", "S", true, true);
  shading("Shade all", "Shift+S", true, false);
  viewMenu->addSeparator();
  QAction *workmode = command(viewMenu, "Workmode", "Tab", [this] {
    view_.renderer.smooth = !view_.renderer.smooth;
    view_.renderer.outlines = !view_.renderer.outlines;
    changed();
  });
  workmode->setCheckable(true);
  workmode->setChecked(true);
  viewMenu->addSeparator();
  QAction *colours = command(viewMenu, "Colors", "C", [this] {
    view_.renderer.colors = !view_.renderer.colors;
    changed();
  });
  colours->setCheckable(true);
  colours->setChecked(true);
  QAction *textures = command(viewMenu, "Textures", "T", [this] {
    view_.renderer.textures = !view_.renderer.textures;
    changed();
  });
  textures->setCheckable(true);
  textures->setChecked(true);
}

bool MainWindow::openScenePath(QString path) {
  if (path.size() >= 2 && path.startsWith('"') && path.endsWith('"'))
    path = path.mid(1, path.size() - 2);
  if (!openSceneFile(*scene_, path.toStdString(), true))
    return false;
  scene_->backup.clear(true); // the opened scene starts a new undo history
  fileName_ = path;
  named_ = true;
  refreshTitle();
  changed();
  return true;
}

bool MainWindow::save(bool chooseName) {
  QString path = fileName_;
  if (chooseName) {
    path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as"), fileName_, kSceneFilter);
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
  changed(); // saving compacts and clears the selection
  return true;
}

bool MainWindow::askToSave() {
  if (scene_->objects.objectCount() == 0)
    return true;
  const auto answer = QMessageBox::question(
      this, QStringLiteral("Morvo"),
      QStringLiteral("This will throw away unsaved data. Would you like to save your work now?"),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Cancel)
    return false;
  return answer == QMessageBox::No || save(!named_);
}

void MainWindow::closeEvent(QCloseEvent *event) {
  if (askToSave())
    event->accept();
  else
    event->ignore();
}
