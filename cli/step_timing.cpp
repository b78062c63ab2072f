#include "cli/step_timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The nearest-rank percentile of sorted, non-empty times.
double percentile(const std::vector<double> &sorted, double share) {
  const size_t rank = size_t(std::ceil(share * double(sorted.size())));
  return sorted[std::max<size_t>(rank, 1) - 1];
}

double median(const std::vector<double> &sorted) {
  const size_t n = sorted.size();
  return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
}

std::string timingLine(const char *kind, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  const bool any = !ms.empty();
  char line[160];
  std::snprintf(line, sizeof line,
                "%s: %zu frames, median %.1f ms, 95th percentile %.1f ms, slowest %.1f ms\n", kind,
                ms.size(), any ? median(ms) : 0.0, any ? percentile(ms, 0.95) : 0.0,
                any ? ms.back() : 0.0);
  return line;
}

} // namespace

std::string StepTimes::report() const {
  const char *const names[] = {"drag motion", "other motion", "commands"};
  std::string out;
  std::vector<double> all;
  for (size_t k = 0; k < times_.size(); ++k) {
    out += timingLine(names[k], times_[k]);
    all.insert(all.end(), times_[k].begin(), times_[k].end());
  }
  return out + timingLine("timing", all);
}
