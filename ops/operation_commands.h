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
  moVec3 axis{1, 0, 0}; // the unit axis of the argument, for an axis-bound command
};

// The unit X, Y or Z axis of an axis argument 0, 1 or 2 (X for anything else).
moVec3 unitAxis(int32_t axisArgument);

// Whether an operation id has a command here.
bool hasOperationCommand(int32_t operationId);
// Runs the command of an operation with its argument: the axis 0, 1, 2 of an axis variant, the
// segment count of Cut edges, ignored by the others. Refusals show their own messages and leave
// accepted false; the scene is then as the setup left it after a refusal (its undo backup saved) or
// unchanged when a check stopped it first. Unknown ids do nothing.
OperationStart runOperationCommand(Scene &scene, int32_t operationId, int32_t argument);

// The commands that run like operations but set no OperationId (repeat-last and script titles
// ignore them): the per-face chip-off of scripts and the edge hardness and crease angle
// commands. Their numbers live only in the program, never in files.
enum UnnumberedCommand : int32_t {
  kCmdChipOffEachFree,
  kCmdChipOffEachNormal,
  kCmdChipOffEachAxis,
  kCmdSetHard,     // argument 1 hard, 0 soft
  kCmdCreaseAngle, // argument in whole degrees
};
bool hasUnnumberedCommand(int32_t command);
// As runOperationCommand, for an UnnumberedCommand.
OperationStart runUnnumberedCommand(Scene &scene, int32_t command, int32_t argument);
