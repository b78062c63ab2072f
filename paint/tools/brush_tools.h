// The plain brushes: the paintbrush and pencil (the coverage rule with the paint colour), the
// eraser (the base colour), the shadow brush (nearly transparent black), the airbrush (builds up
// without a coverage limit) and the lighten brush.
#pragma once

#include "paint/tools/brush_tool.h"

class PaintbrushTool : public BrushTool {
public:
  PaintbrushTool() : BrushTool(32, 0.5f, 255) {}
};

class PencilTool : public BrushTool {
public:
  PencilTool() : BrushTool(4, 1.0f, 255) {}
};

class EraserTool : public BrushTool {
public:
  EraserTool() : BrushTool(32, 1.0f, 255) {}
  void setColour(PaintContext &ctx, uint32_t rgba) override; // the base colour

protected:
  uint32_t solidColour(const PaintContext &ctx) const override;
};

class ShadowTool : public BrushTool {
public:
  ShadowTool() : BrushTool(32, 0.5f, 25) {}
  void setOpacity(PaintContext &ctx, int32_t opacity) override; // a tenth of the value

protected:
  uint32_t solidColour(const PaintContext &) const override { return 0xFF000000u; }
};

class AirbrushTool : public BrushTool {
public:
  AirbrushTool() : BrushTool(64, 0.0f, 64) {}
  void setOpacity(PaintContext &ctx, int32_t opacity) override; // half the value, at most 127

protected:
  void apply(PaintContext &ctx) override;
};

class LightenTool : public BrushTool {
public:
  LightenTool() : BrushTool(32, 0.5f, 255) {}

protected:
  void apply(PaintContext &ctx) override;
};
