// The two menu bars of the main window as data: every entry's exact label (accelerators are part
// of the label text), its command number, separators and popups. The shell builds the real menus
// by walking these tables; the commands themselves are rows of the command table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MenuItem {
  const char *label;                  // null: a separator
  int32_t command;                    // command number; 0 for a popup
  const std::vector<MenuItem> *popup; // the popup's entries, or null
  const char *help;                   // status help of a popup heading, or null
  const char *keyGap; // when set, the label goes on with this and the command's hot key
};

struct MenuDefinition {
  const char *title;
  const char *help; // status help while the whole menu is highlighted
  std::vector<MenuItem> items;
};

const std::vector<MenuDefinition> &modelMenuBar();
// The text an entry shows: its label and, for a keyed entry, its command's hot key.
std::string menuLabel(const MenuItem &item);
const std::vector<MenuDefinition> &paintMenuBar();
