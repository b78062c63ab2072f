#include "paint/tools/paint_window_input.h"

#include "paint/layer_commands.h"
#include "paint/paint_surface.h"
#include "paint/stroke_commit.h"
#include "paint/tools/face_tools.h"
#include "paint/tools/paint_images.h"
#include "paint/tools/paint_session.h"
#include "paint/tools/stamp_tools.h"
#include "view/frame.h"

#include <GL/gl.h>

PaintWindowInput::PaintWindowInput(Scene &scene, View &view, InteractionController &controller,
                                   UserInterface &ui)
    : scene_(scene), view_(view), controller_(controller), ui_(ui), feedback_(scene, view, canvas) {
}

bool PaintWindowInput::enter(int32_t width, int32_t height, double pixelRatio) {
  view_.resize(width, height, pixelRatio);
  view_.renderer.setTextures(true);
  if (!PreparePainting(ctx_))
    return false;
  showPrompt(true);
  return true;
}

void PaintWindowInput::useFirstEntryTool() {
  toolbox.SelectTool(ctx_, kPaintbrushTool);
  PaintTool &brush = toolbox.current();
  brush.setColour(ctx_, packRgba(0, 0, 0));
  brush.setHardness(ctx_, 0.5f);
  brush.setOpacity(ctx_, 255);
  brush.setSize(ctx_, 32, 32);
}

void PaintWindowInput::resize(int32_t width, int32_t height, double pixelRatio) {
  view_.resize(width, height, pixelRatio);
  viewChanged();
}

void PaintWindowInput::viewChanged() { PreparePainting(ctx_); }

void PaintWindowInput::paint() {
  if (inCamera())
    return drawFast();
  DrawPaintView(scene_, view_, canvas);
  glFlush();
}

PaintReaction PaintWindowInput::pointer(const PointerInput &in) {
  out_ = {};
  const bool camera = inCamera();
  // The tools work on the canvas, in frame-buffer pixels with y upward; the camera mode takes
  // window pixels.
  const float ratio = view_.camera.pixelRatio();
  const int32_t x = int32_t(float(in.x) * ratio);
  const int32_t y = view_.camera.deviceHeight - 1 - int32_t(float(in.y) * ratio);
  if (in.kind == PointerInput::Press)
    press(in, camera, x, y);
  else if (in.kind == PointerInput::Release)
    release(in, camera, x, y);
  else
    move(in, camera, x, y);
  return out_;
}

void PaintWindowInput::press(const PointerInput &in, bool camera, int32_t x, int32_t y) {
  if (in.button == Button::Left && !camera) {
    stroke_ = true;
    toolbox.current().press(ctx_, x, y);
    out_.swatch = toolbox.currentIndex() == kColorPickerTool;
  } else if (in.button == Button::Right && !in.mods.ctrl && !camera) {
    out_.brushOptions = true;
  }
}

void PaintWindowInput::release(const PointerInput &in, bool camera, int32_t x, int32_t y) {
  if (in.button == Button::Left) {
    if (camera) {
      leaveCamera(in);
    } else if (stroke_) {
      stroke_ = false;
      toolbox.current().release(ctx_, x, y);
    }
  } else if (in.button == Button::Middle || (in.button == Button::Right && in.mods.ctrl)) {
    if (in.button == Button::Right && camera)
      leaveCamera(in);
    else if (!camera && !stroke_)
      enterCamera(in);
  }
}

void PaintWindowInput::move(const PointerInput &in, bool camera, int32_t x, int32_t y) {
  if (in.leftHeld && !camera) {
    if (stroke_)
      toolbox.current().drag(ctx_, x, y);
    out_.swatch = stroke_ && toolbox.currentIndex() == kColorPickerTool;
  } else if (camera && (in.middleHeld || !in.leftHeld)) {
    toController(in); // zoom with the middle button held, orbit with none
    drawFast();
  } else if (!camera && !in.middleHeld && !in.rightHeld) {
    toolbox.current().hover(ctx_, x, y);
  }
}

