#include "app/qt_user_interface.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

void QtUserInterface::messageBox(const std::string &text) {
  QMessageBox::information(parent_, QStringLiteral("Morvo"), QString::fromStdString(text));
}

bool QtUserInterface::askYesNo(const std::string &question) {
  return QMessageBox::question(parent_, QStringLiteral("Morvo"), QString::fromStdString(question),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

UserInterface::Answer QtUserInterface::askYesNoCancel(const std::string &question) {
  const auto answer =
      QMessageBox::question(parent_, QStringLiteral("Morvo"), QString::fromStdString(question),
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  return answer == QMessageBox::Yes  ? Answer::Yes
         : answer == QMessageBox::No ? Answer::No
                                     : Answer::Cancel;
}

void QtUserInterface::setStatus(const std::string &text) {
  statusLine_->setText(QString::fromStdString(text));
}

UserInterface::FileChoice QtUserInterface::chooseFile(const FileRequest &request) {
  QFileDialog dialog(parent_, QString::fromStdString(request.title),
                     QString::fromStdString(request.folder));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const std::string &filter : request.filters)
    filters << QString::fromStdString(filter);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
  if (!request.initialName.empty())
    dialog.selectFile(QString::fromStdString(request.initialName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return {};
  return {dialog.selectedFiles().constFirst().toStdString(),
          int(filters.indexOf(dialog.selectedNameFilter()))};
}

void QtUserInterface::beginProgress(const std::string &label, int64_t total) {
  progress_.begin(label, total);
}

bool QtUserInterface::progress(int64_t done) { return progress_.step(done); }

void QtUserInterface::endProgress() { progress_.end(); }
