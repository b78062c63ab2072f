// The file session of the scene: the current file name, whether the scene holds work that was
// never saved, and the commands that exchange files with the user: New, Open, Add from file,
// Revert, Save, Save as, Save selected, Import, Export and starting the recording of a tutorial
// script. Each is a short flow around a file dialog asked of the UserInterface, so that the
// program, tests, scripts and morvo-cli answer it alike; the window takes part only through the
// hooks.
//
// Every flow leaves the scene as it was when a file cannot be read, and leaves the file on disk
// as it was when it cannot be written; either way a message box says why.
#pragma once

#include "interchange/format_registry.h"
#include "scene/user_interface.h"

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

class CommandLayer;
class Scene;

// Where the first dialogs start; empty: wherever the desktop starts them.
struct FileFolders {
  std::string models;  // the first Open dialog
  std::string scripts; // every dialog that names a recording
};

class FileSession {
public:
  // Works on scene, asks and tells through ui. The scene as it stands counts as saved.
  FileSession(Scene &scene, UserInterface &ui, FileFolders folders = {});

  // What the window does around the flows; any of them may be left empty.
  struct Hooks {
    // Before a file is read or exported: the model window's drawing context is made current
    // (reading and triangulating rebuild display lists).
    std::function<void()> makeDrawingCurrent;
    // After a file changed the scene, or saving compacted it: lists rebuilt, the view redrawn.
    std::function<void()> sceneChanged;
    // The scene's objects were replaced or added to by a file.
    std::function<void()> objectsChanged;
    // After Import, Open and Add from file: the slots of the objects the file brought, for the
    // window to frame them (view/view_framing.h).
    std::function<void(const std::vector<int32_t> &slots)> frameObjects;
    // The current file name changed: a scene was opened or saved under it, or (empty) the
    // scene has no file any more.
    std::function<void(const std::string &)> onFileNamed;
    // Before a recording starts: the main window at its start-up size.
    std::function<void()> presentWindow;
  } hooks;

  // Where the readers' and writers' messages go; standard error unless set.
  void setDiagnostics(std::ostream &out) { diagnostics_ = &out; }
  const FormatRegistry &registry() const { return registry_; }

  // The path of the scene last opened or saved; "untitled.mvo" at first, empty after New.
  const std::string &fileName() const { return fileName_; }
  // "Morvo 1.5 - " and the current file name without its folder.
  std::string title() const;
  // The current file name (or, for a recovered scene, the name it had) without folder and
  // extension; "untitled" for none.
  std::string sceneName() const;

  // The scene was emptied by something other than a file command (a script's Reset): it has
  // no file name any more, and nothing unsaved.
  void forgetFile();
  // Whether the scene holds objects and differs from what was last opened or saved as a whole.
  bool unsaved() const;
  // Replaces the scene with a recovery copy of work that was never saved: the scene has no file
  // name, counts as unsaved, and Save as offers the name it had. False, with a message box and
  // the scene unchanged, when the copy cannot be read.
  bool recover(const std::string &path, const std::string &sceneName);
  // Only when unsaved(): asks whether to save first. Yes runs Save as (and goes on also when
  // that is cancelled), No goes on, Cancel returns false.
  bool askToSave();

