#include "app/menu_tables.h"

#include "script/command_table.h"

namespace {

constexpr MenuItem kSeparator{nullptr, 0, nullptr, nullptr, nullptr};

MenuItem item(const char *label, int32_t command) {
  return {label, command, nullptr, nullptr, nullptr};
}
// A label followed by the command's hot key, "\t" between them unless `gap` says otherwise.
MenuItem keyed(const char *label, int32_t command, const char *gap = "\t") {
  return {label, command, nullptr, nullptr, gap};
}
MenuItem popup(const char *label, const std::vector<MenuItem> &items, const char *help) {
  return {label, 0, &items, help, nullptr};
}

const std::vector<MenuItem> kAdd = {item("Tetrahedron", kCommandAddTetrahedron),
                                    item("Octahedron", kCommandAddOctahedron),
                                    item("Dodecahedron", kCommandAddDodecahedron),
                                    item("Icosahedron", kCommandAddIcosahedron),
                                    kSeparator,
                                    item("Cube", kCommandAddCube),
                                    kSeparator,
                                    item("Cylinder", kCommandAddCylinder),
                                    item("Cone", kCommandAddCone),
                                    item("Torus", kCommandAddTorus),
                                    item("Sphere", kCommandAddSphere),
                                    kSeparator,
                                    item("Grid", kCommandAddGrid),
                                    kSeparator,
                                    item("From File", kCommandAddFromFile)};
const std::vector<MenuItem> kExport = {item("All", kCommandExportAll),
                                       item("Selected", kCommandExportSelected)};
const std::vector<MenuItem> kViewAlong = {
    keyed("+ X", kCommandViewAlongPlusX),  keyed("+ Y", kCommandViewAlongPlusY),
    keyed("+ Z", kCommandViewAlongPlusZ),  keyed("- X", kCommandViewAlongMinusX),
    keyed("- Y", kCommandViewAlongMinusY), keyed("- Z", kCommandViewAlongMinusZ)};
const std::vector<MenuItem> kAdjacent = {keyed("Vertices", kCommandSelectAdjacentVertices),
                                         keyed("Edges", kCommandSelectAdjacentEdges),
                                         keyed("Faces", kCommandSelectAdjacentFaces)};
const std::vector<MenuItem> kSelectAll = {
    item("Vertices", kCommandSelectAllVertices), item("Edges", kCommandSelectAllEdges),
    item("Faces", kCommandSelectAllFaces), item("Objects", kCommandSelectAllObjects)};

const std::vector<MenuItem> kSymmetry = {item("X", kCommandSymmetryX), item("Y", kCommandSymmetryY),
                                         item("Z", kCommandSymmetryZ)};

const MenuItem kViewAlongPopup = popup("View along", kViewAlong, "View along axis submenu");
const MenuItem kSymmetryPopup = popup("Symmetry", kSymmetry, "Symmetry planes submenu");
const std::vector<MenuItem> kWindow = {item("Show object info ...", kCommandShowObjectInfo),
                                       item("Show color mixer ...", kCommandShowColorMixer)};

} // namespace

const std::vector<MenuDefinition> &modelMenuBar() {
  static const std::vector<MenuDefinition> bar = {
      {"File",
       "File menu",
       {item("New", kCommandNew), popup("Add", kAdd, "New primitive submenu"),
        keyed("Open", kCommandOpen), kSeparator, keyed("Save", kCommandSave),
        item("Save as", kCommandSaveAs), item("Save selected", kCommandSaveSelected), kSeparator,
        item("Screen Capture", kCommandScreenCapture), kSeparator, item("Revert", kCommandRevert),
        kSeparator, item("Import", kCommandImport), popup("Export", kExport, "Export submenu"),
        kSeparator, keyed("Quit", kCommandQuit)}},
      {"Edit",
       "Edit menu",
       {keyed("Undo", kCommandUndo), keyed("Redo", kCommandRedo), kSeparator,
        keyed("Delete", kCommandDelete), item("Delete all", kCommandDeleteAll)}},
      {"View",
       "View menu",
       {keyed("Aim ", kCommandAim),
        keyed("Reset view", kCommandResetView),
        keyed("Ortho camera", kCommandOrthoCamera),
        kSeparator,
        keyed("Ground plane", kCommandGroundPlane),
        keyed("Axes", kCommandAxes),
        kSeparator,
        kViewAlongPopup,
        kSymmetryPopup,
        kSeparator,
        keyed("Wireframe selected", kCommandWireframeSelected),
        keyed("Wireframe all", kCommandWireframeAll),
        keyed("Shade selected", kCommandShadeSelected),
        keyed("Shade all", kCommandShadeAll),
        kSeparator,
        keyed("Workmode", kCommandWorkmode),
        kSeparator,
        keyed("Colors", kCommandColors),
        keyed("Textures", kCommandTextures),
        kSeparator,
        keyed("Hot keys", kCommandHotKeys)}},
      {"Select",
       "Select menu",
       {keyed("Grow selection", kCommandGrowSelection),
        keyed("Shrink selection", kCommandShrinkSelection),
        popup("Select adjacent", kAdjacent, "Select adjacent element submenu"),
        keyed("Select edge loop", kCommandSelectEdgeLoop),
        popup("Select all", kSelectAll, "Select all submenu"), kSeparator,
        keyed("Deselect/Reselect", kCommandDeselectReselect, "  ")}},
      {"Window", "Window menu", kWindow},
      {"Help",
       "Help menu",
       {item("Help...", kCommandHelp), item("How to...", kCommandHowTo), kSeparator,
        item("About...", kCommandAbout)}},
  };
  return bar;
}

const std::vector<MenuDefinition> &paintMenuBar() {
  static const std::vector<MenuDefinition> bar = {
      {"File",
       "File menu",
       {keyed("Save", kCommandSave), item("Save as", kCommandSaveAs), kSeparator,
        item("Revert", kCommandRevert), kSeparator, keyed("Quit", kCommandQuit)}},
      {"Edit",
       "Edit menu",
       {item("Undo", kCommandPaintUndo), item("Redo", kCommandPaintRedo), kSeparator,
        item("Paint All", kCommandPaintAll)}},
      {"View",
       "View menu",
       {keyed("Aim ", kCommandAim), keyed("Reset view", kCommandResetView), kSeparator,
        kViewAlongPopup, kSymmetryPopup}},
      {"Select",
       "Select menu",
       {keyed("Grow selection ", kCommandGrowSelection),
        keyed("Shrink selection ", kCommandShrinkSelection), kSeparator,
        keyed("Clear selection", kCommandDeselectReselect)}},
      {"Window", "Window menu", kWindow},
      {"Help",
       "Help menu",
       {item("Help...", kCommandHelp), kSeparator, item("About...", kCommandAbout)}},
  };
  return bar;
}

std::string menuLabel(const MenuItem &item) {
  std::string label = item.label ? item.label : "";
  if (item.keyGap)
    label += item.keyGap + hotKeyLabel(item.command);
  return label;
}
