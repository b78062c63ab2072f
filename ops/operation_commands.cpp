#include "ops/operation_commands.h"

#include "ops/bridge.h"
#include "ops/combine_separate.h"
#include "ops/copy_objects.h"
#include "ops/flip_evert.h"
#include "ops/mirror.h"
#include "ops/plane_cut.h"
#include "ops/puff.h"
#include "ops/smooth.h"
#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"

namespace {

// The axis argument of an axis command: 0, 1, 2 for a unit X, Y or Z axis.
int32_t axisIndex(const moVec3 &axis) { return axis.y != 0 ? 1 : axis.z != 0 ? 2 : 0; }

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
    {kOpCopy, [](Scene &s, const moVec3 &) { return copyObjects(s); }, kDragMoveFree, false},
    {kOpPuff, [](Scene &s, const moVec3 &) { return puffObjects(s); }, kDragPuff, false},
    {kOpBridge, [](Scene &s, const moVec3 &) { return bridge(s); }, kDragNone, false},
    {kOpMirror, [](Scene &s, const moVec3 &) { return mirrorFaces(s); }, kDragNone, false},
    {kOpCombine, [](Scene &s, const moVec3 &) { return combineObjects(s); }, kDragNone, false},
    {kOpSeparate, [](Scene &s, const moVec3 &) { return separateObjects(s); }, kDragNone, false},
    {kOpEvert, [](Scene &s, const moVec3 &) { return evertObjects(s); }, kDragNone, false},
    {kOpSmooth, [](Scene &s, const moVec3 &) { return smooth(s); }, kDragNone, false},
    {kOpPlaneCut, [](Scene &s, const moVec3 &a) { return planeCut(s, axisIndex(a)); }, kDragNone,
     true},
    {kOpAxisMultiCut, [](Scene &s, const moVec3 &a) { return axisMultiCut(s, axisIndex(a), 1); },
     kDragNone, true},
    {kOpFlip, [](Scene &s, const moVec3 &a) { return flipObjects(s, axisIndex(a)); }, kDragNone,
     true},
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
