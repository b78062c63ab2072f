// What the brush-like tools share: strokes of round dabs spaced along the pointer's path, each
// dab filled, saved for undo, applied to the canvas under the brush mask and shown.
#pragma once

#include "paint/tools/dab_buffers.h"
#include "paint/tools/paint_tool.h"

class BrushTool : public PaintTool {
public:
  using PaintTool::PaintTool;
  void activate(PaintContext &ctx) override;
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;
  void release(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  // One dab with its lower-left corner at (x, y): fill, undo save, apply, show.
  void dabAt(PaintContext &ctx, int32_t x, int32_t y);
  // Fills the colour buffer for the dab at ctx.toolbox.dab.dabX/dabY (the reveal or pattern
  // image when one supplies the paint; the solid colour stays otherwise).
  virtual void fillDab(PaintContext &ctx);
  // Blends the colour buffer into the canvas under the mask, by coverage by default.
  virtual void apply(PaintContext &ctx);
  // The solid colour of the colour buffer.
  virtual uint32_t solidColour(const PaintContext &ctx) const;
  void refill(PaintContext &ctx) override;
  void rebuildMask(PaintContext &ctx) override;
  // Ends a stroke: coverage reset in the dirty rectangle, then the commit.
  void endStroke(PaintContext &ctx);
  // The dab position for a pointer at (x, y).
  int32_t dabX(int32_t x) const { return x - (width_ >> 1); }
  int32_t dabY(int32_t y) const { return y - (height_ >> 1); }
};

// The coverage rule: within one stroke no pixel moves more than the opacity toward the colour
// buffer, however often the brush passes (the canvas alpha holds 255 - coverage meanwhile).
void applyCoverage(PaintCanvas &canvas, const DabBuffers &dab, int32_t opacity);
// Blends the colour buffer into the canvas without coverage: each paintable pixel under a
// non-zero mask whose colour differs from the buffer's moves weight(m, c) / den of the way to
// it, keeping its alpha, so that repeated dabs build up.
template <class Weight>
void applyBlend(PaintCanvas &canvas, const DabBuffers &dab, int64_t den, Weight weight) {
  forPaintablePixels(canvas, dab.dabX, dab.dabY, dab.width, dab.height,
                     [&](int32_t x, int32_t y, size_t k) {
                       uint32_t &v = canvas.colour.at(x, y);
                       const uint32_t c = dab.colour[k];
                       if (dab.mask[k] == 0 || sameColour(v, c))
                         return;
                       v = blendColour(v, c, weight(dab.mask[k], c), den, alphaOf(v));
                       canvas.dirty[canvas.offset(x, y)] = 1;
                     });
}
// Shows the canvas pixels of the dab rectangle, lit, through the feedback.
void showDab(PaintContext &ctx);
