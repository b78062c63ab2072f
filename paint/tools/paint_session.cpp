#include "paint/tools/paint_session.h"

#include "paint/paint_surface.h"
#include "paint/tools/tool_registry.h"

bool PreparePainting(PaintContext &ctx, bool rebuildLists) {
  Scene &scene = *ctx.scene;
  View &view = *ctx.view;
  Camera &camera = view.camera;
  camera.perspective = 0;
  camera.ApplyProjection();
  PreparePaintSurfaces(scene, view, ctx.canvas);
  if (rebuildLists)
    view.renderer.RebuildLists(scene, true); // loads every texture
  if (!PrepareCanvas(scene, view, ctx.canvas, camera.deviceWidth, camera.deviceHeight))
    return false;
  ctx.toolbox.activateCurrent(ctx);
  return true;
}
