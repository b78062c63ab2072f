// Keeps a recovery copy of unsaved work and offers the copies a crash left behind.
//
// While the scene has unsaved changes, a copy of the whole scene (the scene file, paint
// included) is written once the changes have waited `interval`, or once the user has left them
// alone for `idle`. Never during a drag or a paint stroke. The bytes are made on this thread one
// object per timer tick, between frames, and written by a worker thread through the atomic save
// path, so the window never waits for the disk. The copy goes once nothing is unsaved (Save,
// New, Open) and at a clean quit; it never replaces the user's own file. A failed write is one
// line on standard error, and the previous copy stays as it was.
#pragma once

#include "fileio/recovery_copies.h"
#include "scene/scene_file.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>

class FileCommands;

class Autosave : public QObject {
  Q_OBJECT
public:
  using Clock = std::chrono::steady_clock;
  // Copies go into folder (made when first needed); busy tells when a drag or a stroke runs.
  Autosave(FileCommands &files, Scene &scene, std::function<bool()> busy, std::string folder,
           QObject *parent = nullptr);
  ~Autosave() override; // waits for a write in flight

  void setTimes(Clock::duration interval, Clock::duration idle);
  // Off: no copies are written (the one on disk goes); on again: as before.
  void setEnabled(bool on);
  // The path of this program's copy on disk, empty when there is none.
  const std::string &copyPath() const { return written_; }
  // At a clean quit: the copy goes.
  void quitCleanly();
  // Asks about every orphaned copy, oldest first: "Recover" opens it as the unsaved scene (after
  // the save question, when the scene has unsaved changes) and it becomes this program's copy,
  // "Discard" deletes it, "Later" keeps it for the next start.
  void offerRecovery(UserInterface &ui);

private:
  void tick();
  // Whether the unsaved changes have waited long enough to be written now.
  bool due(Clock::time_point now) const;
  void startWrite();
  void finishWrite();
  void removeCopy();
  std::string pathFor(const std::string &sceneName) const;

  FileCommands &files_;
  Scene &scene_;
  std::function<bool()> busy_;
  std::string folder_;
  QTimer timer_;
  Clock::duration interval_ = std::chrono::minutes(2), idle_ = std::chrono::seconds(10);
  uint64_t seen_ = 0;                      // the version last looked at
  uint64_t copied_ = ~uint64_t(0);         // the version the copy on disk holds
  Clock::time_point changed_{};            // when the version last changed
  Clock::time_point waitingSince_{};       // the first change not in the copy
  bool waiting_ = false;                   // changes wait for the copy
  Clock::time_point retry_{};              // after a failed write: no new try before this
  std::unique_ptr<SceneFileWriter> bytes_; // being made, a slot per tick
  std::future<std::string> write_;         // in flight: the failure, empty on success
  std::string writing_;                    // its path
  uint64_t writingVersion_ = 0;
  std::string written_; // the copy on disk
  bool enabled_ = true;
};
