#include "script/script_commands.h"

#include "layers/paint_layers.h"
#include "ops/operation_commands.h"
#include "ops/operation_ids.h"
#include "ops/operation_table.h"
#include "script/command_layer.h"

#include <cmath>
#include <cstring>

namespace {

using Cmd = const ScriptCommand &;

int32_t arg(Cmd c, size_t i) { return i < c.args.size() ? c.args[i] : 0; }
// A word that stands for an index; the all-ones word means none.
int32_t index(Cmd c, size_t i) { return arg(c, i) == kScriptNoPosition ? -1 : arg(c, i); }

// The view picks elements of the scene's mode after a selection command.
void followMode(CommandLayer &l) {
  l.view().renderer.setPickKind(l.scene().mode);
  l.view().renderer.resetHover();
}

// --- Pointer events, for the controller ---

bool press(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->press(arg(c, 0), arg(c, 1), arg(c, 2));
  return true;
}
bool release(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->release(arg(c, 0), arg(c, 1), arg(c, 2));
  return true;
}
bool move(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->move(arg(c, 0), arg(c, 1));
  return true;
}
bool buttons(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->setButtons(arg(c, 0));
  return true;
}
bool lastPosition(CommandLayer &l, Cmd c) {
  const bool none = arg(c, 0) == kScriptNoPosition && arg(c, 1) == kScriptNoPosition;
  if (ScriptInput *in = l.input())
    in->setLastPosition(none ? -1 : arg(c, 0), none ? -1 : arg(c, 1));
  return true;
}
bool wheel(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->wheel(int16_t(uint16_t(arg(c, 0))));
  return true;
}
bool dragKind(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->setDragKind(arg(c, 0));
  return true;
}
bool keyDown(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->keyDown(arg(c, 0));
  return true;
}
bool keyUp(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input())
    in->keyUp(arg(c, 0));
  return true;
}
// The float's bits; a value that is not a finite number is refused.
bool dragAmount(CommandLayer &l, Cmd c) {
  const uint32_t bits = uint32_t(arg(c, 0));
  float amount = 0;
  std::memcpy(&amount, &bits, sizeof amount);
  if (!std::isfinite(amount))
    return l.badArgument(c);
  if (ScriptInput *in = l.input())
    in->setDragAmount(amount);
  return true;
}
bool rectangleSelect(CommandLayer &l, Cmd c) {
  if (ScriptInput *in = l.input()) {
    in->regionSelect(arg(c, 0), arg(c, 1), arg(c, 2), arg(c, 3), arg(c, 4), arg(c, 5));
    in->keyDown(arg(c, 6));
  }
  return true;
}

// --- Hover and selection clicks: the script makes the changes the live pointer would ---

// The byte is the kind of the hovered element (0 vertex to 3 object).
bool hover(CommandLayer &l, Cmd c) {
  if (arg(c, 0) > moOBJECTS)
    return l.badArgument(c);
  l.view().renderer.setHover(arg(c, 0), index(c, 1), index(c, 2));
  return true;
}
bool elementIsThere(CommandLayer &l, const ElementRef &ref) {
  return l.scene().objectOf(ref, true) && l.scene().elementExists(ref, l.scene().mode);
}
bool dragSelect(CommandLayer &l, Cmd c) {
  const ElementRef ref{arg(c, 2), arg(c, 1)};
  if (!elementIsThere(l, ref))
    return l.badArgument(c);
  l.scene().DragSelect(ref, arg(c, 0) != 0);
  return true;
}
bool toggle(CommandLayer &l, Cmd c) {
  const ElementRef ref{arg(c, 1), arg(c, 0)};
  if (!elementIsThere(l, ref))
    return l.badArgument(c);
  l.scene().selection.Toggle(ref);
  return true;
}

// --- View commands ---

bool ignored(CommandLayer &, Cmd) { return true; }
bool viewAlong(CommandLayer &l, Cmd c) {
  const int32_t axis = arg(c, 0);
  if (!(axis <= 2 || (axis >= 7 && axis <= 9)))
    return l.badArgument(c);
  l.view().ViewAlong(axis);
  return true;
}
bool resetView(CommandLayer &l, Cmd) {
  l.view().ResetCamera();
  return true;
}
bool aim(CommandLayer &l, Cmd) {
  l.view().AimAtSelection(l.scene());
  return true;
}
// Outlines, smooth shading, colours, textures.
bool toggleDisplay(CommandLayer &l, Cmd c) {
  SceneRenderer &r = l.view().renderer;
  if (c.code == kScriptToggleOutlines)
    r.setOutlines(!r.outlines());
  else if (c.code == kScriptToggleSmooth)
    r.setSmooth(!r.smooth());
  else if (c.code == kScriptToggleColours)
    r.setColors(!r.colors());
  else
    r.setTextures(!r.textures());
  return true;
}
bool pan(CommandLayer &l, Cmd c) {
  const uint32_t packed = uint32_t(arg(c, 0));
  l.view().PanCamera(int16_t(packed & 0xFFFF), int16_t(packed >> 16));
  return true;
}
bool perspective(CommandLayer &l, Cmd c) {
  l.view().SetPerspective(arg(c, 0) != 0);
  return true;
}
bool symmetry(CommandLayer &l, Cmd c) {
  if (arg(c, 0) > 7)
    return l.badArgument(c);
  l.scene().symmetry.axes = uint8_t(arg(c, 0));
  return true;
}

