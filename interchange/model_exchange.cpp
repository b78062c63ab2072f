#include "interchange/model_exchange.h"

#include <exception>

bool importModel(Scene &scene, const FormatRegistry &registry, const std::string &path,
                 bool sniffing, std::ostream &diagnostics) {
  GxPtr tree = registry.read(path, sniffing, diagnostics);
  std::vector<ObjectPtr> objects;
  if (tree) {
    scene.ui().setStatus("Processing file");
    try {
      GxToGeo converter(diagnostics, registry.textures(path));
      objects = converter.convert(*tree);
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

bool exportModel(Scene &scene, const FormatRegistry &registry, const std::string &path,
                 bool allObjects, std::ostream &diagnostics) {
  const FormatEntry *format = registry.writerFor(FormatRegistry::extensionOf(path));
  if (!format)
    return false;
  std::string error;
  try {
    GeoToGx converter(format->options, diagnostics);
    GxPtr tree = converter.convert(scene, allObjects);
    if (registry.write(path, *tree, converter.textures(), diagnostics, error))
      return true;
  } catch (const std::exception &failure) {
    error = failure.what();
  }
  scene.ui().messageBox("Could not export " + path + ": " + error);
  return false;
}
