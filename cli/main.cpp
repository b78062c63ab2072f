// morvo-cli: the headless companion of the program, for batch work and for checking what the
// program does. It uses the program's own libraries with a recording user interface.
#include "cli/paint_command.h"
#include "core/mesh_validation.h"
#include "image/image_file.h"
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"
#include "view/view.h"
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
                           "  info FILE.mvo [--json]     describe the objects of a scene\n"
                           "  render FILE.mvo -o OUT.png draw a scene as the program shows it\n"
                           "'morvo-cli COMMAND --help' tells more.\n";

const char *const kNewHelp =
    "usage: morvo-cli new SHAPE... -o FILE.mvo\n"
    "Creates each SHAPE in the order given, as the Add menu does (named after the shape and\n"
    "its slot), and saves the scene. SHAPE is one of: tetrahedron, octahedron, dodecahedron,\n"
    "icosahedron, cube, box, cylinder, cone, sphere, ellipsoid, torus, grid.\n";

const char *const kInfoHelp =
    "usage: morvo-cli info FILE.mvo [--json]\n"
    "Lists every object of the scene by slot: name, element slots and active elements, the\n"
    "visible/sensitive/shaded/showTexture flags, the paint kind and image size, and whether the\n"
    "mesh passes the consistency test. --json prints one object {\"objects\": [...]}.\n";

const char *const kRenderHelp =
    "usage: morvo-cli render FILE.mvo -o OUT.png [--size WxH] [--view VIEW] [--ortho]\n"
    "Draws the scene offscreen as the model window shows it in select mode (flat shading,\n"
    "outlines, ground grid) and saves a PNG. --size defaults to 720x486; VIEW is reset (the\n"
    "default), +x, +y, +z, -x, -y or -z, the program's own view commands; --ortho draws with the\n"
    "orthographic camera.\n";

int fail(const std::string &message) {
  std::cerr << "morvo-cli: " << message << std::endl;
  return 1;
}

// The last message the libraries showed, or a fallback.
std::string lastMessage(const RecordingUi &ui, const std::string &fallback) {
  return ui.messages.empty() ? fallback : ui.messages.back();
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
    if (it == kShapes.end())
      return fail("unknown shape '" + args[i] + "'");
    shapes.push_back(it->second);
  }
  if (output.empty())
    return fail("no output file given (-o FILE.mvo)");
  RecordingUi ui;
  Scene scene(ui);
  for (PrimitiveType type : shapes)
    scene.createPrimitive(type);
  if (!saveSceneFile(scene, output, false))
    return fail(lastMessage(ui, "could not save " + output));
  return 0;
}

std::string jsonString(const std::string &s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
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
  bool json = false;
  for (const std::string &a : args) {
    if (a == "--json")
      json = true;
    else if (path.empty())
      path = a;
    else
      return fail("unexpected argument '" + a + "'");
  }
  if (path.empty())
    return fail("no scene file given");
  RecordingUi ui;
  Scene scene(ui);
  if (!openSceneFile(scene, path, true))
    return fail(lastMessage(ui, "could not open " + path));
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
      out << (first ? "" : ", ") << "{\"slot\": " << slot << ", \"name\": " << jsonString(obj->name)
          << ", \"vertices\": " << obj->vertices.count() << ", \"edges\": " << obj->edges.count()
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

int runRender(const std::vector<std::string> &args) {
  if (wantsHelp(args)) {
    std::cout << kRenderHelp;
    return 0;
  }
  static const std::map<std::string, int32_t> kViews = {
      {"reset", -1}, {"+x", 0}, {"+y", 1}, {"+z", 2}, {"-x", 7}, {"-y", 8}, {"-z", 9}};
  std::string path, output;
  int32_t width = 720, height = 486, axis = -1;
  bool orthographic = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) {
      output = args[++i];
    } else if (a == "--size" && hasValue) {
      char x = 0;
      std::istringstream size(args[++i]);
      if (!(size >> width >> x >> height) || x != 'x' || width < 1 || height < 1 ||
          !imageSizeSupported(width, height))
        return fail("bad size '" + args[i] + "' (WxH)");
    } else if (a == "--view" && hasValue) {
      const auto it = kViews.find(args[++i]);
      if (it == kViews.end())
        return fail("unknown view '" + args[i] + "'");
      axis = it->second;
    } else if (a == "--ortho") {
      orthographic = true;
    } else if (path.empty() && a[0] != '-') {
      path = a;
    } else {
      return fail("unexpected argument '" + a + "'");
    }
  }
  if (path.empty() || output.empty())
    return fail("render needs a scene file and -o OUT.png");
  RecordingUi ui;
  Scene scene(ui);
  if (!openSceneFile(scene, path, true))
    return fail(lastMessage(ui, "could not open " + path));
  OffscreenContext context;
  std::string error;
  if (!context.create(width, height, error))
    return fail(error);
  View view;
  view.resize(width, height);
  view.ResetCamera();
  if (axis >= 0)
    view.ViewAlong(axis);
  view.SetPerspective(!orthographic);
  SceneRenderer::InitGlState(view.camera);
  view.camera.ApplyProjection();
  view.renderer.RebuildLists(scene, true);
  view.renderer.DrawScene(scene, view.camera, view.groundAndAxes, InteractionMode::Select, false);
  ImageBuffer image;
  if (!ReadFrame(image, width, height) || saveImage(image, output, kImagePng, false) != 1)
    return fail("could not write " + output);
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty())
    return fail(std::string("no command given\n") + kUsage);
  const std::string command = args.front();
  args.erase(args.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << kUsage;
    return 0;
  }
  if (command == "new")
    return runNew(args);
  if (command == "info")
    return runInfo(args);
  if (command == "render")
    return runRender(args);
  if (command == "paint")
    return runPaint(args);
  return fail("unknown command '" + command + "' (try --help)");
}
