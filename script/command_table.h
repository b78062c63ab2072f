// The table of user commands: every menu entry, tool-bar button and hot key of the program is a
// row, keyed by its command number (key-only commands have negative numbers) and named for
// morvo-cli and the tests. A row either runs below the window layer (through the script command
// layer, so that recordings see it; the file commands through its file session, the paint
// commands on its paint session) or is left for the shell to attach (windows, the screen's
// picture).
#pragma once

#include "script/command_numbers.h"

#include <cstdint>
#include <string>
#include <vector>

class CommandLayer;
class Scene;

// Keys that are pressed rather than typed.
enum class PressedKey { None, Left, Right, Up, Down, Delete, Letter };

// When a typed hot key runs its command in the model work mode.
enum class KeyWhen : uint8_t {
  Always,
  SelectMode,       // the controller waits for a selection
  NothingSelected,  // the selection is empty
  ObjectsSelected,  // objects are selected
  ElementsSelected, // vertices, edges or faces are selected
  EdgesSelected,
};

// The hot key of a command: the key lookup and the shortcut text of its menu labels both come
// from here.
struct HotKey {
  const char *typed = nullptr; // the characters that run the command; null for none
  const char *label = nullptr; // the shortcut text menus show; null for none
  KeyWhen when = KeyWhen::Always;
  char ctrlLetter = 0; // the upper-case letter that runs it with Ctrl held; 0 for none
  PressedKey pressed = PressedKey::None;
  char ctrlShiftLetter = 0; // the same with Ctrl and Shift held
};

struct CommandEntry {
  int32_t number;   // menu and tool-bar command number; negative for key-only commands
  const char *name; // the name morvo-cli and the tests use
  const char *help; // status help while the entry is highlighted; null for none
  void (*run)(CommandLayer &, int32_t argument); // null: the shell attaches a handler
  int32_t argument;
  HotKey key = {};
};

const std::vector<CommandEntry> &allCommands();

// The paint tool bar's command that chooses a paint tool (by PaintToolIndex), 0 for none; and
// the tool a command chooses, -1 for none.
int32_t paintToolCommand(int32_t index);
int32_t paintToolOfCommand(int32_t command);
// The row of a number or name; null when there is none.
const CommandEntry *findCommand(int32_t number);
const CommandEntry *findCommand(const std::string &name);

// The command a typed character runs in the model work mode, or 0 for none. Ctrl held, and the
// keys whose condition the scene or the controller does not meet, give 0.
int32_t typedKeyCommand(uint32_t character, const Scene &scene, bool inSelectMode, bool ctrl);

// The shortcut text of a command's hot key, empty for none.
std::string hotKeyLabel(int32_t number);

// The command of a pressed key (letter: with Ctrl, one of O, Q, S, Y, Z; with Ctrl and Shift, Z),
// or 0 for none.
int32_t pressedKeyCommand(PressedKey key, char letter, bool ctrl, bool shift = false);
