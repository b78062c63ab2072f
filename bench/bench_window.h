// The model window as the drawing benchmarks see it: an offscreen 720 x 486 context with the
// camera reset and a slab of cells x cells quads on each side filling the view (127: 32 766
// faces). Lists are not built yet.
#pragma once

#include "offscreen/offscreen_context.h"
#include "scene/recording_ui.h"
#include "tests/support/mesh_fixtures.h"
#include "view/view.h"

#include <memory>
#include <string>

struct BenchWindow {
  OffscreenContext context;
  RecordingUi ui;
  Scene scene{ui};
  View view;
  bool ok = false;

  explicit BenchWindow(int32_t cells = 127) {
    std::string error;
    ok = context.create(720, 486, error);
    auto slab = std::make_shared<moObject>(makeObject(slabMesh(cells, cells)));
    const float across = 63.5f / float(cells);
    slab->scaleAbout({0, 0, 0}, {across, across, 20}); // fill the view
    slab->transform(translation(-32, -20, -10));
    scene.objects.insert(slab);
    view.resize(720, 486);
    view.ResetCamera();
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
  }
};
