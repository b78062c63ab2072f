// The user-interface services of the lower layers, done with Qt: message boxes and questions on
// the main window, and the one-pane status line.
#pragma once

#include "app/progress_window.h"
#include "scene/user_interface.h"

#include <QString>

class Settings;
class StatusLine;
class QWidget;

class QtUserInterface : public UserInterface {
public:
  QtUserInterface(QWidget *parent, StatusLine *statusLine)
      : parent_(parent), statusLine_(statusLine) {}
  void messageBox(const std::string &text) override;
  bool askYesNo(const std::string &question) override;
  Answer askYesNoCancel(const std::string &question) override;
  Answer askWithButtons(const std::string &question, const std::string &yes, const std::string &no,
                        const std::string &cancel) override;
  void setStatus(const std::string &text) override;
  // QFileDialog with Qt's own (not the platform's) dialog, so it looks the same everywhere. It
  // starts in the folder kept for the request's purpose when there is one.
  FileChoice chooseFile(const FileRequest &request) override;
  // Where the last folder of each purpose is kept; none: only for this run.
  void keepFoldersIn(Settings *settings) { settings_ = settings; }
  // QColorDialog, Qt's own, with the custom colours shown.
  bool chooseColour(moColor initial, moColor &chosen) override;
  // A QProgressDialog with Cancel once long work has gone on for half a second.
  void beginProgress(const std::string &label, int64_t total) override;
  bool progress(int64_t done) override;
  void endProgress() override;

private:
  QWidget *parent_;
  StatusLine *statusLine_;
  QString lastFolder_; // where the last file dialog was left
  Settings *settings_ = nullptr;
  ProgressWindow progress_{parent_};
};
