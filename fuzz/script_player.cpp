// Tutorial scripts from untrusted bytes, played as morvo-cli play plays them: every script ends
// (each step reads at least one byte), and whatever it did leaves objects that pass the
// consistency test.
#include "script/script_player.h"
#include "core/mesh_validation.h"
#include "scene/recording_ui.h"
#include "script/command_layer.h"

#include <cstdlib>
#include <string>

namespace {

struct QuietHost : ScriptHost {
  void showScriptMessage(const std::string &) override {}
  bool startPlaybackTimer() override { return true; }
  void stopPlaybackTimer() override {}
  void refreshModelView() override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  RecordingUi ui;
  Scene scene(ui);
  View view;
  view.resize(720, 486);
  QuietHost host;
  CommandLayer layer(scene, view, ui, host);
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
