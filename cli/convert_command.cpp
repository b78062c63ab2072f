#include "cli/convert_command.h"

#include "cli/terminal_ui.h"

#include <iostream>

namespace {

const char *const kConvertHelp =
    "usage: morvo-cli convert IN OUT [--verbose] [--simplify]\n"
    "Imports IN into an empty scene and exports every object to OUT. Either side may be a\n"
    "scene file (.mvo) or a model file of a registered format: 3D Studio .3ds, DirectX .x,\n"
    "VRML 2.0 .wrl, Wavefront .obj (with its .mtl and texture files beside it), glTF 2.0\n"
    ".gltf (with its .bin and texture files beside it) or .glb (everything in one file).\n"
    "IN is recognised by its content when its extension names no format. --verbose prints\n"
    "the readers' and writers' messages on standard error. Long imports and exports show\n"
    "their progress on standard error when it is a terminal. A model with more triangles than\n"
    "an object holds (32768 faces) is refused unless --simplify is given, which simplifies it\n"
    "to 30 000 triangles and says so on standard error.\n";

bool isSceneFile(const std::string &path) { return FormatRegistry::extensionOf(path) == ".mvo"; }

int fail(const std::string &message) {
  std::cerr << "morvo-cli: " << message << std::endl;
  return 1;
}

} // namespace

void CliScene::flushDiagnostics(bool verbose) {
  if (verbose)
    std::cerr << diagnostics.str();
  diagnostics.str("");
}

bool openSceneOrModel(CliScene &target, const RecordingUi &ui, const std::string &path,
                      bool verbose, std::string &error) {
  if (isSceneFile(path)) {
    if (target.files.openScene(path))
      return true;
    error = ui.messages.empty() ? "could not open " + path : ui.messages.back();
    return false;
  }
  std::string reason;
  const bool imported = target.files.readModel(path, true, reason);
  target.flushDiagnostics(verbose);
  if (imported) {
    if (!target.files.simplifications().empty())
      std::cerr << "morvo-cli: " << target.files.simplifications() << std::endl;
    return true;
  }
  error = "could not import " + path + ": " + reason;
  if (target.files.refusedOverLimit())
    error += " (--simplify simplifies it to fit)";
  return false;
}

int runConvert(const std::vector<std::string> &args) {
  std::vector<std::string> paths;
  bool verbose = false, simplify = false;
  for (const std::string &a : args) {
    if (a == "--help" || a == "-h") {
      std::cout << kConvertHelp;
      return 0;
    }
    if (a == "--verbose")
      verbose = true;
    else if (a == "--simplify")
      simplify = true;
    else
      paths.push_back(a);
  }
  if (paths.size() != 2)
    return fail("convert needs an input and an output file (try convert --help)");
  const std::string &in = paths[0], &out = paths[1];
  TerminalUi ui;
  CliScene target(ui);
  if (simplify)
    target.files.setOverLimit(FileSession::OverLimit::kSimplify);
  if (!isSceneFile(out) && !target.files.registry().writerFor(FormatRegistry::extensionOf(out)))
    return fail("no format writes " + FormatRegistry::extensionOf(out) + " files");
  std::string error;
  if (!openSceneOrModel(target, ui, in, verbose, error))
    return fail(error);
  if (target.scene.objects.objectCount() == 0)
    return fail(in + " holds no objects");
  const bool written = isSceneFile(out) ? target.files.saveScenePath(out, false)
                                        : target.files.exportPath(out, true);
  target.flushDiagnostics(verbose);
  if (!written)
    return fail(ui.messages.empty() ? "could not write " + out : ui.messages.back());
  return 0;
}
