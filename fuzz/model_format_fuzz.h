// The shared body of the model format fuzz targets: untrusted bytes go through the registry's
// reader for one extension and the import converter; every object made must pass the
// consistency test, and what the same format's writer makes of the objects must read back as
// one body per object. (Bodies, not objects: these formats give every corner its own vertex and
// the import joins corners by position, so two vertices that a file's precision makes one can
// keep a body from becoming an object again.)
#pragma once

#include "core/mesh_validation.h"
#include "interchange/format_registry.h"
#include "scene/recording_ui.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace model_format_fuzz {

inline std::vector<ObjectPtr> import(const FormatEntry &format, std::string_view bytes,
                                     std::ostream &diag) {
  GxPtr tree(format.read(bytes, CompanionReader(), diag));
  if (!tree)
    return {};
  GxToGeo converter(diag, [](const std::string &, ImageBuffer &) { return false; });
  try {
    return converter.convert(*tree);
  } catch (const std::exception &) {
    return {}; // element limits: refused as a whole
  }
}

inline int run(const char *extension, const uint8_t *data, size_t size) {
  static const FormatRegistry registry;
  const FormatEntry &format = *registry.readerFor(extension);
  std::ostringstream diag;
  std::vector<ObjectPtr> objects =
      import(format, std::string_view(reinterpret_cast<const char *>(data), size), diag);
  RecordingUi ui;
  Scene scene(ui);
  for (ObjectPtr &obj : objects) {
    if (!objectLocallyValid(*obj, false))
      std::abort();
    scene.objects.insert(obj);
  }
  if (objects.empty())
    return 0;
  GeoToGx exporter(format.options, diag);
  GxPtr tree = exporter.convert(scene, true);
  WrittenModel written;
  if (format.write(tree.get(), "fuzz", written, diag) != 0)
    return 0; // beyond what the format holds: refused, reported
  GxPtr again(format.read(written.main, CompanionReader(), diag));
  size_t bodies = 0;
  for (const GxElement *child : again ? again->children() : std::vector<GxElement *>())
    bodies += child->typeName() == "body";
  if (bodies != objects.size()) {
    std::fprintf(stderr, "%zu objects read, %zu bodies read back; %s\n", objects.size(), bodies,
                 diag.str().c_str());
    std::abort();
  }
  return 0;
}

} // namespace model_format_fuzz
