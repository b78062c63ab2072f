// The brush options popup of the paint window as data: which of the "Size", "Softness" and
// "Opacity" submenus a tool offers, their items with the values they set and their status help,
// which item carries the check mark, and what choosing one does to the tool.
#pragma once

#include "paint/tools/paint_tool.h"

#include <cstdint>
#include <vector>

enum class BrushOption { Size, Softness, Opacity };

struct BrushChoice {
  const char *label;
  const char *help; // status help while the item is highlighted
  float value;      // pixels, hardness or opacity
};

struct BrushOptionMenu {
  BrushOption option;
  const char *title;
  const char *help; // status help of the submenu
  std::vector<BrushChoice> choices;
};

constexpr const char *kBrushOptionsTitle = "Brush Options";
constexpr const char *kBrushOptionsHelp = "Brush parameters menu";

// The submenus the tool with that index offers, in menu order; none for the tools without a
// popup (knife, fill, colour picker, hand, face selection) and unknown indices.
std::vector<const BrushOptionMenu *> brushOptionMenus(int32_t toolIndex);
// Whether the choice carries the check mark for the tool as it stands.
bool brushChoiceChecked(const PaintTool &tool, BrushOption option, const BrushChoice &choice);
// Sets the tool's size (the pencil takes half the value), hardness or opacity (through the
// tool's own opacity setter) to the choice's value.
void chooseBrushOption(PaintContext &ctx, int32_t toolIndex, BrushOption option,
                       const BrushChoice &choice);