  // askToSave, then an empty scene without a file name (the Delete all script command, through
  // the layer so that a recording sees it).
  void newScene(CommandLayer &layer);
  // askToSave, then the open dialog (first use in the models folder) and openScene.
  void open();
  // Replaces the scene with the scene file at path, which becomes the current file name; a
  // replaced scene starts a new undo history. False, with a message box, when the file cannot
  // be read; the scene and the file name are then unchanged.
  bool openScene(const std::string &path);
  // openScene with surrounding double quotes stripped (a path as a command line gives it).
  bool openScenePath(std::string path);
  // Adds the objects of a chosen scene file after the scene's last slot (undoable). The current
  // file name stays, so that a later Save never writes the whole scene over that file.
  void addFromFile();
  // Reads the current file again, replacing the scene, without asking; refused with a message
  // when the scene has no file it came from.
  void revert();
  // Writes the whole scene to the current file, or asks for a name when there is none yet.
  // Refused with a message when there are no objects.
  bool save();
  // Asks for a name and writes the whole scene there; the name becomes the current one.
  bool saveAs();
  // Writes the selected objects (objects mode) to a chosen file, which becomes the current file
  // name; a later Save writes the whole scene there.
  bool saveSelected();
  // Writes the scene (or its selected objects) to path through a temporary file renamed over
  // it; path becomes the current file name. False, with a message box, when it cannot be
  // written; the file on disk, the name and the scene then stay as they were.
  bool saveScenePath(const std::string &path, bool selectedOnly);

  // Imports a chosen model file through the format registry.
  bool importModel();
  // Imports the model file at path, by its extension. False, with a message box giving the
  // readers' own words, when nothing could be imported; the scene is then as it was.
  bool importPath(const std::string &path);
  // The import step that every import shares: the reader for the extension (or, sniffing, the
  // first whose content sniff accepts the file) and the converter; the readers' messages go to
  // the diagnostics stream. False when nothing was imported (the scene as it was), with reason
  // the readers' first problem in one line.
  bool readModel(const std::string &path, bool sniffing, std::string &reason);
  // What an import does with a body beyond an object's face limit: ask the user (the window's
  // way: "MODEL has N triangles; an object holds at most 32768 faces. Simplify it to fit?"),
  // simplify it, or refuse the import.
  enum class OverLimit { kAsk, kSimplify, kRefuse };
  void setOverLimit(OverLimit policy) { overLimit_ = policy; }
  // Whether the last import failed because a body was beyond the face limit and not to be
  // simplified.
  bool refusedOverLimit() const { return refusedOverLimit_; }
  // How the last import simplified its bodies, in one line ("NAME: simplified from 69 451 to
  // 30 000 triangles, error 0.2 %"); empty when it did not.
  const std::string &simplifications() const { return simplifications_; }
  // Exports all objects, or the selected ones (objects mode), to a chosen model file; a name
  // without an extension gets that of the chosen dialog entry.
  bool exportModel(bool allObjects);
  // Exports to path with the writer for its extension. False when nothing was written: with a
  // message box when no writer takes that extension or the files cannot be written.
  bool exportPath(const std::string &path, bool allObjects);

  // Asks where to record a tutorial script and starts recording there; nothing while a
  // recording runs.
  void startRecording(CommandLayer &layer);

  // A file dialog for request. With firstUse, the dialog starts in request.folder only the first
  // time (later ones where the last left off) and *firstUse is set. A name with wildcards is
  // refused with a message and answered as cancelled.
  UserInterface::FileChoice chooseFile(UserInterface::FileRequest request,
                                       bool *firstUse = nullptr);

private:
  bool readSceneFile(const std::string &path, bool replace);
  // The occupied slots of the scene.
  std::vector<int32_t> occupiedSlots() const;
  // Calls the frameObjects hook with the occupied slots that are not in before.
  void frameNewObjects(const std::vector<int32_t> &before);
  bool requireObjects();
  bool requireSelectedObjects();
  void setFileName(const std::string &name);

  Scene &scene_;
  UserInterface &ui_;
  FileFolders folders_;
  FormatRegistry registry_;
  std::ostream *diagnostics_;
  std::string fileName_ = "untitled.mvo";
  bool named_ = false;      // the file name came from an open or a save
  uint64_t savedVersion_;   // the scene's version when it was last opened, saved or emptied
  std::string offeredName_; // the name Save as proposes for a recovered scene
  bool openUsed_ = false;   // the Open dialog was shown once
  OverLimit overLimit_ = OverLimit::kAsk;
  bool refusedOverLimit_ = false;
  std::string simplifications_;
};
