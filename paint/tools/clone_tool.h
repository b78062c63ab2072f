// The clone: a release on the paint sets the source point (marked by a cross-hair); each stroke
// then paints with the canvas around the source, shifted as the brush moves from where the
// stroke began. Refilling the colour (activation, colour or size change) forgets the source.
#pragma once

#include "paint/tools/brush_tool.h"

class CloneTool : public BrushTool {
public:
  CloneTool() : BrushTool(32, 0.5f, 255) {}
  void deactivate(PaintContext &ctx) override;
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;
  void release(PaintContext &ctx, int32_t x, int32_t y) override;
  bool hasSource() const { return hasSource_; }

protected:
  void fillDab(PaintContext &ctx) override;
  void refill(PaintContext &ctx) override;

private:
  void showCross(PaintContext &ctx, int32_t x, int32_t y); // erases the one shown first
  void hideCross(PaintContext &ctx);
  // The source shifted by the current dab's displacement from the stroke's first dab.
  int32_t shiftedX(const PaintContext &ctx) const;
  int32_t shiftedY(const PaintContext &ctx) const;

  bool hasSource_ = false, crossShown_ = false;
  int32_t sourceX_ = 0, sourceY_ = 0, firstX_ = 0, firstY_ = 0, crossX_ = 0, crossY_ = 0;
};
