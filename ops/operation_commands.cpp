#include "ops/operation_commands.h"

namespace {

// Scale and Rotate need two vertices to have a centre to work about.
bool tooFewVertices(Scene &scene, int32_t id) {
  if (scene.mode != moVERTICES || scene.selection.Count() > 1)
    return false;
  const bool scale = id == kOpScaleUniform || id == kOpScaleAxis || id == kOpScaleRadial;
  const bool rotate = id == kOpRotateFree || id == kOpRotateAxis || id == kOpRotateNormal;
  if (scale || rotate)
    scene.ui().messageBox(scale ? "Scale requires at least 2 points"
                                : "Rotate requires at least 2 vertices");
  return scale || rotate;
}

OperationStart runRow(Scene &scene, const OperationRow *row, int32_t argument) {
  OperationStart start;
  if (!row || !row->setup)
    return start;
  start.accepted = row->setup(scene, argument);
  start.axis = unitAxis(argument);
  start.interactive = row->dragKind != kDragNone;
  start.axisBound = row->axisBound();
  start.dragKind = row->dragKind;
  return start;
}

} // namespace

bool hasOperationCommand(int32_t operationId) {
  const OperationRow *row = operationRow(operationId);
  return row && row->setup;
}

OperationStart runOperationCommand(Scene &scene, int32_t operationId, int32_t argument) {
  if (tooFewVertices(scene, operationId))
    return {};
  return runRow(scene, operationRow(operationId), argument);
}

bool hasUnnumberedCommand(int32_t command) {
  const OperationRow *row = unnumberedRow(command);
  return row && row->setup;
}

OperationStart runUnnumberedCommand(Scene &scene, int32_t command, int32_t argument) {
  return runRow(scene, unnumberedRow(command), argument);
}
