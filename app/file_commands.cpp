#include "app/file_commands.h"

#include "app/model_window.h"
#include "app/settings.h"
#include "image/image_file.h"
#include "interchange/model_exchange.h"
#include "morvo_version.h"
#include "scene/scene_file.h"
#include "script/command_layer.h"
#include "script/command_table.h"

#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <algorithm>
#include <cstring>
#include <iostream>
#include <sstream>

namespace {

const char *const kSceneFilter = "Morvo files (*.mvo)";
const char *const kScriptFilter = "Morvo Tutorial Scripts (*.mvs)";
const char *const kUnsavedQuestion =
    "This will throw away unsaved data. Would you like to save your work now?";
const char *const kNoObjects = "You have no objects to save";
const char *const kNoSelection = "You must have objects selected";
// A saved version no scene ever has: the recovered scene is unsaved until it is saved.
constexpr uint64_t kNeverSaved = ~uint64_t(0);

// The entries of the image dialog, in the order whose index the dialog answers.
struct ImageEntry {
  const char *filter;
  const char *extension;
  int type;
};
const ImageEntry kImageEntries[] = {{"TIFF(*.tif)", ".tif", kImageTiff},
                                    {"BMP(*.bmp)", ".bmp", kImageBmp},
                                    {"PNG (*.png)", ".png", kImagePng},
                                    {"JPEG (*.jpg *.jpeg)", ".jpg", kImageJpeg},
                                    {"PPM (*.ppm)", ".ppm", kImagePpm}};

std::vector<std::string> imageFilters() {
  std::vector<std::string> filters;
  for (const ImageEntry &entry : kImageEntries)
    filters.push_back(entry.filter);
  return filters;
}

// A dialog filter entry with the extension it stands for.
struct ModelEntry {
  std::string filter;
  std::string extension;
};
// The entries of a registry filter "Description (*.ext)|*.ext|...|".
std::vector<ModelEntry> modelEntries(const std::string &registryFilter) {
  std::vector<ModelEntry> entries;
  std::istringstream in(registryFilter);
  std::string description, pattern;
  while (std::getline(in, description, '|') && !description.empty() &&
         std::getline(in, pattern, '|'))
    entries.push_back({description, pattern.substr(pattern.find('.'))});
  return entries;
}
std::vector<std::string> filtersOf(const std::vector<ModelEntry> &entries) {
  std::vector<std::string> filters;
  for (const ModelEntry &entry : entries)
    filters.push_back(entry.filter);
  return filters;
}

// The path with extension added when its file name has none.
std::string withExtension(const std::string &path, const std::string &extension) {
  return QFileInfo(QString::fromStdString(path)).fileName().contains('.') ? path : path + extension;
}

// The image type and path of a choice in the image dialog: a name that tells a known type is
// written in that type (a file's name should say what it holds); a name without an extension
// gets the chosen entry's.
int imageChoice(UserInterface::FileChoice &choice) {
  const int entry = choice.filter >= 0 && choice.filter < 5 ? choice.filter : 0;
  choice.path = withExtension(choice.path, kImageEntries[entry].extension);
  const int named = imageType(choice.path);
  return named >= kImageJpeg && named <= kImageTiff ? named : kImageEntries[entry].type;
}

// The widget's picture with row 0 at the bottom, every pixel opaque.
ImageBuffer pictureOf(QOpenGLWidget &window) {
  const QImage grabbed = window.grabFramebuffer().convertToFormat(QImage::Format_RGBA8888);
  ImageBuffer image(grabbed.width(), grabbed.height());
  for (int32_t y = 0; y < image.height(); ++y) {
    uint32_t *row = image.row(image.height() - 1 - y);
    std::memcpy(row, grabbed.constScanLine(y), size_t(image.width()) * 4);
    for (int32_t x = 0; x < image.width(); ++x)
      row[x] |= packRgba(0, 0, 0, 255);
  }
  return image;
}

bool isScript(const QString &path) {
  return path.endsWith(QStringLiteral(".mvs")) || path.endsWith(QStringLiteral(".MVS"));
}

} // namespace

