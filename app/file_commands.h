// The commands that exchange files with the user: New, Open, Add from file, Revert, Save, Save as,
// Save selected, Import, Export, Screen Capture, the image dialog of the paint tools, recording a
// tutorial script, and files dropped on the model window. Each is a short flow around a file
// dialog asked of the UserInterface, so that tests and scripts can answer it. They keep the
// current file name, shown in the main window's title.
//
// Every flow leaves the scene as it was when a file cannot be read, and leaves the file on disk
// as it was when it cannot be written; either way a message box says why.
#pragma once

#include "app/program_folders.h"
#include "image/image_buffer.h"
#include "interchange/format_registry.h"
#include "scene/user_interface.h"

#include <QObject>
#include <QStringList>
#include <functional>

class CommandLayer;
class Settings;
class ModelWindow;
class QMainWindow;
class QOpenGLWidget;
class Scene;

class FileCommands : public QObject {
  Q_OBJECT
public:
  // Works on the layer's scene and user interface; window gets the title and is resized for a
  // recording; modelWindow is drawn into when scenes are read.
  FileCommands(CommandLayer &layer, QMainWindow &window, ModelWindow &modelWindow,
               ProgramFolders folders);

  // Gives the file commands of the command table (New to Screen Capture, Add from file, starting
  // a recording) their handlers.
  void attachTo(CommandLayer &layer);

  // The path of the scene last opened or saved; "untitled.mvo" at first, empty after New.
  QString fileName() const { return fileName_; }
  // "Morvo 1.5 - " and the current file name without its folder.
  QString title() const;
  // The current file name (or, for a recovered scene, the name it had) without folder and
  // extension; "untitled" for none.
  QString sceneName() const;
  const FormatRegistry &registry() const { return registry_; }
  const ProgramFolders &folders() const { return folders_; }
  // The work window whose picture Screen Capture takes; the model window unless set.
  void setWorkWindow(std::function<QOpenGLWidget *()> current) { workWindow_ = std::move(current); }
  // Shows the main window at its start-up size, centred, before a recording starts.
  std::function<void()> presentWindow;

  // The scene was emptied by something other than a file command (a script's Reset): it has
  // no file name any more, and nothing unsaved.
  void forgetFile();
  // Whether the scene differs from what was last opened or saved as a whole.
  bool unsaved() const;
  // Replaces the scene with a recovery copy of work that was never saved: the scene has no file
  // name, counts as unsaved, and Save as offers the name it had. False, with a message box and
  // the scene unchanged, when the copy cannot be read.
  bool recover(const QString &path, const QString &sceneName);
  // Only when the scene holds objects that differ from what was last opened or saved: asks
  // whether to save first. Yes runs Save as (and goes
  // on also when that is cancelled), No goes on, Cancel returns false.
  bool askToSave();
  // askToSave, then an empty scene without a file name.
  void newScene();
  // askToSave, then the open dialog (first use in the models folder) and openScenePath.
  void open();
  // Replaces the scene with the scene file at path (surrounding double quotes stripped), which
  // becomes the current file name. False, with a message box, when the file cannot be read;
  // the scene and the file name are then unchanged.
  bool openScenePath(QString path);
  // Adds the objects of a chosen scene file after the scene's last slot (undoable).
  void addFromFile();
  // Reads the current file again, replacing the scene, without asking.
  void revert();
  // Writes the whole scene to the current file, or asks for a name when there is none yet.
  bool save();
  // Asks for a name and writes the whole scene there; the name becomes the current one.
  bool saveAs();
  // Writes the selected objects to a chosen file, which becomes the current file name.
  bool saveSelected();
  // Imports a chosen model file through the format registry.
  bool importModel();
  // Exports all objects, or the selected ones, to a chosen model file.
  bool exportModel(bool allObjects);
  // Writes the work window's picture to a chosen image file, in the format of the chosen entry.
  bool screenCapture();
  // Asks where to record a tutorial script and starts recording there; refused while recording.
  void startRecording();
  // Where the scenes opened and saved are noted as recent files; none: nowhere.
  void setSettings(Settings *settings) { settings_ = settings; }
  // The recent files, newest first.
  QStringList recentFiles() const;
  // A recent file chosen from its menu: opened after the save question; a file that is gone
  // says so and leaves the list.
  void openRecent(const QString &path);
  // Files dropped on the model window, in order: scene files are opened (after askToSave, when
  // one is among them), model files imported; tutorial scripts are refused with a message and
  // other files ignored.
  void dropFiles(const QStringList &paths);

signals:
  // The scene's objects were replaced or added to by a file.
  void objectsChanged();

private:
  bool readSceneFile(const QString &path, bool replace);
  bool importFile(const std::string &path);
  bool writeScene(const QString &path, bool selectedOnly);
  UserInterface::FileChoice ask(UserInterface::FileRequest request, bool *firstUse = nullptr);
  bool requireSelectedObjects();
  void setFileName(const QString &name);

  CommandLayer &layer_;
  Scene &scene_;
  UserInterface &ui_;
  QMainWindow &window_;
  ModelWindow &modelWindow_;
  ProgramFolders folders_;
  FormatRegistry registry_;
  std::function<QOpenGLWidget *()> workWindow_;
  QString fileName_ = QStringLiteral("untitled.mvo");
  bool named_ = false;    // the file name came from an open or a save
  uint64_t savedVersion_; // the scene's version when it was last opened, saved or emptied
  QString offeredName_;   // the name Save as proposes for a recovered scene
  Settings *settings_ = nullptr;
  bool openUsed_ = false; // the Open dialog was shown once
};
