// VRML files from untrusted bytes: every object the import makes passes the consistency test,
// and exporting the objects and importing the result again gives as many objects.
#include "core/mesh_validation.h"
#include "interchange/geo_to_gx.h"
#include "interchange/gx_to_geo.h"
#include "interchange/vrml/vrml_format.h"
#include "scene/recording_ui.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace {

std::vector<ObjectPtr> import(std::string_view bytes, std::ostream &diag) {
  GxPtr tree(readVrml(bytes, nullptr, diag));
  if (!tree)
    return {};
  GxToGeo converter(diag, [](const std::string &, ImageBuffer &) { return false; });
  try {
    return converter.convert(*tree);
  } catch (const std::exception &) {
    return {}; // element limits: refused as a whole
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::ostringstream diag;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  std::vector<ObjectPtr> objects = import(bytes, diag);
  RecordingUi ui;
  Scene scene(ui);
  for (ObjectPtr &obj : objects) {
    if (!objectLocallyValid(*obj, false))
      std::abort();
    scene.objects.insert(obj);
  }
  if (objects.empty())
    return 0;
  ExportOptions options;
  options.textureFormat = kImagePng;
  GeoToGx exporter(options, diag);
  GxPtr tree = exporter.convert(scene, true);
  std::string text;
  writeVrml(tree.get(), text, diag);
  const size_t again = import(text, diag).size();
  if (again != objects.size()) { // what the program writes it must read back
    std::fprintf(stderr, "%zu objects read, %zu read back from\n%s\n%s\n", objects.size(), again,
                 text.c_str(), diag.str().c_str());
    std::abort();
  }
  return 0;
}
