// The tutorial window "How To...": the player's buttons (rewind, stop, play, step), the message
// pane where the tutorial texts appear, and the Done button that leaves tutorial mode. It owns
// the flow that loads a tutorial (command 9484) and the commands of its buttons (20480 to 20484),
// attached to the command layer. While a tutorial runs the shell disables its menus, the model
// window and the tool-bar strip. The message pane wraps the texts and is as wide as a line of 60
// characters of its font.
#pragma once

#include "app/status_help.h"
#include "script/script_player.h"

#include <QWidget>
#include <functional>

class QLineEdit;
class QPlainTextEdit;
class QToolButton;

// What the tutorial flow asks of the main window.
struct TutorialShell {
  std::function<bool()> askToSave;           // false: the user cancelled
  std::function<void()> presentMainWindow;   // shown at its start-up size, centred
  std::function<void(bool)> setTutorialMode; // true: menus, model window and strip disabled
};

class HowToWindow : public QWidget {
  Q_OBJECT
public:
  // Hidden, at the top-left corner of the screen, owned by owner.
  HowToWindow(ScriptPlayer &player, StatusHelp &help, QWidget *owner);

  // Attaches to the command layer "How to..." (9484: the save question, the tutorial dialog,
  // then tutorial mode with the chosen script loaded and reset; a cancelled question or dialog
  // changes nothing) and the buttons: Play 20483 (without a timer, or a script, tutorial mode is
  // left), Stop 20482 (a pause), Step 20484, Rewind 20481 (the script from its start, with the
  // Reset) and Done 20480 (the script closed, tutorial mode left).
  void attachCommands(CommandLayer &layer, TutorialShell shell);
  // Where the tutorial dialog starts; empty: where it last left off.
  QString scriptsFolder;

  QPlainTextEdit *messagePane() const { return pane_; }
  QToolButton *button(int32_t command) const;
  bool inTutorialMode() const { return tutorial_; }

signals:
  // A button was pressed; the shell runs its command.
  void commandChosen(int32_t number);

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  QToolButton *addButton(int32_t command, QRect geometry, StatusHelp &help);
  void load(CommandLayer &layer);
  void leaveTutorialMode();
  void play();

  ScriptPlayer &player_;
  TutorialShell shell_;
  QLineEdit *header_;
  QPlainTextEdit *pane_;
  std::vector<QToolButton *> buttons_;
  bool tutorial_ = false;
};