// --- Scene commands ---

bool undo(CommandLayer &l, Cmd) {
  if (!l.inSelectMode())
    return true;
  l.scene().UndoCommand();
  l.view().renderer.setPickKind(moFREE);
  l.view().renderer.resetHover();
  return true;
}
// The history's Undo and Redo; the status line says what was taken back or brought back.
bool historyStep(CommandLayer &l, Cmd c) {
  if (!l.inSelectMode())
    return true;
  if (c.code == kScriptUndoStep)
    l.scene().UndoStep();
  else
    l.scene().RedoStep();
  l.view().renderer.setPickKind(moFREE);
  l.view().renderer.resetHover();
  return true;
}
bool deleteAll(CommandLayer &l, Cmd) {
  if (l.inSelectMode())
    l.scene().DeleteAll();
  return true;
}
bool addPrimitive(CommandLayer &l, Cmd c) {
  if (arg(c, 0) >= kPrimitiveTypeCount)
    return l.badArgument(c);
  if (l.inSelectMode())
    l.scene().createPrimitive(PrimitiveType(arg(c, 0)));
  return true;
}
bool setMode(CommandLayer &l, Cmd c) {
  const int32_t m = arg(c, 0);
  if (m > moNONE)
    return l.badArgument(c);
  if (!l.inSelectMode())
    return true;
  if (m == moNONE)
    l.scene().DeselectReselect();
  else
    l.scene().SetMode(SelectionMode(m));
  followMode(l);
  return true;
}
bool selectAll(CommandLayer &l, Cmd c) {
  if (arg(c, 0) > moOBJECTS)
    return l.badArgument(c);
  if (l.scene().SelectAll(arg(c, 0)))
    followMode(l);
  return true;
}
bool selectAdjacent(CommandLayer &l, Cmd c) {
  if (arg(c, 0) > moFACES)
    return l.badArgument(c);
  if (l.scene().SelectAdjacent(arg(c, 0)))
    followMode(l);
  return true;
}
bool grow(CommandLayer &l, Cmd) {
  l.scene().Grow();
  return true;
}
bool shrink(CommandLayer &l, Cmd) {
  l.scene().Shrink();
  return true;
}
bool edgeLoop(CommandLayer &l, Cmd) {
  if (l.scene().EdgeLoop())
    followMode(l);
  return true;
}
bool setModeEmpty(CommandLayer &l, Cmd c) {
  if (arg(c, 0) > moNONE)
    return l.badArgument(c);
  if (l.scene().SetModeEmpty(SelectionMode(arg(c, 0))))
    followMode(l);
  return true;
}
bool shadeAll(CommandLayer &l, Cmd) {
  l.scene().SetShading(true, false);
  return true;
}
bool setColour(CommandLayer &l, Cmd c) {
  l.scene().SetCurrentColour(
      {uint8_t(arg(c, 0)), uint8_t(arg(c, 1)), uint8_t(arg(c, 2)), uint8_t(arg(c, 3))});
  return true;
}
bool unsupportedColour(CommandLayer &l, Cmd) {
  l.showMessage("set color command is unsupported");
  return true;
}
bool unsupportedHardness(CommandLayer &l, Cmd) {
  l.showMessage("set hardness command is unsupported");
  return true;
}
bool message(CommandLayer &l, Cmd c) {
  l.showMessage(joinScriptMessage(c.lines));
  return true;
}

// --- Object attributes ---

