#include "script/command_layer.h"

#include "script/command_table.h"
#include "script/script_commands.h"
#include "script/session_commands.h"

#include <exception>

CommandLayer::CommandLayer(Scene &scene, View &view, UserInterface &ui, ScriptHost &host)
    : scene_(scene), view_(view), ui_(ui), host_(host) {}

bool CommandLayer::runGuarded(const std::function<void()> &work) {
  try {
    work();
    return true;
  } catch (const std::exception &failure) {
    ui_.messageBox(failure.what());
  } catch (...) {
    ui_.messageBox("unexpected failure");
  }
  return false;
}

bool CommandLayer::execute(const ScriptCommand &command) {
  const ScriptHandler handler = command.known ? scriptHandler(command.code) : nullptr;
  if (!handler) {
    showMessage("unknown command");
    return false;
  }
  if (!recordedByController(command.code))
    recorder_.write(command);
  bool accepted = false;
  runGuarded([&] { accepted = handler(*this, command); });
  host_.refreshModelView(!recordedByController(command.code));
  return accepted;
}

bool CommandLayer::execute(uint8_t code, std::vector<int32_t> args) {
  ScriptCommand command;
  command.code = code;
  command.args = std::move(args);
  command.known = scriptLayout(code) != nullptr;
  return execute(command);
}

bool CommandLayer::badArgument(const ScriptCommand &command) {
  showMessage("command " + std::to_string(command.code) + " names something that does not exist");
  return false;
}

void CommandLayer::attach(int32_t number, std::function<void()> handler) {
  attached_[number] = std::move(handler);
}

bool CommandLayer::available(int32_t number) const {
  const CommandEntry *entry = findCommand(number);
  if (!entry)
    return false;
  if (attached_.count(number))
    return true;
  return entry->run && (files_ || !needsFileSession(*entry));
}

bool CommandLayer::run(int32_t number) {
  const CommandEntry *entry = findCommand(number);
  if (!entry)
    return false;
  const auto attached = attached_.find(number);
  if (attached != attached_.end())
    return runGuarded(attached->second);
  if (!available(number))
    return false;
  return runGuarded([&] { entry->run(*this, entry->argument); });
}

void CommandLayer::setPaint(PaintWindowInput *paint, PaintRunner runner) {
  paint_ = paint;
  paintRunner_ = paint ? std::move(runner) : PaintRunner();
}

bool CommandLayer::withPaint(const std::function<bool(PaintWindowInput &)> &command) {
  if (!paint_)
    return false;
  return paintRunner_ ? paintRunner_(command) : command(*paint_);
}

bool CommandLayer::run(const std::string &name) {
  const CommandEntry *entry = findCommand(name);
  return entry && run(entry->number);
}

bool CommandLayer::beginRecording(const std::string &fileName) {
  if (recorder_.recording() || fileName.empty())
    return false;
  if (!recorder_.begin(fileName, view_.camera.width, view_.camera.height)) {
    ui_.messageBox("Cannot write the script file " + fileName);
    return false;
  }
  const uint8_t planes = scene_.symmetry.axes;
  resetForScript(1.0f);
  view_.groundAndAxes = View::kGroundGrid | View::kAxes;
  if (planes != 0) // the recording starts with the planes the user has on
    execute(kScriptSymmetry, {planes});
  host_.refreshModelView(true);
  return true;
}

void CommandLayer::endRecording() {
  if (!recorder_.recording())
    return;
  recorder_.end();
  if (input_)
    input_->releaseSnap();
  ui_.setStatus("End recording script");
  ui_.messageBox("Script recording finished");
}

void CommandLayer::resetForScript(float zoom) {
  scene_.SetCurrentColour({0, 0, 0, 0});
  showMessage("Press the play button to begin.");
  if (input_) {
    input_->setLastPosition(-1, -1);
    input_->releaseSnap();
  }
  view_.SetPerspective(true);
  scene_.DeleteAll();
  view_.renderer.setPickKind(moFREE);
  scene_.mode = moFREE;
  scene_.clearSelection();
  view_.renderer.resetHover();
  view_.ResetCamera();
  view_.camera.distance *= zoom;
  view_.DefaultView();
  view_.renderer.setSmooth(false);
  view_.renderer.setOutlines(true);
  view_.renderer.setTextures(false);
  scene_.symmetry = {};
  host_.sceneReset();
  host_.refreshModelView(true);
}
