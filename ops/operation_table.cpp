#include "ops/operation_table.h"

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

using S = Scene &;
using A = int32_t;
using U = uint8_t;
using C = const char *;
constexpr C kDeleteHelp = "Delete the selected element";

// Menu places: a top-level entry, an entry of a submenu, the Normal / Free / axis entries of a
// transform submenu, and one entry per number from first to last.
constexpr MenuPlace entry(U menus, U section, C text, C help) {
  return {menus, section, nullptr, text, help};
}
constexpr MenuPlace inSubmenu(U menus, U section, C submenu, C text, C help) {
  return {menus, section, submenu, text, help};
}
constexpr MenuPlace normalPlace(U menus, U section, C submenu, C help) {
  return {menus, section, submenu, "Normal", help};
}
constexpr MenuPlace freePlace(U menus, U section, C submenu, C help) {
  return {menus, section, submenu, "Free", help};
}
constexpr MenuPlace axisPlace(U menus, U section, C submenu, C help) {
  return {menus, section, submenu, "#", help};
}
constexpr MenuPlace numbered(U menus, U section, C submenu, C text, C help, A first, A last) {
  return {menus, section, submenu, text, help, first, last};
}

constexpr U kTransform = kSectionTransform, kExtrude = kSectionExtrude, kEdit = kSectionEdit;
constexpr A kAxis = kRepeatAxis;

