#include "app/progress_window.h"

#include <QProgressDialog>

#include <climits>

ProgressWindow::ProgressWindow(QWidget *parent) : parent_(parent) {}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::begin(const std::string &label, int64_t total) {
  divisor_ = total / INT_MAX + 1;
  dialog_ = std::make_unique<QProgressDialog>(
      QString::fromStdString(label), QStringLiteral("Cancel"), 0, int(total / divisor_), parent_);
  dialog_->setWindowTitle(QStringLiteral("Morvo"));
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setMinimumDuration(500);
  dialog_->setAutoReset(false);
  dialog_->setAutoClose(false);
  dialog_->setValue(0); // starts the clock of the minimum duration
}

bool ProgressWindow::step(int64_t done) {
  if (!dialog_)
    return true;
  dialog_->setValue(int(done / divisor_));
  return !dialog_->wasCanceled();
}

void ProgressWindow::end() { dialog_.reset(); }
