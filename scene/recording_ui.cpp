#include "scene/recording_ui.h"

void RecordingUi::messageBox(const std::string &text) { messages.push_back(text); }

bool RecordingUi::askYesNo(const std::string &question) {
  questions.push_back(question);
  if (answers_.empty())
    return false;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer == Answer::Yes;
}

UserInterface::Answer RecordingUi::askYesNoCancel(const std::string &question) {
  questions.push_back(question);
  if (answers_.empty())
    return Answer::Cancel;
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void RecordingUi::setStatus(const std::string &text) { status = text; }

UserInterface::FileChoice RecordingUi::chooseFile(const FileRequest &request) {
  fileRequests.push_back(request);
  if (files_.empty())
    return {};
  FileChoice choice = files_.front();
  files_.pop_front();
  return choice;
}

bool RecordingUi::chooseColour(moColor initial, moColor &chosen) {
  colourRequests.push_back(initial);
  if (colours_.empty())
    return false;
  chosen = colours_.front();
  colours_.pop_front();
  return true;
}

void RecordingUi::beginProgress(const std::string &label, int64_t) {
  progressLabels.push_back(label);
  ++openProgressTasks;
}

bool RecordingUi::progress(int64_t) {
  const int report = progressReports++;
  return cancelAt_ < 0 || report < cancelAt_;
}

void RecordingUi::endProgress() {
  --openProgressTasks;
  cancelAt_ = -1;
}
