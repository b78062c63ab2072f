#include "script/command_table.h"

#include "ops/operation_ids.h"
#include "paint/tools/tool_registry.h"
#include "script/command_layer.h"
#include "script/script_commands.h"
#include "script/session_commands.h"
#include "view/projection.h"

#include <cstring>

namespace {

constexpr const char *kNeedSelection = "You must have elements or objects selected";
constexpr const char *kPaletteHelp =
    "(CLICK-L)on a color to select it; (DOUBLE-CLICK) to see the color mixer";

using Layer = CommandLayer;

// --- Commands that issue one script command ---

void script(Layer &l, uint8_t code) { l.execute(code); }
void resetView(Layer &l, int32_t) { script(l, kScriptResetView); }
void viewAlong(Layer &l, int32_t axis) { l.execute(kScriptViewAlong, {axis}); }
void colours(Layer &l, int32_t) { script(l, kScriptToggleColours); }
void textures(Layer &l, int32_t) { script(l, kScriptToggleTextures); }
void shadeAll(Layer &l, int32_t) { script(l, kScriptShadeAll); }
void deselect(Layer &l, int32_t) { l.execute(kScriptSetMode, {moNONE}); }
void elementMode(Layer &l, int32_t mode) { l.execute(kScriptSetMode, {mode}); }
void pan(Layer &l, int32_t packed) { l.execute(kScriptPan, {packed}); }
// Symmetry changes no object, but what the operations after it do: a recording keeps the planes.
void toggleSymmetry(Layer &l, int32_t axis) {
  SymmetryPlanes planes = l.scene().symmetry;
  planes.toggle(axis);
  l.execute(kScriptSymmetry, {planes.axes});
}
void ortho(Layer &l, int32_t) {
  l.execute(kScriptPerspective, {l.view().camera.perspective ? 0 : 1});
}
void workmode(Layer &l, int32_t) {
  script(l, kScriptToggleOutlines);
  script(l, kScriptToggleSmooth);
}
void addPrimitive(Layer &l, int32_t kind) {
  if (l.inSelectMode())
    l.execute(kScriptAddPrimitive, {kind});
}

// The user's Undo and Redo step through the history, keeping the element mode and the selected
// elements that still exist after the step, which the step's script command resets. The mode
// and the kept entries are recorded as the commands that restore them, so a recording plays back
// alike.
void historyStep(Layer &l, uint8_t code) {
  Scene &scene = l.scene();
  const SelectionMode mode = scene.mode;
  const SelectionList kept = scene.selection;
  const bool selectMode = l.inSelectMode();
  script(l, code);
  if (!selectMode || mode < moVERTICES || mode > moOBJECTS)
    return;
  l.execute(kScriptSetMode, {mode});
  for (int32_t i = 0; i < kept.Count(); ++i) {
    const ElementRef ref = kept.Get(i);
    if (!scene.objectOf(ref, true) || !scene.elementExists(ref, mode))
      continue;
    scene.selection.Toggle(ref);
    l.recorder().toggle(ref.object, ref.element); // as the click that selected it
  }
}

// --- Commands that refuse an empty selection ---

bool haveSelection(Layer &l) {
  if (!l.scene().selection.Empty())
    return true;
  l.ui().messageBox(kNeedSelection);
  return false;
}
// Aim, Grow, Shrink and Select edge loop: their script code as the argument.
void withSelection(Layer &l, int32_t code) {
  if (haveSelection(l))
    script(l, uint8_t(code));
}
void selectAdjacent(Layer &l, int32_t type) {
  if (haveSelection(l))
    l.execute(kScriptSelectAdjacent, {type});
}
void selectAll(Layer &l, int32_t type) {
  if (type == moOBJECTS || haveSelection(l))
    l.execute(kScriptSelectAll, {type});
}
void deleteSelected(Layer &l) {
  if (l.scene().mode != moOBJECTS || l.scene().selection.Empty()) {
    l.ui().messageBox("You must have objects selected");
    return;
  }
  script(l, uint8_t(operationCode(kOpCollapse))); // Collapse deletes selected objects
}
void deleteAll(Layer &l) {
  if (l.ui().askYesNo("This will delete your current objects"))
    script(l, kScriptDeleteAll);
}

// --- Commands that mean something else in the paint work mode ---

// Undo and Redo step through the same history in both, the paint window preparing its canvas
// for the scene the step leaves; Delete and Delete all (and Paint All) erase the paint.
void undo(Layer &l, int32_t argument) {
  if (l.paint())
    runPaintUndo(l, argument);
  else
    historyStep(l, kScriptUndoStep);
}
void redo(Layer &l, int32_t argument) {
  if (l.paint())
    runPaintRedo(l, argument);
  else
    historyStep(l, kScriptRedoStep);
}
void deleteOrErase(Layer &l, int32_t) {
  if (l.paint())
    runEraseAll(l, 0);
  else
    deleteSelected(l);
}
void deleteAllOrErase(Layer &l, int32_t) {
  if (l.paint())
    runEraseAll(l, 0);
  else
    deleteAll(l);
}

// --- Commands that record nothing ---

void toggleGround(Layer &l, int32_t bit) {
  l.view().groundAndAxes ^= bit;
  l.host().refreshModelView(false);
}
void shading(Layer &l, int32_t shadedAndSelected) {
  l.scene().SetShading(shadedAndSelected & 1, shadedAndSelected & 2);
  l.host().refreshModelView(true);
}
void statistics(Layer &l, int32_t) { l.scene().ShowInfo(); }
void endRecording(Layer &l, int32_t) { l.endRecording(); }

// Adds a row per paint tool button: the tool's name and tooltip, its index as the argument. The
// shell attaches the choice, which needs the paint window's toolbox.
std::vector<CommandEntry> withPaintTools(std::vector<CommandEntry> rows) {
  for (int32_t index = 0; index < kPaintToolCount; ++index) {
    const PaintToolInfo &info = paintToolInfo(index);
    rows.push_back({paintToolCommand(index), info.name, info.tooltip, nullptr, index});
  }
  return rows;
}

constexpr HotKey typedKey(const char *characters, const char *label,
                          KeyWhen when = KeyWhen::Always) {
  return {characters, label, when, 0, PressedKey::None};
}
constexpr HotKey ctrlKey(char letter, const char *label) {
  return {nullptr, label, KeyWhen::Always, letter, PressedKey::None};
}
constexpr HotKey pressedKey(PressedKey key, const char *label = nullptr,
                            const char *typed = nullptr) {
  return {typed, label, KeyWhen::Always, 0, key};
}

constexpr HotKey redoKey() {
  return {nullptr, "Ctrl+Shift+z", KeyWhen::Always, 'Y', PressedKey::None, 'Z'};
}

int32_t packPan(int32_t dx, int32_t dy) {
  return int32_t(uint32_t(uint16_t(dx)) | uint32_t(dy) << 16);
}

const std::vector<CommandEntry> kCommands = withPaintTools({
    {kCommandNew, "new", "Create a new scene", runNewScene, 0},
    {kCommandOpen, "open", "Delete everything from the Model window and load the selected file",
     runOpen, 0, ctrlKey('O', "Ctrl+o")},
    {kCommandSave, "save", "Save everything as a single file in MVO format", runSave, 0,
     ctrlKey('S', "Ctrl+s")},
    {kCommandSaveAs, "save-as",
     "Save everything as a single file with a new name and location in MVO format", runSaveAs, 0},
    {kCommandSaveSelected, "save-selected",
     "Save the selected object or objects with a new name or location in MVO format",
     runSaveSelected, 0},
    {kCommandRevert, "revert", "Revert to last saved version", runRevert, 0},
    {kCommandImport, "import", "Import an object", runImport, 0},
    {kCommandExportAll, "export-all", "Save everything as a single file in a foreign format",
     runExport, 1},
    {kCommandExportSelected, "export-selected",
     "Save selected as a single file in a foreign format", runExport, 0},
    {kCommandScreenCapture, "screen-capture", "Save a screen capture to image file", nullptr, 0},
    {kCommandQuit, "quit", "Exit Morvo", nullptr, 0, ctrlKey('Q', "Ctrl+q")},
    {kCommandUndo, "undo", "Undo the last action", undo, 0, ctrlKey('Z', "Ctrl+z")},
    {kCommandRedo, "redo", "Redo the last undone action", redo, 0, redoKey()},
    {kCommandDelete, "delete", "Delete selected object", deleteOrErase, 0,
     pressedKey(PressedKey::Delete, "Del", "\b")},
    {kCommandDeleteAll, "delete-all", "Delete all objects", deleteAllOrErase, 0},
    {kCommandPaintAll, "paint-all", "Erase texture", deleteAllOrErase, 0},
    {kCommandPaintUndo, "paint-undo", "Undo - reverses the last operation", runPaintUndo, 0},
    {kCommandPaintRedo, "paint-redo", "Redo - undoes the last undo", runPaintRedo, 0},
    {kCommandGroundPlane, "ground-plane", "Show the grid in the Model window", toggleGround, 1,
     typedKey("gG", "g")},
    {kCommandAxes, "axes", "Show the X, Y, and Z axes in the modeling window", toggleGround, 2,
     typedKey("`~", "~")},
    {kCommandAim, "aim", "Aim the camera at the selected element", withSelection, kScriptAim,
     typedKey("aA", "a")},
    {kCommandResetView, "reset-view", "Reset the camera to the initial camera view", resetView, 0,
     typedKey("rR", "r")},
    {kCommandViewAlongPlusX, "view-along-+x", "View from the positive x axis", viewAlong, 0,
     typedKey("x", "x")},
    {kCommandViewAlongPlusY, "view-along-+y", "View from the positive y axis", viewAlong, 1,
     typedKey("y", "y")},
    {kCommandViewAlongPlusZ, "view-along-+z", "View from the positive z axis", viewAlong, 2,
     typedKey("z", "z")},
    {kCommandViewAlongMinusX, "view-along--x", "View from the negative x axis", viewAlong, 7,
     typedKey("X", "X")},
    {kCommandViewAlongMinusY, "view-along--y", "View from the negative y axis", viewAlong, 8,
     typedKey("Y", "Y")},
    {kCommandViewAlongMinusZ, "view-along--z", "View from the negative z axis", viewAlong, 9,
     typedKey("Z", "Z")},
    {kCommandOrthoCamera, "ortho-camera",
     "Toggle between orthographic and perspective camera views", ortho, 0, typedKey("oO", "o")},
    {kCommandSymmetryX, "symmetry-x",
     "Repeat every operation on selected elements at their mirror images across x = 0",
     toggleSymmetry, 0},
    {kCommandSymmetryY, "symmetry-y",
     "Repeat every operation on selected elements at their mirror images across y = 0",
     toggleSymmetry, 1},
    {kCommandSymmetryZ, "symmetry-z",
     "Repeat every operation on selected elements at their mirror images across z = 0",
     toggleSymmetry, 2},
    {kCommandWireframeSelected, "wireframe-selected", "Display selected objects as a wireframe",
     shading, 2, typedKey("w", "w")},
    {kCommandWireframeAll, "wireframe-all", "Display all objects as a wireframe", shading, 0,
     typedKey("W", "W")},
    {kCommandShadeSelected, "shade-selected", "Display selected objects shaded", shading, 3,
     typedKey("s", "s")},
    {kCommandShadeAll, "shade-all", "Display all objects shaded", shadeAll, 0, typedKey("S", "S")},
    {kCommandWorkmode, "workmode", "Display all objects without outlines and with smooth shading",
     workmode, 0, typedKey("\t", "TAB")},
    {kCommandColors, "colors", "Show colors applied to the object in modeling window", colours, 0,
     typedKey("cC", "c")},
    {kCommandTextures, "textures", "Show the textures on all objects", textures, 0,
     typedKey("tT", "t")},
    {kCommandAbout, "about", "About Morvo", nullptr, 0},
    {kCommandHelp, "help", "View online help", nullptr, 0},
    {kCommandHowTo, "how-to", "View tutorials", nullptr, 0},
    {kCommandHotKeys, "hot-keys", nullptr, nullptr, 0, typedKey("hH", "h")},
    {kCommandAddTetrahedron, "add-tetrahedron", "Add a tetrahedron", addPrimitive,
     int32_t(PrimitiveType::Tetrahedron)},
    {kCommandAddOctahedron, "add-octahedron", "Add a octahedron", addPrimitive,
     int32_t(PrimitiveType::Octahedron)},
    {kCommandAddDodecahedron, "add-dodecahedron", "Add a dodecahedron", addPrimitive,
     int32_t(PrimitiveType::Dodecahedron)},
    {kCommandAddIcosahedron, "add-icosahedron", "Add a icosahedron", addPrimitive,
     int32_t(PrimitiveType::Icosahedron)},
    {kCommandAddCube, "add-cube", "Add a cube", addPrimitive, int32_t(PrimitiveType::Cube)},
    {kCommandAddCylinder, "add-cylinder", "Add a cylinder", addPrimitive,
     int32_t(PrimitiveType::Cylinder)},
    {kCommandAddCone, "add-cone", "Add a cone", addPrimitive, int32_t(PrimitiveType::Cone)},
    {kCommandAddSphere, "add-sphere", "Add a sphere", addPrimitive, int32_t(PrimitiveType::Sphere)},
    {kCommandAddTorus, "add-torus", "Add a torus", addPrimitive, int32_t(PrimitiveType::Torus)},
    {kCommandAddGrid, "add-grid", "Add a grid", addPrimitive, int32_t(PrimitiveType::Grid)},
    {kCommandAddFromFile, "add-from-file", nullptr, runAddFromFile, 0},
    {kCommandGrowSelection, "grow-selection", "Select neighboring elements of the same type",
     withSelection, kScriptGrow, typedKey("+=k", "+", KeyWhen::SelectMode)},
    {kCommandShrinkSelection, "shrink-selection",
     "Deselect the outermost elements in a continuous collection", withSelection, kScriptShrink,
     typedKey("-_m", "-", KeyWhen::SelectMode)},
    {kCommandSelectAdjacentVertices, "select-adjacent-vertices",
     "Select all vertices adjacent to the selected element", selectAdjacent, moVERTICES,
     typedKey("vV", "v", KeyWhen::ElementsSelected)},
    {kCommandSelectAdjacentEdges, "select-adjacent-edges",
     "Select all edges adjacent to the selected element", selectAdjacent, moEDGES,
     typedKey("eE", "e", KeyWhen::ElementsSelected)},
    {kCommandSelectAdjacentFaces, "select-adjacent-faces",
     "Select all faces adjacent to the selected element", selectAdjacent, moFACES,
     typedKey("fF", "f", KeyWhen::ElementsSelected)},
    {kCommandSelectAllVertices, "select-all-vertices", "Select all vertices on selected object",
     selectAll, moVERTICES, typedKey("vV", nullptr, KeyWhen::ObjectsSelected)},
    {kCommandSelectAllEdges, "select-all-edges", "Select all edges on selected object", selectAll,
     moEDGES, typedKey("eE", nullptr, KeyWhen::ObjectsSelected)},
    {kCommandSelectAllFaces, "select-all-faces", "Select all faces on selected object", selectAll,
     moFACES, typedKey("fF", nullptr, KeyWhen::ObjectsSelected)},
    {kCommandSelectAllObjects, "select-all-objects", "Select all objects in scene", selectAll,
     moOBJECTS},
    {kCommandDeselectReselect, "deselect-reselect", "Deselect current selection", deselect, 0,
     typedKey(" ", "Space Bar")},
    {kCommandSelectEdgeLoop, "select-edge-loop", "Select edge loop", withSelection, kScriptEdgeLoop,
     typedKey("lL", "L", KeyWhen::EdgesSelected)},
    {kCommandShowObjectInfo, "show-object-info",
     "Open the Object Info window to set parameters for individual objects", nullptr, 0},
    {kCommandShowColorMixer, "show-color-mixer", "Open the Color Mixer to choose a color", nullptr,
     0},
    {kCommandSelectVertices, "select-vertices", "Select vertices", elementMode, moVERTICES,
     typedKey("vV", nullptr, KeyWhen::NothingSelected)},
    {kCommandSelectEdges, "select-edges", "Select edges", elementMode, moEDGES,
     typedKey("eE", nullptr, KeyWhen::NothingSelected)},
    {kCommandSelectFaces, "select-faces", "Select faces", elementMode, moFACES,
     typedKey("fF", nullptr, KeyWhen::NothingSelected)},
    {kCommandSelectObjects, "select-objects", "Select objects", elementMode, moOBJECTS,
     typedKey("bB", nullptr)},
    {kCommandSelectFree, "select-free", "Select element beneath the mouse", elementMode, moFREE},
    {kCommandGoToModel, "go-to-model", "Go to Model", nullptr, 0},
    {kCommandGoToPaint, "go-to-paint", "Go to Paint", nullptr, 0},
    {kCommandRepeatLast, "repeat-last", nullptr, nullptr, 0, typedKey("dD", nullptr)},
    {kCommandStartRecording, "start-recording", nullptr, runStartRecording, 0,
     typedKey("{", nullptr)},
    {kCommandEndRecording, "end-recording", nullptr, endRecording, 0, typedKey("}", nullptr)},
    {kCommandObjectStatistics, "object-statistics",
     "Display name, face count, edge count & vertex count", statistics, 0, typedKey("/?", nullptr)},
    {kCommandPanLeft, "pan-left", nullptr, pan, packPan(-10, 0), pressedKey(PressedKey::Left)},
    {kCommandPanRight, "pan-right", nullptr, pan, packPan(10, 0), pressedKey(PressedKey::Right)},
    {kCommandPanUp, "pan-up", nullptr, pan, packPan(0, 10), pressedKey(PressedKey::Up)},
    {kCommandPanDown, "pan-down", nullptr, pan, packPan(0, -10), pressedKey(PressedKey::Down)},
    {kCommandPalette, "palette", kPaletteHelp, nullptr, 0},
    {kCommandColorSwatch, "color-swatch", kPaletteHelp, nullptr, 0},
    {kCommandMask, "mask", "Mask Tool - creates a mask over selected areas", runMask, 0},
    {kCommandInverseMask, "inverse-mask",
     "Inverse Mask Tool - creates a mask over non-selected areas", runInverseMask, 0},
    {kCommandReveal, "reveal", "Reveal Tool - imports textures to place on an object", runReveal,
     0},
    {kCommandPattern, "pattern", "Pattern Tool - imports textures to use as paint", runPattern, 0},
    {kCommandTutorialDone, "tutorial-done", "Exit tutorial mode", nullptr, 0},
    {kCommandTutorialRewind, "tutorial-rewind", "Rewind tutorial script", nullptr, 0},
    {kCommandTutorialStop, "tutorial-stop", "Stop playing tutorial script", nullptr, 0},
    {kCommandTutorialPlay, "tutorial-play", "Play tutorial script", nullptr, 0},
    {kCommandTutorialStep, "tutorial-step", "Step through next tutorial script command", nullptr,
     0},
    {kCommandProjectPlanar, "project-planar", "Project an image onto the objects as seen",
     runProjection, moPLANAR},
    {kCommandProjectSpherical, "project-spherical",
     "Project an image onto the objects around the eye", runProjection, moSPHERICAL},
    {kCommandProjectCylindrical, "project-cylindrical",
     "Project an image onto the objects around the view axis", runProjection, moCYLINDRICAL},
});

} // namespace

