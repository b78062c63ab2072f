// Records the session that morvo-cli play --timing is measured on, through the model window's
// real controller on an offscreen 720 x 486 context: add a grid, smooth it four times (29 184
// faces), select all its faces, start Move normal and drag it over 40 pointer motions, then
// commit with a left click.
//   make_timing_session OUT.mvs
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "script/command_layer.h"
#include "script/scripted_controller.h"
#include "tests/support/list_host.h"

#include <iostream>

namespace {

void pointer(ScriptedController &input, PointerInput::Kind kind, int32_t x, Button b) {
  PointerInput in;
  in.kind = kind;
  in.x = x;
  in.y = 243;
  in.button = b;
  input.pointer(in);
}

} // namespace

int main(int argc, char **argv) {
  OffscreenContext context;
  std::string error;
  if (argc != 2 || !context.create(720, 486, error)) {
    std::cerr << "usage: make_timing_session OUT.mvs (on a machine with OpenGL) " << error << "\n";
    return 1;
  }
  RecordingUi ui;
  Scene scene(ui);
  View view;
  view.resize(720, 486);
  view.ResetCamera();
  SceneRenderer::InitGlState(view.camera);
  view.camera.ApplyProjection();
  ListHost host(scene, view);
  CommandLayer layer(scene, view, ui, host);
  InteractionController controller(scene, view, ui);
  ScriptedController input(controller, layer);
  layer.setInput(&input);
  bool ok = layer.beginRecording(argv[1]);
  for (const char *command : {"add-grid", "select-all-objects"})
    ok = layer.run(command) && ok;
  for (int32_t i = 0; i < 4; ++i)
    input.choose({MenuCommand::Kind::Operation, kOpSmooth, 0});
  ok = layer.run("select-all-faces") && ok;
  input.choose({MenuCommand::Kind::Operation, kOpMoveNormal, 0});
  for (int32_t step = 0; step <= 40; ++step) // the first motion only places the pointer
    pointer(input, PointerInput::Move, 340 + step, Button::None);
  pointer(input, PointerInput::Press, 380, Button::Left);
  pointer(input, PointerInput::Release, 380, Button::Left);
  layer.endRecording();
  if (!ok || !input.inSelectMode() || scene.object(0)->faces.count() != 29184) {
    std::cerr << "make_timing_session: the session did not go as planned\n";
    return 1;
  }
  return 0;
}
