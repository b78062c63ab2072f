#include "view/interaction_controller.h"

#include "ops/operation_table.h"

#include "ops/drag.h"
#include "ops/measurements.h"
#include "ops/operation_commands.h"
#include "view/picking.h"
#include "view/projection.h"

#include <algorithm>
#include <cstdlib>
#include <exception>

namespace {

const char *const kCameraStatus = "(CLICK-L) to exit camera mode; (HOLD-M) or (HOLD-R) to zoom";
const char *const kSelectStatus = "(CLICK-L) to select an element; (CLICK-M) or (CLICK-R+Ctrl) to "
                                  "start the camera; (CLICK-R) to see a menu of operations";
constexpr int32_t kLeftHeld = 0x100, kZoomHeld = 0x200;

} // namespace

InteractionController::InteractionController(Scene &scene, View &view, UserInterface &ui)
    : scene_(scene), view_(view), ui_(ui) {}

InteractionMode InteractionController::interactionMode() const {
  return mode_ == CameraMode ? InteractionMode::Camera
         : mode_ == DragMode ? InteractionMode::Drag
                             : InteractionMode::Select;
}

Reaction InteractionController::pointer(const PointerInput &in) {
  out_ = {};
  const bool camera = mode_ == CameraMode;
  try {
    // Ctrl+left commits a drag too: Ctrl holds a free move's handle on a vertex.
    const bool left = in.button == Button::Left && (!in.mods.ctrl || mode_ == DragMode);
    if (in.kind == PointerInput::Press) {
      if (left)
        Press(Button::Left, in.x, in.y);
      else if (in.button == Button::Middle)
        Press(Button::Middle, in.x, in.y);
      else if (in.button == Button::Right && in.mods.ctrl)
        Press(camera ? Button::Left : Button::Middle, in.x, in.y);
      else if (in.button == Button::Right && !camera) {
        Press(Button::Right, in.x, in.y);
        out_.redraw = true;
      }
    } else if (in.kind == PointerInput::Release) {
      const bool leftUp = left || (in.button == Button::Right && in.mods.ctrl && camera);
      if (leftUp) {
        Release(Button::Left, in.x, in.y);
        out_.redraw = true;
      } else if (in.button == Button::Middle || (in.button == Button::Right && in.mods.ctrl)) {
        Release(Button::Middle, in.x, in.y);
      } else if (in.button == Button::Right && !camera) {
        if (mode_ == SelectMode && !cancelledDrag_)
          out_.menu = menuForSelection();
        cancelledDrag_ = false;
        Release(Button::Right, in.x, in.y);
      }
    } else if (view_.antialias == 0) { // no motion while antialiased frames accumulate
      buttonWord_ = camera && (in.middleHeld || in.rightHeld) ? kZoomHeld
                    : in.leftHeld                             ? kLeftHeld
                                                              : 0;
      const SceneRenderer &r = view_.renderer;
      const int32_t hover[3] = {r.hoverKind(), r.hoverObject(), r.hoverElement()};
      const bool hoverOnly = mode_ == SelectMode && buttonWord_ == 0;
      Move(in.x, in.y, MotionCause::Pointer);
      out_.redraw = !hoverOnly || mode_ != SelectMode || hover[0] != r.hoverKind() ||
                    hover[1] != r.hoverObject() || hover[2] != r.hoverElement();
    }
    showSelectionStatus();
  } catch (const std::exception &) {
    // A fault in a step has been recovered where it happened; the event ends here.
  }
  return out_;
}

Reaction InteractionController::key(const KeyInput &in) {
  out_ = {};
  if (in.key == KeyInput::RepeatLast)
    return in.press ? RepeatLastOperation() : out_;
  if (in.key != KeyInput::Shift && in.key != KeyInput::Ctrl) {
    try {
      if (in.press && mode_ == DragMode)
        typeKey(in);
    } catch (const std::exception &failure) {
      // A list rebuild over a broken mesh as the typed amount's commit ends the drag.
      ui_.messageBox(failure.what());
      SetMode(SelectMode);
    }
    return out_;
  }
  bool &flag = in.key == KeyInput::Shift ? snap : ctrl_;
  if (flag == in.press)
    return out_;
  flag = in.press;
  try {
    Move(lastX, lastY, in.key == KeyInput::Shift ? MotionCause::Shift : MotionCause::Ctrl);
  } catch (const std::exception &) {
  }
  out_.redraw = true;
  return out_;
}