const std::vector<CommandEntry> &allCommands() { return kCommands; }

int32_t paintToolCommand(int32_t index) {
  // The stamp is chosen through its own button rather than a command of the tool registry.
  if (index == kStampTool)
    return kCommandStamp;
  return index >= 0 && index < kPaintToolCount ? paintToolInfo(index).command : 0;
}

int32_t paintToolOfCommand(int32_t command) {
  for (int32_t index = 0; index < kPaintToolCount; ++index)
    if (paintToolCommand(index) == command)
      return index;
  return -1;
}

const CommandEntry *findCommand(int32_t number) {
  for (const CommandEntry &entry : kCommands)
    if (entry.number == number)
      return &entry;
  return nullptr;
}

const CommandEntry *findCommand(const std::string &name) {
  for (const CommandEntry &entry : kCommands)
    if (name == entry.name)
      return &entry;
  return nullptr;
}

namespace {

bool keyConditionHolds(KeyWhen when, const Scene &scene, bool inSelectMode) {
  const bool empty = scene.selection.Empty();
  switch (when) {
  case KeyWhen::Always:
    return true;
  case KeyWhen::SelectMode:
    return inSelectMode;
  case KeyWhen::NothingSelected:
    return empty;
  case KeyWhen::ObjectsSelected:
    return !empty && scene.mode == moOBJECTS;
  case KeyWhen::ElementsSelected:
    return !empty && scene.mode != moOBJECTS;
  case KeyWhen::EdgesSelected:
    return !empty && scene.mode == moEDGES;
  }
  return false;
}

} // namespace

int32_t typedKeyCommand(uint32_t character, const Scene &scene, bool inSelectMode, bool ctrl) {
  if (ctrl || character == 0 || character > 0x7F)
    return 0;
  for (const CommandEntry &entry : kCommands) {
    const HotKey &key = entry.key;
    if (key.typed && std::strchr(key.typed, int(character)) &&
        keyConditionHolds(key.when, scene, inSelectMode))
      return entry.number;
  }
  return 0;
}

int32_t pressedKeyCommand(PressedKey key, char letter, bool ctrl, bool shift) {
  if (key == PressedKey::None || (key == PressedKey::Letter && (!ctrl || letter == 0)))
    return 0;
  for (const CommandEntry &entry : kCommands) {
    const HotKey &k = entry.key;
    if (key != PressedKey::Letter ? k.pressed == key
                                  : (shift ? k.ctrlShiftLetter : k.ctrlLetter) == letter)
      return entry.number;
  }
  return 0;
}

std::string hotKeyLabel(int32_t number) {
  const CommandEntry *entry = findCommand(number);
  return entry && entry->key.label ? entry->key.label : "";
}
