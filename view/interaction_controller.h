// The model window's input state machine: camera mode (orbit, zoom, spin), select mode (hover
// highlight, click and drag selection, rubber band, operations menu) and drag mode (an
// interactive operation follows the mouse until a left click commits or a right click cancels).
// It takes plain events of our own, so the window, tests and scripts drive it alike; it never
// calls the window but says in a Reaction what the window must do. Event handlers need the model
// window's OpenGL context current (picking and list rebuilds draw) and never throw: events in
// impossible orders change nothing.
#pragma once

#include "ops/drag.h"
#include "ops/drag_origin.h"
#include "ops/operation_commands.h"
#include "ops/operation_ids.h"
#include "ops/operation_table.h"
#include "ops/snap.h"
#include "scene/scene.h"
#include "view/operations_menu.h"
#include "view/typed_amount.h"
#include "view/vertex_snap.h"
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
// Shift, Ctrl and the repeat key D, and the keys of an amount typed during a drag: a typed
// character (press only), Backspace, Enter and Escape.
struct KeyInput {
  enum Key : uint8_t { Shift, Ctrl, RepeatLast, Character, Backspace, Enter, Escape } key = Shift;
  bool press = true;
  char32_t character = 0; // Character: the code point typed
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

  // A press, release or motion. A motion in the select mode with no button held asks for a
  // frame only when the hovered element changes: nothing else on screen follows it.
  Reaction pointer(const PointerInput &input);
  // Shift and Ctrl change the drag's snapping, D repeats. In DragMode the typing keys edit an
  // amount entry: a digit, "-" or "." opens it (for drag kinds with a unit; the others say they
  // take none), further characters are added (at most AmountEntry::kMaxCharacters), Backspace
  // takes the last one back (emptying the entry closes it), Escape closes it and Enter applies
  // it: the drag is set to exactly that amount (setDragAmount) and committed as a left click
  // commits it. An empty entry's Enter closes it; text that is no amount shows amountRefusal in
  // the status line and keeps the entry open. While the entry is open the status line shows it
  // ("Move normal = 2.5_") and the mouse still moves the drag. The typing keys do nothing
  // outside DragMode.
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
  // In DragMode, sets the running operation to exactly `amount` of its drag kind's measure from
  // where its setup left it, as one motion of that amount from the start would (whatever the
  // mouse did before), leaving the drag running. False as dragBy is.
  bool setDragAmount(float amount);
  // Whether an amount entry is open (only in DragMode).
  bool typing() const { return entry_.open(); }
  const std::string &typedText() const { return entry_.text(); }
  // The amount the last Enter applied, once: true with the amount the first time after an Enter
  // whose text was an amount, false after that. committed tells whether the drag was committed,
  // or a mesh fault in that amount ended it (recovered).
  bool takeEnteredAmount(float &amount, bool &committed);
  // The status line of a running drag: "Move normal: 1.250 (Shift: steps of 10)" with the
  // amount applied so far in the kind's measure (dragAmountText) and the snapping state, or
  // the entry ("Move normal = 2.5_"). The name is the operation's title (or command-line name)
  // with its axis for axis-bound operations, or the drag kind's name when a script changed it.
  std::string dragStatus() const;
  // What the running drag has applied so far.
  const DragProgress &dragProgress() const { return progress_; }
  // The vertex a Ctrl snap holds the dragged handle on; false when none.
  bool snapTarget(SnapTarget &target) const;
  // In SelectMode, when the selection changed since the last call: shows its measurement
  // (ops/measurements.h), or the select prompt when it has none and a measurement was shown
  // before (other status texts are left alone then). The select mode's motions show the same
  // text, kept up to date with the scene.
  void showSelectionStatus();
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
  // The typing keys in DragMode.
  void typeKey(const KeyInput &input);
  void enterTypedAmount();
  void returnToMouse();
  void showDragStatus();
  std::string dragTitle() const;
  // The progress restarted when the drag kind changed under it (a script's drag-kind record).
  void followDragKind();
  // Ctrl during a free move of vertices, edges or faces: the handle onto the nearest vertex.
  bool vertexSnapApplies() const;
  void snapStep(DragMotion &motion, int32_t x, int32_t y);
  // The dragged vertices (the selection, or the auxiliary vertex list of edges and faces); the
  // first is the handle.
  std::vector<ElementRef> draggedVertices() const;
  // The select prompt or the measurement of the selection.
  std::string selectStatus();
  // The drag's own state dropped when it ends.
  void endDragState();

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
  const OperationRow *startedRow_ = nullptr; // the row the running drag was started from
  DragOrigin origin_;                        // the scene as the drag's setup left it
  DragProgress progress_;                    // what the drag's motions have applied
  int32_t progressKind_ = kDragNone;         // the drag kind progress_ counts for
  AmountEntry entry_;
  bool entered_ = false, enteredCommitted_ = false;
  float enteredAmount_ = 0;
  SnapTarget snapTarget_; // the vertex the handle is held on
  moVec3 snapOffset_;     // the translation that puts the handle there
  bool offMouse_ = false; // the mesh shows a Ctrl snap rather than the mouse's free move
  struct MeasureKey {
    uint64_t version = 0;
    int32_t mode = -1, count = -1;
    ElementRef first, second;
    bool operator==(const MeasureKey &o) const {
      return version == o.version && mode == o.mode && count == o.count && first == o.first &&
             second == o.second;
    }
  };
  MeasureKey selectionKey() const;
  MeasureKey measured_; // the selection and scene version selectStatus_ was made for
  std::string selectStatus_;
  MeasureKey shown_;              // the selection (version 0) showSelectionStatus last looked at
  bool measurementShown_ = false; // what it showed was a measurement
};
