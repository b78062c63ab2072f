#include "ops/operation_commands.h"

#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"

namespace {

struct CommandRow {
  int32_t operationId;
  bool (*setup)(Scene &, const moVec3 &axis);
  int32_t dragKind; // kDragNone: applied at once
  bool axisBound;
};

const CommandRow kRows[] = {
    {kOpMoveFree, [](Scene &s, const moVec3 &) { return Move(s, false); }, kDragMoveFree, false},
    {kOpMoveAxis, [](Scene &s, const moVec3 &) { return Move(s, false); }, kDragMoveAxis, true},
    {kOpMoveNormal, [](Scene &s, const moVec3 &) { return Move(s, true); }, kDragMoveNormal, false},
    {kOpScaleUniform, [](Scene &s, const moVec3 &) { return Scale(s); }, kDragScaleUniform, false},
    {kOpScaleAxis, [](Scene &s, const moVec3 &) { return Scale(s); }, kDragScaleAxis, true},
    {kOpScaleRadial, [](Scene &s, const moVec3 &) { return Scale(s); }, kDragScaleRadial, true},
    {kOpRotateFree, [](Scene &s, const moVec3 &) { return Rotate(s, false, true); },
     kDragRotateFree, false},
    {kOpRotateAxis, [](Scene &s, const moVec3 &) { return Rotate(s, false, true); },
     kDragRotateAxis, true},
    {kOpRotateNormal, [](Scene &s, const moVec3 &) { return Rotate(s, true, true); },
     kDragRotateNormal, false},
    {kOpFlattenAxis, [](Scene &s, const moVec3 &a) { return Flatten(s, false, a); }, kDragNone,
     true},
    {kOpFlattenNormal, [](Scene &s, const moVec3 &) { return Flatten(s, true, {}); }, kDragNone,
     false},
    {kOpTighten, [](Scene &s, const moVec3 &) { return Tighten(s); }, kDragTighten, false},
    {kOpTwist, [](Scene &s, const moVec3 &) { return Twist(s); }, kDragTwist, true},
};

const CommandRow *rowOf(int32_t id) {
  for (const CommandRow &row : kRows)
    if (row.operationId == id)
      return &row;
  return nullptr;
}

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

} // namespace

bool hasOperationCommand(int32_t operationId) { return rowOf(operationId) != nullptr; }

OperationStart runOperationCommand(Scene &scene, int32_t operationId, const moVec3 &axis) {
  OperationStart start;
  const CommandRow *row = rowOf(operationId);
  if (!row || tooFewVertices(scene, operationId))
    return start;
  start.accepted = row->setup(scene, axis);
  start.interactive = row->dragKind != kDragNone;
  start.axisBound = row->axisBound;
  start.dragKind = row->dragKind;
  return start;
}
