// A UserInterface without a desktop: keeps every message, question and status text in order and
// answers questions from a queue of prepared answers (No, or Cancel for a three-way question,
// when the queue is empty) and file dialogs from a queue of prepared choices (cancelled when it is
// empty).
#pragma once

#include "scene/user_interface.h"

#include <deque>
#include <string>
#include <vector>

class RecordingUi : public UserInterface {
public:
  void messageBox(const std::string &text) override;
  bool askYesNo(const std::string &question) override;
  // Yes or No from the queue; Cancel when it is empty or the queued cancel comes first.
  Answer askYesNoCancel(const std::string &question) override;
  void setStatus(const std::string &text) override;
  FileChoice chooseFile(const FileRequest &request) override;
  // The next queued colour; cancelled when the queue is empty.
  bool chooseColour(moColor initial, moColor &chosen) override;

  void queueAnswer(bool yes) { answers_.push_back(yes ? Answer::Yes : Answer::No); }
  void queueAnswer(Answer answer) { answers_.push_back(answer); }
  void queueFile(std::string path, int filter = 0) { files_.push_back({std::move(path), filter}); }

  std::vector<std::string> messages;     // message boxes in order
  std::vector<std::string> questions;    // yes/no questions in order
  std::string status;                    // the status line as it stands
  std::vector<FileRequest> fileRequests; // file dialogs in order
  std::vector<moColor> colourRequests;   // the initial colour of each colour dialog

  void queueColour(moColor colour) { colours_.push_back(colour); }

  // Progress is recorded; a test can have the user stop the work at a chosen report.
  void beginProgress(const std::string &label, int64_t total) override;
  bool progress(int64_t done) override;
  void endProgress() override;
  // The report after `reports` more reports (0: the next one) answers "stop", and so do the
  // ones after it until the task ends.
  void cancelProgressAfter(int reports) { cancelAt_ = progressReports + reports; }

  std::vector<std::string> progressLabels; // tasks begun, in order
  int progressReports = 0;                 // progress calls in all
  int openProgressTasks = 0;               // begun and not yet ended

private:
  std::deque<Answer> answers_;
  std::deque<FileChoice> files_;
  std::deque<moColor> colours_;
  int cancelAt_ = -1;
};
