// The model window's input state machine: camera mode (orbit, zoom, spin), select mode (hover
// highlight, click and drag selection, rubber band, operations menu) and drag mode (an
// interactive operation follows the mouse until a left click commits or a right click cancels).
// It takes plain events of our own, so the window, tests and scripts drive it alike; it never
// calls the window but says in a Reaction what the window must do. Event handlers need the model
// window's OpenGL context current (picking and list rebuilds draw) and never throw: events in
// impossible orders change nothing.
#pragma once

#include "ops/drag.h"
#include "ops/operation_commands.h"
#include "ops/operation_ids.h"
#include "ops/snap.h"
#include "scene/scene.h"
#include "view/operations_menu.h"
#include "view/view.h"

#include <functional>
#include <string>
#include <vector>

enum class Button : uint8_t { None, Left, Middle, Right };
struct Modifiers {
  bool shift = false, ctrl = false;
};
struct PointerInput {
  enum Kind : uint8_t { Press, Move, Release } kind = Move;
  int32_t x = 0, y = 0; // window pixels, y downward
  Button button = Button::None;
  Modifiers mods;
  bool leftHeld = false, middleHeld = false, rightHeld = false; // buttons down during a move
};
struct KeyInput {
  enum Key : uint8_t { Shift, Ctrl, RepeatLast } key = Shift;
  bool press = true;
};
enum class CursorShape : uint8_t { Unchanged, Arrow, Camera };

struct OperationRow;

// What the window must do after an event.
struct Reaction {
  bool redraw = false;
  bool startSpinTimer = false, stopSpinTimer = false;
  bool capture = false, releaseCapture = false;
  bool warp = false; // move the pointer to (warpX, warpY)
  int32_t warpX = 0, warpY = 0;
  CursorShape cursor = CursorShape::Unchanged;
  MenuKind menu = MenuKind::None; // the operations menu to show at the pointer
};

class InteractionController {
public:
  enum Mode : int32_t { CameraMode = 0, SelectMode = 1, DragMode = 3 };

  InteractionController(Scene &scene, View &view, UserInterface &ui);

  Reaction pointer(const PointerInput &input);
  Reaction key(const KeyInput &input);
  // A wheel turn zooms (camera.h wheelZoom) in any mode and redraws.
  Reaction wheel(int32_t delta);
  // One tick of the 10 ms spin timer.
  Reaction tick();
  // Runs a command chosen from the operations menu.
  Reaction choose(const MenuCommand &command);
  // Starts an operation by id (axis argument 0 X, 1 Y, 2 Z) as its command does.
  Reaction startOperation(int32_t operationId, int32_t axisArgument);
  // Runs an UnnumberedCommand (ops/operation_ids.h) the same way; the OperationId stays.
  Reaction runCommand(int32_t command, int32_t argument);
  // Whether the last startOperation or runCommand got past its checks and setup.
  bool startAccepted() const { return startAccepted_; }
  // In DragMode, moves the running operation by exactly `amount` in its drag kind's measure
  // (ops/drag.h applyDragAmount: units, degrees or a scale factor) as one motion would, leaving
  // the drag running. False, with nothing changed, outside DragMode and for drag kinds without a
  // single measure; a mesh fault recovers the scene and ends the drag (false).
  bool dragBy(float amount);
  // Key D: runs the command of the last operation again on the current selection.
  Reaction RepeatLastOperation();
  // The rubber band to draw (window corners, y upward), false when none is being dragged.
  bool rubberBand(int32_t corners[4]) const;
  // The scene files among dropped file names (".mvo" or ".MVO", at most 260 characters), in
  // order; other files are ignored.
  static std::vector<std::string> droppedScenes(const std::vector<std::string> &names);
  // The status help of a highlighted menu entry.
  void showHelp(const MenuEntry &entry) { ui_.setStatus(entry.help); }

  Mode mode() const { return mode_; }
  // A drag runs, also while the camera mode interrupts it.
  bool dragRunning() const {
    return mode_ == DragMode || (mode_ == CameraMode && previousMode_ == DragMode);
  }
  InteractionMode interactionMode() const;

  moVec3 axis{1, 0, 0};
  int32_t dragKind = kDragNone;
  int32_t operationId = kOpNone;
  int32_t accumulatedX = 0, accumulatedY = 0;
  moVec3 accumulatedMove;
  int32_t lastX = -1, lastY = -1;
  bool snap = false;
  // Script playback runs: hover results come from the script, the controller picks none itself.
  bool playing = false;

private:
  void SetMode(Mode m);
  void beginOperation(int32_t id, int32_t axisArgument);
  // Names the undo step an accepted start began after its row.
  void nameStep(const OperationRow *row);
  // Enters the drag of an accepted interactive start, or finishes an immediate one; false when
  // the start was refused.
  bool enterStart(const OperationStart &start);
  Reaction guarded(const std::function<void()> &work);
  void Press(Button b, int32_t x, int32_t y);
  void Release(Button b, int32_t x, int32_t y);
  void Move(int32_t x, int32_t y, MotionCause cause);
  void pressLeftInSelect(int32_t x, int32_t y);
  // The hover pick at (x, y) in the select mode, in the pick kind when one is fixed.
  void hoverAt(int32_t x, int32_t y);
  void moveInSelect(int32_t x, int32_t y);
  void dragStep(int32_t dx, int32_t dy, int32_t x, int32_t y, MotionCause cause);
  // What every motion of a drag brings: the axis and the viewing direction.
  DragMotion dragContext() const;
  // Applies a drag change; a mesh fault recovers the scene and ends the drag (false).
  bool applyDragChange(const std::function<void()> &change);
  bool leavesCentre(int32_t x, int32_t y);
  void cameraMove(int32_t x, int32_t y, int32_t dx, int32_t dy);
  void rubberBandSelect(int32_t x, int32_t y);
  MenuKind menuForSelection() const;
  void resetMotion();

  Scene &scene_;
  View &view_;
  UserInterface &ui_;
  Mode mode_ = SelectMode;
  Mode previousMode_ = SelectMode;
  int32_t buttonWord_ = 0; // 0x100 left held; 0x200 middle or right held in camera mode
  bool ctrl_ = false;
  bool pressAdds_ = false, pressHit_ = false;
  bool cancelledDrag_ = false; // the right press cancelled a drag: its release opens no menu
  Reaction out_;               // collected while one event is handled
  bool startAccepted_ = false;
};