// One row per operation and unnumbered command, in menu order within each section (sections and
// submenus: operation_table.h). Columns: id, unnumbered, title, command-line name, script code,
// argument, setup, drag kind, repeat argument, menu places.
constexpr OperationRow kRows[] = {
    {kOpMoveNormal, false, "Move normal", "move-normal", 62, kArgNone,
     [](S s, A) { return Move(s, true); }, kDragMoveNormal, kAxis,
     normalPlace(kMenuElements, kTransform, "Move", "Move along each element's normal")},
    {kOpMoveFree, false, "Move free", "move-free", 61, kArgNone,
     [](S s, A) { return Move(s, false); }, kDragMoveFree, kAxis,
     freePlace(kMenuAll, kTransform, "Move", "Move freely in any direction")},
    {kOpMoveAxis, false, "Move axis", "move-axis", 63, kArgAxis,
     [](S s, A) { return Move(s, false); }, kDragMoveAxis, kAxis,
     axisPlace(kMenuAll, kTransform, "Move", "Move along the # axis")},
    {kOpRotateNormal, false, "Rotate normal", "rotate-normal", 71, kArgNone,
     [](S s, A) { return Rotate(s, true, true); }, kDragRotateNormal, kAxis,
     normalPlace(kMenuElements, kTransform, "Rotate", "Rotate around each element's normal")},
    {kOpRotateFree, false, "Rotate free", "rotate-free", 70, kArgNone,
     [](S s, A) { return Rotate(s, false, true); }, kDragRotateFree, kAxis,
     freePlace(kMenuAll, kTransform, "Rotate", "Rotate freely")},
    {kOpRotateAxis, false, "Rotate axis", "rotate-axis", 72, kArgAxis,
     [](S s, A) { return Rotate(s, false, true); }, kDragRotateAxis, kAxis,
     axisPlace(kMenuAll, kTransform, "Rotate", "Rotate around the # axis")},
    {kOpScaleUniform, false, "Scale uniform", "scale-uniform", 64, kArgNone,
     [](S s, A) { return Scale(s); }, kDragScaleUniform, kAxis,
     inSubmenu(kMenuAll, kTransform, "Scale", "Uniform", "Scale equally in all directions")},
    {kOpScaleAxis, false, "Scale axis", "scale-axis", 65, kArgAxis, [](S s, A) { return Scale(s); },
     kDragScaleAxis, kAxis, axisPlace(kMenuAll, kTransform, "Scale", "Scale along the # axis")},
    {kOpScaleRadial, false, "Scale radial", "scale-radial", 66, kArgAxis,
     [](S s, A) { return Scale(s); }, kDragScaleRadial, kAxis,
     inSubmenu(kMenuAll, kTransform, "Scale", "# radial", "Scale uniformly around the # axis")},

    {kOpExtrudeNormal, false, "Extrude normal", "extrude-normal", 56, kArgNone,
     [](S s, A) { return Extrude(s, 3.0f, true); }, kDragMoveNormal, kAxis,
     normalPlace(kMenuElements, kExtrude, "Extrude",
                 "Extrude, then move along each individual normal")},
    {kOpExtrudeFree, false, "Extrude free", "extrude-free", 55, kArgNone,
     [](S s, A) { return Extrude(s, 3.0f, false); }, kDragMoveFree, kAxis,
     freePlace(kMenuElements, kExtrude, "Extrude", "Extrude, then move freely")},
    {kOpExtrudeAxis, false, "Extrude Axis", "extrude-axis", 57, kArgAxis,
     [](S s, A) { return Extrude(s, 3.0f, false); }, kDragMoveAxis, kAxis,
     axisPlace(kMenuElements, kExtrude, "Extrude", "Extrude, then move along the # axis")},
    {kOpExtrudeRegionNormal, false, "Extrude region normal", "extrude-region-normal", 53, kArgNone,
     [](S s, A) { return ExtrudeRegion(s, true); }, kDragMoveNormal, kAxis,
     normalPlace(kMenuFaces, kExtrude, "Extrude Region",
                 "Extrude as a region, then move along the region's normals")},
    {kOpExtrudeRegionFree, false, "Extrude region free", "extrude-region-free", 52, kArgNone,
     [](S s, A) { return ExtrudeRegion(s, false); }, kDragMoveFree, kAxis,
     freePlace(kMenuFaces, kExtrude, "Extrude Region", "Extrude as a region, then move freely")},
    {kOpExtrudeRegionAxis, false, "Extrude region axis", "extrude-region-axis", 54, kArgAxis,
     [](S s, A) { return ExtrudeRegion(s, false); }, kDragMoveAxis, kAxis,
     axisPlace(kMenuFaces, kExtrude, "Extrude Region",
               "Extrude as a region, then move along the # axis")},
    {kOpChipOffNormal, false, "Chip Off normal", "chip-off-normal", 118, kArgNone,
     [](S s, A) { return ChipOff(s, true); }, kDragMoveNormal, kAxis,
     normalPlace(kMenuFaces, kExtrude, "Chip Off Region",
                 "Chip faces off, then move the chips along each individual normal")},
    {kOpChipOffFree, false, "Chip Off free", "chip-off-free", 117, kArgNone,
     [](S s, A) { return ChipOff(s, false); }, kDragMoveFree, kAxis,
     freePlace(kMenuFaces, kExtrude, "Chip Off Region",
               "Chip faces off, then move the chips freely")},
    {kOpChipOffAxis, false, "Chip Off axis", "chip-off-axis", 119, kArgAxis,
     [](S s, A) { return ChipOff(s, false); }, kDragMoveAxis, kAxis,
     axisPlace(kMenuFaces, kExtrude, "Chip Off Region",
               "Chip faces off, then move the chips along the # axis")},
    {kCmdChipOffEachNormal, true, nullptr, "chip-off-each-normal", 59, kArgNone,
     [](S s, A) { return ChipOffEach(s, true); }, kDragMoveNormal, kNoRepeat},
    {kCmdChipOffEachFree, true, nullptr, "chip-off-each-free", 58, kArgNone,
     [](S s, A) { return ChipOffEach(s, false); }, kDragMoveFree, kNoRepeat},
    {kCmdChipOffEachAxis, true, nullptr, "chip-off-each-axis", 60, kArgAxis,
     [](S s, A) { return ChipOffEach(s, false); }, kDragMoveAxis, kNoRepeat},
    {kOpPlaneCut, false, "Plane Cut", "plane-cut", 68, kArgAxis,
     [](S s, A a) { return planeCut(s, a); }, kDragNone, kAxis,
     axisPlace(kMenuObjects, kExtrude, "Plane Cut", "Cut at the # plane")},

    {kOpFlattenNormal, false, "Flatten normal", "flatten-normal", 77, kArgNone,
     [](S s, A) { return Flatten(s, true, {}); }, kDragNone, kAxis,
     normalPlace(kMenuFaces, kSectionFlatten, "Flatten", "Flatten the element along its normal")},
    {kOpFlattenAxis, false, "Flatten axis", "flatten-axis", 78, kArgAxis,
     [](S s, A a) { return Flatten(s, false, unitAxis(a)); }, kDragNone, kAxis,
     axisPlace(kMenuVertices | kMenuFaces, kSectionFlatten, "Flatten", "Flatten along the # axis")},

    {kOpCutEdges, false, "Cut edges", "cut-edges", 74, kArgNumber,
     [](S s, A n) { return CutEdges(s, n); }, kDragNone, 2,
     numbered(kMenuEdges, kEdit, "Cut", "#", "Cut into # segments of equal length", 2, 5)},
    {kOpConnect, false, "Connect", "connect", 47, kArgNone, [](S s, A) { return Connect(s); },
     kDragNone, kAxis,
     entry(kMenuVertices | kMenuEdges, kEdit, "Connect",
           "Create a new edge to connect the selected elements")},
    {kOpTighten, false, "Tighten", "tighten", 41, kArgNone, [](S s, A) { return Tighten(s); },
     kDragTighten, kAxis,
     entry(kMenuVertices | kMenuObjects, kEdit, "Tighten",
           "Pull selected vertices toward their midpoint")},
    {kOpInset, false, "Inset", "inset", 48, kArgNone, [](S s, A) { return Inset(s); }, kDragInset,
     kAxis, entry(kMenuFaces, kEdit, "Inset", "Inset a face inside the selected face")},
    {kOpBevel, false, "Bevel", "bevel", 42, kArgNone, [](S s, A) { return Bevel(s); }, kDragBevel,
     kAxis, entry(kMenuElements, kEdit, "Bevel", "'Round off' the edges on this element")},
    {kOpBridge, false, "Bridge", "bridge", 43, kArgNone, [](S s, A) { return bridge(s); },
     kDragNone, kAxis,
     entry(kMenuFaces, kEdit, "Bridge",
           "Create a tunnel or bridge between two non-continuous faces with the same number of "
           "vertices")},
    {kOpSmooth, false, "Smooth", "smooth", 44, kArgNone, [](S s, A) { return smooth(s); },
     kDragNone, kAxis,
     entry(kMenuObjects, kEdit, "Smooth", "Bevel all edges and vertices to smooth the appearance")},
    {kOpCombine, false, "Combine", "combine", 51, kArgNone,
     [](S s, A) { return combineObjects(s); }, kDragNone, kAxis,
     entry(kMenuObjects, kEdit, "Combine",
           "Combine multiple separate objects into a single object")},
    {kOpSeparate, false, "Separate", "separate", 83, kArgNone,
     [](S s, A) { return separateObjects(s); }, kDragNone, kAxis,
     entry(kMenuObjects, kEdit, "Separate",
           "Separate a combined object into its original components")},
    {kOpAxisMultiCut, false, "Axis Multi Cut", "axis-multi-cut", 67, kArgAxis,
     [](S s, A a) { return axisMultiCut(s, a, 1); }, kDragNone, kAxis},
    {kOpPuff, false, nullptr, "puff", 75, kArgNone, [](S s, A) { return puffObjects(s); },
     kDragPuff, kAxis},
    {kOpTwist, false, nullptr, "twist", 76, kArgAxis, [](S s, A) { return Twist(s); }, kDragTwist,
     kAxis},

    {kOpFlip, false, "Flip", "flip", 69, kArgAxis, [](S s, A a) { return flipObjects(s, a); },
     kDragNone, kAxis,
     axisPlace(kMenuObjects, kSectionOrient, "Flip", "Flip the object around the # axis")},
    {kOpEvert, false, "Evert", "evert", 84, kArgNone, [](S s, A) { return evertObjects(s); },
     kDragNone, kAxis,
     entry(kMenuObjects, kSectionOrient, "Invert", "Turn inside out, flipping all normals")},
    // There is no number entry for the angle yet: the menu always uses 60 degrees.
    {kCmdCreaseAngle, true, nullptr, "crease-angle", 123, kArgNumber,
     [](S s, A degrees) { return CreaseAngle(s, float(degrees)); }, kDragNone, kNoRepeat,
     numbered(kMenuObjects, kSectionOrient, nullptr, "Set crease angle",
              "Assign crease angle, setting sharp edges as hard and flat edges as soft", 60, 60)},

    {kOpMirror, false, "Mirror", "mirror", 50, kArgNone, [](S s, A) { return mirrorFaces(s); },
     kDragNone, kAxis,
     entry(kMenuFaces, kSectionRemove, "Mirror", "Copy around one or more faces")},
    {kOpDissolve, false, "Dissolve", "dissolve", 46, kArgNone, [](S s, A) { return Dissolve(s); },
     kDragNone, kAxis,
     entry(kMenuEdges | kMenuFaces, kSectionRemove, "Dissolve",
           "Eliminate the selected edge and turn the adjoining faces into one face")},
    {kOpCopy, false, "Copy", "copy", 49, kArgNone, [](S s, A) { return copyObjects(s); },
     kDragMoveFree, kAxis,
     entry(kMenuObjects, kSectionObject, "Copy", "Duplicate the selected object")},
    {kOpCollapse, false, "Collapse", "collapse", 45, kArgNone, [](S s, A) { return Collapse(s); },
     kDragNone, kAxis, entry(kMenuElements, kSectionRemove, "Collapse", kDeleteHelp),
     entry(kMenuObjects, kSectionObject, "Delete", kDeleteHelp)},

    {kCmdSetHard, true, nullptr, "set-hard", 122, kArgNumber,
     [](S s, A hard) { return SetHard(s, hard != 0); }, kDragNone, kNoRepeat,
     numbered(kMenuEdges, kSectionHardness, "Hardness", "Soft",
              "Soften selected edges for smoothing and rendering", 0, 0),
     numbered(kMenuEdges, kSectionHardness, "Hardness", "Hard",
              "Harden selected edges for smoothing and rendering", 1, 1)},
    {kOpApplyColor, false, "Apply color", "apply-color", 121, kArgNone,
     [](S s, A) { return ApplyColor(s); }, kDragNone, kAxis,
     entry(kMenuAll, kSectionColor, "Apply Color", "Assign color to selected element")},
};