Reaction InteractionController::wheel(int32_t delta) {
  out_ = {};
  wheelZoom(view_.camera, delta);
  ui_.setStatus(kCameraStatus);
  out_.redraw = true;
  return out_;
}

Reaction InteractionController::tick() {
  out_ = {};
  if (view_.cameraMode.spinTick(view_.camera))
    out_.redraw = true;
  else
    out_.stopSpinTimer = true;
  return out_;
}

void InteractionController::SetMode(Mode m) {
  const Mode old = mode_;
  if (m == SelectMode) {
    out_.cursor = CursorShape::Arrow;
    out_.releaseCapture = true;
    if (old == DragMode) {
      endDragState();
      view_.renderer.RebuildLists(scene_, true);
      scene_.previousSelection.Clear();
      ui_.setStatus(selectStatus()); // the drag's readout no longer applies
    }
  } else {
    out_.capture = true;
    out_.cursor = CursorShape::Camera;
    if (m == CameraMode && old == DragMode)
      view_.renderer.RebuildLists(scene_, true);
    if (m == DragMode && old != DragMode)
      view_.renderer.RebuildLists(scene_, false);
    if (m == CameraMode && old != CameraMode)
      previousMode_ = old;
  }
  mode_ = m;
}

void InteractionController::resetMotion() {
  accumulatedX = accumulatedY = 0;
  accumulatedMove = {};
}

void InteractionController::Press(Button b, int32_t x, int32_t y) {
  lastX = x;
  lastY = y;
  resetMotion();
  ::CameraMode &spin = view_.cameraMode;
  if (b == Button::Left) {
    spin.spinArmed = false;
    if (mode_ == SelectMode)
      pressLeftInSelect(x, y);
  } else if (b == Button::Middle) {
    spin.spinArmed = !spin.spinArmed;
  } else if (b == Button::Right) {
    spin.spinArmed = false;
    lastX = lastY = -1;
    if (mode_ == CameraMode)
      SetMode(previousMode_);
    cancelledDrag_ = mode_ == DragMode;
    if (cancelledDrag_)
      scene_.Undo(false); // cancel: the state saved when the operation started comes back
    SetMode(SelectMode);
  }
}

void InteractionController::hoverAt(int32_t x, int32_t y) {
  if (mode_ != SelectMode)
    return;
  SceneRenderer &r = view_.renderer;
  if (r.pickKind() != moFREE)
    scene_.mode = SelectionMode(r.pickKind());
  HoverPick(scene_, r, view_.camera, ui_, x, y);
}

void InteractionController::pressLeftInSelect(int32_t x, int32_t y) {
  pressAdds_ = true;
  pressHit_ = false;
  // The pointer may have jumped since the last motion was picked (or the first motion after a
  // click only recorded its position): the press acts on what is under it now.
  if (!playing)
    hoverAt(x, y);
  SceneRenderer &r = view_.renderer;
  const ElementRef hovered{r.hoverElement(), r.hoverObject()};
  if (r.hoverElement() == -1 || !scene_.objectOf(hovered, true) ||
      !scene_.elementExists(hovered, SelectionMode(r.hoverKind())))
    return;
  pressHit_ = true;
  const bool automatic = r.pickKind() == moFREE && scene_.selection.Empty();
  if (automatic)
    r.setPickKind(r.hoverKind());
  pressAdds_ = scene_.ClickSelect(hovered, SelectionMode(r.hoverKind()), automatic);
}

void InteractionController::Release(Button b, int32_t x, int32_t y) {
  if (b == Button::Left) {
    if (mode_ == CameraMode)
      SetMode(previousMode_);
    else if (mode_ == SelectMode && !pressHit_ && accumulatedX != 0 && accumulatedY != 0)
      rubberBandSelect(x, y);
    else if (mode_ == DragMode)
      SetMode(SelectMode); // commit: the mesh keeps its shape
  } else if (b == Button::Middle) {
    if (view_.cameraMode.releaseSpin(view_.camera)) {
      out_.startSpinTimer = true;
      out_.redraw = true;
    }
    SetMode(CameraMode);
  }
  pressHit_ = false;
  lastX = lastY = -1;
  resetMotion();
}

bool InteractionController::leavesCentre(int32_t x, int32_t y) {
  const int32_t w = view_.camera.width, h = view_.camera.height;
  if (x >= w / 4 && x <= w - w / 4 && y >= h / 4 && y <= h - h / 4)
    return false;
  out_.warp = true;
  out_.warpX = w / 2;
  out_.warpY = h / 2;
  lastX = w / 2 + lastX - x;
  lastY = h / 2 + lastY - y;
  return true;
}

