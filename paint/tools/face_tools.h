// Tools that act on whole faces and objects found through the canvas's index image: the face
// selection (picks the faces the face mask keeps from paint) and the object fill.
#pragma once

#include "paint/tools/paint_tool.h"

// The object slot and local paint triangle shown at window pixel (x, y), or {-1, -1}.
struct PaintTriangleRef {
  int32_t slot = -1, triangle = -1;
};
PaintTriangleRef paintTriangleAt(const Scene &scene, const PaintCanvas &canvas, int32_t x,
                                 int32_t y);

// The face mask buttons: turns the mask (or, with inverse, the inverse mask) on, or off when it is
// the one on, and refreshes the canvas so that the faces it keeps from paint become unpaintable.
void ToggleFaceMask(PaintContext &ctx, bool inverse);

class FaceSelectionTool : public PaintTool {
public:
  FaceSelectionTool() : PaintTool(0, 0.0f, 255) {}
  void activate(PaintContext &ctx) override; // selection mode faces, face highlight on
  void hover(PaintContext &ctx, int32_t x, int32_t y) override;
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;
  void release(PaintContext &, int32_t, int32_t) override {}

private:
  bool select_ = true; // what a drag does to the faces it enters
};

class ObjectFillTool : public PaintTool {
public:
  ObjectFillTool() : PaintTool(0, 0.0f, 255) {}
  void setColour(PaintContext &ctx, uint32_t rgba) override; // the base colour
  void hover(PaintContext &ctx, int32_t x, int32_t y) override;
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &, int32_t, int32_t) override {}
  void release(PaintContext &, int32_t, int32_t) override {}
};
