// The twenty paint tools, one instance each for the whole run, and the state they share: the
// paint and base colours, the dab buffers and which tool is current.
#pragma once

#include "paint/tools/dab_buffers.h"
#include "paint/tools/paint_tool.h"

#include <array>
#include <memory>

enum PaintToolIndex : int32_t {
  kPaintbrushTool,
  kPencilTool,
  kAirbrushTool,
  kLightenTool,
  kShadowTool,
  kBlurTool,
  kSmearTool,
  kCloneTool,
  kStampTool,
  kKnifeTool,
  kLineTool,
  kPolygonTool,
  kRectangleTool,
  kEllipseTool,
  kFillTool,
  kEraserTool,
  kObjectFillTool,
  kColorPickerTool,
  kHandTool,
  kFaceSelectionTool,
  kPaintToolCount
};

// What the tool bar and status line show for a tool. prompt is empty for the object fill.
struct PaintToolInfo {
  const char *name; // command-line and script name
  int32_t command;  // tool-bar command, 0 for the stamp (chosen through its image)
  const char *tooltip;
  const char *prompt;
};
const PaintToolInfo &paintToolInfo(int32_t index);
// The index of the tool called name, or -1.
int32_t paintToolByName(const char *name);
// Whether the reveal and pattern modes of the canvas let the tool be chosen.
bool paintToolAllowed(const PaintCanvas &canvas, int32_t index);

class StampTool;

class PaintToolbox {
public:
  PaintToolbox(); // every tool with its defaults; the paintbrush current, not yet activated
  PaintTool &tool(int32_t index) { return *tools_[size_t(index)]; }
  PaintTool &current() { return tool(current_); }
  int32_t currentIndex() const { return current_; }
  StampTool &stamp();
  const StampTool &stamp() const;

  // Makes index current (deactivating the old tool, activating the new one) unless it already
  // is; the clone is activated again every time. Refused, returning false, for an index out of
  // range or a tool the reveal or pattern mode rules out. The stamp without an image gives the
  // knife instead; the face selection switches the selection to faces first.
  bool SelectTool(PaintContext &ctx, int32_t index);
  // Activates the current tool again, as a freshly prepared canvas needs.
  void activateCurrent(PaintContext &ctx) { current().activate(ctx); }

  uint32_t paintColour = 0xFF000000u; // opaque black
  uint32_t baseColour = 0xFFFFFFFFu;  // white; the eraser and object fill paint with it
  DabBuffers dab;

private:
  std::array<std::unique_ptr<PaintTool>, kPaintToolCount> tools_;
  int32_t current_ = kPaintbrushTool;
};