FileCommands::FileCommands(CommandLayer &layer, QMainWindow &window, ModelWindow &modelWindow,
                           ProgramFolders folders)
    : layer_(layer), scene_(layer.scene()), ui_(layer.ui()), window_(window),
      modelWindow_(modelWindow), folders_(std::move(folders)), savedVersion_(scene_.version()) {
  window_.setWindowTitle(title());
}

void FileCommands::attachTo(CommandLayer &l) {
  l.attach(8449, [this] { newScene(); });
  l.attach(8450, [this] { open(); });
  l.attach(8452, [this] { save(); });
  l.attach(8453, [this] { saveAs(); });
  l.attach(8454, [this] { saveSelected(); });
  l.attach(8455, [this] { revert(); });
  l.attach(8456, [this] { importModel(); });
  l.attach(8457, [this] { exportModel(true); });
  l.attach(8458, [this] { exportModel(false); });
  l.attach(8459, [this] { screenCapture(); });
  l.attach(9739, [this] { addFromFile(); });
  l.attach(kCommandStartRecording, [this] { startRecording(); });
}

QString FileCommands::title() const {
  const QString name = fileName_.isEmpty() ? QStringLiteral("untitled.mvo") : fileName_;
  return QStringLiteral("Morvo " MORVO_VERSION " - ") + QFileInfo(name).fileName();
}

QString FileCommands::sceneName() const {
  const QString name = fileName_.isEmpty() ? offeredName_ : fileName_;
  return name.isEmpty() ? QStringLiteral("untitled") : QFileInfo(name).completeBaseName();
}

void FileCommands::setFileName(const QString &name) {
  fileName_ = name;
  offeredName_.clear();
  named_ = !name.isEmpty();
  window_.setWindowTitle(title());
}

UserInterface::FileChoice FileCommands::ask(UserInterface::FileRequest request, bool *firstUse) {
  if (firstUse) {
    if (*firstUse)
      request.folder.clear(); // later dialogs start where the last one left off
    *firstUse = true;
  }
  UserInterface::FileChoice choice = ui_.chooseFile(request);
  // A name with wildcards is a filter typed into the name box, never a file to make or read.
  const std::string name = QFileInfo(QString::fromStdString(choice.path)).fileName().toStdString();
  if (name.find_first_of("*?") != std::string::npos) {
    ui_.messageBox("\"" + name + "\" is not a file name: type a name without * or ?");
    return {};
  }
  return choice;
}

void FileCommands::forgetFile() {
  setFileName(QString());
  savedVersion_ = scene_.version();
}

bool FileCommands::unsaved() const {
  return scene_.objects.objectCount() > 0 && scene_.version() != savedVersion_;
}

bool FileCommands::recover(const QString &path, const QString &sceneName) {
  if (!readSceneFile(path, true))
    return false;
  setFileName(QString());
  offeredName_ = sceneName == QStringLiteral("untitled") ? QString() : sceneName + ".mvo";
  savedVersion_ = kNeverSaved;
  return true;
}

bool FileCommands::askToSave() {
  if (!unsaved())
    return true;
  const UserInterface::Answer answer = ui_.askYesNoCancel(kUnsavedQuestion);
  if (answer == UserInterface::Answer::Cancel)
    return false;
  if (answer == UserInterface::Answer::Yes)
    saveAs(); // the flow goes on also when the dialog was cancelled
  return true;
}

void FileCommands::newScene() {
  if (!askToSave())
    return;
  layer_.execute(34);
  forgetFile();
  emit objectsChanged();
}

void FileCommands::open() {
  if (!askToSave())
    return;
  const UserInterface::FileChoice choice = ask({false,
                                                "Select a Morvo file to load",
                                                {kSceneFilter},
                                                "",
                                                "",
                                                folders_.models.toStdString(),
                                                "open"},
                                               &openUsed_);
  if (!choice.path.empty())
    openScenePath(QString::fromStdString(choice.path));
}

