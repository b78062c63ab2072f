#include "scene/progress_task.h"

#include <algorithm>

ProgressTask::ProgressTask(UserInterface &ui, const std::string &label, int64_t total)
    : ui_(ui), total_(std::max<int64_t>(total, 1)) {
  ui_.beginProgress(label, total_);
}

ProgressTask::~ProgressTask() { ui_.endProgress(); }

void ProgressTask::reach(int64_t done) {
  done_ = std::min(std::max(done, done_), total_);
  const int64_t thousandths = done_ * 1000 / total_;
  if (thousandths == reported_)
    return;
  reported_ = thousandths;
  if (!ui_.progress(done_))
    throw moCancelledException();
}
