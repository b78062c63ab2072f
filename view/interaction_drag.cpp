// The drag mode of the InteractionController: the motions of a running drag, the amounts typed
// during it, its status-line readout and the Ctrl snap of a free move onto a vertex.
#include "view/interaction_controller.h"

#include "ops/drag.h"
#include "ops/transform_move.h"
#include "view/projection.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace {

// How near the pointer a vertex must be, in window pixels, for a Ctrl snap to take it.
constexpr float kSnapRadius = 10;

bool opensEntry(char32_t c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; }

} // namespace

DragMotion InteractionController::dragContext() const {
  DragMotion m;
  m.axis = axis;
  m.viewDirection = UnprojectRay(view_.camera, view_.camera.width / 2, view_.camera.height / 2);
  return m;
}

bool InteractionController::applyDragChange(const std::function<void()> &change) {
  try {
    change();
  } catch (const std::exception &failure) {
    scene_.RecoverFromFailure(failure);
    SetMode(SelectMode);
    return false;
  }
  showDragStatus();
  view_.renderer.RebuildVertexLists(scene_);
  return true;
}

void InteractionController::dragStep(int32_t dx, int32_t dy, int32_t x, int32_t y,
                                     MotionCause cause) {
  const Camera &camera = view_.camera;
  DragMotion m = dragContext();
  m.dx = dx;
  m.dy = dy;
  m.accumulatedX = accumulatedX;
  m.snap = {snap, cause};
  m.worldStep = scale(camera.perspective ? 50.0f : 1.0f,
                      UnprojectStep(camera, x, camera.height - y, dx, -dy));
  m.accumulatedMove = accumulatedMove;
  followDragKind();
  if (vertexSnapApplies())
    return snapStep(m, x, y);
  if (applyDragChange([&] { applyDragStep(scene_, dragKind, m, &progress_); }))
    accumulatedMove = m.accumulatedMove;
}

bool InteractionController::dragBy(float amount) {
  if (mode_ != DragMode || !dragUnit(dragKind))
    return false;
  followDragKind();
  const DragMotion context = dragContext();
  return applyDragChange([&] {
    applyDragAmount(scene_, dragKind, amount, context);
    addDragAmount(dragKind, progress_, amount);
  });
}

bool InteractionController::setDragAmount(float amount) {
  if (mode_ != DragMode || !dragUnit(dragKind))
    return false;
  followDragKind();
  const DragMotion context = dragContext();
  return applyDragChange([&] {
    origin_.restore(scene_);
    progress_ = dragStartProgress(dragKind);
    applyDragAmount(scene_, dragKind, amount, context);
    addDragAmount(dragKind, progress_, amount);
  });
}

bool InteractionController::takeEnteredAmount(float &amount, bool &committed) {
  if (!entered_)
    return false;
  entered_ = false;
  amount = enteredAmount_;
  committed = enteredCommitted_;
  return true;
}

void InteractionController::followDragKind() {
  if (progressKind_ == dragKind)
    return;
  progressKind_ = dragKind;
  progress_ = dragStartProgress(dragKind);
}

void InteractionController::endDragState() {
  origin_.clear();
  entry_.close();
  snapTarget_ = {};
  offMouse_ = false;
}

// --- Amounts typed during a drag ---

void InteractionController::typeKey(const KeyInput &in) {
  switch (in.key) {
  case KeyInput::Character:
    if (!entry_.open()) {
      if (!opensEntry(in.character))
        return;
      if (!dragUnit(dragKind))
        return ui_.setStatus(dragTitle() + " takes no typed amount");
      entry_.start();
    }
    entry_.type(in.character);
    break;
  case KeyInput::Backspace:
    if (!entry_.erase())
      return;
    break;
  case KeyInput::Escape:
    if (!entry_.open())
      return;
    entry_.close();
    break;
  case KeyInput::Enter:
    if (entry_.open())
      enterTypedAmount();
    return;
  default:
    return;
  }
  showDragStatus();
}

