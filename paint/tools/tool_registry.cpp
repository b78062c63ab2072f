#include "paint/tools/tool_registry.h"

#include "paint/tools/blur_smear_tools.h"
#include "paint/tools/brush_tools.h"
#include "paint/tools/clone_tool.h"
#include "paint/tools/face_tools.h"
#include "paint/tools/fill_tool.h"
#include "paint/tools/line_tool.h"
#include "paint/tools/picker_hand_tools.h"
#include "paint/tools/polygon_tool.h"
#include "paint/tools/shape_tools.h"
#include "paint/tools/stamp_tools.h"

#include <cstring>

namespace {

#define CAMERA "(CLICK-M) or (CTRL-R) to start the camera"
#define PARAMS ", (CLICK-R) to change the tool's parameters"

const PaintToolInfo kTools[kPaintToolCount] = {
    {"paintbrush", 12290, "Paintbrush Tool - paints with brush strokes",
     "(DRAG-L) to paint, " CAMERA PARAMS},
    {"pencil", 12289, "Pencil Tool - draws a thin, hard-edged line",
     "(DRAG-L) to draw a line, " CAMERA PARAMS},
    {"airbrush", 12291, "Airbrush Tool - simulates an airbrush",
     "(DRAG-L) to paint, " CAMERA PARAMS},
    {"lighten", 12293, "Lighten Brush Tool - lightens the area under the brush",
     "(DRAG-L) to lighten an area, " CAMERA PARAMS},
    {"shadow", 12294, "Shadow Brush Tool - paints with nearly transparent black paint",
     "(DRAG-L) to paint, " CAMERA PARAMS},
    {"blur", 12297, "Blur Tool - blurs the paint on objects",
     "(DRAG-L) to blur paint, " CAMERA PARAMS},
    {"smear", 12298, "Smear Tool - smears paint on objects",
     "(DRAG-L) to smear paint, " CAMERA PARAMS},
    {"clone", 12308, "Clone Tool - copies an area", "(CLICK-L)in an area to copy, " CAMERA PARAMS},
    {"stamp", 0, "Stamp Tool - stamps texture onto object", "(CLICK-L) to stamp, " CAMERA},
    {"knife", 12295, "Knife Tool - captures a rectangular region",
     "(DRAG-L) to capture a region, " CAMERA},
    {"line", 12303, "Line Tool - draws a line", "(DRAG-L) to draw a line, " CAMERA PARAMS},
    {"polygon", 12304, "Polygon Tool - draws a filled polygon",
     "(CLICK-L) on successive points to draw a polygon, " CAMERA},
    {"rectangle", 12302, "Rectangle Tool - draws a filled rectangle",
     "(DRAG-L) to draw a rectangle, " CAMERA},
    {"ellipse", 12301, "Ellipse Tool - draws a filled ellipse",
     "(DRAG-L) to draw an ellipse, " CAMERA},
    {"fill", 12299, "Fill Tool - colors a continuous area", "(CLICK-L) to fill, " CAMERA ","},
    {"eraser", 12292, "Eraser Tool - removes all texture from an area",
     "(DRAG-L) to erase, " CAMERA PARAMS},
    {"objectfill", 12307, "Eraser Tool - removes all texture from an area", ""},
    {"picker", 12300, "Color Picker Tool - selects the current color from the canvas",
     "(CLICK-L) to select a color, " CAMERA},
    {"hand", 12305, "Hand Tool - positions textures imported with the Reveal Tool",
     "(DRAG-L) to position a texture, " CAMERA},
    {"faceselect", 12306, "Face Selection Tool - selects faces to mask",
     "(CLICK-L) to select faces, " CAMERA ","},
};

#undef CAMERA
#undef PARAMS

} // namespace

bool paintToolAllowed(const PaintCanvas &canvas, int32_t index) {
  const bool reveal = canvas.revealFlags & 1, pattern = canvas.patternOn != 0;
  switch (index) {
  case kEraserTool:
  case kLightenTool:
  case kShadowTool:
  case kKnifeTool:
  case kBlurTool:
  case kSmearTool:
  case kColorPickerTool:
  case kCloneTool:
    return !reveal && !pattern;
  case kFillTool:
    return !reveal;
  case kHandTool:
    return reveal && !pattern;
  default:
    return true;
  }
}

const PaintToolInfo &paintToolInfo(int32_t index) { return kTools[index]; }

int32_t paintToolByName(const char *name) {
  for (int32_t i = 0; i < kPaintToolCount; ++i)
    if (std::strcmp(kTools[i].name, name) == 0)
      return i;
  return -1;
}

PaintToolbox::PaintToolbox()
    : tools_{std::make_unique<PaintbrushTool>(), std::make_unique<PencilTool>(),
             std::make_unique<AirbrushTool>(),   std::make_unique<LightenTool>(),
             std::make_unique<ShadowTool>(),     std::make_unique<BlurTool>(),
             std::make_unique<SmearTool>(),      std::make_unique<CloneTool>(),
             std::make_unique<StampTool>(),      std::make_unique<KnifeTool>(),
             std::make_unique<LineTool>(),       std::make_unique<PolygonTool>(),
             std::make_unique<RectangleTool>(),  std::make_unique<EllipseTool>(),
             std::make_unique<FillTool>(),       std::make_unique<EraserTool>(),
             std::make_unique<ObjectFillTool>(), std::make_unique<ColorPickerTool>(),
             std::make_unique<HandTool>(),       std::make_unique<FaceSelectionTool>()} {}

StampTool &PaintToolbox::stamp() { return static_cast<StampTool &>(tool(kStampTool)); }
const StampTool &PaintToolbox::stamp() const {
  return static_cast<const StampTool &>(*tools_[kStampTool]);
}

bool PaintToolbox::SelectTool(PaintContext &ctx, int32_t index) {
  if (index < 0 || index >= kPaintToolCount || !paintToolAllowed(ctx.canvas, index))
    return false;
  if (index == kStampTool && stamp().image().empty())
    index = kKnifeTool; // nothing to stamp: capture a region first
  if (index == current_ && index != kCloneTool)
    return true;
  current().deactivate(ctx);
  current_ = index;
  current().activate(ctx);
  ctx.feedback.redraw();
  return true;
}
