// morvo-cli: the headless companion of the program, for batch work and for checking what the
// program does. It uses the program's own libraries with a recording user interface.
#include "cli/convert_command.h"
#include "cli/frame_image.h"
#include "cli/paint_command.h"
#include "cli/play_command.h"
#include "cli/run_command.h"
#include "cli/view_options.h"
#include "core/memory_reuse.h"
#include "core/mesh_validation.h"
#include "image/image_file.h"
#include "interchange/format_registry.h"
#include "morvo_version.h"
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "view/view.h"
#include "view/view_framing.h"
#include "view/window_drawing.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char *const kUsage = "usage: morvo-cli COMMAND [ARGS]\n"
                           "commands:\n"
                           "  new SHAPE... -o FILE.mvo   make a scene of primitive shapes\n"
                           "  info FILE [--json]         describe the objects of a scene or model\n"
                           "  convert IN OUT             convert between scene and model files\n"
                           "  render FILE.mvo -o IMAGE   draw a scene as the program shows it\n"
                           "  play SCRIPT.mvs [-o OUT.mvo] play a tutorial script headlessly\n"
                           "  run FILE.mvo|- COMMAND... -o OUT.mvo  run commands and operations\n"
                           "  --version                  print the version\n"
                           "'morvo-cli COMMAND --help' tells more.\n";

const char *const kNewHelp =
    "usage: morvo-cli new SHAPE... [-o] FILE.mvo\n"
    "Creates each SHAPE in the order given, as the Add menu does (named after the shape and\n"
    "its slot), and saves the scene. SHAPE is one of: tetrahedron, octahedron, dodecahedron,\n"
    "icosahedron, cube, box, cylinder, cone, sphere, ellipsoid, torus, grid. Without -o the\n"
    "one argument ending in .mvo (or .MVO) names the file.\n";

const char *const kInfoHelp =
    "usage: morvo-cli info FILE [--json] [--simplify]\n"
    "FILE is a scene file (.mvo) or any model file morvo-cli convert reads (--simplify as\n"
    "there).\n"
    "Lists every object of the scene by slot: name, element slots and active elements, the\n"
    "visible/sensitive/shaded/showTexture flags, the paint kind and image size, and whether the\n"
    "mesh passes the consistency test. --json prints one object {\"objects\": [...]}; a name\n"
    "that is not UTF-8 has each stray byte shown as U+FFFD and its exact bytes in \"nameHex\".\n";

const char *const kRenderHelp =
    "usage: morvo-cli render FILE.mvo -o IMAGE [--size WxH] [--view VIEW] [--ortho] [--fit]\n"
    "Draws the scene offscreen as the model window shows it in select mode (flat shading,\n"
    "outlines, ground grid) and saves it in the format the extension of IMAGE names: .png,\n"
    ".jpg or .jpeg, .bmp, .ppm, .tif or .tiff. --size defaults to 720x486; VIEW is reset (the\n"
    "default), +x, +y, +z, -x, -y or -z, the program's own view commands; --ortho draws with the\n"
    "orthographic camera; --fit aims the camera at the objects so that they fill the picture.\n";

int fail(const std::string &message) {
  std::cerr << "morvo-cli: " << message << std::endl;
  return 1;
}

// The last message the libraries showed, or a fallback.
std::string lastMessage(const RecordingUi &ui, const std::string &fallback) {
  return ui.messages.empty() ? fallback : ui.messages.back();
}

// Opens a scene file or imports a model file, printing the reason when it cannot be read and any
// warning the reader gave when it could.
bool openScene(CliScene &target, const RecordingUi &ui, const std::string &path) {
  std::string error;
  if (!openSceneOrModel(target, ui, path, false, error)) {
    fail(error);
    return false;
  }
  for (const std::string &warning : ui.messages)
    std::cerr << "morvo-cli: warning: " << warning << std::endl;
  return true;
}

bool wantsHelp(const std::vector<std::string> &args) {
  for (const std::string &a : args)
    if (a == "--help" || a == "-h")
      return true;
  return false;
}

