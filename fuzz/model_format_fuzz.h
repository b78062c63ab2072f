// The shared body of the model format fuzz targets: untrusted bytes go through the registry's
// reader for one extension and the import converter; every object made must pass the
// consistency test, and what the same format's writer makes of the objects must read back as
// many objects again, or, for formats that give every corner its own vertex, as one body per
// object (the import joins such corners by position, so two vertices that a file's precision
// makes one can keep a body from becoming an object again).
#pragma once

#include "core/mesh_validation.h"
#include "interchange/format_registry.h"
#include "scene/recording_ui.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace model_format_fuzz {

// What a written file must give back.
enum class Oracle { SameObjects, OneBodyPerObject };

inline std::vector<ObjectPtr> import(const FormatEntry &format, std::string_view bytes,
                                     const CompanionReader &companions, std::ostream &diag) {
  GxPtr tree(format.read(bytes, companions, diag));
  if (!tree)
    return {};
  GxToGeo converter(diag, [](const std::string &, ImageBuffer &) { return false; });
  try {
    return converter.convert(*tree);
  } catch (const std::exception &) {
    return {}; // element limits: refused as a whole
  }
}

inline size_t bodiesIn(const FormatEntry &format, const std::string &text, std::ostream &diag) {
  GxPtr again(format.read(text, CompanionReader(), diag));
  size_t bodies = 0;
  for (const GxElement *child : again ? again->children() : std::vector<GxElement *>())
    bodies += child->typeName() == "body";
  return bodies;
}

// With bytesAreCompanions, the same bytes also stand for every file the model names (an OBJ's
// material library).
inline int run(const char *extension, const uint8_t *data, size_t size, Oracle oracle,
               bool bytesAreCompanions = false) {
  static const FormatRegistry registry;
  const FormatEntry &format = *registry.readerFor(extension);
  std::ostringstream diag;
  const std::string_view bytes(reinterpret_cast<const char *>(data), size);
  CompanionReader companions;
  if (bytesAreCompanions)
    companions = [bytes](const std::string &, std::string &out) {
      out.assign(bytes);
      return true;
    };
  std::vector<ObjectPtr> objects = import(format, bytes, companions, diag);
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
  const size_t again = oracle == Oracle::SameObjects
                           ? import(format, written.main, CompanionReader(), diag).size()
                           : bodiesIn(format, written.main, diag);
  if (again != objects.size()) { // what the program writes it must read back
    std::fprintf(stderr, "%zu objects read, %zu read back from\n%s\n%s\n", objects.size(), again,
                 written.main.c_str(), diag.str().c_str());
    std::abort();
  }
  return 0;
}

} // namespace model_format_fuzz
