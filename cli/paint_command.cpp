// morvo-cli paint: opens a scene, enters painting as the paint window does (orthographic view,
// paint surfaces, canvas) and plays tool actions on it, each stroke committed into the textures
// as in the program, then saves the scene.
#include "cli/paint_command.h"

#include "cli/view_options.h"

#include "image/image_buffer.h"
#include "offscreen/offscreen_context.h"
#include "paint/tools/paint_session.h"
#include "paint/tools/tool_registry.h"
#include "scene/recording_ui.h"
#include "scene/scene_file.h"
#include "view/view.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace {

const char *const kPaintHelp =
    "usage: morvo-cli paint SCENE.mvo -o OUT.mvo [--size WxH] [--view VIEW] ACTION...\n"
    "Paints on the scene as the paint window would at the given size (default 720x486) and\n"
    "view (reset, +x, +y, +z, -x, -y, -z; always orthographic), then saves it. Actions run in\n"
    "order; points are window pixels with y growing downward, as the mouse reports them:\n"
    "  --tool NAME                 paintbrush pencil airbrush lighten shadow blur smear clone\n"
    "                              stamp knife line polygon rectangle ellipse fill eraser\n"
    "                              objectfill picker hand faceselect\n"
    "  --color RRGGBBAA            the current tool's colour (hexadecimal)\n"
    "  --brush SIZE,HARDNESS,OPACITY  the current tool's size (the line tool takes half),\n"
    "                              hardness (0..1) and opacity (0..255)\n"
    "  --stroke X,Y:X,Y:...        press at the first point, drag through the others, release\n"
    "                              at the last\n"
    "  --click X,Y                 press and release\n";

int fail(const std::string &message) {
  std::cerr << "morvo-cli: " << message << std::endl;
  return 1;
}

bool parsePoints(const std::string &text, std::vector<std::pair<int32_t, int32_t>> &points) {
  std::istringstream in(text);
  std::string item;
  while (std::getline(in, item, ':')) {
    int32_t x = 0, y = 0;
    char comma = 0, end = 0;
    if (std::sscanf(item.c_str(), "%d%c%d%c", &x, &comma, &y, &end) != 3 || comma != ',')
      return false;
    points.push_back({x, y});
  }
  return !points.empty();
}

// The painting state of one run: the offscreen context, scene, view, canvas and tools.
struct PaintSession {
  RecordingUi ui;
  Scene scene{ui};
  View view;
  PaintCanvas canvas;
  PaintToolbox toolbox;
  ToolFeedback feedback;
  PaintContext ctx{canvas, toolbox, feedback, &scene, &view};

  bool enter(int32_t width, int32_t height, int32_t axis) {
    view.resize(width, height);
    view.ResetCamera();
    if (axis >= 0)
      view.ViewAlong(axis);
    view.SetPerspective(false);
    SceneRenderer::InitGlState(view.camera);
    return PreparePainting(ctx);
  }
  // Runs one action with its value; returns an error text or "".
  std::string act(const std::string &action, const std::string &value);
};

std::string PaintSession::act(const std::string &action, const std::string &value) {
  PaintTool &tool = toolbox.current();
  const int32_t height = canvas.height();
  if (action == "--tool") {
    const int32_t index = paintToolByName(value.c_str());
    if (index < 0)
      return "unknown tool '" + value + "'";
    if (!toolbox.SelectTool(ctx, index))
      return "the tool '" + value + "' cannot be chosen now";
  } else if (action == "--color") {
    unsigned rgba = 0;
    char end = 0;
    if (value.size() != 8 || std::sscanf(value.c_str(), "%8x%c", &rgba, &end) != 1)
      return "bad colour '" + value + "' (RRGGBBAA)";
    tool.setColour(
        ctx, packRgba(uint8_t(rgba >> 24), uint8_t(rgba >> 16), uint8_t(rgba >> 8), uint8_t(rgba)));
  } else if (action == "--brush") {
    int32_t size = 0, opacity = 0;
    float hardness = 0;
    char end = 0;
    if (std::sscanf(value.c_str(), "%d,%f,%d%c", &size, &hardness, &opacity, &end) != 3 ||
        size < 1 || size > 1024 || !(hardness >= 0 && hardness <= 1) || opacity < 0 ||
        opacity > 255)
      return "bad brush '" + value + "' (SIZE 1..1024,HARDNESS 0..1,OPACITY 0..255)";
    tool.setSize(ctx, size, size);
    tool.setHardness(ctx, hardness);
    tool.setOpacity(ctx, opacity);
  } else if (action == "--stroke" || action == "--click") {
    std::vector<std::pair<int32_t, int32_t>> p;
    if (!parsePoints(value, p) || (action == "--click" && p.size() != 1))
      return "bad points '" + value + "'";
    tool.press(ctx, p.front().first, height - p.front().second);
    for (size_t i = 1; i < p.size(); ++i)
      tool.drag(ctx, p[i].first, height - p[i].second);
    tool.release(ctx, p.back().first, height - p.back().second);
  } else {
    return "unexpected argument '" + action + "'";
  }
  return "";
}

} // namespace

int runPaint(const std::vector<std::string> &args) {
  for (const std::string &a : args)
    if (a == "--help" || a == "-h") {
      std::cout << kPaintHelp;
      return 0;
    }
  std::string path, output;
  int32_t width = 720, height = 486, axis = -1;
  std::vector<std::pair<std::string, std::string>> actions;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "-o" && hasValue) {
      output = args[++i];
    } else if (a == "--size" && hasValue) {
      if (const std::string bad = parseViewSize(args[++i], width, height); !bad.empty())
        return fail(bad);
    } else if (a == "--view" && hasValue) {
      if (const std::string bad = parseViewName(args[++i], axis); !bad.empty())
        return fail(bad);
    } else if (a.rfind("--", 0) == 0 && hasValue) {
      actions.push_back({a, args[++i]});
    } else if (path.empty() && a[0] != '-') {
      path = a;
    } else {
      return fail("unexpected argument '" + a + "'");
    }
  }
  if (path.empty() || output.empty())
    return fail("paint needs a scene file and -o OUT.mvo");
  PaintSession session;
  if (!openSceneFile(session.scene, path, true))
    return fail(session.ui.messages.empty() ? "could not open " + path
                                            : session.ui.messages.back());
  OffscreenContext context;
  std::string error;
  if (!context.create(width, height, error))
    return fail(error);
  if (!session.enter(width, height, axis))
    return fail("could not prepare a canvas of that size");
  for (const auto &[action, value] : actions) {
    const std::string problem = session.act(action, value);
    if (!problem.empty())
      return fail(problem);
  }
  if (!saveSceneFile(session.scene, output, false))
    return fail("could not save " + output);
  return 0;
}
