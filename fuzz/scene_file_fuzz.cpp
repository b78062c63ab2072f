// Scene files from untrusted bytes: a file is either refused or gives objects that pass the
// consistency test and can be written out again.
#include "core/mesh_validation.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  RecordingUi ui;
  Scene scene(ui);
  const std::string bytes(reinterpret_cast<const char *>(data), size);
  if (!readScene(scene, bytes, true))
    return 0;
  for (int32_t i = 0; i < scene.objects.count(); ++i)
    if (const moObject *obj = scene.object(i); obj && !objectLocallyValid(*obj, false))
      std::abort();
  std::string written;
  writeScene(scene, written, false);
  Scene again(ui);
  if (!readScene(again, written, true))
    std::abort(); // what the program writes it must read back
  return 0;
}
