// morvo-cli's user interface: RecordingUi, and long work (imports, exports) shown as a percentage
// on standard error once it has gone on for half a second, when standard error is a terminal.
#pragma once

#include "scene/recording_ui.h"

#include <chrono>

class TerminalUi : public RecordingUi {
public:
  void beginProgress(const std::string &label, int64_t total) override;
  bool progress(int64_t done) override;
  void endProgress() override;

private:
  std::string label_;
  int64_t total_ = 1;
  std::chrono::steady_clock::time_point start_;
  bool shown_ = false; // a progress line stands on the terminal
};