bool FileCommands::readSceneFile(const QString &path, bool replace) {
  ui_.setStatus(path.toStdString());
  modelWindow_.makeCurrent();
  if (!replace)
    scene_.SaveUndo(); // an added file can be taken back with Undo
  if (!openSceneFile(scene_, path.toStdString(), replace))
    return false;
  if (replace) {
    scene_.backup.clear(true); // a replaced scene starts a new undo history
    savedVersion_ = scene_.version();
  }
  modelWindow_.sceneChanged();
  ui_.setStatus("Done Reading");
  emit objectsChanged();
  return true;
}

bool FileCommands::openScenePath(QString path) {
  if (path.startsWith('"'))
    path = path.mid(1, path.size() - 2);
  if (!readSceneFile(path, true))
    return false;
  setFileName(path);
  if (settings_)
    settings_->noteRecentFile(path);
  return true;
}

QStringList FileCommands::recentFiles() const {
  return settings_ ? settings_->recentFiles() : QStringList();
}

void FileCommands::openRecent(const QString &path) {
  if (!QFileInfo::exists(path)) {
    ui_.messageBox("The file " + path.toStdString() +
                   " no longer exists; it is taken off the recent files.");
    if (settings_)
      settings_->forgetRecentFile(path);
    return;
  }
  if (askToSave())
    openScenePath(path);
}

void FileCommands::addFromFile() {
  const UserInterface::FileChoice choice =
      ask({false, "Select the filename to add to scene", {kSceneFilter}, "", "", "", "open"});
  // The current file name stays: a later Save must not write the whole scene over the file
  // the objects were added from.
  if (!choice.path.empty())
    readSceneFile(QString::fromStdString(choice.path), false);
}

void FileCommands::revert() {
  if (!named_) {
    modelWindow_.makeCurrent();
    ui_.messageBox("You have no previous version by which to revert");
    return;
  }
  readSceneFile(fileName_, true);
}

bool FileCommands::writeScene(const QString &path, bool selectedOnly) {
  ui_.setStatus("Saving file");
  const bool saved = saveSceneFile(scene_, path.toStdString(), selectedOnly);
  modelWindow_.sceneChanged(); // saving compacts the objects and clears the selection
  if (saved)
    setFileName(path);
  if (saved && settings_)
    settings_->noteRecentFile(path);
  if (saved && !selectedOnly)
    savedVersion_ = scene_.version();
  ui_.setStatus(saved ? "Done" : "");
  return saved;
}

bool FileCommands::save() {
  if (scene_.objects.objectCount() == 0) {
    ui_.messageBox(kNoObjects);
    return false;
  }
  // A name the user never chose (the first "untitled.mvo") is asked for rather than written
  // into whatever folder the program was started from.
  return named_ ? writeScene(fileName_, false) : saveAs();
}

bool FileCommands::saveAs() {
  if (scene_.objects.objectCount() == 0) {
    ui_.messageBox(kNoObjects);
    return false;
  }
  const UserInterface::FileChoice choice = ask({true,
                                                "Select the filename to save",
                                                {kSceneFilter},
                                                "mvo",
                                                offeredName_.toStdString(),
                                                "",
                                                "save"});
  if (choice.path.empty())
    return false;
  return writeScene(QString::fromStdString(withExtension(choice.path, ".mvo")), false);
}

bool FileCommands::requireSelectedObjects() {
  if (scene_.mode == moOBJECTS && !scene_.selection.Empty())
    return true;
  ui_.messageBox(kNoSelection);
  return false;
}

bool FileCommands::saveSelected() {
  if (scene_.objects.objectCount() == 0) {
    ui_.messageBox(kNoObjects);
    return false;
  }
  if (!requireSelectedObjects())
    return false;
  const UserInterface::FileChoice choice =
      ask({true, "Select the filename to save", {kSceneFilter}, "mvo", "*.mvo", "", "save"});
  if (choice.path.empty())
    return false;
  return writeScene(QString::fromStdString(withExtension(choice.path, ".mvo")), true);
}

