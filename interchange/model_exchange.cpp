#include "interchange/model_exchange.h"

#include "interchange/vrml/vrml_parser.h"
#include "scene/progress_task.h"

#include <algorithm>
#include <exception>
#include <sstream>

namespace {

// Reading the file counts as this many thousandths of an import, building the tree as this many
// of an export; conversion takes the rest of an import, writing the files the rest of an export.
constexpr int64_t kReadShare = 300, kTreeShare = 700;

std::string fileNameOf(const std::string &path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

bool importModel(Scene &scene, const FormatRegistry &registry, const std::string &path,
                 bool sniffing, std::ostream &diagnostics, const OverLimitChoice &overLimit) {
  ProgressTask progress(scene.ui(), "Importing " + fileNameOf(path), 1000);
  GxPtr tree = registry.read(path, sniffing, diagnostics);
  std::vector<ObjectPtr> objects;
  if (tree) {
    scene.ui().setStatus("Processing file");
    try {
      progress.reach(kReadShare);
      GxToGeo converter(diagnostics, registry.textures(path));
      converter.setOverLimit(overLimit);
      converter.setProgress([&progress](int64_t done, int64_t total) {
        progress.reach(kReadShare + (1000 - kReadShare) * done / std::max<int64_t>(total, 1));
      });
      objects = converter.convert(*tree);
    } catch (const moCancelledException &) {
      scene.ui().setStatus("Import cancelled");
      return false;
    } catch (const std::exception &failure) {
      diagnostics << path << ": " << failure.what() << std::endl;
      objects.clear();
    }
  }
  if (objects.empty()) {
    scene.ui().setStatus("Trouble importing file");
    return false;
  }
  scene.SaveUndo();
  for (ObjectPtr &obj : objects)
    scene.objects.insert(std::move(obj));
  scene.ui().setStatus("Done importing file");
  return true;
}

std::string importFailureReason(const std::string &diagnostics) {
  std::istringstream lines(diagnostics);
  std::string line, first;
  int64_t more = 0;
  while (std::getline(lines, line)) {
    if (line.empty() || line == kVrmlParserName || isConversionNote(line))
      continue;
    if (first.empty())
      first = line;
    else
      ++more;
  }
  if (first.empty())
    return "it holds no objects";
  return more == 0 ? first : first + " (and " + std::to_string(more) + " more)";
}

std::string importSimplifications(const std::string &diagnostics) {
  std::istringstream lines(diagnostics);
  std::string line, joined;
  while (std::getline(lines, line))
    if (line.find(kSimplifiedNote) != std::string::npos)
      joined += (joined.empty() ? "" : "; ") + line;
  return joined;
}

bool exportModel(Scene &scene, const FormatRegistry &registry, const std::string &path,
                 bool allObjects, std::ostream &diagnostics) {
  const FormatEntry *format = registry.writerFor(FormatRegistry::extensionOf(path));
  if (!format)
    return false;
  std::string error;
  ProgressTask progress(scene.ui(), "Exporting " + fileNameOf(path), 1000);
  try {
    GeoToGx converter(format->options, diagnostics);
    converter.nameTexturesFor(fileNameOf(path), registry.takenTextureNames(path));
    converter.setProgress([&progress](int64_t done, int64_t total) {
      progress.reach(kTreeShare * done / std::max<int64_t>(total, 1));
    });
    GxPtr tree = converter.convert(scene, allObjects);
    progress.reach(kTreeShare); // the last point to stop: no file is written before it
    if (registry.write(path, *tree, converter.textures(), diagnostics, error))
      return true;
  } catch (const moCancelledException &) {
    scene.ui().setStatus("Export cancelled");
    return false;
  } catch (const std::exception &failure) {
    error = failure.what();
  }
  scene.ui().messageBox("Could not export " + path + ": " + error);
  return false;
}
