#include "view/frame.h"

void drawFrame(View &view, const Scene &scene, const FrameOptions &options) {
  if (options.initGl)
    SceneRenderer::InitGlState(view.camera);
  view.camera.ApplyProjection();
  if (options.lists != FrameLists::Kept)
    view.renderer.RebuildLists(scene, options.lists == FrameLists::Full);
  view.renderer.DrawScene(scene, view.camera, view.groundAndAxes, options.mode,
                          options.paintHighlight);
}
