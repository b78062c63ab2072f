// The brush options popup of the paint window: "Brush Options", then the "Size", "Softness" and
// "Opacity" submenus the current tool offers, with check marks on its present values and status
// help while an entry is highlighted.
#pragma once

#include "paint/tools/paint_window_input.h"

#include <QPoint>

class QWidget;

// Shows the popup at the global position and applies the choice to the current tool; nothing
// for a tool without brush options.
void showBrushOptions(QWidget *parent, PaintWindowInput &input, UserInterface &ui, QPoint where);
