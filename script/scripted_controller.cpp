#include "script/scripted_controller.h"

#include "ops/operation_commands.h"
#include "script/command_table.h"
#include "script/script_commands.h"
#include "view/picking.h"

namespace {

int32_t buttonNumber(Button b) {
  return b == Button::Left ? 1 : b == Button::Middle ? 2 : b == Button::Right ? 3 : 0;
}
Button buttonOf(int32_t number) {
  return number == 1   ? Button::Left
         : number == 2 ? Button::Middle
         : number == 3 ? Button::Right
                       : Button::None;
}
constexpr int32_t kLeftHeld = 0x100, kZoomHeld = 0x200;

} // namespace

ScriptedController::ScriptedController(InteractionController &controller, CommandLayer &layer)
    : controller_(controller), layer_(layer) {}

ScriptedController::Before ScriptedController::snapshot() const {
  const SceneRenderer &r = layer_.view().renderer;
  return {controller_.mode(), r.hoverKind(), r.hoverObject(), r.hoverElement(),
          layer_.scene().selection.Count()};
}

// --- Live input ---

Reaction ScriptedController::pointer(const PointerInput &in) {
  ScriptRecorder &rec = layer_.recorder();
  if (in.kind == PointerInput::Press) {
    // A press picks at its own position before it acts; the hover it finds goes into the script
    // ahead of the press, so that playback presses on the same element.
    Before before = snapshot();
    const Reaction reaction = controller_.pointer(in);
    recordHover(before);
    rec.press(buttonNumber(in.button), in.x, in.y);
    return recordEffects(before, in, reaction);
  }
  if (in.kind == PointerInput::Release) {
    rec.release(buttonNumber(in.button), in.x, in.y);
  } else {
    const bool camera = controller_.mode() == InteractionController::CameraMode;
    const int32_t word = camera && (in.middleHeld || in.rightHeld) ? kZoomHeld
                         : in.leftHeld                             ? kLeftHeld
                                                                   : 0;
    if (word != recordedButtons_)
      rec.buttons(word);
    recordedButtons_ = word;
    rec.move(in.x, in.y);
  }
  Before before = snapshot();
  return recordEffects(before, in, controller_.pointer(in));
}

void ScriptedController::recordHover(Before &before) {
  const SceneRenderer &r = layer_.view().renderer;
  if (r.hoverKind() == before.hoverKind && r.hoverObject() == before.hoverObject &&
      r.hoverElement() == before.hoverElement)
    return;
  layer_.recorder().hover(r.hoverKind(), r.hoverObject(), r.hoverElement());
  before.hoverKind = r.hoverKind();
  before.hoverObject = r.hoverObject();
  before.hoverElement = r.hoverElement();
}

Reaction ScriptedController::cancelDrag() {
  if (controller_.mode() != InteractionController::DragMode)
    return {};
  PointerInput in;
  in.kind = PointerInput::Press;
  in.button = Button::Right;
  in.x = controller_.lastX;
  in.y = controller_.lastY;
  const Reaction cancelled = pointer(in);
  in.kind = PointerInput::Release;
  pointer(in); // ends the click, which opens no menu after a cancel
  return cancelled;
}

Reaction ScriptedController::recordEffects(Before &before, const PointerInput &in,
                                           Reaction reaction) {
  ScriptRecorder &rec = layer_.recorder();
  const SceneRenderer &r = layer_.view().renderer;
  const ElementRef pressed{before.hoverElement, before.hoverObject}; // what a press picked
  recordHover(before);
  const int32_t count = layer_.scene().selection.Count();
  if (count != before.selectionCount && in.kind == PointerInput::Press)
    rec.toggle(pressed.object, pressed.element);
  else if (count != before.selectionCount && in.kind == PointerInput::Move)
    rec.dragSelect(count > before.selectionCount, r.hoverObject(), r.hoverElement());
  if (before.mode != InteractionController::SelectMode &&
      controller_.mode() == InteractionController::SelectMode)
    rec.stepMarker();
  return reaction;
}

Reaction ScriptedController::key(const KeyInput &in) {
  if (in.key == KeyInput::RepeatLast) {
    const moVec3 &a = controller_.axis;
    const int32_t code = operationCode(controller_.operationId);
    if (in.press && code)
      layer_.execute(uint8_t(code), {a.y == 1 ? 1 : a.z == 1 ? 2 : 0});
    return takeReaction();
  }
  if (in.key != KeyInput::Shift && in.key != KeyInput::Ctrl)
    return typedKey(in);
  const bool shift = in.key == KeyInput::Shift;
  bool &held = shift ? controller_.snap : ctrl_;
  if (held != in.press) {
    if (in.press)
      layer_.recorder().keyDown(shift ? 1 : 2);
    else
      layer_.recorder().keyUp(shift ? 1 : 2);
  }
  if (!shift)
    ctrl_ = in.press;
  return controller_.key(in);
}