int runNew(const std::vector<std::string> &args) {
  if (wantsHelp(args)) {
    std::cout << kNewHelp;
    return 0;
  }
  static const std::map<std::string, PrimitiveType> kShapes = {
      {"tetrahedron", PrimitiveType::Tetrahedron},
      {"octahedron", PrimitiveType::Octahedron},
      {"dodecahedron", PrimitiveType::Dodecahedron},
      {"icosahedron", PrimitiveType::Icosahedron},
      {"cube", PrimitiveType::Cube},
      {"box", PrimitiveType::Box},
      {"cylinder", PrimitiveType::Cylinder},
      {"cone", PrimitiveType::Cone},
      {"sphere", PrimitiveType::Sphere},
      {"ellipsoid", PrimitiveType::Ellipsoid},
      {"torus", PrimitiveType::Torus},
      {"grid", PrimitiveType::Grid}};
  std::vector<PrimitiveType> shapes;
  std::string output;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size())
        return fail("-o needs a file name");
      output = args[++i];
      continue;
    }
    const auto it = kShapes.find(args[i]);
    if (it == kShapes.end() && output.empty() &&
        FormatRegistry::classify(args[i]) == kDroppedScene) {
      output = args[i];
      continue;
    }
    if (it == kShapes.end())
      return fail("unknown shape '" + args[i] + "'");
    shapes.push_back(it->second);
  }
  if (output.empty())
    return fail("no output file given (-o FILE.mvo)");
  RecordingUi ui;
  CliScene target(ui);
  for (PrimitiveType type : shapes)
    target.scene.createPrimitive(type);
  if (!target.files.saveScenePath(output, false))
    return fail(lastMessage(ui, "could not save " + output));
  return 0;
}

// Length of the well-formed UTF-8 sequence that starts at s[i], or 0 when none does there.
size_t utf8Length(const std::string &s, size_t i) {
  const auto byte = [&](size_t k) { return k < s.size() ? unsigned(uint8_t(s[k])) : 0u; };
  const unsigned lead = byte(i);
  if (lead < 0x80)
    return 1;
  // The allowed range of the second byte excludes overlong forms, surrogates and values past
  // U+10FFFF.
  size_t length = 0;
  unsigned low = 0x80, high = 0xbf;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    low = lead == 0xe0 ? 0xa0 : low;
    high = lead == 0xed ? 0x9f : high;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    low = lead == 0xf0 ? 0x90 : low;
    high = lead == 0xf4 ? 0x8f : high;
  }
  for (size_t k = 1; k < length; ++k) {
    const unsigned b = byte(i + k);
    if (b < (k == 1 ? low : 0x80u) || b > (k == 1 ? high : 0xbfu))
      return 0;
  }
  return length;
}

bool isUtf8(const std::string &s) {
  for (size_t i = 0, n; i < s.size(); i += n)
    if ((n = utf8Length(s, i)) == 0)
      return false;
  return true;
}

// A JSON string of the text; each byte that is not part of well-formed UTF-8 becomes U+FFFD, so
// the output is always valid JSON.
std::string jsonString(const std::string &s) {
  std::string out = "\"";
  for (size_t i = 0; i < s.size();) {
    const size_t n = utf8Length(s, i);
    const auto c = uint8_t(s[i]);
    if (n == 0) {
      out += "\\ufffd";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out.append(s, i, n);
    }
    i += n == 0 ? 1 : n;
  }
  return out + "\"";
}

std::string hexBytes(const std::string &s) {
  std::string out;
  char pair[3];
  for (unsigned char c : s) {
    std::snprintf(pair, sizeof pair, "%02x", c);
    out += pair;
  }
  return out;
}

template <class T> int32_t activeCount(const moArray<T> &items) {
  int32_t n = 0;
  for (const T &item : items)
    n += item.active() ? 1 : 0;
  return n;
}

