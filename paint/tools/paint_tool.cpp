#include "paint/tools/paint_tool.h"

#include "paint/paint_surface.h"
#include "paint/stroke_commit.h"
#include "paint/tools/tool_registry.h"

void PaintContext::commit() {
  if (scene && view) {
    CommitStroke(*scene, *view, canvas);
    feedback.redraw();
  } else {
    canvas.clearDirty();
  }
}

void PaintContext::refresh() {
  if (!scene || !view)
    return;
  RefreshCanvas(*scene, *view, canvas);
  feedback.redraw();
}

void PaintTool::setColour(PaintContext &ctx, uint32_t rgba) {
  ctx.toolbox.paintColour = rgba;
  if (&ctx.toolbox.current() == this)
    refill(ctx);
}

void PaintTool::setSize(PaintContext &ctx, int32_t width, int32_t height) {
  if (width == width_ && height == height_)
    return;
  width_ = width;
  height_ = height;
  if (&ctx.toolbox.current() != this)
    return;
  ctx.toolbox.dab.fit(width, height);
  refill(ctx);
  rebuildMask(ctx);
}

void PaintTool::setOpacity(PaintContext &ctx, int32_t opacity) {
  opacity_ = std::clamp(opacity, 0, 255);
  if (&ctx.toolbox.current() == this)
    rebuildMask(ctx);
}

void PaintTool::setHardness(PaintContext &ctx, float hardness) {
  hardness_ = std::clamp(hardness, 0.0f, 1.0f);
  if (&ctx.toolbox.current() == this)
    rebuildMask(ctx);
}
