// Status help for tool-bar controls: while the pointer rests on a button, list or field, the
// tool-tip request is answered by writing the control's text into the status line, and no tip is
// shown. Texts are keyed by command number: the command table's rows, and the per-row controls of
// the Object Info window.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

class UserInterface;
class QWidget;

// Command numbers of the Object Info row controls: base + row.
constexpr int32_t kVisibilityBase = 10752, kSensitivityBase = 11264, kNameBase = 11776,
                  kTextureSizeBase = 12032;

// The status help of a tool-bar control by command number; empty for a number without one.
QString toolBarHelp(int32_t command);

class StatusHelp : public QObject {
public:
  StatusHelp(UserInterface &ui, QObject *parent) : QObject(parent), ui_(ui) {}
  // Gives the control its command's text: as its tool tip (never shown) and, while the pointer
  // rests on it, in the status line.
  void attach(QWidget *control, int32_t command);

protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

private:
  UserInterface &ui_;
};