void InteractionController::Move(int32_t x, int32_t y, MotionCause cause) {
  if (lastX == -1 && lastY == -1) {
    lastX = x;
    lastY = y;
    return;
  }
  // A Ctrl snap needs the pointer to reach vertices anywhere in the window: no warp then.
  const bool snapping = mode_ == DragMode && ctrl_ && vertexSnapApplies();
  if (mode_ != SelectMode && cause == MotionCause::Pointer && !snapping && leavesCentre(x, y))
    return;
  const int32_t dx = x - lastX, dy = y - lastY;
  accumulatedX += dx;
  accumulatedY += dy;
  if (mode_ == CameraMode)
    cameraMove(x, y, dx, dy);
  else if (mode_ == DragMode)
    dragStep(dx, dy, x, y, cause);
  else
    moveInSelect(x, y);
  lastX = x;
  lastY = y;
}

InteractionController::MeasureKey InteractionController::selectionKey() const {
  const SelectionList &sel = scene_.selection;
  const int32_t n = sel.Count();
  return {scene_.version(), scene_.mode, n, n > 0 ? sel.Get(0) : ElementRef{},
          n > 1 ? sel.Get(1) : ElementRef{}};
}

std::string InteractionController::selectStatus() {
  const MeasureKey key = selectionKey();
  if (!(key == measured_) || selectStatus_.empty()) {
    measured_ = key;
    const std::string measured = measureSelection(scene_);
    selectStatus_ = measured.empty() ? kSelectStatus : measured;
  }
  return selectStatus_;
}

void InteractionController::showSelectionStatus() {
  if (mode_ != SelectMode)
    return;
  MeasureKey key = selectionKey();
  key.version = 0;
  if (key == shown_)
    return;
  shown_ = key;
  const std::string status = selectStatus();
  const bool measurement = status != kSelectStatus;
  if (measurement || measurementShown_)
    ui_.setStatus(status);
  measurementShown_ = measurement;
}

void InteractionController::cameraMove(int32_t x, int32_t y, int32_t dx, int32_t dy) {
  ui_.setStatus(kCameraStatus);
  ::CameraMode &c = view_.cameraMode;
  if (buttonWord_ != kZoomHeld) {
    c.orbit(view_.camera, x, y, x - dx, y - dy);
    return;
  }
  // A mainly horizontal motion with the spin armed is a spin gesture, not a zoom.
  if (c.spinArmed && std::abs(accumulatedX) + 4 >= std::abs(4 * accumulatedY))
    c.trackSpin(dx);
  c.zoom(view_.camera, y, y - dy, accumulatedX, accumulatedY);
}

void InteractionController::moveInSelect(int32_t x, int32_t y) {
  ui_.setStatus(selectStatus());
  hoverAt(x, y);
  SceneRenderer &r = view_.renderer;
  const ElementRef hovered{r.hoverElement(), r.hoverObject()};
  if (buttonWord_ != kLeftHeld || !pressHit_ || r.hoverElement() == -1 ||
      !scene_.elementExists(hovered, SelectionMode(r.hoverKind())))
    return;
  if (r.pickKind() == moFREE && scene_.selection.Empty()) {
    scene_.mode = SelectionMode(r.hoverKind());
    r.setPickKind(r.hoverKind());
  }
  if (r.hoverKind() == scene_.mode)
    scene_.DragSelect(hovered, pressAdds_);
}

void InteractionController::rubberBandSelect(int32_t x, int32_t y) {
  const int32_t kind = scene_.mode, h = view_.camera.height;
  if (kind < moVERTICES || kind > moOBJECTS)
    return;
  int64_t names = 0;
  for (int32_t i = 0; i < scene_.objects.count(); ++i) {
    const moObject *obj = scene_.object(i);
    if (kind == moOBJECTS)
      names += 10;
    else if (obj && obj->visible && obj->sensitive)
      names += 10 * int64_t(kind == moVERTICES ? obj->vertices.count()
                            : kind == moEDGES  ? obj->edges.count()
                                               : obj->faces.count());
  }
  const int32_t ax = accumulatedX, ay = accumulatedY;
  RegionPick(scene_, view_.renderer, view_.camera, x - (ax >> 1), h + (ay >> 1) - y, std::abs(ax),
             std::abs(ay), kind, int32_t(std::min<int64_t>(names, 1 << 26)));
}

