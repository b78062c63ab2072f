// The main window: the Model and Paint menu bars built from their tables, the hot keys, the title,
// the one-pane status line, the model window and the about picture. Every command goes through
// the command layer; the window only adds what needs the desktop (file dialogs, the colour
// dialog, the about picture, quitting) as attached commands.
#pragma once

#include "app/menu_tables.h"
#include "app/qt_user_interface.h"
#include "script/command_layer.h"
#include "script/script_player.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class Autosave;
class Settings;
class FileCommands;
class HelpBrowser;
class ColourChooser;
class HowToWindow;
class MainToolBar;
class ModelWindow;
class ObjectInfoWindow;
class StatusHelp;
class PaintToolBars;
class PaintWindow;
class StatusLine;
class QStackedWidget;
class WorkModes;
class QMenu;
class QMenuBar;
class QPlainTextEdit;

// The script layer's window services: the tutorial window's message pane, the 10 ms playback
// timer and the model window's refresh.
class QtScriptHost : public ScriptHost {
public:
  QtScriptHost();
  void showScriptMessage(const std::string &text) override;
  bool startPlaybackTimer() override;
  void stopPlaybackTimer() override { timer.stop(); }
  void refreshModelView(bool sceneChanged) override;
  void sceneReset() override {
    if (onSceneReset)
      onSceneReset();
  }
  std::function<void()> onSceneReset;

  QTimer timer;
  ModelWindow *modelWindow = nullptr;
  QPlainTextEdit *pane = nullptr;
};

class TopShell : public QMainWindow {
  Q_OBJECT
public:
  // Messages and questions go to ui, or to the program's own dialogs when it is null.
  explicit TopShell(UserInterface *ui = nullptr);
  ~TopShell() override;

  // Opens a scene file (surrounding double quotes stripped); false with a message when it cannot.
  bool openScenePath(QString path);
  // Runs a command as its menu entry or hot key does, then redraws and refreshes the check marks.
  void runCommand(int32_t number);
  // Shows the about picture unless it is already up.
  void showAbout();
  // Keeps recovery copies of unsaved work in folder from now on (the program does; tests that
  // want it too).
  void startAutosave(const std::string &folder);
  Autosave *autosave() const { return autosave_.get(); }
  // Offers the recovery copies a crash left behind (after startAutosave).
  void offerRecovery();
  // Remembers between runs through settings from now on (the program does): the window
  // places and the ground and axes come back now, and are kept at Quit.
  void useSettings(std::unique_ptr<Settings> settings);
  Settings &settings() { return *settings_; }
  // File > Recent files.
  QMenu *recentFilesMenu() const { return recentMenu_; }

  Scene &scene() { return *scene_; }
  CommandLayer &commands() { return *layer_; }
  ScriptPlayer &player() { return *player_; }
  ModelWindow *modelWindow() const { return modelWindow_; }
  StatusLine *statusLine() const { return statusLine_; }
  QMenuBar *paintMenuBar() const { return paintBar_; }
  QWidget *aboutPicture() const { return about_; }
  QString fileName() const;
  QString scriptMessage() const;
  FileCommands &files() { return *files_; }
  // Shows a help page (file name in the doc folder, optionally with "#anchor") in the help
  // browser, which is made on first use.
  void showHelp(const QString &page);
  HelpBrowser *helpBrowser() const { return help_; }
  MainToolBar *mainToolBar() const { return toolBar_; }
  ObjectInfoWindow *objectInfo() const { return objectInfo_; }
  HowToWindow *howTo() const { return howTo_; }
  ColourChooser &colours() { return *colours_; }
  StatusHelp &statusHelp() { return *statusHelp_; }
  WorkModes &workModes() { return *workModes_; }
  PaintWindow *paintWindow() const;
  // Puts the Paint or the Model menu bar in place.
  void installMenuBar(bool paint);

protected:
  void closeEvent(QCloseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;

private:
  void buildMenuBar(QMenuBar *bar, const std::vector<MenuDefinition> &menus);
  void fillMenu(QMenu *menu, const std::vector<MenuItem> &items);
  void attachShellCommands();
  void refreshChecks();
  void refreshHistoryEntries();
  QSize startSize() const;
  // The main window shown at its start-up size, centred on the screen (recording, tutorials).
  void presentAtStartSize();
  void buildToolWindows();
  // Tutorial mode: the menus, the model window and the tool-bar strip disabled.
  void setTutorialMode(bool on);
  void connectPaintMode();

  StatusLine *statusLine_;
  std::unique_ptr<QtUserInterface> ownUi_;
  UserInterface *ui_;
  std::unique_ptr<Scene> scene_;
  View view_;
  QtScriptHost host_;
  std::unique_ptr<CommandLayer> layer_;
  std::unique_ptr<ScriptPlayer> player_;
  ModelWindow *modelWindow_ = nullptr;
  QMenuBar *paintBar_ = nullptr;
  QPointer<QWidget> about_;
  bool quitting_ = false; // Quit has asked already
  FileCommands *files_ = nullptr;
  HelpBrowser *help_ = nullptr;
  StatusHelp *statusHelp_ = nullptr;
  ColourChooser *colours_ = nullptr;
  MainToolBar *toolBar_ = nullptr;
  ObjectInfoWindow *objectInfo_ = nullptr;
  HowToWindow *howTo_ = nullptr;
  QStackedWidget *workArea_ = nullptr; // the model window, or the paint window in Paint
  QMenuBar *modelBar_ = nullptr;
  std::unique_ptr<WorkModes> workModes_;
  std::unique_ptr<Autosave> autosave_;
  std::unique_ptr<Settings> settings_;
  QMenu *recentMenu_ = nullptr;
  void addRecentFilesMenu();
  // Edit > Autosave: how often recovery copies are written, or never.
  void addAutosaveMenu();
  // Highlighting an entry of menu shows its help (the action's data) in the status line.
  void showHelpOnHover(QMenu *menu);
  void applyAutosaveMinutes();
  QMenu *autosaveMenu_ = nullptr;
  // The windows whose places are kept, by the names they are kept under.
  std::vector<std::pair<QString, QWidget *>> keptWindows() const;
  PaintToolBars *paintToolBars_ = nullptr;
};
