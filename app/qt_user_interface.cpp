#include "app/qt_user_interface.h"

#include "app/settings.h"
#include "app/status_line.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

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

UserInterface::Answer QtUserInterface::askWithButtons(const std::string &question,
                                                      const std::string &yes, const std::string &no,
                                                      const std::string &cancel) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Morvo"), QString::fromStdString(question),
                  QMessageBox::NoButton, parent_);
  QAbstractButton *yesButton = box.addButton(QString::fromStdString(yes), QMessageBox::AcceptRole);
  // An empty text leaves the middle button out (a two-way question).
  QAbstractButton *noButton =
      no.empty() ? nullptr
                 : box.addButton(QString::fromStdString(no), QMessageBox::DestructiveRole);
  box.setEscapeButton(box.addButton(QString::fromStdString(cancel), QMessageBox::RejectRole));
  box.setDefaultButton(static_cast<QPushButton *>(yesButton));
  box.exec();
  return box.clickedButton() == yesButton              ? Answer::Yes
         : noButton && box.clickedButton() == noButton ? Answer::No
                                                       : Answer::Cancel;
}

void QtUserInterface::setStatus(const std::string &text) {
  statusLine_->setFullText(QString::fromStdString(text));
}

UserInterface::FileChoice QtUserInterface::chooseFile(const FileRequest &request) {
  // The folder of the last dialog for the same purpose first, then the one asked for; without
  // either the dialog starts where the last one was left.
  QString folder = QString::fromStdString(request.folder);
  if (settings_ && !request.purpose.empty())
    if (const QString kept = settings_->folder(request.purpose);
        QDir(kept).exists() && !kept.isEmpty())
      folder = kept;
  QFileDialog dialog(parent_, QString::fromStdString(request.title),
                     folder.isEmpty() ? lastFolder_ : folder);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters;
  for (const std::string &filter : request.filters)
    filters << QString::fromStdString(filter);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
  // A wildcard name ("*.tif") only repeats the filter, which the dialog shows anyway; in the name
  // box it would be accepted as a file called "*.tif".
  if (request.initialName.find_first_of("*?") == std::string::npos)
    dialog.selectFile(QString::fromStdString(request.initialName));
  const bool accepted = dialog.exec() == QDialog::Accepted;
  lastFolder_ = dialog.directory().absolutePath();
  if (!accepted || dialog.selectedFiles().isEmpty())
    return {};
  if (settings_ && !request.purpose.empty())
    settings_->setFolder(request.purpose, lastFolder_);
  return {dialog.selectedFiles().constFirst().toStdString(),
          int(filters.indexOf(dialog.selectedNameFilter()))};
}

bool QtUserInterface::chooseColour(moColor initial, moColor &chosen) {
  const QColor colour = QColorDialog::getColor(QColor(initial.r, initial.g, initial.b), parent_,
                                               QString(), QColorDialog::DontUseNativeDialog);
  if (!colour.isValid())
    return false;
  chosen = {uint8_t(colour.red()), uint8_t(colour.green()), uint8_t(colour.blue()),
            uint8_t(colour.alpha())};
  return true;
}

void QtUserInterface::beginProgress(const std::string &label, int64_t total) {
  progress_.begin(label, total);
}

bool QtUserInterface::progress(int64_t done) { return progress_.step(done); }

void QtUserInterface::endProgress() { progress_.end(); }
