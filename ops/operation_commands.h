// The commands that start an operation by its OperationId, as the operations menu, the repeat
// key and scripts issue them: the checks that need no scene change, the scene setup and the drag
// kind that follows, all taken from the operation's row (operation_table.h).
#pragma once

#include "ops/operation_ids.h"
#include "ops/operation_table.h"
#include "scene/scene.h"

struct OperationStart {
  bool accepted = false;    // the setup ran and returned true
  bool interactive = false; // a drag follows (dragKind); otherwise the change is complete
  bool axisBound = false;   // the command's axis becomes the controller's axis
  int32_t dragKind = kDragNone;
  moVec3 axis{1, 0, 0}; // the unit axis of the argument, for an axis-bound command
};

// Whether an operation id has a command here.
bool hasOperationCommand(int32_t operationId);
// Runs the command of an operation with its argument: the axis 0, 1, 2 of an axis variant, the
// segment count of Cut edges, ignored by the others. Refusals show their own messages and leave
// accepted false; the scene is then as the setup left it after a refusal (its undo backup saved) or
// unchanged when a check stopped it first. Unknown ids do nothing.
OperationStart runOperationCommand(Scene &scene, int32_t operationId, int32_t argument);

// Whether an UnnumberedCommand (operation_ids.h) has a command here.
bool hasUnnumberedCommand(int32_t command);
// As runOperationCommand, for an UnnumberedCommand.
OperationStart runUnnumberedCommand(Scene &scene, int32_t command, int32_t argument);