bool setVisible(CommandLayer &l, Cmd c) {
  if (!l.scene().object(arg(c, 0)))
    return l.badArgument(c);
  l.scene().SetObjectVisible(arg(c, 0), arg(c, 1) != 0);
  return true;
}
bool setSensitive(CommandLayer &l, Cmd c) {
  if (!l.scene().object(arg(c, 0)))
    return l.badArgument(c);
  l.scene().SetObjectSensitive(arg(c, 0), arg(c, 1) != 0);
  return true;
}
bool rename(CommandLayer &l, Cmd c) {
  moObject *obj = l.scene().object(arg(c, 0));
  if (!obj || c.lines.empty())
    return l.badArgument(c);
  if (obj->name != c.lines.front()) {
    l.scene().beginObjectStep({arg(c, 0)}, "Rename");
    obj->name = c.lines.front();
    l.scene().markChanged();
  }
  return true;
}
// The packed size: n with a bit of 0x5555 set gives a square of side trunc(sqrt(n)) cells of 16
// texels, any other n a rectangle twice as wide as trunc(sqrt(n / 2)) is high.
bool textureSize(CommandLayer &l, Cmd c) {
  const uint32_t packed = uint32_t(arg(c, 0));
  moObject *obj = l.scene().object(int32_t(packed & 0xFFFF));
  const uint32_t n = packed >> 16;
  const int32_t h = int32_t(std::sqrt(double((n & 0x5555) ? n : n / 2)));
  const int32_t w = (n & 0x5555) ? h : 2 * h;
  if (!obj || h == 0)
    return l.badArgument(c);
  PaintLayer *old = obj->paintLayer.get();
  if (!old)
    return true; // an object without paint has no texture to size
  auto resized = makePaintLayer(old->kind(), 16 * w, 16 * h, old->elementCount, &old->image);
  if (!resized)
    return l.badArgument(c);
  resized->coordinates = old->coordinates;
  obj->paintLayer = std::move(resized);
  return true;
}

// --- Operations, through the controller ---

// The codes of the operation rows (ops/operation_table.h).
bool operation(CommandLayer &l, Cmd c) {
  const OperationRow *op = operationByScriptCode(c.code);
  if (op->axisBound() && arg(c, 0) > 2)
    return l.badArgument(c);
  ScriptInput *in = l.input();
  const bool started = in && (op->unnumbered ? in->runCommand(op->id, arg(c, 0))
                                             : in->startOperation(op->id, arg(c, 0)));
  if (!started) {
    l.showMessage("unknown command");
    return false;
  }
  return true;
}

struct HandlerRow {
  uint8_t code;
  ScriptHandler handler;
};
const HandlerRow kHandlers[] = {
    {kScriptPress, press},
    {kScriptRelease, release},
    {kScriptMove, move},
    {kScriptButtons, buttons},
    {kScriptLastPosition, lastPosition},
    {kScriptDragKind, dragKind},
    {kScriptHover, hover},
    {kScriptDragSelect, dragSelect},
    {kScriptToggle, toggle},
    {kScriptIgnored, ignored},
    {kScriptViewAlong, viewAlong},
    {kScriptResetView, resetView},
    {kScriptAim, aim},
    {kScriptToggleOutlines, toggleDisplay},
    {kScriptUndo, undo},
    {kScriptDeleteAll, deleteAll},
    {kScriptAddPrimitive, addPrimitive},
    {kScriptSetMode, setMode},
    {kScriptSelectAll, selectAll},
    {kScriptSelectAdjacent, selectAdjacent},
    {kScriptGrow, grow},
    {kScriptShrink, shrink},
    {kScriptSetColourUnsupported, unsupportedColour},
    {kScriptSetHardnessUnsupported, unsupportedHardness},
    {kScriptShadeAll, shadeAll},
    {kScriptToggleSmooth, toggleDisplay},
    {kScriptToggleColours, toggleDisplay},
    {kScriptToggleTextures, toggleDisplay},
    {kScriptStepMarker, ignored},
    {kScriptMessage, message},
    {kScriptEdgeLoop, edgeLoop},
    {kScriptSetModeEmpty, setModeEmpty},
    {kScriptPan, pan},
    {kScriptSetColour, setColour},
    {kScriptPerspective, perspective},
    {kScriptRectangleSelect, rectangleSelect},
    {kScriptKeyDown, keyDown},
    {kScriptKeyUp, keyUp},
    {kScriptSetVisible, setVisible},
    {kScriptSetSensitive, setSensitive},
    {kScriptRename, rename},
    {kScriptTextureSize, textureSize},
    {kScriptDragAmount, dragAmount},
    {kScriptUndoStep, historyStep},
    {kScriptRedoStep, historyStep},
    {kScriptWheel, wheel},
    {kScriptSymmetry, symmetry},
};

} // namespace

int32_t operationCode(int32_t operationId) {
  const OperationRow *row = operationRow(operationId);
  return row ? row->scriptCode : 0;
}
int32_t commandCode(int32_t command) {
  const OperationRow *row = unnumberedRow(command);
  return row ? row->scriptCode : 0;
}

ScriptHandler scriptHandler(uint8_t code) {
  for (const HandlerRow &row : kHandlers)
    if (row.code == code)
      return row.handler;
  return operationByScriptCode(code) ? operation : nullptr;
}

bool recordedByController(uint8_t code) {
  switch (code) {
  case kScriptPress:
  case kScriptRelease:
  case kScriptMove:
  case kScriptButtons:
  case kScriptLastPosition:
  case kScriptDragKind:
  case kScriptHover:
  case kScriptDragSelect:
  case kScriptToggle:
  case kScriptStepMarker:
  case kScriptKeyDown:
  case kScriptKeyUp:
  case kScriptDragAmount:
  case kScriptWheel:
    return true;
  default:
    return false;
  }
}
