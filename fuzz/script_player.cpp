// Tutorial scripts from untrusted bytes, played as morvo-cli play plays them (the real input
// controller and picking on an offscreen context): every script ends (each step reads at least
// one byte), and whatever it did leaves objects that pass the consistency test.
#include "script/script_player.h"
#include "core/mesh_validation.h"
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "script/command_layer.h"
#include "script/scripted_controller.h"

#include <cstdlib>
#include <string>

namespace {

struct ListHost : ScriptHost {
  ListHost(const Scene &s, View &v) : scene(s), view(v) {}
  void showScriptMessage(const std::string &) override {}
  bool startPlaybackTimer() override { return true; }
  void stopPlaybackTimer() override {}
  void refreshModelView(bool sceneChanged) override {
    if (sceneChanged)
      view.renderer.RebuildLists(scene, true);
  }
  const Scene &scene;
  View &view;
};

bool haveContext() {
  static OffscreenContext context;
  static std::string error;
  static const bool made = context.create(720, 486, error);
  return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!haveContext())
    std::abort();
  RecordingUi ui;
  Scene scene(ui);
  View view;
  view.resize(720, 486);
  SceneRenderer::InitGlState(view.camera);
  ListHost host(scene, view);
  CommandLayer layer(scene, view, ui, host);
  InteractionController controller(scene, view, ui);
  ScriptedController input(controller, layer);
  layer.setInput(&input);
  ScriptPlayer player(layer);
  if (!player.LoadBytes(std::string(reinterpret_cast<const char *>(data), size)))
    return 0;
  size_t steps = 0;
  while (player.Step() == ScriptPlayer::StepResult::Stepped)
    if (++steps > size)
      std::abort(); // a step that read nothing
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    if (const moObject *obj = scene.object(i); obj && !objectLocallyValid(*obj, false))
      std::abort();
  return 0;
}
