// One pointer motion of an interactive operation: the amount each drag kind measures in the
// motion and the change that amount makes to the scene. Each drag kind is one row of a table in
// drag.cpp (measure, apply, unit and status prompt); a new kind plugs in by adding its row.
#pragma once

#include "ops/operation_ids.h"
#include "ops/snap.h"
#include "scene/scene.h"

#include <string>

// What one motion brings to the drag arithmetic. The controller fills it; the view-dependent
// vectors are computed there because operations know nothing of the camera.
struct DragMotion {
  int32_t dx = 0, dy = 0;   // pointer step in pixels, y growing downward
  int32_t accumulatedX = 0; // horizontal motion since the last button event, dx included
  SnapContext snap;         // Shift state and what caused the motion
  moVec3 axis{1, 0, 0};     // the axis of the last axis command
  moVec3 worldStep;         // free move: world displacement of (dx, -dy) at the pointer, x50
                            // in perspective
  moVec3 viewDirection;     // free rotation: unit viewing direction through the window centre
  moVec3 accumulatedMove;   // in/out: sum of the free-move vectors since the last button event
};

// What a drag has applied since it started, for the status line's readout: the amounts of its
// motions added up (multiplied for the scale kinds, whose amount is a factor) and, for the free
// kinds, their translations added up.
struct DragProgress {
  float amount = 0;
  moVec3 translation;
};
// The progress of a drag of `kind` that has not moved yet: a factor of 1 for the scale kinds,
// nothing for the others.
DragProgress dragStartProgress(int32_t kind);

// Adds one amount of `kind` to the progress: multiplied in for the scale kinds, added for the
// others.
void addDragAmount(int32_t kind, DragProgress &progress, float amount);

// Applies one motion of drag kind `kind` to the scene's selection with the amount the kind
// derives from the motion (0.05 model units per pixel for most kinds, 0.1 for moves and
// rotations, a factor of 1.001 per pixel for scaling; Shift snaps), then puts the mirror vertices
// of a symmetric operation in place (followMirrors), and adds what it applied to `progress` when
// one is given. Kinds without a row do nothing. Mesh faults from a step are not
// caught here (the progress is then left as it was).
void applyDragStep(Scene &scene, int32_t kind, DragMotion &motion,
                   DragProgress *progress = nullptr);

// The free move's share of one motion: the world step with each component snapped against the
// accumulated move (which it updates), as kDragMoveFree translates the selection by it.
moVec3 freeMoveStep(DragMotion &motion);

// Applies exactly `amount` of drag kind `kind` to the scene's selection, as one motion measuring
// that amount would, in the kind's own measure (dragUnit): model units for moves and extrusions
// along an axis or normals, degrees for rotations, the factor for scaling (2 doubles), and for
// bevel, inset, tighten, puff, twist and noise the amount their step functions take. `context`
// gives the axis and, for free rotation, the viewing direction. False, with nothing changed, for
// kinds whose motion has no scalar measure (free move, free extrude, the lift kinds) and for
// kDragNone. Mesh faults are not caught here.
bool applyDragAmount(Scene &scene, int32_t kind, float amount, const DragMotion &context);

// What an amount of `kind` is measured in: "units", "degrees", "factor" or "amount"; null for
// kinds applyDragAmount refuses.
const char *dragUnit(int32_t kind);

// The status-line prompt as a drag of `kind` starts, until its first motion or typed key shows
// the readout; null for kinds that show the readout from the start.
const char *dragPrompt(int32_t kind);

// The name of a drag kind for the readout ("Move normal", "Rotate axis", "Bevel"); null for
// kinds without a row.
const char *dragKindName(int32_t kind);

// The readout of a drag's progress in its kind's measure: "1.250" (model units and the step
// functions' amounts), "30.0°", "×1.200" (the factor so far), "45.0° per unit" (twist), the
// translation "(1.000, 0.000, -2.000)" for the free kinds. Empty for kinds without a row.
std::string dragAmountText(int32_t kind, const DragProgress &progress);
// What Shift snaps the kind's amount to ("steps of 10", "steps of 15°", "powers of 2"); null for
// kinds that do not snap.
const char *dragSnapSteps(int32_t kind);
