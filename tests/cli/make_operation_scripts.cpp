// Records short modeling sessions as scripts, driving the model window's real controller on an
// offscreen context the way a user would: menu commands, clicks on the model and drags that a
// left click commits. The play tests replay them through morvo-cli and check the scenes.
//   make_operation_scripts FOLDER
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "script/command_layer.h"
#include "script/scripted_controller.h"
#include "tests/support/list_host.h"

#include <filesystem>
#include <functional>
#include <iostream>
#include <string>

namespace {

constexpr int32_t kWidth = 720, kHeight = 486;
constexpr int32_t kCentreX = kWidth / 2, kCentreY = kHeight / 2;
constexpr int32_t kFaceX = kCentreX - 52; // the middle of a new cube's left front face

class Session {
public:
  explicit Session(const std::string &path) {
    view_.resize(kWidth, kHeight);
    view_.ResetCamera();
    SceneRenderer::InitGlState(view_.camera);
    view_.camera.ApplyProjection();
    layer_.setInput(&input_);
    ok_ = layer_.beginRecording(path);
  }
  Session &run(const char *command) {
    ok_ = layer_.run(command) && ok_;
    return *this;
  }
  Session &code(uint8_t code, std::vector<int32_t> args = {}) {
    ok_ = layer_.execute(code, std::move(args)) && ok_;
    return *this;
  }
  Session &operation(int32_t id, int32_t argument = 0) {
    input_.choose({MenuCommand::Kind::Operation, id, argument});
    return *this;
  }
  // Hovers the point, then clicks it with the left button.
  Session &click(int32_t x, int32_t y) {
    pointer(PointerInput::Move, x - 1, y);
    pointer(PointerInput::Move, x, y);
    pointer(PointerInput::Press, x, y, Button::Left);
    pointer(PointerInput::Release, x, y, Button::Left);
    return *this;
  }
  // Drags the running operation dx pixels to the right and commits it with a left click.
  Session &dragAndCommit(int32_t dx) {
    ok_ = input_.inSelectMode() ? false : ok_;
    for (int32_t step = 0; step <= 4; ++step)
      pointer(PointerInput::Move, kCentreX + dx * step / 4, kCentreY);
    click(kCentreX + dx, kCentreY);
    ok_ = input_.inSelectMode() && ok_;
    return *this;
  }
  // Moves the running operation dx pixels to the right, then types the amount and Enter.
  Session &dragAndType(int32_t dx, const std::string &amount) {
    ok_ = input_.inSelectMode() ? false : ok_;
    pointer(PointerInput::Move, kCentreX, kCentreY);
    pointer(PointerInput::Move, kCentreX + dx, kCentreY);
    for (const char c : amount)
      input_.key({KeyInput::Character, true, char32_t(c)});
    input_.key({KeyInput::Enter, true});
    ok_ = input_.inSelectMode() && ok_;
    return *this;
  }
  bool finish() {
    layer_.endRecording();
    return ok_;
  }

private:
  void pointer(PointerInput::Kind kind, int32_t x, int32_t y, Button b = Button::None) {
    PointerInput in;
    in.kind = kind;
    in.x = x;
    in.y = y;
    in.button = b;
    input_.pointer(in);
  }

  RecordingUi ui_;
  Scene scene_{ui_};
  View view_;
  ListHost host_{scene_, view_};
  CommandLayer layer_{scene_, view_, ui_, host_};
  InteractionController controller_{scene_, view_, ui_};
  ScriptedController input_{controller_, layer_};
  bool ok_ = false;
};

bool extrudeNormal(const std::string &folder) {
  return Session(folder + "/extrude_normal.mvs")
      .run("add-cube")
      .click(kFaceX, kCentreY)
      .operation(kOpExtrudeNormal)
      .dragAndCommit(40)
      .finish();
}

bool bevelEdges(const std::string &folder) {
  return Session(folder + "/bevel_edges.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .run("select-all-edges")
      .operation(kOpBevel)
      .dragAndCommit(10)
      .finish();
}

bool insetFaces(const std::string &folder) {
  return Session(folder + "/inset_faces.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .run("select-all-faces")
      .operation(kOpInset)
      .dragAndCommit(10)
      .finish();
}

bool smoothCube(const std::string &folder) {
  return Session(folder + "/smooth_cube.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .operation(kOpSmooth)
      .finish();
}

bool planeCut(const std::string &folder) {
  return Session(folder + "/plane_cut.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .operation(kOpPlaneCut, 0)
      .finish();
}

// Per-face chip-off has no menu entry: only its script code starts it.
bool chipOffEach(const std::string &folder) {
  return Session(folder + "/chip_off_each.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .run("select-all-faces")
      .code(58)
      .dragAndCommit(30)
      .run("select-all-objects")
      .code(123, {60})
      .finish();
}

// Amounts typed during the drag after the mouse has moved it: the script keeps the amount, so
// play sets the drag to exactly what run's rotate-axis-y=30 and scale-uniform=1.2 give.
bool rotateTyped(const std::string &folder) {
  return Session(folder + "/rotate_typed.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .operation(kOpRotateAxis, 1)
      .dragAndType(40, "90/3")
      .finish();
}

bool scaleTyped(const std::string &folder) {
  return Session(folder + "/scale_typed.mvs")
      .run("add-cube")
      .run("select-all-objects")
      .operation(kOpScaleUniform)
      .dragAndType(-25, "1.2")
      .finish();
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::cerr << "usage: make_operation_scripts FOLDER\n";
    return 1;
  }
  OffscreenContext context;
  std::string error;
  if (!context.create(kWidth, kHeight, error)) {
    std::cerr << "make_operation_scripts: " << error << "\n";
    return 1;
  }
  const std::string folder = argv[1];
  std::error_code made;
  std::filesystem::create_directories(folder, made);
  const std::function<bool(const std::string &)> sessions[] = {
      extrudeNormal, bevelEdges,  insetFaces,  smoothCube,
      planeCut,      chipOffEach, rotateTyped, scaleTyped};
  for (const auto &session : sessions)
    if (!session(folder)) {
      std::cerr << "make_operation_scripts: a session could not be recorded\n";
      return 1;
    }
  return 0;
}
