#include "script/file_session.h"

#include "interchange/mesh_simplify.h"
#include "interchange/model_exchange.h"
#include "morvo_version.h"
#include "scene/scene.h"
#include "scene/scene_file.h"
#include "script/command_layer.h"

#include <algorithm>
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

// The file name of a path without its folder.
std::string fileNameOf(const std::string &path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file name without folder and without what follows its last dot.
std::string completeBaseNameOf(const std::string &path) {
  const std::string name = fileNameOf(path);
  return name.substr(0, name.find_last_of('.'));
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
  return fileNameOf(path).find('.') != std::string::npos ? path : path + extension;
}

void call(const std::function<void()> &hook) {
  if (hook)
    hook();
}

} // namespace

FileSession::FileSession(Scene &scene, UserInterface &ui, FileFolders folders)
    : scene_(scene), ui_(ui), folders_(std::move(folders)), diagnostics_(&std::cerr),
      savedVersion_(scene.version()) {}

std::string FileSession::title() const {
  const std::string name = fileName_.empty() ? "untitled.mvo" : fileName_;
  return "Morvo " MORVO_VERSION " - " + fileNameOf(name);
}

std::string FileSession::sceneName() const {
  const std::string &name = fileName_.empty() ? offeredName_ : fileName_;
  return name.empty() ? "untitled" : completeBaseNameOf(name);
}

void FileSession::setFileName(const std::string &name) {
  fileName_ = name;
  offeredName_.clear();
  named_ = !name.empty();
  if (hooks.onFileNamed)
    hooks.onFileNamed(name);
}

UserInterface::FileChoice FileSession::chooseFile(UserInterface::FileRequest request,
                                                  bool *firstUse) {
  if (firstUse) {
    if (*firstUse)
      request.folder.clear(); // later dialogs start where the last one left off
    *firstUse = true;
  }
  UserInterface::FileChoice choice = ui_.chooseFile(request);
  // A name with wildcards is a filter typed into the name box, never a file to make or read.
  const std::string name = fileNameOf(choice.path);
  if (name.find_first_of("*?") != std::string::npos) {
    ui_.messageBox("\"" + name + "\" is not a file name: type a name without * or ?");
    return {};
  }
  return choice;
}

void FileSession::forgetFile() {
  setFileName("");
  savedVersion_ = scene_.version();
}

bool FileSession::unsaved() const {
  return scene_.objects.objectCount() > 0 && scene_.version() != savedVersion_;
}

bool FileSession::recover(const std::string &path, const std::string &sceneName) {
  if (!readSceneFile(path, true))
    return false;
  setFileName("");
  offeredName_ = sceneName == "untitled" ? std::string() : sceneName + ".mvo";
  savedVersion_ = kNeverSaved;
  return true;
}

bool FileSession::askToSave() {
  if (!unsaved())
    return true;
  const UserInterface::Answer answer = ui_.askYesNoCancel(kUnsavedQuestion);
  if (answer == UserInterface::Answer::Cancel)
    return false;
  if (answer == UserInterface::Answer::Yes)
    saveAs(); // the flow goes on also when the dialog was cancelled
  return true;
}

void FileSession::newScene(CommandLayer &layer) {
  if (!askToSave())
    return;
  layer.execute(kScriptDeleteAll);
  scene_.clearHistory();
  forgetFile();
  call(hooks.objectsChanged);
}

void FileSession::open() {
  if (!askToSave())
    return;
  const UserInterface::FileChoice choice = chooseFile(
      {false, "Select a Morvo file to load", {kSceneFilter}, "", "", folders_.models, "open"},
      &openUsed_);
  if (!choice.path.empty())
    openScenePath(choice.path);
}

