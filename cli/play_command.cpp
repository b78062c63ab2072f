#include "cli/play_command.h"

#include "cli/frame_image.h"
#include "cli/printing_host.h"
#include "cli/step_timing.h"
#include "cli/view_options.h"

#include "image/image_file.h"
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"
#include "script/command_layer.h"
#include "script/script_player.h"
#include "script/scripted_controller.h"
#include "view/frame.h"
#include "view/window_drawing.h"

#include <chrono>
#include <iostream>

const char *const kPlayHelp =
    "usage: morvo-cli play SCRIPT.mvs [--size WxH] [-o OUT.mvo] [--shot OUT.png] [--steps N]\n"
    "                     [--timing]\n"
    "Plays a tutorial script to its end (or N steps, each up to the next step marker) as the\n"
    "program's tutorial window does, in an offscreen model view of WxH pixels (default: the\n"
    "size the script was recorded in). Every text of the message pane and every message box is\n"
    "printed; -o saves the resulting scene, --shot draws it as the model window shows it.\n"
    "--timing draws a frame after every command as the model window would and prints, after\n"
    "playback, the frame times of drag motions, other motions, other commands and all steps.\n";

namespace {

struct PlayOptions {
  std::string script, output, shot;
  int shotType = 0;
  int32_t width = 0, height = 0;
  long steps = -1; // -1: to the end
  bool timing = false;
};

int fail(const std::string &message) {
  std::cerr << "morvo-cli: " << message << std::endl;
  return 1;
}

// Returns an empty string when the arguments are good, else the reason.
std::string parse(const std::vector<std::string> &args, PlayOptions &o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) {
      o.output = args[++i];
    } else if (a == "--shot" && hasValue) {
      o.shot = args[++i];
    } else if (a == "--size" && hasValue) {
      if (std::string bad = parseViewSize(args[++i], o.width, o.height); !bad.empty())
        return bad;
    } else if (a == "--steps" && hasValue) {
      char *end = nullptr;
      o.steps = std::strtol(args[++i].c_str(), &end, 10);
      if (*end || o.steps < 0)
        return "bad step count '" + args[i] + "'";
    } else if (a == "--timing") {
      o.timing = true;
    } else if (o.script.empty() && !a.empty() && a[0] != '-') {
      o.script = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  if (o.script.empty())
    return "play needs a script file";
  return o.shot.empty() ? "" : pictureTypeOf(o.shot, o.shotType);
}

// Draws one frame after every played command, as the model window redraws after each event, and
// times the command with its view refresh and frame.
class FrameTimer : public PlaybackObserver {
public:
  FrameTimer(const Scene &scene, View &view, const InteractionController &controller)
      : scene_(scene), view_(view), controller_(controller) {}
  void beforeCommand(const ScriptCommand &command) override {
    kind_ = command.code != kScriptMove                             ? StepKind::Command
            : controller_.mode() == InteractionController::DragMode ? StepKind::DragMotion
                                                                    : StepKind::OtherMotion;
    start_ = std::chrono::steady_clock::now();
  }
  void afterCommand(const ScriptCommand &) override {
    drawFrame(view_, scene_, {controller_.interactionMode(), FrameLists::Kept, false});
    const std::chrono::duration<double, std::milli> took =
        std::chrono::steady_clock::now() - start_;
    times.add(kind_, took.count());
  }
  StepTimes times;

private:
  const Scene &scene_;
  View &view_;
  const InteractionController &controller_;
  StepKind kind_ = StepKind::Command;
  std::chrono::steady_clock::time_point start_;
};

void play(ScriptPlayer &player, PrintingHost &host, long steps) {
  if (steps >= 0) {
    for (long i = 0; i < steps && player.Step() == ScriptPlayer::StepResult::Stepped; ++i) {
    }
    return;
  }
  if (!player.Play())
    return;
  while (host.running) // every tick reads at least one byte, so this ends
    player.tick();
}

} // namespace

int runPlay(const std::vector<std::string> &args) {
  PlayOptions o;
  if (const std::string error = parse(args, o); !error.empty())
    return fail(error);
  std::string bytes, error;
  if (!readScriptFile(o.script, bytes, error))
    return fail(error);
  ScriptReader header(bytes);
  int32_t w0 = 0, h0 = 0;
  if (!header.readHeader(w0, h0))
    return fail(header.error());
  const std::string recordedSize = std::to_string(w0) + "x" + std::to_string(h0);
  if (o.width == 0 && !parseViewSize(recordedSize, o.width, o.height).empty())
    return fail("the script's view size " + recordedSize + " cannot be drawn; give --size");
  OffscreenContext context;
  if (!context.create(o.width, o.height, error))
    return fail(error);
  HeadlessWindow window(o.width, o.height);
  Scene &scene = window.scene;
  View &view = window.view;
  ScriptPlayer player(window.layer);
  if (!player.LoadBytes(std::move(bytes)))
    return fail("cannot play " + o.script);
  FrameTimer timer(scene, view, window.controller);
  if (o.timing) {
    view.renderer.RebuildLists(scene, true);
    player.setObserver(&timer);
  }
  play(player, window.host, o.steps);
  player.setObserver(nullptr);
  if (o.timing)
    std::cout << timer.times.report();
  if (!o.output.empty() && !saveSceneFile(scene, o.output, false))
    return fail(window.ui.messages.empty() ? "could not save " + o.output
                                           : window.ui.messages.back());
  if (!o.shot.empty() && !writeScenePicture(scene, view, o.shot, o.shotType, error))
    return fail(error);
  return player.damage().empty() ? 0 : fail(o.script + ": " + player.damage());
}
