// What the paint window does, without the window: entering the paint work mode, keeping the
// canvas in step with the window's size and the camera, routing the mouse to the current paint
// tool or to the camera mode of the interaction controller, and the paint commands (undo, redo,
// erase all, images). The window translates its events into these calls and carries out the
// PaintReaction; everything draws on the current OpenGL context, which must be the paint
// window's (its frame buffer kept between repaints, as tools draw straight into it).
#pragma once

#include "paint/tools/gl_feedback.h"
#include "paint/tools/tool_registry.h"
#include "view/interaction_controller.h"

#include <string>

// What the window must do after a mouse event. Positions are window pixels, y downward.
// The window system holds the pointer for the window while a button is down.
struct PaintReaction {
  bool brushOptions = false; // show the brush options popup at the pointer
  bool toolCursor = false;   // show the current tool's cursor
  bool cameraCursor = false;
  bool swatch = false; // the colour swatches show something new
  bool warp = false;   // move the pointer to (warpX, warpY)
  int32_t warpX = 0, warpY = 0;
};

class PaintWindowInput {
public:
  // The tools' questions and file dialogs go to ui.
  PaintWindowInput(Scene &scene, View &view, InteractionController &controller, UserInterface &ui);

  // Enters the paint work mode on a window of width x height window pixels and pixelRatio device
  // pixels per window pixel: orthographic projection, textures on, paint surfaces prepared and
  // loaded, the canvas prepared at the frame buffer's size and the current tool activated; the
  // tool's prompt shows. Returns false, with no canvas, when that size cannot be had.
  bool enter(int32_t width, int32_t height, double pixelRatio = 1);
  // The first entry of a run: the paintbrush, black, hardness 0.5, opacity 255, 32 x 32.
  void useFirstEntryTool();
  // A new window size (only while in the paint work mode): the canvas is prepared again.
  void resize(int32_t width, int32_t height, double pixelRatio = 1);
  // The camera or the scene changed under the canvas: it is prepared again for the new view.
  void viewChanged();
  // Draws the whole view as the window shows it: the textured scene and the reveal image.
  void paint();

  // Mouse input at window pixel (x, y downward) of the paint window.
  PaintReaction pointer(const PointerInput &input);
  bool inCamera() const { return controller_.mode() == InteractionController::CameraMode; }

  // The current tool's prompt in the status line; entering swaps those of the lighten and
  // shadow brushes.
  void showPrompt(bool entering);
  // Tool-bar choice of a tool; false when the reveal or pattern mode rules it out.
  bool selectTool(int32_t index);
  // The colour of the current tool: the base colour for the eraser and the object fill.
  uint32_t toolColour() const;
  void setToolColour(uint32_t rgba);

  // The paint commands. Undo and redo step through the scene's undo history (strokes and
  // modeling alike) and return whether a step was taken; erase returns whether the user agreed,
  // the imports whether an image was chosen.
  bool undo() { return historyStep(true); }
  bool redo() { return historyStep(false); }
  bool eraseAll();
  bool toggleReveal();
  bool togglePattern();
  // The face mask over the selected faces (or, inverse, over the others), on or off.
  bool toggleMask();
  bool toggleInverseMask();
  // Another reveal, stamp or pattern image (PaintImageTarget).
  bool importImage(int32_t target);
  bool project(int32_t type);

  PaintCanvas canvas;
  PaintToolbox toolbox;
  std::string imageFolder; // where the first image dialog starts
  PaintContext &context() { return ctx_; }

private:
  void press(const PointerInput &in, bool camera, int32_t x, int32_t y);
  void release(const PointerInput &in, bool camera, int32_t x, int32_t y);
  void move(const PointerInput &in, bool camera, int32_t x, int32_t y);
  void enterCamera(const PointerInput &in);
  void leaveCamera(const PointerInput &in);
  // Passes an event to the controller and takes over what it asks of the window.
  void toController(const PointerInput &in);
  bool historyStep(bool back);
  // The scene drawn plainly, as it is while the camera moves.
  void drawFast();

  Scene &scene_;
  View &view_;
  InteractionController &controller_;
  UserInterface &ui_;
  GlToolFeedback feedback_;
  PaintReaction out_;
  PaintContext ctx_{canvas, toolbox, feedback_, &scene_, &view_};
  bool stroke_ = false; // a left press reached the tool and its release has not
};
