// The stamp, which prints an image like a brush dab (its alpha times the opacity as the mask),
// and the knife, which captures a rectangle of the canvas as the stamp's image.
#pragma once

#include "image/image_buffer.h"
#include "paint/tools/brush_tool.h"
#include "paint/tools/figure_tool.h"

class StampTool : public BrushTool {
public:
  StampTool() : BrushTool(1, 0.0f, 255) {}
  // Takes image as the stamp (its size becomes the tool's size); refreshes the buffers when
  // the stamp is current.
  void setImage(PaintContext &ctx, ImageBuffer image);
  const ImageBuffer &image() const { return image_; }
  void setSize(PaintContext &, int32_t, int32_t) override {} // always the image's size
  void activate(PaintContext &ctx) override;
  void deactivate(PaintContext &ctx) override;
  void hover(PaintContext &ctx, int32_t x, int32_t y) override;
  void press(PaintContext &ctx, int32_t x, int32_t y) override;
  void drag(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  void fillDab(PaintContext &) override {}
  void refill(PaintContext &ctx) override;
  void rebuildMask(PaintContext &ctx) override;

private:
  void hideOutline(PaintContext &ctx);

  ImageBuffer image_;
  bool outlineShown_ = false;
  int32_t outlineX_ = 0, outlineY_ = 0, lastX_ = 0, lastY_ = 0;
};

class KnifeTool : public FigureTool {
public:
  KnifeTool() : FigureTool(0, 0.0f, 255) {}
  void release(PaintContext &ctx, int32_t x, int32_t y) override;

protected:
  void drawFigure(PaintContext &ctx, int32_t x0, int32_t y0, int32_t x1,
                  int32_t y1) const override {
    ctx.feedback.xorRect(x0, y0, x1, y1);
  }
};
