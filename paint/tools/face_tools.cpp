#include "paint/tools/face_tools.h"

#include "core/face_triangulation.h"
#include "paint/index_render.h"
#include "paint/layer_commands.h"
#include "paint/tools/tool_registry.h"

namespace {

// The face under (x, y) as a selection entry, element -1 when there is none.
ElementRef faceAt(const Scene &scene, const PaintCanvas &canvas, int32_t x, int32_t y) {
  const PaintTriangleRef t = paintTriangleAt(scene, canvas, x, y);
  if (t.slot < 0)
    return {};
  return {scene.object(t.slot)->triangleFaces[t.triangle], t.slot};
}

// Highlights one element (or nothing) of the given kind and redraws when that changes.
void highlight(PaintContext &ctx, int32_t kind, const ElementRef &ref) {
  SceneRenderer &r = ctx.view->renderer;
  if (r.hoverKind() == kind && r.hoverElement() == ref.element && r.hoverObject() == ref.object)
    return;
  r.setHover(kind, ref.object, ref.element);
  ctx.feedback.redraw();
}

} // namespace

PaintTriangleRef paintTriangleAt(const Scene &scene, const PaintCanvas &canvas, int32_t x,
                                 int32_t y) {
  if (!canvas.paintable(x, y))
    return {};
  const int64_t k = canvas.index[canvas.offset(x, y)];
  uint32_t total = 0;
  const std::vector<int64_t> bases = paintIndexBases(scene, total);
  for (size_t slot = 0; slot < bases.size(); ++slot) {
    const moObject *obj = scene.object(int32_t(slot));
    if (bases[slot] < 0 || !obj || k < bases[slot])
      continue;
    const int64_t local = k - bases[slot];
    if (local < paintTriangleCount(*obj))
      return {int32_t(slot), int32_t(local)};
  }
  return {};
}

void ToggleFaceMask(PaintContext &ctx, bool inverse) {
  PaintCanvas &canvas = ctx.canvas;
  const bool wasThisOne = canvas.maskOn && (canvas.maskInverse != 0) == inverse;
  canvas.maskOn = wasThisOne ? 0 : 1;
  canvas.maskInverse = !wasThisOne && inverse ? 1 : 0;
  ctx.refresh();
}

void FaceSelectionTool::activate(PaintContext &ctx) {
  if (!ctx.scene || ctx.scene->mode == moFACES)
    return;
  ctx.scene->clearSelection();
  ctx.scene->mode = moFACES;
  ctx.feedback.redraw();
}

void FaceSelectionTool::hover(PaintContext &ctx, int32_t x, int32_t y) {
  if (ctx.scene && ctx.view)
    highlight(ctx, moFACES, faceAt(*ctx.scene, ctx.canvas, x, y));
}

void FaceSelectionTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  if (!ctx.scene)
    return;
  const ElementRef face = faceAt(*ctx.scene, ctx.canvas, x, y);
  if (face.element < 0)
    return;
  select_ = ctx.scene->selection.Toggle(face);
  ctx.feedback.redraw();
}

void FaceSelectionTool::drag(PaintContext &ctx, int32_t x, int32_t y) {
  if (!ctx.scene)
    return;
  const ElementRef face = faceAt(*ctx.scene, ctx.canvas, x, y);
  if (face.element < 0 || ctx.scene->selection.Contains(face) == select_)
    return;
  ctx.scene->selection.Set(face, select_);
  ctx.feedback.redraw();
}

void ObjectFillTool::setColour(PaintContext &ctx, uint32_t rgba) { ctx.toolbox.baseColour = rgba; }

void ObjectFillTool::hover(PaintContext &ctx, int32_t x, int32_t y) {
  if (!ctx.scene || !ctx.view)
    return;
  const int32_t slot = paintTriangleAt(*ctx.scene, ctx.canvas, x, y).slot;
  highlight(ctx, moOBJECTS, {slot, slot});
}

void ObjectFillTool::press(PaintContext &ctx, int32_t x, int32_t y) {
  if (!ctx.scene || !ctx.view)
    return;
  const int32_t slot = paintTriangleAt(*ctx.scene, ctx.canvas, x, y).slot;
  if (slot < 0)
    return;
  const uint32_t c = ctx.toolbox.baseColour;
  FillObjectPaint(*ctx.scene, *ctx.view, ctx.canvas, slot,
                  {redOf(c), greenOf(c), blueOf(c), alphaOf(c)});
  ctx.feedback.redraw();
}
