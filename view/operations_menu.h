// The right-button operations menu of the model window as data: one menu per selection kind plus
// the primitives menu, each entry with its exact text, status help and the command it starts.
// The operation entries come from the places of the operation rows (ops/operation_table.h).
// The window layer turns it into a real popup menu; the controller runs the chosen command.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a menu entry starts.
struct MenuCommand {
  enum class Kind : uint8_t { None, Operation, Primitive, Statistics, Unnumbered };
  Kind kind = Kind::None;
  int32_t id = -1;      // OperationId, PrimitiveType for primitives, UnnumberedCommand
  int32_t argument = 0; // axis 0 X, 1 Y, 2 Z; segment count for Cut; hardness; degrees
};

struct MenuEntry {
  enum class Type : uint8_t { Heading, Separator, Command, Submenu };
  Type type = Type::Command;
  std::string text;
  std::string help; // status line while highlighted; empty for headings and submenus
  MenuCommand command;
  // False for operations whose command is not available in this build; they show, disabled.
  bool enabled = true;
  std::vector<MenuEntry> submenu;
};

enum class MenuKind : uint8_t { None, Vertices, Edges, Faces, Objects, Primitives };

// The entries of one menu in order (empty for MenuKind::None).
const std::vector<MenuEntry> &operationsMenu(MenuKind kind);
