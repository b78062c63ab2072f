// One pointer motion of an interactive operation: the amount each drag kind measures in the
// motion and the change that amount makes to the scene. Each drag kind is one row of a table in
// drag.cpp (measure, apply, unit and status prompt); a new kind plugs in by adding its row.
#pragma once

#include "ops/operation_ids.h"
#include "ops/snap.h"
#include "scene/scene.h"

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

// Applies one motion of drag kind `kind` to the scene's selection with the amount the kind
// derives from the motion (0.05 model units per pixel for most kinds, 0.1 for moves and
// rotations, a factor of 1.001 per pixel for scaling; Shift snaps). Kinds without a row do
// nothing. Mesh faults from a step are not caught here.
void applyDragStep(Scene &scene, int32_t kind, DragMotion &motion);

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

// The status-line prompt while dragging with `kind`, or null when the status line is left alone.
const char *dragPrompt(int32_t kind);
