// The one viewing aggregate shared by the model and paint windows: the camera with its
// camera-mode state, the scene renderer and the ground/axes display word. The view commands
// change state only; the window that shows the view applies the projection and redraws.
#pragma once

#include "scene/scene.h"
#include "view/camera.h"
#include "view/scene_renderer.h"

class View {
public:
  static constexpr int32_t kGroundGrid = 1;
  static constexpr int32_t kAxes = 2;

  Camera camera;
  CameraMode cameraMode;
  SceneRenderer renderer;
  int32_t groundAndAxes = kGroundGrid;
  int32_t antialias = 0; // sample count; the program never draws antialiased

  // A new size of the model window, in window pixels, and its frame buffer's pixels per window
  // pixel: the projection goes back to perspective. Both sizes of the camera are set here, the
  // device size rounded as the window system rounds it.
  void resize(int32_t width, int32_t height, double pixelRatio = 1);
  // Elevation 15, azimuth -45.
  void DefaultView();
  // "Reset view": distance -110, target the origin, then the default view; the projection kind
  // stays.
  void ResetCamera();
  // "View along": 0 +X, 1 +Y, 2 +Z, 7 -X, 8 -Y, 9 -Z; other values change nothing.
  void ViewAlong(int32_t axis);
  // "Aim": the target moves to the selection's centre and the eye keeps its depth along the
  // viewing axis.
  void AimAtSelection(const Scene &scene);
  // Arrow keys: moves the target by the world step of (dx, dy) pixels at the near plane (100
  // times that in perspective).
  void PanCamera(int32_t dx, int32_t dy);
  void SetPerspective(bool perspective) { camera.perspective = perspective ? 1 : 0; }

private:
  void setAngles(float elevation, float azimuth);
};