void InteractionController::enterTypedAmount() {
  const std::string text = entry_.text();
  float amount = 0;
  const AmountError error = evaluateAmount(text, amount);
  if (error == AmountError::Empty) {
    entry_.close();
    return showDragStatus();
  }
  if (error != AmountError::None)
    return ui_.setStatus(amountRefusal(error, text));
  entry_.close();
  entered_ = true;
  enteredAmount_ = amount;
  enteredCommitted_ = setDragAmount(amount);
  if (!enteredCommitted_)
    return; // a mesh fault: recovered, the drag has ended
  // Committed as a left click commits, at the window's centre (where it does not matter).
  const int32_t x = view_.camera.width / 2, y = view_.camera.height / 2;
  Press(Button::Left, x, y);
  Release(Button::Left, x, y);
  out_.redraw = true;
}

std::string InteractionController::dragTitle() const {
  const OperationRow *row = startedRow_;
  if (!row || row->dragKind != dragKind) {
    const char *name = dragKindName(dragKind);
    return name ? name : "Drag";
  }
  std::string title = row->title ? row->title : row->name;
  if (!row->title) {
    std::replace(title.begin(), title.end(), '-', ' ');
    title[0] = char(std::toupper(uint8_t(title[0])));
  }
  if (row->axisBound())
    title += axis.y == 1 ? " y" : axis.z == 1 ? " z" : " x";
  return title;
}

std::string InteractionController::dragStatus() const {
  if (entry_.open())
    return dragTitle() + " = " + entry_.text() + "_";
  DragProgress shown = progressKind_ == dragKind ? progress_ : dragStartProgress(dragKind);
  if (snapTarget_.found())
    shown.translation = snapOffset_;
  std::string status = dragTitle() + ": " + dragAmountText(dragKind, shown);
  const char *steps = dragSnapSteps(dragKind);
  if (snapTarget_.found()) {
    const moObject *obj = scene_.object(snapTarget_.object);
    status += " (Ctrl: on vertex " + std::to_string(snapTarget_.vertex) + " of " +
              (obj ? obj->name : std::string("object ") + std::to_string(snapTarget_.object)) + ")";
  } else if (snap && steps) {
    status += std::string(" (Shift: ") + steps + ")";
  }
  return status;
}

void InteractionController::showDragStatus() {
  if (mode_ == DragMode)
    ui_.setStatus(dragStatus());
}

bool InteractionController::snapTarget(SnapTarget &target) const {
  if (mode_ != DragMode || !snapTarget_.found())
    return false;
  target = snapTarget_;
  return true;
}

// --- Snapping a free move onto a vertex ---

bool InteractionController::vertexSnapApplies() const {
  const SelectionMode m = scene_.mode;
  return dragKind == kDragMoveFree && (ctrl_ || offMouse_) && origin_.captured() &&
         (m == moVERTICES || m == moEDGES || m == moFACES);
}

std::vector<ElementRef> InteractionController::draggedVertices() const {
  const SelectionList &list =
      scene_.mode == moVERTICES ? scene_.selection : scene_.previousSelection;
  std::vector<ElementRef> dragged;
  for (int32_t i = 0; i < list.Count(); ++i)
    dragged.push_back(list.Get(i));
  return dragged;
}

// The mouse's free move goes on underneath (accumulated as ever) while the mesh shows the handle
// on the target; without a target, or once Ctrl is up, the mesh takes the mouse's place again.
void InteractionController::snapStep(DragMotion &m, int32_t x, int32_t y) {
  const moVec3 v = freeMoveStep(m);
  accumulatedMove = m.accumulatedMove;
  progress_.translation = add(progress_.translation, v);
  const std::vector<ElementRef> dragged = draggedVertices();
  moVec3 handle;
  SnapTarget target;
  if (ctrl_ && !dragged.empty() && origin_.position(dragged[0].object, dragged[0].element, handle))
    target = nearestVertex(scene_, view_.camera, x, y, kSnapRadius, dragged);
  if (!target.found() && !offMouse_) {
    snapTarget_ = {};
    applyDragChange([&] {
      translateSelection(scene_, v);
      followMirrors(scene_);
    });
    return;
  }
  snapTarget_ = target;
  snapOffset_ = subtract(target.position, handle);
  offMouse_ = target.found();
  applyDragChange([&] {
    origin_.restore(scene_);
    if (!target.found()) {
      translateSelection(scene_, progress_.translation);
    } else {
      translateSelection(scene_, snapOffset_);
      // Exactly onto the target: the handle's start plus the offset might round off it.
      if (moObject *obj = scene_.object(dragged[0].object))
        obj->vertices[dragged[0].element].Coordinates = target.position;
    }
    followMirrors(scene_);
  });
}
