// The numbered operations and drag kinds shared by the modeling operations, the input controller
// and tutorial scripts. The numbers are stored in scripts, so they never change. What each
// operation is and does is one row of ops/operation_table.cpp.
#pragma once

#include <cstdint>

// What the last started operation was; repeat-last and script titles key on it.
enum OperationId : int32_t {
  kOpNone = -1,
  kOpMoveFree = 0,
  kOpMoveAxis = 1,
  kOpMoveNormal = 2,
  kOpExtrudeFree = 3,
  kOpExtrudeAxis = 4,
  kOpExtrudeNormal = 5,
  kOpScaleUniform = 13,
  kOpScaleRadial = 14,
  kOpScaleAxis = 15,
  kOpRotateFree = 16,
  kOpRotateAxis = 17,
  kOpRotateNormal = 18,
  kOpChipOffFree = 19,
  kOpChipOffAxis = 20,
  kOpChipOffNormal = 21,
  kOpExtrudeRegionFree = 22,
  kOpExtrudeRegionAxis = 23,
  kOpExtrudeRegionNormal = 24,
  kOpFlattenAxis = 26,
  kOpFlattenNormal = 27,
  kOpTighten = 28,
  kOpBevel = 29,
  kOpInset = 30,
  kOpPuff = 31,
  kOpTwist = 32,
  kOpBridge = 38,
  kOpCombine = 39,
  kOpSeparate = 40,
  kOpEvert = 41,
  kOpSmooth = 42,
  kOpAxisMultiCut = 43,
  kOpPlaneCut = 44,
  kOpFlip = 45,
  kOpCopy = 46,
  kOpMirror = 47,
  kOpCollapse = 48,
  kOpDissolve = 49,
  kOpConnect = 50,
  kOpCutEdges = 51,
  kOpApplyColor = 52,
};

// Every OperationId but kOpNone, in enum order; a new id is added here and given a row.
constexpr OperationId kAllOperationIds[] = {
    kOpMoveFree,
    kOpMoveAxis,
    kOpMoveNormal,
    kOpExtrudeFree,
    kOpExtrudeAxis,
    kOpExtrudeNormal,
    kOpScaleUniform,
    kOpScaleRadial,
    kOpScaleAxis,
    kOpRotateFree,
    kOpRotateAxis,
    kOpRotateNormal,
    kOpChipOffFree,
    kOpChipOffAxis,
    kOpChipOffNormal,
    kOpExtrudeRegionFree,
    kOpExtrudeRegionAxis,
    kOpExtrudeRegionNormal,
    kOpFlattenAxis,
    kOpFlattenNormal,
    kOpTighten,
    kOpBevel,
    kOpInset,
    kOpPuff,
    kOpTwist,
    kOpBridge,
    kOpCombine,
    kOpSeparate,
    kOpEvert,
    kOpSmooth,
    kOpAxisMultiCut,
    kOpPlaneCut,
    kOpFlip,
    kOpCopy,
    kOpMirror,
    kOpCollapse,
    kOpDissolve,
    kOpConnect,
    kOpCutEdges,
    kOpApplyColor,
};

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
constexpr UnnumberedCommand kAllUnnumberedCommands[] = {
    kCmdChipOffEachFree, kCmdChipOffEachNormal, kCmdChipOffEachAxis, kCmdSetHard, kCmdCreaseAngle};

// The title scripts record for an operation; null for ids without a name (puff, Twist, unknown).
const char *operationName(int32_t id);

// What one pointer motion does while dragging.
enum DragKind : int32_t {
  kDragNone = -1,
  kDragMoveFree = 0,
  kDragMoveAxis = 1,
  kDragMoveNormal = 2,
  kDragExtrudeFree = 6, // translate, then shrink about per-element centres
  kDragExtrudeAxis = 7,
  kDragExtrudeNormal = 8,
  kDragLiftHinge = 9,     // rotate a lifted face about its hinge edge
  kDragLiftVertices = 10, // move lifted vertices along their vectors
  kDragLiftPivot = 11,    // rotate a lifted face about its pivot vertex
  kDragLiftVertices2 = 12,
  kDragScaleUniform = 13,
  kDragScaleRadial = 14,
  kDragScaleAxis = 15,
  kDragRotateFree = 16,
  kDragRotateAxis = 17,
  kDragRotateNormal = 18,
  kDragTighten = 28,
  kDragBevel = 29,
  kDragInset = 30,
  kDragPuff = 31,
  kDragTwist = 32,
  kDragNoiseVectors = 33,
  kDragNoiseAxis = 34,
  kDragNoiseRandom = 35,
};