int runInfo(const std::vector<std::string> &args) {
  if (wantsHelp(args)) {
    std::cout << kInfoHelp;
    return 0;
  }
  std::string path;
  bool json = false, simplify = false;
  for (const std::string &a : args) {
    if (a == "--json")
      json = true;
    else if (a == "--simplify")
      simplify = true;
    else if (path.empty())
      path = a;
    else
      return fail("unexpected argument '" + a + "'");
  }
  if (path.empty())
    return fail("no scene file given");
  RecordingUi ui;
  CliScene target(ui);
  if (simplify)
    target.files.setOverLimit(FileSession::OverLimit::kSimplify);
  if (!openScene(target, ui, path))
    return 1;
  const Scene &scene = target.scene;
  std::ostringstream out;
  if (json)
    out << "{\"objects\": [";
  bool first = true;
  for (int32_t slot = 0; slot < scene.objects.count(); ++slot) {
    const moObject *obj = scene.object(slot);
    if (!obj)
      continue;
    const PaintLayer *layer = obj->paintLayer.get();
    const int paintKind = layer ? int(layer->kind()) : -1;
    const int32_t paintWidth = layer ? layer->image.width() : 0;
    const int32_t paintHeight = layer ? layer->image.height() : 0;
    const bool valid = objectLocallyValid(*obj, false);
    if (json) {
      out << (first ? "" : ", ") << "{\"slot\": " << slot
          << ", \"name\": " << jsonString(obj->name);
      if (!isUtf8(obj->name))
        out << ", \"nameHex\": \"" << hexBytes(obj->name) << "\"";
      out << ", \"vertices\": " << obj->vertices.count() << ", \"edges\": " << obj->edges.count()
          << ", \"faces\": " << obj->faces.count()
          << ", \"activeVertices\": " << activeCount(obj->vertices)
          << ", \"activeEdges\": " << activeCount(obj->edges)
          << ", \"activeFaces\": " << activeCount(obj->faces)
          << ", \"visible\": " << int(obj->visible) << ", \"sensitive\": " << int(obj->sensitive)
          << ", \"shaded\": " << int(obj->shaded) << ", \"showTexture\": " << int(obj->showTexture)
          << ", \"paintKind\": " << paintKind << ", \"paintWidth\": " << paintWidth
          << ", \"paintHeight\": " << paintHeight << ", \"valid\": " << (valid ? "true" : "false")
          << "}";
    } else {
      out << "slot " << slot << ": " << obj->name << "\n"
          << "  vertices " << activeCount(obj->vertices) << "/" << obj->vertices.count()
          << ", edges " << activeCount(obj->edges) << "/" << obj->edges.count() << ", faces "
          << activeCount(obj->faces) << "/" << obj->faces.count() << " (active/slots)\n"
          << "  visible " << int(obj->visible) << ", sensitive " << int(obj->sensitive)
          << ", shaded " << int(obj->shaded) << ", showTexture " << int(obj->showTexture) << "\n"
          << "  paint ";
      if (layer)
        out << "kind " << paintKind << ", " << paintWidth << " x " << paintHeight << "\n";
      else
        out << "none\n";
      out << "  mesh " << (valid ? "valid" : "INVALID") << "\n";
    }
    first = false;
  }
  if (json)
    out << "]}\n";
  std::cout << out.str();
  return 0;
}

struct RenderRequest {
  std::string path, output;
  int type = kImageOther; // of the output, from its name
  int32_t width = 720, height = 486, axis = -1;
  bool orthographic = false, fit = false;
};

// Reads the arguments of render; returns an empty string, or the reason they are refused.
std::string parseRender(const std::vector<std::string> &args, RenderRequest &r) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) {
      r.output = args[++i];
    } else if (a == "--size" && hasValue) {
      if (std::string bad = parseViewSize(args[++i], r.width, r.height); !bad.empty())
        return bad;
    } else if (a == "--view" && hasValue) {
      if (std::string bad = parseViewName(args[++i], r.axis); !bad.empty())
        return bad;
    } else if (a == "--ortho") {
      r.orthographic = true;
    } else if (a == "--fit") {
      r.fit = true;
    } else if (r.path.empty() && a[0] != '-') {
      r.path = a;
    } else {
      return "unexpected argument '" + a + "'";
    }
  }
  if (r.path.empty() || r.output.empty())
    return "render needs a scene file and -o IMAGE";
  return pictureTypeOf(r.output, r.type);
}

int runRender(const std::vector<std::string> &args) {
  if (wantsHelp(args)) {
    std::cout << kRenderHelp;
    return 0;
  }
  RenderRequest request;
  if (const std::string refused = parseRender(args, request); !refused.empty())
    return fail(refused);
  RecordingUi ui;
  CliScene target(ui);
  if (!openScene(target, ui, request.path))
    return 1;
  Scene &scene = target.scene;
  OffscreenContext context;
  std::string error;
  if (!context.create(request.width, request.height, error))
    return fail(error);
  View view;
  view.resize(request.width, request.height);
  view.ResetCamera();
  if (request.axis >= 0)
    view.ViewAlong(request.axis);
  view.SetPerspective(!request.orthographic);
  std::vector<int32_t> slots;
  for (int32_t slot = 0; slot < scene.objects.count(); ++slot)
    slots.push_back(slot);
  if (request.fit)
    frameObjects(view.camera, scene, slots, true);
  if (!writeScenePicture(scene, view, request.output, request.type, error))
    return fail(error);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  keepFreedMemoryForReuse();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty())
    return fail(std::string("no command given\n") + kUsage);
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "--version") {
    std::cout << "morvo-cli " MORVO_VERSION "\n";
    return 0;
  }
  if (command == "new")
    return runNew(args);
  if (command == "info")
    return runInfo(args);
  if (command == "render")
    return runRender(args);
  if (command == "convert")
    return runConvert(args);
  if (command == "play")
    return wantsHelp(args) ? (std::cout << kPlayHelp, 0) : runPlay(args);
  if (command == "run")
    return wantsHelp(args) ? (std::cout << kRunHelp, 0) : runRun(args);
  if (command == "paint")
    return runPaint(args);
  return fail("unknown command '" + command + "' (try --help)");
}