bool InteractionController::rubberBand(int32_t corners[4]) const {
  if (mode_ != SelectMode || pressHit_ || buttonWord_ != kLeftHeld || accumulatedX == 0 ||
      accumulatedY == 0)
    return false;
  const int32_t h = view_.camera.height;
  corners[0] = lastX - accumulatedX;
  corners[1] = h + accumulatedY - lastY;
  corners[2] = lastX;
  corners[3] = h - lastY;
  return true;
}

MenuKind InteractionController::menuForSelection() const {
  if (scene_.selection.Empty())
    return MenuKind::Primitives;
  const int32_t kind =
      view_.renderer.pickKind() == moFREE ? scene_.mode : view_.renderer.pickKind();
  switch (kind) {
  case moVERTICES:
    return MenuKind::Vertices;
  case moEDGES:
    return MenuKind::Edges;
  case moFACES:
    return MenuKind::Faces;
  case moOBJECTS:
    return MenuKind::Objects;
  default:
    return MenuKind::None;
  }
}

Reaction InteractionController::guarded(const std::function<void()> &work) {
  out_ = {};
  try {
    work();
  } catch (const std::exception &failure) {
    // Setups recover from their own faults; this catches a list rebuild over a broken mesh.
    ui_.messageBox(failure.what());
    SetMode(SelectMode);
  }
  return out_;
}

Reaction InteractionController::startOperation(int32_t id, int32_t axisArgument) {
  startAccepted_ = false;
  startedRow_ = operationRow(id);
  return guarded([&] { beginOperation(id, axisArgument); });
}

Reaction InteractionController::runCommand(int32_t command, int32_t argument) {
  startAccepted_ = false;
  startedRow_ = unnumberedRow(command);
  return guarded([&] {
    if (hasUnnumberedCommand(command) &&
        enterStart(runUnnumberedCommand(scene_, command, argument)))
      nameStep(unnumberedRow(command));
  });
}

void InteractionController::beginOperation(int32_t id, int32_t axisArgument) {
  if (hasOperationCommand(id) && enterStart(runOperationCommand(scene_, id, axisArgument))) {
    operationId = id;
    nameStep(operationRow(id));
  }
}

void InteractionController::nameStep(const OperationRow *row) {
  if (row)
    scene_.nameStep(row->title ? row->title : row->name);
}

bool InteractionController::enterStart(const OperationStart &start) {
  out_.redraw = true;
  if (!start.accepted) {
    SetMode(SelectMode);
    return false;
  }
  startAccepted_ = true;
  if (start.axisBound)
    axis = start.axis;
  if (start.interactive) {
    SetMode(DragMode);
    dragKind = start.dragKind;
    // What the motions apply is measured, and a typed amount or a snap applied, from here.
    origin_.capture(scene_);
    progressKind_ = dragKind;
    progress_ = dragStartProgress(dragKind);
    entry_.close();
    snapTarget_ = {};
    offMouse_ = false;
    entered_ = false;
    const char *prompt = dragPrompt(dragKind);
    ui_.setStatus(prompt ? prompt : dragStatus());
  } else {
    view_.renderer.RebuildLists(scene_, true);
    view_.renderer.resetHover();
    SetMode(SelectMode);
  }
  return true;
}

Reaction InteractionController::RepeatLastOperation() {
  return startOperation(operationId, repeatArgument(operationId, axis));
}

Reaction InteractionController::choose(const MenuCommand &command) {
  out_ = {};
  switch (command.kind) {
  case MenuCommand::Kind::Operation:
    return startOperation(command.id, command.argument);
  case MenuCommand::Kind::Unnumbered:
    return runCommand(command.id, command.argument);
  case MenuCommand::Kind::Primitive:
    if (command.id >= 0 && command.id < kPrimitiveTypeCount) {
      scene_.createPrimitive(PrimitiveType(command.id));
      view_.renderer.RebuildLists(scene_, true);
      out_.redraw = true;
    }
    break;
  case MenuCommand::Kind::Statistics:
    scene_.ShowInfo();
    break;
  default:
    break;
  }
  return out_;
}

std::vector<std::string>
InteractionController::droppedScenes(const std::vector<std::string> &names) {
  std::vector<std::string> scenes;
  for (const std::string &name : names) {
    const size_t n = name.size();
    if (n > 4 && n <= 260 &&
        (name.compare(n - 4, 4, ".mvo") == 0 || name.compare(n - 4, 4, ".MVO") == 0))
      scenes.push_back(name);
  }
  return scenes;
}
