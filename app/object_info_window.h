// The "Object Info" floating window: one row per object, in slot order from the scroll offset,
// with the object's visibility and sensitivity buttons, its name and its texture size. Every
// change goes through the script command layer, so a recording sees it. Rows are created as they
// are first needed and never destroyed; only the rows the window can show are filled.
#pragma once

#include "app/status_help.h"
#include "script/command_layer.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLineEdit;
class QScrollBar;
class QToolButton;

class ObjectInfoWindow : public QWidget {
  Q_OBJECT
public:
  // Rows the window can show: its client area is at most 470 pixels high, 22 per row.
  static constexpr int kShownRows = 22;

  // Hidden, at the top-left corner of the screen, owned by owner.
  ObjectInfoWindow(CommandLayer &layer, StatusHelp &help, QWidget *owner);

  // "Show object info ...": nothing without objects; a hidden window is shown and refreshed, a
  // visible one hidden.
  void toggle();
  // Brings the window up to date with the scene: hidden when the scene has no object, else its
  // rows refilled from the first-shown offset and its height fitted to them.
  void refresh();
  // A refresh once the current event is done; many requests make one refresh.
  void scheduleRefresh();
  // One scroll step: down (+1) moves the first-shown object on by one while objects remain
  // below the window, up (-1) back by one while it is above the first.
  void scrollLines(int direction);

  int firstShown() const { return first_; }
  int filledRows() const { return filled_; }
  // Row r's controls and the slot it shows (rows below filledRows() are in use).
  QToolButton *visibilityButton(int row) const { return rows_.at(size_t(row)).visible; }
  QToolButton *sensitivityButton(int row) const { return rows_.at(size_t(row)).sensitive; }
  QLineEdit *nameField(int row) const { return rows_.at(size_t(row)).name; }
  QComboBox *sizeList(int row) const { return rows_.at(size_t(row)).size; }
  int32_t rowSlot(int row) const { return rows_.at(size_t(row)).slot; }

protected:
  void wheelEvent(QWheelEvent *event) override;

private:
  struct Row {
    QWidget *holder = nullptr;
    QToolButton *visible = nullptr, *sensitive = nullptr;
    QLineEdit *name = nullptr;
    QComboBox *size = nullptr;
    int32_t slot = -1;
  };
  void addRow();
  void fillRow(Row &row, int32_t slot, const moObject &object);
  void fillSizes(QComboBox *list, const moObject &object);
  void toggleFlag(int row, uint8_t code);
  void rename(int row);
  void chooseSize(int row, int entry);
  void scrollAction(int action);

  CommandLayer &layer_;
  StatusHelp &help_;
  QWidget *rowArea_;
  QScrollBar *scrollBar_;
  std::vector<Row> rows_;
  int first_ = 0;  // objects skipped before row 0
  int filled_ = 0; // rows the last refresh filled
  bool refreshPending_ = false;
  QIcon eyeOpen_, eyeClosed_, ballGreen_, ballGrey_;
};
