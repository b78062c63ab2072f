// The progress dialog of long work (imports, exports, Smooth, Plane Cut): a QProgressDialog with
// Cancel, modal to the main window, that shows itself only when the work goes on for more than
// half a second (QProgressDialog's minimum duration, with its own estimate of the time left).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class QProgressDialog;
class QWidget;

class ProgressWindow {
public:
  explicit ProgressWindow(QWidget *parent);
  ~ProgressWindow();
  // Opens a task of `total` steps, replacing one that is still open.
  void begin(const std::string &label, int64_t total);
  // Moves the bar (and, once the dialog shows, lets Qt handle the Cancel button); false once
  // Cancel has been pressed.
  bool step(int64_t done);
  void end();

private:
  QWidget *parent_;
  std::unique_ptr<QProgressDialog> dialog_;
  int64_t divisor_ = 1; // the dialog counts in int
};
