// A script world whose model view draws, with the real controller behind the script layer, and
// the pointer events of a user, for the tests that record sessions and play them back.
#pragma once

#include "script_fixture.h"

#include "script/scripted_controller.h"

constexpr int32_t kWidth = 720, kHeight = 486;
constexpr int32_t kFaceX = kWidth / 2 - 52, kCentreX = kWidth / 2, kCentreY = kHeight / 2;

// A script world whose model view draws: lists follow the scene, picks see it.
struct DrawingWorld : ScriptWorld {
  explicit DrawingWorld(int32_t width = kWidth) : ScriptWorld(width, kHeight) {
    layer.setInput(&input);
    SceneRenderer::InitGlState(view.camera);
    view.camera.ApplyProjection();
  }
  // Lists follow the scene changes of commands (the controller keeps its own up to date).
  void rebuild() {
    view.camera.ApplyProjection();
    view.renderer.RebuildLists(scene, true);
  }
  InteractionController controller{scene, view, ui};
  ScriptedController input{controller, layer};
};

inline PointerInput at(PointerInput::Kind kind, int32_t x, int32_t y, Button b = Button::None,
                       bool left = false) {
  PointerInput in;
  in.kind = kind;
  in.x = x;
  in.y = y;
  in.button = b;
  in.leftHeld = left;
  return in;
}

inline void leftClick(ScriptedController &c, int32_t x, int32_t y) {
  c.pointer(at(PointerInput::Press, x, y, Button::Left));
  c.pointer(at(PointerInput::Release, x, y, Button::Left));
}
// Hovers the middle of a new cube's left front face and clicks it.
inline void clickCubeFace(ScriptedController &c) {
  c.pointer(at(PointerInput::Move, kFaceX - 1, kCentreY)); // only records the position
  c.pointer(at(PointerInput::Move, kFaceX, kCentreY));
  leftClick(c, kFaceX, kCentreY);
}
