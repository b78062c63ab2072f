// The file session (script/file_session.h) as the main window takes part in it: the current file
// name in the window's title, the recent files, the model window drawn into when scenes are
// read, Screen Capture of the work window's picture, and files dropped on the model window.
// The file commands of the command table run through the session; this adds what only the
// window has.
#pragma once

#include "app/program_folders.h"
#include "script/file_session.h"

#include <QObject>
#include <QStringList>
#include <functional>

class CommandLayer;
class Settings;
class ModelWindow;
class QMainWindow;
class QOpenGLWidget;

class FileCommands : public QObject {
  Q_OBJECT
public:
  // Works on the layer's scene and user interface; window gets the title; modelWindow is drawn
  // into when scenes are read.
  FileCommands(CommandLayer &layer, QMainWindow &window, ModelWindow &modelWindow,
               ProgramFolders folders);

  // Gives the layer the file session (the file commands of the command table) and attaches
  // Screen Capture.
  void attachTo(CommandLayer &layer);

  FileSession &session() { return session_; }
  // The path of the scene last opened or saved; "untitled.mvo" at first, empty after New.
  QString fileName() const { return QString::fromStdString(session_.fileName()); }
  // "Morvo 1.5 - " and the current file name without its folder.
  QString title() const { return QString::fromStdString(session_.title()); }
  // The current file name (or, for a recovered scene, the name it had) without folder and
  // extension; "untitled" for none.
  QString sceneName() const { return QString::fromStdString(session_.sceneName()); }
  const FormatRegistry &registry() const { return session_.registry(); }
  const ProgramFolders &folders() const { return folders_; }
  // The work window whose picture Screen Capture takes; the model window unless set.
  void setWorkWindow(std::function<QOpenGLWidget *()> current) { workWindow_ = std::move(current); }

  // See FileSession.
  void forgetFile() { session_.forgetFile(); }
  bool unsaved() const { return session_.unsaved(); }
  bool recover(const QString &path, const QString &sceneName) {
    return session_.recover(path.toStdString(), sceneName.toStdString());
  }
  bool askToSave() { return session_.askToSave(); }
  bool openScenePath(const QString &path) { return session_.openScenePath(path.toStdString()); }
  // Writes the work window's picture to a chosen image file, in the format of the chosen entry.
  bool screenCapture();
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
  void fileNamed(const std::string &name);

  UserInterface &ui_;
  QMainWindow &window_;
  ModelWindow &modelWindow_;
  ProgramFolders folders_;
  FileSession session_;
  std::function<QOpenGLWidget *()> workWindow_;
  Settings *settings_ = nullptr;
};
