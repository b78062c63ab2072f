// Drawing under Mesa's llvmpipe at the model window's size: one frame of a 32 766-face object
// whose lists are built, and rebuilding that object's lists after a change.
#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"
#include "view/view.h"

#include <benchmark/benchmark.h>

namespace {

struct Setup {
  OffscreenContext context;
  RecordingUi ui;
  Scene scene{ui};
  View view;
  bool ok = false;

  Setup() {
    std::string error;
    ok = context.create(720, 486, error);
    auto slab = std::make_shared<moObject>(makeObject(slabMesh(127, 127)));
    slab->scaleAbout({0, 0, 0}, {0.5f, 0.5f, 20}); // fill the view
    slab->transform(translation(-32, -20, -10));
    scene.objects.insert(slab);
    view.resize(720, 486);
    view.ResetCamera();
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
  }
};

void BM_FrameOf32kFaceObject(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  s.view.renderer.RebuildLists(s.scene, true);
  for (auto _ : state) {
    s.view.camera.ApplyProjection();
    s.view.renderer.DrawScene(s.scene, s.view.camera, s.view.groundAndAxes,
                              InteractionMode::Camera, false);
  }
  state.counters["faces"] = s.scene.object(0)->faces.count();
}
BENCHMARK(BM_FrameOf32kFaceObject)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_RebuildListsOf32kFaceObject(benchmark::State &state) {
  Setup s;
  if (!s.ok)
    return state.SkipWithError("no offscreen OpenGL context");
  for (auto _ : state)
    s.view.renderer.RebuildObject(s.scene, 0, true);
}
BENCHMARK(BM_RebuildListsOf32kFaceObject)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace
