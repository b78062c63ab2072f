#include "app/file_commands.h"

#include "app/model_window.h"
#include "app/settings.h"
#include "image/image_buffer.h"
#include "image/image_file.h"
#include "script/command_layer.h"
#include "script/command_numbers.h"
#include "view/view_framing.h"

#include <QFileInfo>
#include <QImage>
#include <QMainWindow>
#include <algorithm>
#include <cstring>

namespace {

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
    : ui_(layer.ui()), window_(window), modelWindow_(modelWindow), folders_(std::move(folders)),
      session_(layer.scene(), layer.ui(),
               {folders_.models.toStdString(), folders_.scripts.toStdString()}) {
  FileSession::Hooks &hooks = session_.hooks;
  hooks.makeDrawingCurrent = [this] { modelWindow_.makeCurrent(); };
  hooks.sceneChanged = [this] { modelWindow_.sceneChanged(); };
  hooks.objectsChanged = [this] { emit objectsChanged(); };
  hooks.frameObjects = [this, &layer](const std::vector<int32_t> &brought) {
    if (frameObjects(layer.view().camera, layer.scene(), brought))
      modelWindow_.update();
  };
  hooks.onFileNamed = [this](const std::string &name) { fileNamed(name); };
  window_.setWindowTitle(title());
}

void FileCommands::attachTo(CommandLayer &layer) {
  layer.setFiles(&session_);
  layer.attach(kCommandScreenCapture, [this] { screenCapture(); });
}

void FileCommands::fileNamed(const std::string &name) {
  window_.setWindowTitle(title());
  if (!name.empty() && settings_)
    settings_->noteRecentFile(QString::fromStdString(name));
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

bool FileCommands::screenCapture() {
  QOpenGLWidget *window = workWindow_ ? workWindow_() : nullptr;
  const ImageBuffer picture = pictureOf(window ? *window : modelWindow_);
  UserInterface::FileChoice choice =
      session_.chooseFile({true, "Save your work", imageFilters(), "", "*.tif", "", "capture"});
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
      session_.openScenePath(name);
    } else if (registry().readerFor(FormatRegistry::extensionOf(name))) {
      session_.importPath(name);
    } else if (isScript(path)) {
      ui_.messageBox("To play the tutorial script " + QFileInfo(path).fileName().toStdString() +
                     ", choose \"How to...\" in the Help menu.");
    }
  }
}
