#include "script/command_table.h"

#include "paint/tools/tool_registry.h"
#include "script/command_layer.h"

namespace {

constexpr const char *kNeedSelection = "You must have elements or objects selected";
constexpr const char *kPaletteHelp =
    "(CLICK-L)on a color to select it; (DOUBLE-CLICK) to see the color mixer";

using Layer = CommandLayer;

// --- Commands that issue one script command ---

void script(Layer &l, uint8_t code) { l.execute(code); }
void resetView(Layer &l, int32_t) { script(l, 28); }
void viewAlong(Layer &l, int32_t axis) { l.execute(27, {axis}); }
void colours(Layer &l, int32_t) { script(l, 87); }
void textures(Layer &l, int32_t) { script(l, 88); }
void shadeAll(Layer &l, int32_t) { script(l, 85); }
void deselect(Layer &l, int32_t) { l.execute(36, {moNONE}); }
void elementMode(Layer &l, int32_t mode) { l.execute(36, {mode}); }
void pan(Layer &l, int32_t packed) { l.execute(116, {packed}); }
void ortho(Layer &l, int32_t) { l.execute(124, {l.view().camera.perspective ? 0 : 1}); }
void workmode(Layer &l, int32_t) {
  script(l, 30);
  script(l, 86);
}
void addPrimitive(Layer &l, int32_t kind) {
  if (l.inSelectMode())
    l.execute(35, {kind});
}

// The user's Undo keeps the element mode, and the selected elements that still exist after it,
// which the Undo script command resets (recorded scripts rely on that). The mode and the kept
// entries are recorded as the commands that restore them, so a recording plays back alike.
void undo(Layer &l, int32_t) {
  Scene &scene = l.scene();
  const SelectionMode mode = scene.mode;
  const SelectionList kept = scene.selection;
  const bool selectMode = l.inSelectMode();
  script(l, 33);
  if (!selectMode || mode < moVERTICES || mode > moOBJECTS)
    return;
  l.execute(36, {mode});
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
    l.execute(38, {type});
}
void selectAll(Layer &l, int32_t type) {
  if (type == moOBJECTS || haveSelection(l))
    l.execute(37, {type});
}
void deleteSelected(Layer &l, int32_t) {
  if (l.scene().mode != moOBJECTS || l.scene().selection.Empty()) {
    l.ui().messageBox("You must have objects selected");
    return;
  }
  script(l, 45);
}
void deleteAll(Layer &l, int32_t) {
  if (l.ui().askYesNo("This will delete your current objects"))
    script(l, 34);
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

// The stamp is chosen through its own button rather than a command of the tool registry.
constexpr int32_t kStampButton = 12313;

// Adds a row per paint tool button: the tool's name and tooltip, its index as the argument. The
// shell attaches the choice, which needs the paint window's toolbox.
std::vector<CommandEntry> withPaintTools(std::vector<CommandEntry> rows) {
  for (int32_t index = 0; index < kPaintToolCount; ++index) {
    const PaintToolInfo &info = paintToolInfo(index);
    rows.push_back({paintToolCommand(index), info.name, info.tooltip, nullptr, index});
  }
  return rows;
}

int32_t packPan(int32_t dx, int32_t dy) {
  return int32_t(uint32_t(uint16_t(dx)) | uint32_t(dy) << 16);
}

const std::vector<CommandEntry> kCommands = withPaintTools({
    {8449, "new", "Create a new scene", nullptr, 0},
    {8450, "open", "Delete everything from the Model window and load the selected file", nullptr,
     0},
    {8452, "save", "Save everything as a single file in MVO format", nullptr, 0},
    {8453, "save-as", "Save everything as a single file with a new name and location in MVO format",
     nullptr, 0},
    {8454, "save-selected",
     "Save the selected object or objects with a new name or location in MVO format", nullptr, 0},
    {8455, "revert", "Revert to last saved version", nullptr, 0},
    {8456, "import", "Import an object", nullptr, 0},
    {8457, "export-all", "Save everything as a single file in a foreign format", nullptr, 0},
    {8458, "export-selected", "Save selected as a single file in a foreign format", nullptr, 0},
    {8459, "screen-capture", "Save a screen capture to image file", nullptr, 0},
    {8461, "quit", "Exit Morvo", nullptr, 0},
    {8705, "undo", "Undo the last action", undo, 0},
    {8706, "delete", "Delete selected object", deleteSelected, 0},
    {8710, "delete-all", "Delete all objects", deleteAll, 0},
    {13568, "paint-all", "Erase texture", nullptr, 0},
    {12315, "paint-undo", "Undo - reverses the last operation", nullptr, 0},
    {12316, "paint-redo", "Redo - undoes the last undo", nullptr, 0},
    {8962, "ground-plane", "Show the grid in the Model window", toggleGround, 1},
    {8963, "axes", "Show the X, Y, and Z axes in the modeling window", toggleGround, 2},
    {8964, "aim", "Aim the camera at the selected element", withSelection, 29},
    {8965, "reset-view", "Reset the camera to the initial camera view", resetView, 0},
    {8966, "view-along-+x", "View from the positive x axis", viewAlong, 0},
    {8967, "view-along-+y", "View from the positive y axis", viewAlong, 1},
    {8968, "view-along-+z", "View from the positive z axis", viewAlong, 2},
    {8969, "view-along--x", "View from the negative x axis", viewAlong, 7},
    {8970, "view-along--y", "View from the negative y axis", viewAlong, 8},
    {8971, "view-along--z", "View from the negative z axis", viewAlong, 9},
    {8972, "ortho-camera", "Toggle between orthographic and perspective camera views", ortho, 0},
    {9217, "wireframe-selected", "Display selected objects as a wireframe", shading, 2},
    {9218, "wireframe-all", "Display all objects as a wireframe", shading, 0},
    {9219, "shade-selected", "Display selected objects shaded", shading, 3},
    {9220, "shade-all", "Display all objects shaded", shadeAll, 0},
    {9221, "workmode", "Display all objects without outlines and with smooth shading", workmode, 0},
    {9222, "colors", "Show colors applied to the object in modeling window", colours, 0},
    {9223, "textures", "Show the textures on all objects", textures, 0},
    {9473, "about", "About Morvo", nullptr, 0},
    {9474, "help", "View online help", nullptr, 0},
    {9484, "how-to", "View tutorials", nullptr, 0},
    {9485, "hot-keys", nullptr, nullptr, 0},
    {9729, "add-tetrahedron", "Add a tetrahedron", addPrimitive,
     int32_t(PrimitiveType::Tetrahedron)},
    {9730, "add-octahedron", "Add a octahedron", addPrimitive, int32_t(PrimitiveType::Octahedron)},
    {9731, "add-dodecahedron", "Add a dodecahedron", addPrimitive,
     int32_t(PrimitiveType::Dodecahedron)},
    {9732, "add-icosahedron", "Add a icosahedron", addPrimitive,
     int32_t(PrimitiveType::Icosahedron)},
    {9733, "add-cube", "Add a cube", addPrimitive, int32_t(PrimitiveType::Cube)},
    {9734, "add-cylinder", "Add a cylinder", addPrimitive, int32_t(PrimitiveType::Cylinder)},
    {9735, "add-cone", "Add a cone", addPrimitive, int32_t(PrimitiveType::Cone)},
    {9736, "add-sphere", "Add a sphere", addPrimitive, int32_t(PrimitiveType::Sphere)},
    {9737, "add-torus", "Add a torus", addPrimitive, int32_t(PrimitiveType::Torus)},
    {9738, "add-grid", "Add a grid", addPrimitive, int32_t(PrimitiveType::Grid)},
    {9739, "add-from-file", nullptr, nullptr, 0},
    {9985, "grow-selection", "Select neighboring elements of the same type", withSelection, 39},
    {9986, "shrink-selection", "Deselect the outermost elements in a continuous collection",
     withSelection, 40},
    {9987, "select-adjacent-vertices", "Select all vertices adjacent to the selected element",
     selectAdjacent, moVERTICES},
    {9988, "select-adjacent-edges", "Select all edges adjacent to the selected element",
     selectAdjacent, moEDGES},
    {9989, "select-adjacent-faces", "Select all faces adjacent to the selected element",
     selectAdjacent, moFACES},
    {9990, "select-all-vertices", "Select all vertices on selected object", selectAll, moVERTICES},
    {9991, "select-all-edges", "Select all edges on selected object", selectAll, moEDGES},
    {9992, "select-all-faces", "Select all faces on selected object", selectAll, moFACES},
    {9993, "select-all-objects", "Select all objects in scene", selectAll, moOBJECTS},
    {9995, "deselect-reselect", "Deselect current selection", deselect, 0},
    {9999, "select-edge-loop", "Select edge loop", withSelection, 114},
    {10240, "show-object-info",
     "Open the Object Info window to set parameters for individual objects", nullptr, 0},
    {10241, "show-color-mixer", "Open the Color Mixer to choose a color", nullptr, 0},
    {8194, "select-vertices", "Select vertices", elementMode, moVERTICES},
    {8195, "select-edges", "Select edges", elementMode, moEDGES},
    {8196, "select-faces", "Select faces", elementMode, moFACES},
    {8197, "select-objects", "Select objects", elementMode, moOBJECTS},
    {8198, "select-free", "Select element beneath the mouse", elementMode, moFREE},
    {8201, "go-to-model", "Go to Model", nullptr, 0},
    {8202, "go-to-paint", "Go to Paint", nullptr, 0},
    {kCommandRepeatLast, "repeat-last", nullptr, nullptr, 0},
    {kCommandStartRecording, "start-recording", nullptr, nullptr, 0},
    {kCommandEndRecording, "end-recording", nullptr, endRecording, 0},
    {kCommandObjectStatistics, "object-statistics",
     "Display name, face count, edge count & vertex count", statistics, 0},
    {kCommandPanLeft, "pan-left", nullptr, pan, packPan(-10, 0)},
    {kCommandPanRight, "pan-right", nullptr, pan, packPan(10, 0)},
    {kCommandPanUp, "pan-up", nullptr, pan, packPan(0, 10)},
    {kCommandPanDown, "pan-down", nullptr, pan, packPan(0, -10)},
    {8204, "palette", kPaletteHelp, nullptr, 0},
    {16385, "color-swatch", kPaletteHelp, nullptr, 0},
    {12309, "mask", "Mask Tool - creates a mask over selected areas", nullptr, 0},
    {12310, "inverse-mask", "Inverse Mask Tool - creates a mask over non-selected areas", nullptr,
     0},
    {12311, "reveal", "Reveal Tool - imports textures to place on an object", nullptr, 0},
    {12312, "pattern", "Pattern Tool - imports textures to use as paint", nullptr, 0},
    {20480, "tutorial-done", "Exit tutorial mode", nullptr, 0},
    {20481, "tutorial-rewind", "Rewind tutorial script", nullptr, 0},
    {20482, "tutorial-stop", "Stop playing tutorial script", nullptr, 0},
    {20483, "tutorial-play", "Play tutorial script", nullptr, 0},
    {20484, "tutorial-step", "Step through next tutorial script command", nullptr, 0},
    {13569, "project-planar", "Project an image onto the objects as seen", nullptr, 0},
    {13570, "project-spherical", "Project an image onto the objects around the eye", nullptr, 0},
    {13571, "project-cylindrical", "Project an image onto the objects around the view axis",
     nullptr, 0},
});

// V, E and F: the element tool bar with nothing selected, Select all in the objects mode,
// Select adjacent otherwise.
int32_t elementKey(const Scene &scene, int32_t toolbar, int32_t all, int32_t adjacent) {
  if (scene.selection.Empty())
    return toolbar;
  return scene.mode == moOBJECTS ? all : adjacent;
}

struct TypedKey {
  const char *characters;
  int32_t command;
};
const TypedKey kTypedKeys[] = {
    {"\b", 8706},
    {"\t", 9221},
    {" ", 9995},
    {"aA", 8964},
    {"bB", 8197},
    {"cC", 9222},
    {"dD", kCommandRepeatLast},
    {"gG", 8962},
    {"hH", 9485},
    {"oO", 8972},
    {"rR", 8965},
    {"S", 9220},
    {"s", 9219},
    {"W", 9218},
    {"w", 9217},
    {"tT", 9223},
    {"x", 8966},
    {"y", 8967},
    {"z", 8968},
    {"X", 8969},
    {"Y", 8970},
    {"Z", 8971},
    {"`~", 8963},
    {"/?", kCommandObjectStatistics},
};

} // namespace

const std::vector<CommandEntry> &allCommands() { return kCommands; }

int32_t paintToolCommand(int32_t index) {
  if (index == kStampTool)
    return kStampButton;
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

int32_t typedKeyCommand(uint32_t character, const Scene &scene, bool inSelectMode, bool ctrl) {
  if (ctrl || character == 0 || character > 0x7F)
    return 0;
  const char c = char(character);
  switch (c) {
  case '+':
  case '=':
  case 'k':
    return inSelectMode ? 9985 : 0;
  case '-':
  case '_':
  case 'm':
    return inSelectMode ? 9986 : 0;
  case 'e':
  case 'E':
    return elementKey(scene, 8195, 9991, 9988);
  case 'f':
  case 'F':
    return elementKey(scene, 8196, 9992, 9989);
  case 'v':
  case 'V':
    return elementKey(scene, 8194, 9990, 9987);
  case 'l':
  case 'L':
    return !scene.selection.Empty() && scene.mode == moEDGES ? 9999 : 0;
  case '{':
    return kCommandStartRecording;
  case '}':
    return kCommandEndRecording;
  default:
    break;
  }
  for (const TypedKey &key : kTypedKeys)
    for (const char *k = key.characters; *k; ++k)
      if (*k == c)
        return key.command;
  return 0;
}

int32_t pressedKeyCommand(PressedKey key, char letter, bool ctrl) {
  switch (key) {
  case PressedKey::Left:
    return kCommandPanLeft;
  case PressedKey::Right:
    return kCommandPanRight;
  case PressedKey::Up:
    return kCommandPanUp;
  case PressedKey::Down:
    return kCommandPanDown;
  case PressedKey::Delete:
    return 8706;
  case PressedKey::Letter:
    break;
  }
  if (!ctrl)
    return 0;
  switch (letter) {
  case 'O':
    return 8450;
  case 'Q':
    return 8461;
  case 'S':
    return 8452;
  case 'Z':
    return 8705;
  default:
    return 0;
  }
}
