// Records the tutorial scripts shipped in Scripts/ by running their commands through the command
// layer with a recording on, as a user at the program would:
//   make_tutorials FOLDER
// Selection clicks are recorded as the model window's controller records them (the click, then
// the change it makes).
#include "scene/recording_ui.h"
#include "script/command_layer.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

struct SilentHost : ScriptHost {
  void showScriptMessage(const std::string &) override {}
  bool startPlaybackTimer() override { return false; }
  void stopPlaybackTimer() override {}
  void refreshModelView(bool) override {}
};

// One tutorial being recorded: explanatory steps, commands by name and selection clicks.
class Tutorial {
public:
  explicit Tutorial(const std::string &path) {
    view_.resize(720, 486);
    ok_ = layer_.beginRecording(path);
  }
  // Shows the lines in the tutorial window; a step marker ends the previous step first.
  Tutorial &say(std::vector<std::string> lines) {
    ScriptCommand message;
    message.code = kScriptMessage;
    message.lines = std::move(lines);
    layer_.recorder().stepMarker();
    layer_.execute(message);
    return *this;
  }
  Tutorial &run(const char *command) {
    ok_ = layer_.run(command) && ok_;
    return *this;
  }
  Tutorial &click(int32_t object, int32_t element) {
    layer_.recorder().toggle(object, element);
    ok_ = layer_.execute(kScriptToggle, {object, element}) && ok_;
    return *this;
  }
  Tutorial &rename(int32_t object, const std::string &name) {
    ScriptCommand c;
    c.code = kScriptRename;
    c.args = {object};
    c.lines = {name};
    ok_ = layer_.execute(c) && ok_;
    return *this;
  }
  Tutorial &hide(int32_t object) {
    ok_ = layer_.execute(kScriptSetVisible, {object, 0}) && ok_;
    return *this;
  }
  bool finish() {
    layer_.recorder().stepMarker();
    layer_.endRecording();
    return ok_;
  }

private:
  RecordingUi ui_;
  Scene scene_{ui_};
  View view_;
  SilentHost host_;
  CommandLayer layer_{scene_, view_, ui_, host_};
  bool ok_ = false;
};

bool firstSteps(const std::string &folder) {
  return Tutorial(folder + "/first_steps.mvs")
      .say({"Welcome to Morvo.", "Every model starts from a primitive shape."})
      .say({"Add a cube from the Add menu."})
      .run("add-cube")
      .say({"Look at it along the X axis (key x),", "then reset the view (key r)."})
      .run("view-along-+x")
      .run("reset-view")
      .say({"Add a torus beside it."})
      .run("add-torus")
      .say({"Select every object, then", "press Space to deselect them."})
      .run("select-all-objects")
      .run("deselect-reselect")
      .say({"Objects can be renamed in the Object Info window."})
      .rename(0, "box")
      .finish();
}

bool selectingFaces(const std::string &folder) {
  return Tutorial(folder + "/selecting_faces.mvs")
      .say({"Operations work on the selection.", "Start with a sphere."})
      .run("add-sphere")
      .say({"Choose faces on the element tool bar (key f),", "then click a face."})
      .run("select-faces")
      .click(0, 0)
      .say({"Grow the selection twice (key +)."})
      .run("grow-selection")
      .run("grow-selection")
      .say({"Shrink it once again (key -)."})
      .run("shrink-selection")
      .say({"Aim the camera at the selection (key a)."})
      .run("aim")
      .finish();
}

bool sceneDisplay(const std::string &folder) {
  return Tutorial(folder + "/scene_display.mvs")
      .say({"The View menu changes how objects are drawn.", "Add a cylinder and a cone."})
      .run("add-cylinder")
      .run("add-cone")
      .say({"Show every object as a wireframe (key W),", "then shaded again (key S)."})
      .run("wireframe-all")
      .run("shade-all")
      .say({"Workmode (Tab) draws smooth surfaces without outlines."})
      .run("workmode")
      .say({"Hide the cone in the Object Info window."})
      .hide(1)
      .say({"Look from below (key Y)."})
      .run("view-along--y")
      .finish();
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: make_tutorials FOLDER\n";
    return 1;
  }
  const std::string folder = argv[1];
  if (!firstSteps(folder) || !selectingFaces(folder) || !sceneDisplay(folder)) {
    std::cerr << "make_tutorials: a tutorial could not be recorded\n";
    return 1;
  }
  return 0;
}
