#include "app/qt_user_interface.h"

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