bool FileSession::readSceneFile(const std::string &path, bool replace) {
  ui_.setStatus(path);
  call(hooks.makeDrawingCurrent);
  if (!replace) {
    scene_.SaveUndo(); // an added file can be taken back with Undo
    scene_.nameStep("Add from file");
  }
  if (!openSceneFile(scene_, path, replace)) {
    scene_.dropOpenStep();
    return false;
  }
  if (replace) {
    scene_.backup.clear(true); // a replaced scene starts a new undo history
    scene_.clearHistory();
    savedVersion_ = scene_.version();
  }
  call(hooks.sceneChanged);
  ui_.setStatus("Done Reading");
  call(hooks.objectsChanged);
  return true;
}

bool FileSession::openScene(const std::string &path) {
  if (!readSceneFile(path, true))
    return false;
  setFileName(path);
  frameNewObjects({});
  return true;
}

std::vector<int32_t> FileSession::occupiedSlots() const {
  std::vector<int32_t> slots;
  for (int32_t slot = 0; slot < scene_.objects.count(); ++slot)
    if (scene_.object(slot))
      slots.push_back(slot);
  return slots;
}

void FileSession::frameNewObjects(const std::vector<int32_t> &before) {
  if (!hooks.frameObjects)
    return;
  std::vector<int32_t> added;
  for (const int32_t slot : occupiedSlots())
    if (!std::binary_search(before.begin(), before.end(), slot))
      added.push_back(slot);
  hooks.frameObjects(added);
}

bool FileSession::openScenePath(std::string path) {
  if (!path.empty() && path.front() == '"')
    path = path.substr(1, path.size() < 2 ? 0 : path.size() - 2);
  return openScene(path);
}

void FileSession::addFromFile() {
  const UserInterface::FileChoice choice = chooseFile(
      {false, "Select the filename to add to scene", {kSceneFilter}, "", "", "", "open"});
  const std::vector<int32_t> before = occupiedSlots();
  if (!choice.path.empty() && readSceneFile(choice.path, false))
    frameNewObjects(before);
}

void FileSession::revert() {
  if (!named_) {
    call(hooks.makeDrawingCurrent);
    ui_.messageBox("You have no previous version by which to revert");
    return;
  }
  readSceneFile(fileName_, true);
}

bool FileSession::saveScenePath(const std::string &path, bool selectedOnly) {
  ui_.setStatus("Saving file");
  const bool saved = saveSceneFile(scene_, path, selectedOnly);
  call(hooks.sceneChanged); // saving compacts the objects and clears the selection
  if (saved)
    setFileName(path);
  if (saved && !selectedOnly)
    savedVersion_ = scene_.version();
  ui_.setStatus(saved ? "Done" : "");
  return saved;
}

bool FileSession::requireObjects() {
  if (scene_.objects.objectCount() > 0)
    return true;
  ui_.messageBox(kNoObjects);
  return false;
}

bool FileSession::save() {
  if (!requireObjects())
    return false;
  // A name the user never chose (the first "untitled.mvo") is asked for rather than written
  // into whatever folder the program was started from.
  return named_ ? saveScenePath(fileName_, false) : saveAs();
}

bool FileSession::saveAs() {
  if (!requireObjects())
    return false;
  const UserInterface::FileChoice choice = chooseFile(
      {true, "Select the filename to save", {kSceneFilter}, "mvo", offeredName_, "", "save"});
  if (choice.path.empty())
    return false;
  return saveScenePath(withExtension(choice.path, ".mvo"), false);
}

bool FileSession::requireSelectedObjects() {
  if (scene_.mode == moOBJECTS && !scene_.selection.Empty())
    return true;
  ui_.messageBox(kNoSelection);
  return false;
}

bool FileSession::saveSelected() {
  if (!requireObjects() || !requireSelectedObjects())
    return false;
  const UserInterface::FileChoice choice =
      chooseFile({true, "Select the filename to save", {kSceneFilter}, "mvo", "*.mvo", "", "save"});
  if (choice.path.empty())
    return false;
  return saveScenePath(withExtension(choice.path, ".mvo"), true);
}

