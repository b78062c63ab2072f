// The frame times of morvo-cli play --timing: every played command draws one frame, timed from
// the start of the command to the end of the frame, and sorted by the kind of step it was.
#pragma once

#include <array>
#include <string>
#include <vector>

enum class StepKind : uint8_t {
  DragMotion,  // pointer motion while a drag runs
  OtherMotion, // pointer motion in the camera and select modes
  Command,     // everything else a script does
};

class StepTimes {
public:
  void add(StepKind kind, double milliseconds) { times_[size_t(kind)].push_back(milliseconds); }
  // One line per kind, then "timing: ..." over all steps, each
  // "KIND: N frames, median M ms, 95th percentile P ms, slowest S ms" (zeros for no frames).
  std::string report() const;

private:
  std::array<std::vector<double>, 3> times_;
};