void PaintWindowInput::enterCamera(const PointerInput &in) {
  PointerInput middleUp = in;
  middleUp.kind = PointerInput::Release;
  middleUp.button = Button::Middle;
  middleUp.mods = {};
  toolbox.current().deactivate(ctx_); // takes back what the tool shows on the view
  toController(middleUp);
  out_.cameraCursor = true;
  drawFast();
}

void PaintWindowInput::leaveCamera(const PointerInput &in) {
  PointerInput leftUp = in;
  leftUp.kind = PointerInput::Release;
  leftUp.button = Button::Left;
  leftUp.mods = {};
  toController(leftUp);
  out_.toolCursor = true;
  PreparePainting(ctx_, false); // the canvas for the new view, which it draws
  showPrompt(false);
}

void PaintWindowInput::toController(const PointerInput &in) {
  const Reaction r = controller_.pointer(in);
  if (r.warp) {
    out_.warp = true;
    out_.warpX = r.warpX;
    out_.warpY = r.warpY;
  }
}

void PaintWindowInput::drawFast() {
  const bool textures = view_.renderer.textures();
  view_.renderer.setTextures(false);
  view_.camera.perspective = 0;
  drawFrame(view_, scene_, {InteractionMode::Camera, FrameLists::Kept, false});
  view_.renderer.setTextures(textures);
  glFlush();
}

void PaintWindowInput::showPrompt(bool entering) {
  int32_t index = toolbox.currentIndex();
  if (entering && (index == kLightenTool || index == kShadowTool))
    index = index == kLightenTool ? kShadowTool : kLightenTool;
  const char *prompt = paintToolInfo(index).prompt;
  if (*prompt)
    ui_.setStatus(prompt);
}

bool PaintWindowInput::selectTool(int32_t index) {
  if (index == kStampTool && toolbox.stamp().image().empty())
    return importImage(kStampTarget);
  if (!toolbox.SelectTool(ctx_, index))
    return false;
  showPrompt(false);
  return true;
}

uint32_t PaintWindowInput::toolColour() const {
  const int32_t index = toolbox.currentIndex();
  return index == kEraserTool || index == kObjectFillTool ? toolbox.baseColour
                                                          : toolbox.paintColour;
}

void PaintWindowInput::setToolColour(uint32_t rgba) { toolbox.current().setColour(ctx_, rgba); }

bool PaintWindowInput::historyStep(bool back) {
  if (!canvas.dirtyRect.empty())
    CommitStroke(scene_, view_, canvas); // what is painted is a step before it is undone
  if (!(back ? scene_.UndoStep() : scene_.RedoStep()))
    return false;
  if (const TexelJournal *texels = scene_.lastTexelStep()) {
    ReloadTexels(scene_, *texels);
    RefreshCanvas(scene_, view_, canvas);
  } else {
    PreparePainting(ctx_); // surfaces, lists, textures and canvas for the scene the step left
  }
  feedback_.redraw();
  return true;
}

bool PaintWindowInput::eraseAll() {
  const uint32_t c = toolColour();
  if (!EraseAllPaint(scene_, view_, canvas, {redOf(c), greenOf(c), blueOf(c), alphaOf(c)}))
    return false;
  feedback_.redraw();
  return true;
}

bool PaintWindowInput::toggleReveal() { return ToggleReveal(ctx_, ui_, imageFolder); }
bool PaintWindowInput::togglePattern() { return TogglePattern(ctx_, ui_, imageFolder); }

bool PaintWindowInput::importImage(int32_t target) {
  const bool chosen = ImportPaintImage(ctx_, ui_, imageFolder, target);
  showPrompt(false);
  return chosen;
}

bool PaintWindowInput::project(int32_t type) {
  return ProjectPaintImage(ctx_, ui_, imageFolder, type);
}

bool PaintWindowInput::toggleMask() {
  ToggleFaceMask(ctx_, false);
  return true;
}

bool PaintWindowInput::toggleInverseMask() {
  ToggleFaceMask(ctx_, true);
  return true;
}
