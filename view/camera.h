// The camera shared by the model and paint windows: an orbit (elevation, azimuth, signed
// distance, target) turned into the modelview and projection, the two lights that move with the
// eye, and the view commands. The matrices are computed here and loaded into whatever OpenGL
// context is current.
#pragma once

#include "core/vec_math.h"
#include "view/transforms.h"

#include <cstdint>

// Sizes come in two units. width and height are window pixels, the units of pointer positions and
// scripts, which the projection is computed from: at any device pixel ratio the window shows the
// same scene. deviceWidth and deviceHeight are the frame buffer's own pixels, which only the
// OpenGL viewport and pixel read-backs use. View::resize sets both.
struct Camera {
  int32_t width = 0; // viewport, window pixels
  int32_t height = 0;
  float elevation = 0;   // degrees about X
  float azimuth = 0;     // degrees about Y
  float distance = -110; // along the view axis; negative in normal use
  moVec3 target;
  uint8_t perspective = 1;
  float light0Position[4] = {-2, 3, 4, 0};
  float light1Position[4] = {4, 1, 1, 0};
  float light0Ambient[4] = {0, 0, 0, 1};
  float light0Diffuse[4] = {0.7f, 0.7f, 0.7f, 1};
  float light0Specular[4] = {1, 1, 1, 1};
  float light1Ambient[4] = {0, 0, 0, 1};
  float light1Diffuse[4] = {0.3f, 0.3f, 0.3f, 1};
  float light1Specular[4] = {0, 0, 0, 1};

  Viewport viewport() const { return {0, 0, width, height}; }
  // The camera transform: the eye at `distance` along the view axis, turned by the two angles,
  // looking at `target`. A positive distance has passed through the target and looks back.
  moMatrix4 viewMatrix() const;
  // The perspective frustum: one pixel always covers the same angle.
  moMatrix4 perspectiveMatrix() const;
  // The projection in use: the frustum, or in orthographic mode the box that shows at every
  // depth what the frustum shows at the target's depth.
  moMatrix4 projectionMatrix() const;

  // OpenGL: viewport (the whole frame buffer), projection, identity modelview and the lights
  // placed in eye space.
  void ApplyProjection() const;
  // OpenGL: multiplies the camera transform onto the modelview (after loading the identity when
  // reset is set).
  void LoadViewTransform(bool reset) const;
  // OpenGL: light colours, positions and enables, culling, colour material and depth test.
  void SetupLights() const;

  int32_t deviceWidth = 0; // frame buffer, device pixels
  int32_t deviceHeight = 0;
  // The frame buffer's rectangle: what glViewport gets and what a read-back of a frame covers.
  Viewport deviceViewport() const { return {0, 0, deviceWidth, deviceHeight}; }
  // Device pixels per window pixel (1 before the first resize).
  float pixelRatio() const { return width > 0 ? float(deviceWidth) / float(width) : 1.0f; }
};

// The camera-mode arithmetic of the model window: the orbit works on copies of the two angles,
// and the middle-button spin keeps its own state. Every command that sets the angles sets the
// copies too (View does that).
struct CameraMode {
  float elevationCopy = 0;
  float azimuthCopy = 0;
  bool spinArmed = false;
  int32_t spinPeak = 0; // peak horizontal step, pixels; 0 none
  int32_t spinStep = 0; // degrees per tick

  // Orbit for a pointer move from (px, py) to (x, y) with no button held (y grows downward).
  void orbit(Camera &camera, int32_t x, int32_t y, int32_t px, int32_t py);
  // Zoom for a move with the middle or right button held; ax, ay are the motion accumulated since
  // the press. Returns false when the move was a spin gesture and nothing zoomed.
  bool zoom(Camera &camera, int32_t y, int32_t py, int32_t ax, int32_t ay);
  // Tracks the peak horizontal step h of an armed spin gesture.
  void trackSpin(int32_t h);
  // Middle-button release: starts the spin (first turn applied at once) and returns true when
  // the spin timer must run.
  bool releaseSpin(Camera &camera);
  // One 10 ms timer tick; returns false when the timer must stop.
  bool spinTick(Camera &camera);
};

// What the mouse wheel does: each notch of 120 takes the eye a tenth of its distance toward the
// target (negative deltas away from it), so a notch feels the same on objects of any size and
// the eye never passes the target.
void wheelZoom(Camera &camera, int32_t wheelDelta);
