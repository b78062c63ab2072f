// The commands that start an operation by its OperationId, as the operations menu, the repeat
// key and scripts issue them: the checks that need no scene change, the scene setup and the drag
// kind that follows. Each operation is one row of a table in operation_commands.cpp; operations
// of other families plug in by adding their rows.
#pragma once

#include "ops/operation_ids.h"
#include "scene/scene.h"

struct OperationStart {
  bool accepted = false;    // the setup ran and returned true
  bool interactive = false; // a drag follows (dragKind); otherwise the change is complete
  bool axisBound = false;   // the command's axis becomes the controller's axis
  int32_t dragKind = kDragNone;
};

// Whether an operation id has a command here.
bool hasOperationCommand(int32_t operationId);
// Runs the command of an operation with the unit axis of an axis variant (ignored by the
// others). Refusals show their own messages and leave accepted false; the scene is then as the
// setup left it after a refusal (its undo backup saved) or unchanged when a check stopped it
// first. Unknown ids do nothing.
OperationStart runOperationCommand(Scene &scene, int32_t operationId, const moVec3 &axis);
