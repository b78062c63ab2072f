#include "view/operations_menu.h"

#include "core/primitives.h"
#include "ops/operation_commands.h"

namespace {

using Entries = std::vector<MenuEntry>;
const char *const kAxes[] = {"X", "Y", "Z"};

MenuEntry separator() { return {MenuEntry::Type::Separator, "", "", {}, true, {}}; }
MenuEntry heading(const char *text) { return {MenuEntry::Type::Heading, text, "", {}, true, {}}; }

MenuEntry operation(const std::string &text, const std::string &help, int32_t id,
                    int32_t argument = 0) {
  return {MenuEntry::Type::Command, text, help, {MenuCommand::Kind::Operation, id, argument},
          hasOperationCommand(id),  {}};
}

MenuEntry unnumbered(const char *text, const char *help, int32_t command, int32_t argument) {
  return {
      MenuEntry::Type::Command,      text, help, {MenuCommand::Kind::Unnumbered, command, argument},
      hasUnnumberedCommand(command), {}};
}

// An entry whose command no operation of this build provides.
MenuEntry unavailable(const char *text, const char *help) {
  return {MenuEntry::Type::Command, text, help, {}, false, {}};
}

MenuEntry submenu(const char *text, Entries entries) {
  return {MenuEntry::Type::Submenu, text, "", {}, true, std::move(entries)};
}

// "Normal" (unless left out), "Free", then one entry per axis; help texts are prefix + axis.
Entries normalFreeAxes(bool normal, int32_t normalId, const char *normalHelp, int32_t freeId,
                       const char *freeHelp, int32_t axisId, const std::string &axisHelp) {
  Entries e;
  if (normal)
    e.push_back(operation("Normal", normalHelp, normalId));
  if (freeId != kOpNone)
    e.push_back(operation("Free", freeHelp, freeId));
  for (int32_t a = 0; a < 3; ++a)
    e.push_back(operation(kAxes[a], axisHelp + kAxes[a] + " axis", axisId, a));
  return e;
}

MenuEntry move(bool normal) {
  return submenu("Move", normalFreeAxes(normal, kOpMoveNormal, "Move along each element's normal",
                                        kOpMoveFree, "Move freely in any direction", kOpMoveAxis,
                                        "Move along the "));
}

MenuEntry rotate(bool normal) {
  return submenu("Rotate", normalFreeAxes(normal, kOpRotateNormal,
                                          "Rotate around each element's normal", kOpRotateFree,
                                          "Rotate freely", kOpRotateAxis, "Rotate around the "));
}

MenuEntry scaleMenu() {
  Entries e{operation("Uniform", "Scale equally in all directions", kOpScaleUniform)};
  for (int32_t a = 0; a < 3; ++a)
    e.push_back(
        operation(kAxes[a], std::string("Scale along the ") + kAxes[a] + " axis", kOpScaleAxis, a));
  for (int32_t a = 0; a < 3; ++a)
    e.push_back(operation(std::string(kAxes[a]) + " radial",
                          std::string("Scale uniformly around the ") + kAxes[a] + " axis",
                          kOpScaleRadial, a));
  return submenu("Scale", std::move(e));
}

MenuEntry extrude(const char *text, int32_t normalId, const std::string &lead,
                  const char *normalTail, int32_t freeId, const char *freeTail, int32_t axisId,
                  const char *axisTail) {
  return submenu(text, normalFreeAxes(true, normalId, (lead + normalTail).c_str(), freeId,
                                      (lead + freeTail).c_str(), axisId, lead + axisTail));
}

MenuEntry flatten(bool normal) {
  return submenu("Flatten",
                 normalFreeAxes(normal, kOpFlattenNormal, "Flatten the element along its normal",
                                kOpNone, "", kOpFlattenAxis, "Flatten along the "));
}

MenuEntry perAxis(const char *text, int32_t id, const char *lead, const char *tail) {
  Entries e;
  for (int32_t a = 0; a < 3; ++a)
    e.push_back(operation(kAxes[a], lead + std::string(kAxes[a]) + tail, id, a));
  return submenu(text, std::move(e));
}

MenuEntry cut() {
  Entries e;
  for (int32_t n = 2; n <= 5; ++n)
    e.push_back(operation(std::to_string(n),
                          "Cut into " + std::to_string(n) + " segments of equal length",
                          kOpCutEdges, n));
  return submenu("Cut", std::move(e));
}

MenuEntry extrudeMenu() {
  return extrude("Extrude", kOpExtrudeNormal, "Extrude, then move ", "along each individual normal",
                 kOpExtrudeFree, "freely", kOpExtrudeAxis, "along the ");
}

const char *const kDeleteHelp = "Delete the selected element";
MenuEntry applyColor() {
  return operation("Apply Color", "Assign color to selected element", kOpApplyColor);
}
MenuEntry connect() {
  return operation("Connect", "Create a new edge to connect the selected elements", kOpConnect);
}
MenuEntry bevel() { return operation("Bevel", "'Round off' the edges on this element", kOpBevel); }
MenuEntry dissolve() {
  return operation("Dissolve",
                   "Eliminate the selected edge and turn the adjoining faces into one face",
                   kOpDissolve);
}
MenuEntry tighten() {
  return operation("Tighten", "Pull selected vertices toward their midpoint", kOpTighten);
}

// The heading and the transform submenus every selection menu starts with, then the rest.
Entries menu(const char *title, bool normal, std::initializer_list<MenuEntry> rest) {
  Entries e{heading(title), separator(), move(normal), rotate(normal), scaleMenu(), separator()};
  e.insert(e.end(), rest);
  return e;
}

Entries verticesMenu() {
  return menu("Vertex Operations", true,
              {extrudeMenu(), separator(), flatten(false), separator(), connect(), tighten(),
               bevel(), separator(), operation("Collapse", kDeleteHelp, kOpCollapse), separator(),
               applyColor()});
}

Entries edgesMenu() {
  return menu(
      "Edge Operations", true,
      {extrudeMenu(), separator(), cut(), connect(), bevel(), separator(), dissolve(),
       operation("Collapse", kDeleteHelp, kOpCollapse), separator(),
       submenu("Hardness", {unnumbered("Soft", "Soften selected edges for smoothing and rendering",
                                       kCmdSetHard, 0),
                            unnumbered("Hard", "Harden selected edges for smoothing and rendering",
                                       kCmdSetHard, 1)}),
       separator(), applyColor()});
}

Entries facesMenu() {
  return menu("Face Operations", true,
              {extrudeMenu(),
               extrude("Extrude Region", kOpExtrudeRegionNormal, "Extrude as a region, then move ",
                       "along the region's normals", kOpExtrudeRegionFree, "freely",
                       kOpExtrudeRegionAxis, "along the "),
               extrude("Chip Off Region", kOpChipOffNormal, "Chip faces off, then move the chips ",
                       "along each individual normal", kOpChipOffFree, "freely", kOpChipOffAxis,
                       "along the "),
               separator(), flatten(true), separator(),
               operation("Inset", "Inset a face inside the selected face", kOpInset), bevel(),
               operation("Bridge",
                         "Create a tunnel or bridge between two non-continuous faces with the same "
                         "number of vertices",
                         kOpBridge),
               separator(), operation("Mirror", "Copy around one or more faces", kOpMirror),
               dissolve(), operation("Collapse", kDeleteHelp, kOpCollapse), separator(),
               applyColor()});
}

Entries objectsMenu() {
  const MenuEntry statistics{MenuEntry::Type::Command,
                             "Object Statistics",
                             "Display name, face count, edge count & vertex count",
                             {MenuCommand::Kind::Statistics, -1, 0},
                             true,
                             {}};
  return menu(
      "Object Operations", false,
      {perAxis("Plane Cut", kOpPlaneCut, "Cut at the ", " plane"), separator(), tighten(),
       operation("Smooth", "Bevel all edges and vertices to smooth the appearance", kOpSmooth),
       operation("Combine", "Combine multiple separate objects into a single object", kOpCombine),
       operation("Separate", "Separate a combined object into its original components",
                 kOpSeparate),
       separator(), perAxis("Flip", kOpFlip, "Flip the object around the ", " axis"),
       operation("Invert", "Turn inside out, flipping all normals", kOpEvert),
       // There is no number entry for the angle yet: the command always uses 60 degrees.
       unnumbered("Set crease angle",
                  "Assign crease angle, setting sharp edges as hard and flat edges as soft",
                  kCmdCreaseAngle, 60),
       separator(), applyColor(), separator(),
       submenu("Clear Paint",
               {unavailable("Paint Layer to Color", ""), unavailable("Delete Paint Layer", "")}),
       separator(), statistics, operation("Copy", "Duplicate the selected object", kOpCopy),
       operation("Delete", kDeleteHelp, kOpCollapse)});
}

MenuEntry primitive(const char *text, PrimitiveType type, const char *help) {
  return {MenuEntry::Type::Command,
          text,
          help,
          {MenuCommand::Kind::Primitive, int32_t(type), 0},
          true,
          {}};
}

Entries primitivesMenu() {
  using P = PrimitiveType;
  return {primitive("Tetrahedron", P::Tetrahedron, "Add a tetrahedron"),
          primitive("Octahedron", P::Octahedron, "Add a octahedron"),
          primitive("Dodecahedron", P::Dodecahedron, "Add a dodecahedron"),
          primitive("Icosahedron", P::Icosahedron, "Add a icosahedron"),
          separator(),
          primitive("Cube", P::Cube, "Add a cube"),
          separator(),
          primitive("Cylinder", P::Cylinder, "Add a cylinder"),
          primitive("Cone", P::Cone, "Add a cone"),
          primitive("Torus", P::Torus, "Add a torus"),
          primitive("Sphere", P::Sphere, "Add a sphere"),
          separator(),
          primitive("Grid", P::Grid, "Add a grid")};
}

} // namespace

const std::vector<MenuEntry> &operationsMenu(MenuKind kind) {
  static const Entries none, vertices = verticesMenu(), edges = edgesMenu(), faces = facesMenu(),
                             objects = objectsMenu(), primitives = primitivesMenu();
  switch (kind) {
  case MenuKind::Vertices:
    return vertices;
  case MenuKind::Edges:
    return edges;
  case MenuKind::Faces:
    return faces;
  case MenuKind::Objects:
    return objects;
  case MenuKind::Primitives:
    return primitives;
  default:
    return none;
  }
}
