#include "cli/terminal_ui.h"

#include <unistd.h>

#include <cstdio>

namespace {

constexpr std::chrono::milliseconds kQuietTime(500); // shorter work shows nothing

} // namespace

void TerminalUi::beginProgress(const std::string &label, int64_t total) {
  RecordingUi::beginProgress(label, total);
  label_ = label;
  total_ = total > 0 ? total : 1;
  start_ = std::chrono::steady_clock::now();
  shown_ = false;
}

bool TerminalUi::progress(int64_t done) {
  const bool goOn = RecordingUi::progress(done);
  if (isatty(STDERR_FILENO) && std::chrono::steady_clock::now() - start_ >= kQuietTime) {
    std::fprintf(stderr, "\r%s %3d%%", label_.c_str(), int(done * 100 / total_));
    std::fflush(stderr);
    shown_ = true;
  }
  return goOn;
}

void TerminalUi::endProgress() {
  RecordingUi::endProgress();
  if (shown_)
    std::fputc('\n', stderr);
  shown_ = false;
}