const OperationRow *find(bool unnumbered, int32_t id) {
  for (const OperationRow &row : kRows)
    if (row.unnumbered == unnumbered && row.id == id)
      return &row;
  return nullptr;
}

} // namespace

moVec3 unitAxis(int32_t axisArgument) {
  return axisArgument == 1   ? moVec3{0, 1, 0}
         : axisArgument == 2 ? moVec3{0, 0, 1}
                             : moVec3{1, 0, 0};
}

OperationRows operationRows() { return {std::begin(kRows), std::end(kRows)}; }

const OperationRow *operationRow(int32_t operationId) { return find(false, operationId); }
const OperationRow *unnumberedRow(int32_t command) { return find(true, command); }

const OperationRow *operationByScriptCode(uint8_t code) {
  for (const OperationRow &row : kRows)
    if (row.scriptCode == code)
      return &row;
  return nullptr;
}

NamedOperation operationByName(std::string_view name) {
  for (const OperationRow &row : kRows) {
    const std::string_view own = row.name;
    if (!row.axisBound() && name == own)
      return {&row, -1};
    if (row.axisBound() && name.size() == own.size() + 2 && name.substr(0, own.size()) == own &&
        name[own.size()] == '-' && name.back() >= 'x' && name.back() <= 'z')
      return {&row, name.back() - 'x'};
  }
  return {};
}

int32_t repeatArgument(int32_t operationId, const moVec3 &axis) {
  const OperationRow *row = operationRow(operationId);
  if (row && row->repeatArgument != kRepeatAxis)
    return row->repeatArgument;
  return equals(axis, {0, 1, 0}) ? 1 : equals(axis, {0, 0, 1}) ? 2 : 0;
}