bool FileCommands::importModel() {
  const std::vector<ModelEntry> entries = modelEntries(registry_.readerFilter());
  const UserInterface::FileChoice choice =
      ask({false, "Select the filename to load", filtersOf(entries), "", "", "", "import"});
  return !choice.path.empty() && importFile(choice.path);
}

bool FileCommands::importFile(const std::string &path) {
  ui_.setStatus(path);
  modelWindow_.makeCurrent();
  std::ostringstream diagnostics;
  const bool imported = ::importModel(scene_, registry_, path, false, diagnostics);
  std::cerr << diagnostics.str();
  if (!imported) {
    // The readers' own words, which the status line has no room for.
    ui_.messageBox("Could not import " + path + ": " + importFailureReason(diagnostics.str()));
    return false;
  }
  modelWindow_.sceneChanged();
  ui_.setStatus("Done");
  emit objectsChanged();
  return true;
}

bool FileCommands::exportModel(bool allObjects) {
  if (allObjects ? scene_.objects.objectCount() == 0 : !requireSelectedObjects())
    return false;
  const std::vector<ModelEntry> entries = modelEntries(registry_.writerFilter());
  UserInterface::FileChoice choice =
      ask({true, "Select the filename for export", filtersOf(entries), "", "", "", "export"});
  if (choice.path.empty())
    return false;
  if (choice.filter >= 0 && size_t(choice.filter) < entries.size())
    choice.path = withExtension(choice.path, entries[size_t(choice.filter)].extension);
  if (!registry_.writerFor(FormatRegistry::extensionOf(choice.path))) {
    ui_.messageBox("Morvo cannot export to " + FormatRegistry::extensionOf(choice.path) +
                   " files; choose one of the listed types");
    return false;
  }
  modelWindow_.makeCurrent(); // triangulating for the writer may rebuild display lists
  const bool exported = ::exportModel(scene_, registry_, choice.path, allObjects, std::cerr);
  modelWindow_.sceneChanged();
  return exported;
}

bool FileCommands::screenCapture() {
  QOpenGLWidget *window = workWindow_ ? workWindow_() : nullptr;
  const ImageBuffer picture = pictureOf(window ? *window : modelWindow_);
  UserInterface::FileChoice choice =
      ask({true, "Save your work", imageFilters(), "", "*.tif", "", "capture"});
  if (choice.path.empty())
    return false;
  const int type = imageChoice(choice);
  std::string error;
  if (saveImage(picture, choice.path, type, RowOrder::kTopFirst, error) != 1) {
    ui_.messageBox("Could not save the picture: " + error);
    return false;
  }
  return true;
}

void FileCommands::startRecording() {
  if (layer_.recorder().recording())
    return;
  if (presentWindow)
    presentWindow();
  ui_.setStatus("Begin recording script");
  const UserInterface::FileChoice choice = ask({true,
                                                "Record tutorial script as ...",
                                                {kScriptFilter},
                                                "mvs",
                                                "*.mvs",
                                                folders_.scripts.toStdString(),
                                                "scripts"});
  if (!choice.path.empty())
    layer_.beginRecording(withExtension(choice.path, ".mvs"));
}

void FileCommands::dropFiles(const QStringList &paths) {
  std::vector<std::string> names;
  for (const QString &path : paths)
    names.push_back(path.toStdString());
  const std::vector<std::string> scenes = InteractionController::droppedScenes(names);
  if (!scenes.empty() && !askToSave())
    return;
  for (const std::string &name : names) {
    const QString path = QString::fromStdString(name);
    if (std::find(scenes.begin(), scenes.end(), name) != scenes.end()) {
      openScenePath(path);
    } else if (registry_.readerFor(FormatRegistry::extensionOf(name))) {
      importFile(name);
    } else if (isScript(path)) {
      ui_.messageBox("To play the tutorial script " + QFileInfo(path).fileName().toStdString() +
                     ", choose \"How to...\" in the Help menu.");
    }
  }
}