// The entry's keys themselves are not recorded: what Enter applies is, as the amount, the left
// click that commits it (at the window's centre, as the controller makes it) and the step
// marker, so that playback sets the drag to the same amount.
Reaction ScriptedController::typedKey(const KeyInput &in) {
  const InteractionController::Mode before = controller_.mode();
  const Reaction reaction = controller_.key(in);
  ScriptRecorder &rec = layer_.recorder();
  float amount = 0;
  bool committed = false;
  if (controller_.takeEnteredAmount(amount, committed)) {
    rec.dragAmount(amount);
    const Camera &camera = layer_.view().camera;
    if (committed) {
      rec.press(1, camera.width / 2, camera.height / 2);
      rec.release(1, camera.width / 2, camera.height / 2);
    }
  }
  if (before != InteractionController::SelectMode &&
      controller_.mode() == InteractionController::SelectMode)
    rec.stepMarker();
  return reaction;
}

Reaction ScriptedController::choose(const MenuCommand &command) {
  const int32_t code = command.kind == MenuCommand::Kind::Operation    ? operationCode(command.id)
                       : command.kind == MenuCommand::Kind::Unnumbered ? commandCode(command.id)
                                                                       : 0;
  if (command.kind == MenuCommand::Kind::Primitive) {
    layer_.execute(kScriptAddPrimitive, {command.id});
    Reaction redraw;
    redraw.redraw = true;
    return redraw;
  }
  if (command.kind == MenuCommand::Kind::Statistics) {
    layer_.run(kCommandObjectStatistics);
    return {};
  }
  if (!code)
    return controller_.choose(command);
  layer_.execute(uint8_t(code), {command.argument});
  return takeReaction();
}

Reaction ScriptedController::takeReaction() {
  Reaction taken = pending_;
  pending_ = {};
  return taken;
}

// --- Played-back input ---

// While playing, the selection changes of a left press and of moves in the select mode come
// from the script's click records, and hover results from its hover records: the live pointer
// picks nothing.
Reaction ScriptedController::playPointer(PointerInput in) {
  in.mods.ctrl = ctrl_;
  Scene &scene = layer_.scene();
  SceneRenderer &r = layer_.view().renderer;
  const Before before = snapshot();
  const bool keepSelection = playing_ && before.mode == InteractionController::SelectMode &&
                             (in.kind == PointerInput::Move ||
                              (in.kind == PointerInput::Press && in.button == Button::Left));
  SelectionList kept;
  if (keepSelection)
    kept = scene.selection;
  const Reaction reaction = controller_.pointer(in);
  if (keepSelection)
    scene.selection = kept;
  if (playing_ && in.kind == PointerInput::Move)
    r.setHover(before.hoverKind, before.hoverObject, before.hoverElement);
  return reaction;
}

void ScriptedController::press(int32_t button, int32_t x, int32_t y) {
  PointerInput in;
  in.kind = PointerInput::Press;
  in.button = buttonOf(button);
  in.x = x;
  in.y = y;
  playPointer(in);
}

void ScriptedController::release(int32_t button, int32_t x, int32_t y) {
  PointerInput in;
  in.kind = PointerInput::Release;
  in.button = buttonOf(button);
  in.x = x;
  in.y = y;
  playPointer(in);
}

void ScriptedController::move(int32_t x, int32_t y) {
  PointerInput in;
  in.x = x;
  in.y = y;
  in.leftHeld = buttons_ == kLeftHeld;
  in.middleHeld = buttons_ == kZoomHeld;
  playPointer(in);
}

void ScriptedController::setLastPosition(int32_t x, int32_t y) {
  controller_.lastX = x;
  controller_.lastY = y;
  if (x == -1 && y == -1)
    buttons_ = recordedButtons_ = 0;
}

void ScriptedController::playKey(int32_t key, bool press) {
  KeyInput in;
  in.press = press;
  if (key == 1) {
    in.key = KeyInput::Shift;
  } else if (key == 2) {
    in.key = KeyInput::Ctrl;
    ctrl_ = press;
  } else {
    return; // the third modifier flag changes nothing here
  }
  controller_.key(in);
}

void ScriptedController::regionSelect(int32_t x, int32_t y, int32_t width, int32_t height,
                                      int32_t kind, int32_t capacity) {
  View &view = layer_.view();
  RegionPick(layer_.scene(), view.renderer, view.camera, x, y, width, height, kind, capacity);
}

void ScriptedController::wheel(int32_t delta) {
  layer_.recorder().wheel(delta);
  pending_ = controller_.wheel(delta);
}

bool ScriptedController::inSelectMode() const {
  return controller_.mode() == InteractionController::SelectMode;
}

bool ScriptedController::startOperation(int32_t operationId, int32_t argument) {
  if (!hasOperationCommand(operationId))
    return false;
  const int32_t previous = controller_.operationId;
  controller_.operationId = kOpNone; // set again only when the operation is accepted
  pending_ = controller_.startOperation(operationId, argument);
  if (controller_.operationId != operationId) {
    controller_.operationId = previous;
    return true;
  }
  recordDragKind();
  layer_.recorder().operationStarted(operationId);
  return true;
}

bool ScriptedController::runCommand(int32_t command, int32_t argument) {
  if (!hasUnnumberedCommand(command))
    return false;
  pending_ = controller_.runCommand(command, argument);
  recordDragKind();
  return true;
}

void ScriptedController::recordDragKind() {
  if (controller_.mode() == InteractionController::DragMode)
    layer_.recorder().dragKind(controller_.dragKind);
}

void ScriptedController::releaseSnap() { controller_.snap = false; }
