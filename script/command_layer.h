// The one way user commands reach the scene and the view. Menus, hot keys, tool bars, the
// operations menu, the script player and morvo-cli all come here: a script command runs through
// execute(), which records it when a recording runs; a user command (a row of the command table)
// runs through run(). This is also the one place where a fault that escaped an operation is
// caught: it becomes a message box and the program goes on.
#pragma once

#include "scene/scene.h"
#include "script/script_format.h"
#include "script/script_host.h"
#include "script/script_recorder.h"
#include "view/view.h"

#include <functional>
#include <map>

class FileSession;
class PaintWindowInput;

class CommandLayer {
public:
  CommandLayer(Scene &scene, View &view, UserInterface &ui, ScriptHost &host);

  Scene &scene() { return scene_; }
  View &view() { return view_; }
  UserInterface &ui() { return ui_; }
  ScriptHost &host() { return host_; }
  ScriptRecorder &recorder() { return recorder_; }
  // The controller that takes pointer events and operation commands; null for none.
  void setInput(ScriptInput *input) { input_ = input; }
  ScriptInput *input() const { return input_; }
  // Whether the model window waits for a selection (true without a controller).
  bool inSelectMode() const { return !input_ || input_->inSelectMode(); }
  // The model window's wheel turns (delta 120 a notch) and spin timer ticks, for the controller;
  // nothing without one. A recording keeps the wheel turns; of a spin it keeps the pointer
  // events of the gesture that starts it, not the ticks, which no script code stands for.
  void wheel(int32_t delta) {
    if (input_)
      input_->wheel(delta);
  }
  void spinTick() {
    if (input_)
      input_->spinTick();
  }

  // The file session the file commands work on; without one they are not available.
  void setFiles(FileSession *files) { files_ = files; }
  FileSession *files() const { return files_; }
  // How a paint command reaches the paint session: the window makes its drawing context
  // current, runs the command and repaints what it drew.
  using PaintRunner = std::function<bool(const std::function<bool(PaintWindowInput &)> &)>;
  // The active paint session, null in the Model work mode; without a runner its commands run
  // on whatever context is current.
  void setPaint(PaintWindowInput *paint, PaintRunner runner = {});
  PaintWindowInput *paint() const { return paint_; }
  // Runs a paint command on the active paint session; false without one.
  bool withPaint(const std::function<bool(PaintWindowInput &)> &command);

  // Runs one script command: records it (pointer events, drag kinds and step markers are the
  // controller's to record), runs it and refreshes the model view. Codes this program cannot run
  // show "unknown command" in the message pane; bad arguments a message of their own. Returns
  // false when the command was unknown or refused its arguments.
  bool execute(const ScriptCommand &command);
  bool execute(uint8_t code, std::vector<int32_t> args = {});

  // Runs the user command with that command number or name (see command_table.h). Returns false
  // when there is no such command or it is not available here.
  bool run(int32_t number);
  bool run(const std::string &name);
  // Gives a command the shell implements (windows, the screen's picture) its handler, which
  // takes the place of the row's own.
  void attach(int32_t number, std::function<void()> handler);
  // Whether run(number) would do something: a handler is attached, or the row runs here (the
  // file commands only with a file session).
  bool available(int32_t number) const;

  // Starts recording into the file: the view's size as the header, the Reset with zoom 1, grid
  // and axes shown, and the symmetry planes that were on, recorded as the first command. A file
  // that cannot be written shows a message and records nothing.
  bool beginRecording(const std::string &fileName);
  // Ends a running recording with "Finished" and tells the user.
  void endRecording();
  // The Reset that starts every recording and playback: current colour (0, 0, 0, 0), the
  // opening message, no pointer position or snap, perspective, an empty scene in free mode, the
  // camera reset with its distance times zoom, the default view, flat shading with outlines,
  // no textures and every symmetry plane off.
  void resetForScript(float zoom);
  void showMessage(const std::string &text) { host_.showScriptMessage(text); }
  // A script command with an argument that names nothing: a message in the pane.
  bool badArgument(const ScriptCommand &command);

private:
  bool runGuarded(const std::function<void()> &work);

  Scene &scene_;
  View &view_;
  UserInterface &ui_;
  ScriptHost &host_;
  ScriptInput *input_ = nullptr;
  FileSession *files_ = nullptr;
  PaintWindowInput *paint_ = nullptr;
  PaintRunner paintRunner_;
  ScriptRecorder recorder_;
  std::map<int32_t, std::function<void()>> attached_;
};
