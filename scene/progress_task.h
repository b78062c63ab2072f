// Long work reported to the user: imports, exports, Smooth and Plane Cut tell the user interface
// how far they are, and stop when the user asks them to.
#pragma once

#include "scene/user_interface.h"

#include <cstdint>
#include <exception>
#include <string>

// Thrown when the user stops long work; whoever started it puts everything back as it was.
class moCancelledException : public std::exception {
public:
  const char *what() const noexcept override { return "Cancelled"; }
};

// One piece of long work of `total` steps: opens the task on the user interface when made and
// closes it when destroyed. The interface hears of a step only when the done share has moved by
// at least a thousandth, so reporting every step costs nearly nothing.
class ProgressTask {
public:
  ProgressTask(UserInterface &ui, const std::string &label, int64_t total);
  ~ProgressTask();
  ProgressTask(const ProgressTask &) = delete;
  ProgressTask &operator=(const ProgressTask &) = delete;

  // Counts `steps` more as done (reach: `done` in all, never going back). Throws
  // moCancelledException when the user has asked to stop.
  void advance(int64_t steps = 1) { reach(done_ + steps); }
  void reach(int64_t done);

private:
  UserInterface &ui_;
  int64_t total_, done_ = 0, reported_ = -1; // reported_: thousandths last told
};
