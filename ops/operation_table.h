// Every modeling operation and unnumbered command as one descriptor row: its title, command-line
// name, tutorial-script code, setup, drag kind, repeat rule and the places it takes in the
// right-button operations menus. The command dispatch (operation_commands.h), the script player,
// the operations menu and the repeat key all read these rows; a new operation adds its file pair
// and one row of operation_table.cpp.
#pragma once

#include "ops/operation_ids.h"
#include "scene/scene.h"

#include <cstddef>
#include <string_view>

// What a command's integer argument means.
enum OperationArgument : uint8_t {
  kArgNone,   // ignored
  kArgAxis,   // the axis 0 X, 1 Y, 2 Z, which becomes the controller's axis (axis-bound)
  kArgNumber, // a whole number: Cut edges' segment count, 1 hard / 0 soft, crease degrees
};

// The right-button menus an entry appears in, as bits.
enum MenuSet : uint8_t {
  kMenuVertices = 1,
  kMenuEdges = 2,
  kMenuFaces = 4,
  kMenuObjects = 8,
  kMenuElements = kMenuVertices | kMenuEdges | kMenuFaces,
  kMenuAll = kMenuElements | kMenuObjects,
};

// The runs of a menu that separators divide, in menu order. Within a section the entries keep the
// order of the rows; entries of one submenu are next to each other.
enum MenuSection : uint8_t {
  kSectionTransform,
  kSectionExtrude,
  kSectionFlatten,
  kSectionEdit,
  kSectionOrient,
  kSectionRemove,
  kSectionHardness,
  kSectionColor,
  kSectionPaint,
  kSectionObject,
  kMenuSectionCount,
};

// One place of a row in the operations menus. It gives one entry per argument: X, Y and Z for an
// axis-bound row, firstArgument to lastArgument otherwise; '#' in the text and help stands for
// the argument (the axis letter or the number).
struct MenuPlace {
  uint8_t menus = 0; // MenuSet bits; 0: no place
  uint8_t section = kSectionTransform;
  const char *submenu = nullptr; // null: an entry of the menu itself
  const char *text = nullptr;
  const char *help = nullptr; // the status line while the entry is highlighted
  int32_t firstArgument = 0, lastArgument = 0;
};

// The argument key D repeats a row with: the controller's present axis, or never (the unnumbered
// commands set no last operation). Any other value is the argument itself.
constexpr int32_t kRepeatAxis = -1;
constexpr int32_t kNoRepeat = -2;

struct OperationRow {
  int32_t id;         // an OperationId, or an UnnumberedCommand when unnumbered
  bool unnumbered;    // the id is an UnnumberedCommand
  const char *title;  // what operationName returns; null: none
  const char *name;   // the command-line name, kebab case
  uint8_t scriptCode; // the tutorial-script code; stored in files, so it never changes
  OperationArgument argument;
  bool (*setup)(Scene &, int32_t argument); // the scene setup of the command
  int32_t dragKind;                         // the drag that follows; kDragNone: applied at once
  int32_t repeatArgument;                   // kRepeatAxis, kNoRepeat or a fixed argument
  MenuPlace menu = {};                      // its place in the operations menus; empty: none
  MenuPlace secondMenu = {};                // a second place: another section, text or argument
  bool axisBound() const { return argument == kArgAxis; }
};

// All rows, OperationIds and UnnumberedCommands alike, in the menus' order within each section.
struct OperationRows {
  const OperationRow *first, *last;
  const OperationRow *begin() const { return first; }
  const OperationRow *end() const { return last; }
};
OperationRows operationRows();

// The unit X, Y or Z axis of an axis argument 0, 1 or 2 (X for anything else).
moVec3 unitAxis(int32_t axisArgument);

// The row of an OperationId or of an UnnumberedCommand; null for none.
const OperationRow *operationRow(int32_t operationId);
const OperationRow *unnumberedRow(int32_t command);
// The row a tutorial-script code starts; null when the code starts no operation.
const OperationRow *operationByScriptCode(uint8_t code);

// A command-line operation: its row and, for an axis-bound row, the axis 0 to 2.
struct NamedOperation {
  const OperationRow *row = nullptr; // null: no such name
  int32_t axis = -1;
};
// Looks up a command-line name: a row's own name, or "<name>-x", "-y", "-z" for an axis-bound
// row (whose bare name is not enough). Unknown names give a null row. On the command line a
// kArgNumber row takes its argument from the amount (cut-edges=3); a row with a drag kind takes
// the amount as applyDragAmount's (ops/drag.h).
NamedOperation operationByName(std::string_view name);

// The argument key D repeats an operation with when the controller's axis is `axis`: Cut edges
// cuts in two, the others take the axis (0 for an axis other than Y or Z). Ids without a row
// give 0.
int32_t repeatArgument(int32_t operationId, const moVec3 &axis);
