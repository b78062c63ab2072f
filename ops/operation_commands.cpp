#include "ops/operation_commands.h"

#include "ops/bevel.h"
#include "ops/bridge.h"
#include "ops/chip_off.h"
#include "ops/combine_separate.h"
#include "ops/copy_objects.h"
#include "ops/edge_ops.h"
#include "ops/extrude.h"
#include "ops/flip_evert.h"
#include "ops/inset.h"
#include "ops/mirror.h"
#include "ops/plane_cut.h"
#include "ops/puff.h"
#include "ops/smooth.h"
#include "ops/transform_move.h"
#include "ops/transform_rotate.h"
#include "ops/transform_scale.h"
#include "ops/transform_shape.h"

namespace {

struct CommandRow {
  int32_t operationId; // or UnnumberedCommand
  bool (*setup)(Scene &, int32_t argument);
  int32_t dragKind; // kDragNone: applied at once
  bool axisBound;
};

const CommandRow kRows[] = {
    {kOpMoveFree, [](Scene &s, int32_t) { return Move(s, false); }, kDragMoveFree, false},
    {kOpMoveAxis, [](Scene &s, int32_t) { return Move(s, false); }, kDragMoveAxis, true},
    {kOpMoveNormal, [](Scene &s, int32_t) { return Move(s, true); }, kDragMoveNormal, false},
    {kOpExtrudeFree, [](Scene &s, int32_t) { return Extrude(s, 3.0f, false); }, kDragMoveFree,
     false},
    {kOpExtrudeAxis, [](Scene &s, int32_t) { return Extrude(s, 3.0f, false); }, kDragMoveAxis,
     true},
    {kOpExtrudeNormal, [](Scene &s, int32_t) { return Extrude(s, 3.0f, true); }, kDragMoveNormal,
     false},
    {kOpScaleUniform, [](Scene &s, int32_t) { return Scale(s); }, kDragScaleUniform, false},
    {kOpScaleAxis, [](Scene &s, int32_t) { return Scale(s); }, kDragScaleAxis, true},
    {kOpScaleRadial, [](Scene &s, int32_t) { return Scale(s); }, kDragScaleRadial, true},
    {kOpRotateFree, [](Scene &s, int32_t) { return Rotate(s, false, true); }, kDragRotateFree,
     false},
    {kOpRotateAxis, [](Scene &s, int32_t) { return Rotate(s, false, true); }, kDragRotateAxis,
     true},
    {kOpRotateNormal, [](Scene &s, int32_t) { return Rotate(s, true, true); }, kDragRotateNormal,
     false},
    {kOpChipOffFree, [](Scene &s, int32_t) { return ChipOff(s, false); }, kDragMoveFree, false},
    {kOpChipOffAxis, [](Scene &s, int32_t) { return ChipOff(s, false); }, kDragMoveAxis, true},
    {kOpChipOffNormal, [](Scene &s, int32_t) { return ChipOff(s, true); }, kDragMoveNormal, false},
    {kOpExtrudeRegionFree, [](Scene &s, int32_t) { return ExtrudeRegion(s, false); }, kDragMoveFree,
     false},
    {kOpExtrudeRegionAxis, [](Scene &s, int32_t) { return ExtrudeRegion(s, false); }, kDragMoveAxis,
     true},
    {kOpExtrudeRegionNormal, [](Scene &s, int32_t) { return ExtrudeRegion(s, true); },
     kDragMoveNormal, false},
    {kOpFlattenAxis, [](Scene &s, int32_t a) { return Flatten(s, false, unitAxis(a)); }, kDragNone,
     true},
    {kOpFlattenNormal, [](Scene &s, int32_t) { return Flatten(s, true, {}); }, kDragNone, false},
    {kOpTighten, [](Scene &s, int32_t) { return Tighten(s); }, kDragTighten, false},
    {kOpBevel, [](Scene &s, int32_t) { return Bevel(s); }, kDragBevel, false},
    {kOpInset, [](Scene &s, int32_t) { return Inset(s); }, kDragInset, false},
    {kOpPuff, [](Scene &s, int32_t) { return puffObjects(s); }, kDragPuff, false},
    {kOpTwist, [](Scene &s, int32_t) { return Twist(s); }, kDragTwist, true},
    {kOpBridge, [](Scene &s, int32_t) { return bridge(s); }, kDragNone, false},
    {kOpCombine, [](Scene &s, int32_t) { return combineObjects(s); }, kDragNone, false},
    {kOpSeparate, [](Scene &s, int32_t) { return separateObjects(s); }, kDragNone, false},
    {kOpEvert, [](Scene &s, int32_t) { return evertObjects(s); }, kDragNone, false},
    {kOpSmooth, [](Scene &s, int32_t) { return smooth(s); }, kDragNone, false},
    {kOpAxisMultiCut, [](Scene &s, int32_t a) { return axisMultiCut(s, a, 1); }, kDragNone, true},
    {kOpPlaneCut, [](Scene &s, int32_t a) { return planeCut(s, a); }, kDragNone, true},
    {kOpFlip, [](Scene &s, int32_t a) { return flipObjects(s, a); }, kDragNone, true},
    {kOpCopy, [](Scene &s, int32_t) { return copyObjects(s); }, kDragMoveFree, false},
    {kOpMirror, [](Scene &s, int32_t) { return mirrorFaces(s); }, kDragNone, false},
    {kOpCollapse, [](Scene &s, int32_t) { return Collapse(s); }, kDragNone, false},
    {kOpDissolve, [](Scene &s, int32_t) { return Dissolve(s); }, kDragNone, false},
    {kOpConnect, [](Scene &s, int32_t) { return Connect(s); }, kDragNone, false},
    {kOpCutEdges, [](Scene &s, int32_t n) { return CutEdges(s, n); }, kDragNone, false},
    {kOpApplyColor, [](Scene &s, int32_t) { return ApplyColor(s); }, kDragNone, false},
};

const CommandRow kUnnumberedRows[] = {
    {kCmdChipOffEachFree, [](Scene &s, int32_t) { return ChipOffEach(s, false); }, kDragMoveFree,
     false},
    {kCmdChipOffEachNormal, [](Scene &s, int32_t) { return ChipOffEach(s, true); }, kDragMoveNormal,
     false},
    {kCmdChipOffEachAxis, [](Scene &s, int32_t) { return ChipOffEach(s, false); }, kDragMoveAxis,
     true},
    {kCmdSetHard, [](Scene &s, int32_t hard) { return SetHard(s, hard != 0); }, kDragNone, false},
    {kCmdCreaseAngle, [](Scene &s, int32_t degrees) { return CreaseAngle(s, float(degrees)); },
     kDragNone, false},
};

template <size_t N> const CommandRow *rowIn(const CommandRow (&rows)[N], int32_t id) {
  for (const CommandRow &row : rows)
    if (row.operationId == id)
      return &row;
  return nullptr;
}

const CommandRow *rowOf(int32_t id) { return rowIn(kRows, id); }

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

moVec3 unitAxis(int32_t axisArgument) {
  return axisArgument == 1   ? moVec3{0, 1, 0}
         : axisArgument == 2 ? moVec3{0, 0, 1}
                             : moVec3{1, 0, 0};
}

namespace {

OperationStart runRow(Scene &scene, const CommandRow *row, int32_t argument) {
  OperationStart start;
  if (!row)
    return start;
  start.accepted = row->setup(scene, argument);
  start.axis = unitAxis(argument);
  start.interactive = row->dragKind != kDragNone;
  start.axisBound = row->axisBound;
  start.dragKind = row->dragKind;
  return start;
}

} // namespace

OperationStart runOperationCommand(Scene &scene, int32_t operationId, int32_t argument) {
  if (tooFewVertices(scene, operationId))
    return {};
  return runRow(scene, rowOf(operationId), argument);
}

bool hasUnnumberedCommand(int32_t command) { return rowIn(kUnnumberedRows, command) != nullptr; }

OperationStart runUnnumberedCommand(Scene &scene, int32_t command, int32_t argument) {
  return runRow(scene, rowIn(kUnnumberedRows, command), argument);
}
