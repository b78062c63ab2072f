#include "paint/tools/brush_options.h"

#include "paint/tools/tool_registry.h"

namespace {

const BrushOptionMenu kSize = {BrushOption::Size,
                               "Size",
                               "Select a brush size",
                               {{"Tiny", "Set the brush size to tiny", 8},
                                {"Small", "Set the brush size to small", 16},
                                {"Medium", "Set the brush size to medium", 32},
                                {"Large", "Set the brush size to large", 48},
                                {"Huge", "Set the brush size to huge", 64}}};
const BrushOptionMenu kSoftness = {BrushOption::Softness,
                                   "Softness",
                                   "Select a brush softness",
                                   {{"Soft", "Set the brush edge to softes", 0.0f},
                                    {"Medium", "Set the brush edge to medium", 0.5f},
                                    {"Hard", "Set the brush edge to hardest", 1.0f}}};
const BrushOptionMenu kOpacity = {
    BrushOption::Opacity,
    "Opacity",
    "Select a brush transparency",
    {{"Most transparent", "Set the paint opacity to most transparent", 55},
     {"Transparent", "Set the paint opacity to transparent", 125},
     {"Medium", "Set the paint opacity to medium", 170},
     {"Opaque", "Set the paint opacity to opaque", 210},
     {"Most opaque", "Set the paint opacity to most opaque", 255}}};

} // namespace

std::vector<const BrushOptionMenu *> brushOptionMenus(int32_t toolIndex) {
  switch (toolIndex) {
  case kPaintbrushTool:
  case kLightenTool:
  case kShadowTool:
  case kSmearTool:
  case kCloneTool:
  case kLineTool:
    return {&kSize, &kSoftness, &kOpacity};
  case kPencilTool:
  case kAirbrushTool:
    return {&kSize, &kOpacity};
  case kBlurTool:
  case kEraserTool:
  case kObjectFillTool:
    return {&kSize};
  case kStampTool:
  case kPolygonTool:
  case kRectangleTool:
  case kEllipseTool:
    return {&kOpacity};
  default:
    return {};
  }
}

bool brushChoiceChecked(const PaintTool &tool, BrushOption option, const BrushChoice &choice) {
  switch (option) {
  case BrushOption::Size:
    return tool.width() == int32_t(choice.value);
  case BrushOption::Softness:
    return int32_t(tool.hardness() * 10) == int32_t(choice.value * 10);
  case BrushOption::Opacity:
    return tool.opacity() == int32_t(choice.value);
  }
  return false;
}

void chooseBrushOption(PaintContext &ctx, int32_t toolIndex, BrushOption option,
                       const BrushChoice &choice) {
  PaintTool &tool = ctx.toolbox.tool(toolIndex);
  const int32_t value = int32_t(choice.value);
  switch (option) {
  case BrushOption::Size: {
    const int32_t size = toolIndex == kPencilTool ? value / 2 : value;
    tool.setSize(ctx, size, size);
    break;
  }
  case BrushOption::Softness:
    tool.setHardness(ctx, choice.value);
    break;
  case BrushOption::Opacity:
    tool.setOpacity(ctx, value);
    break;
  }
}
