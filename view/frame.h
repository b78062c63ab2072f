// One frame of the scene through the view, drawn on the current context: the sequence that the
// model and paint windows, morvo-cli's pictures, the tests and the benchmarks all draw with.
#pragma once

#include "scene/scene.h"
#include "view/view.h"

#include <cstdint>

// How the display lists are brought up to date before the frame is drawn.
enum class FrameLists : uint8_t {
  Kept, // built already and in step with the scene: nothing is compiled
  Full, // every visible object's draw list compiled again (every frame outside a drag)
  Fast, // the drag batches built instead, which the steps of a drag refill
};

// What callers of drawFrame differ in.
struct FrameOptions {
  InteractionMode mode = InteractionMode::Select; // decides which highlights are drawn
  FrameLists lists = FrameLists::Full;
  // Sets the OpenGL state a context starts with (SceneRenderer::InitGlState) first: for a
  // context that draws this frame alone. A window sets it once, when its context is made.
  bool initGl = true;
  // The paint view's frame: no hover or selection highlights, and the texture of every object
  // that shows paint bound afresh, whatever the textures flag says.
  bool paintHighlight = false;
};

// Draws one frame of the scene at the view's camera size: the context's starting state when
// asked, the camera's projection, the lists as options.lists says, then ground and axes,
// objects, highlights and outlines as the renderer's display flags say. The caller reads the
// pixels back or swaps buffers afterwards.
void drawFrame(View &view, const Scene &scene, const FrameOptions &options = {});