bool FileSession::importModel() {
  const std::vector<ModelEntry> entries = modelEntries(registry_.readerFilter());
  const UserInterface::FileChoice choice =
      chooseFile({false, "Select the filename to load", filtersOf(entries), "", "", "", "import"});
  return !choice.path.empty() && importPath(choice.path);
}

bool FileSession::readModel(const std::string &path, bool sniffing, std::string &reason) {
  std::ostringstream diagnostics;
  refusedOverLimit_ = false;
  int asked = 0; // 1 simplify, -1 refuse: one answer serves every body of the file
  const OverLimitChoice choice = [&](const std::string &, int64_t triangles) {
    if (asked == 0 && overLimit_ == OverLimit::kAsk)
      asked = ui_.askWithButtons(fileNameOf(path) + " has " + groupedCount(triangles) +
                                     " triangles; an object holds at most " +
                                     std::to_string(kMaxFaceSlots) + " faces. Simplify it to fit?",
                                 "Simplify", "", "Cancel") == UserInterface::Answer::Yes
                  ? 1
                  : -1;
    refusedOverLimit_ = overLimit_ == OverLimit::kRefuse || asked < 0;
    return !refusedOverLimit_;
  };
  const bool imported = ::importModel(scene_, registry_, path, sniffing, diagnostics, choice);
  *diagnostics_ << diagnostics.str();
  simplifications_ = imported ? importSimplifications(diagnostics.str()) : "";
  if (!imported)
    reason = importFailureReason(diagnostics.str());
  return imported;
}

bool FileSession::importPath(const std::string &path) {
  ui_.setStatus(path);
  call(hooks.makeDrawingCurrent);
  std::string reason;
  const std::vector<int32_t> before = occupiedSlots();
  if (!readModel(path, false, reason)) {
    // The readers' own words, which the status line has no room for.
    ui_.messageBox("Could not import " + path + ": " + reason);
    return false;
  }
  call(hooks.sceneChanged);
  ui_.setStatus(simplifications_.empty() ? "Done" : simplifications_);
  call(hooks.objectsChanged);
  frameNewObjects(before);
  return true;
}

bool FileSession::exportModel(bool allObjects) {
  if (allObjects ? scene_.objects.objectCount() == 0 : !requireSelectedObjects())
    return false;
  const std::vector<ModelEntry> entries = modelEntries(registry_.writerFilter());
  UserInterface::FileChoice choice = chooseFile(
      {true, "Select the filename for export", filtersOf(entries), "", "", "", "export"});
  if (choice.path.empty())
    return false;
  if (choice.filter >= 0 && size_t(choice.filter) < entries.size())
    choice.path = withExtension(choice.path, entries[size_t(choice.filter)].extension);
  return exportPath(choice.path, allObjects);
}

bool FileSession::exportPath(const std::string &path, bool allObjects) {
  if (!registry_.writerFor(FormatRegistry::extensionOf(path))) {
    ui_.messageBox("Morvo cannot export to " + FormatRegistry::extensionOf(path) +
                   " files; choose one of the listed types");
    return false;
  }
  call(hooks.makeDrawingCurrent); // triangulating for the writer may rebuild display lists
  const bool exported = ::exportModel(scene_, registry_, path, allObjects, *diagnostics_);
  call(hooks.sceneChanged);
  return exported;
}

void FileSession::startRecording(CommandLayer &layer) {
  if (layer.recorder().recording())
    return;
  call(hooks.presentWindow);
  ui_.setStatus("Begin recording script");
  const UserInterface::FileChoice choice = chooseFile({true,
                                                       "Record tutorial script as ...",
                                                       {kScriptFilter},
                                                       "mvs",
                                                       "*.mvs",
                                                       folders_.scripts,
                                                       "scripts"});
  if (!choice.path.empty())
    layer.beginRecording(withExtension(choice.path, ".mvs"));
}
