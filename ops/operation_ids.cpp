#include "ops/operation_ids.h"

const char *operationName(int32_t id) {
  switch (id) {
  case kOpMoveFree:
    return "Move free";
  case kOpMoveAxis:
    return "Move axis";
  case kOpMoveNormal:
    return "Move normal";
  case kOpExtrudeFree:
    return "Extrude free";
  case kOpExtrudeAxis:
    return "Extrude Axis";
  case kOpExtrudeNormal:
    return "Extrude normal";
  case kOpScaleUniform:
    return "Scale uniform";
  case kOpScaleRadial:
    return "Scale radial";
  case kOpScaleAxis:
    return "Scale axis";
  case kOpRotateFree:
    return "Rotate free";
  case kOpRotateAxis:
    return "Rotate axis";
  case kOpRotateNormal:
    return "Rotate normal";
  case kOpChipOffFree:
    return "Chip Off free";
  case kOpChipOffAxis:
    return "Chip Off axis";
  case kOpChipOffNormal:
    return "Chip Off normal";
  case kOpExtrudeRegionFree:
    return "Extrude region free";
  case kOpExtrudeRegionAxis:
    return "Extrude region axis";
  case kOpExtrudeRegionNormal:
    return "Extrude region normal";
  case kOpFlattenAxis:
    return "Flatten axis";
  case kOpFlattenNormal:
    return "Flatten normal";
  case kOpTighten:
    return "Tighten";
  case kOpBevel:
    return "Bevel";
  case kOpInset:
    return "Inset";
  case kOpBridge:
    return "Bridge";
  case kOpCombine:
    return "Combine";
  case kOpSeparate:
    return "Separate";
  case kOpEvert:
    return "Evert";
  case kOpSmooth:
    return "Smooth";
  case kOpAxisMultiCut:
    return "Axis Multi Cut";
  case kOpPlaneCut:
    return "Plane Cut";
  case kOpFlip:
    return "Flip";
  case kOpCopy:
    return "Copy";
  case kOpMirror:
    return "Mirror";
  case kOpCollapse:
    return "Collapse";
  case kOpDissolve:
    return "Dissolve";
  case kOpConnect:
    return "Connect";
  case kOpCutEdges:
    return "Cut edges";
  case kOpApplyColor:
    return "Apply color";
  default:
    return nullptr;
  }
}
