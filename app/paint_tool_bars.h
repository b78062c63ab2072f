// The paint tool bars A to E of the Toolbox window: 28 x 28 buttons in rows of two. A: the
// painting tools; B: hand and face selection; C: pattern and reveal (toggles); D: mask and
// inverse mask (toggles); E: paint undo and redo. Buttons report their command numbers; the
// shell runs them through the command layer.
#pragma once

#include "app/status_help.h"
#include "paint/tools/tool_registry.h"
#include "script/command_layer.h"

#include <QWidget>
#include <functional>
#include <map>

class QToolButton;

class PaintToolBars : public QWidget {
  Q_OBJECT
public:
  // Every button in its normal picture but the hand tool's, which starts unavailable.
  explicit PaintToolBars(StatusHelp &help, QWidget *parent = nullptr);

  // The button of a command; null for a number no bar carries.
  QToolButton *button(int32_t command) const;
  // Whether a tool's button shows its unavailable picture.
  bool shownUnavailable(int32_t command) const;
  // The current tool's button in its current picture and the others normal; tools the canvas's
  // reveal or pattern mode rules out unavailable; the four toggles as the canvas's modes stand.
  void showToolState(const PaintToolbox &toolbox, const PaintCanvas &canvas);
  // Attaches the tool choices to the command layer: each tool button's command makes its tool
  // current in the context (the paint window's), then the bars show the new state.
  void attachToolChoices(CommandLayer &layer, PaintToolbox &toolbox,
                         std::function<PaintContext &()> context);

signals:
  void commandChosen(int32_t number);

private:
  QWidget *bar(const std::vector<int32_t> &commands, StatusHelp &help);
  void setUnavailable(int32_t command, bool unavailable);

  std::map<int32_t, QToolButton *> buttons_;
  std::map<int32_t, bool> unavailable_;
};
