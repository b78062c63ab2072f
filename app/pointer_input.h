// Qt's mouse events as the plain pointer events the work windows' input code takes.
#pragma once

#include "view/interaction_controller.h"

#include <QtGlobal>

class QMouseEvent;

// The event at its position in window pixels (y downward; the same at any device pixel ratio),
// with the button that changed, the buttons held and the Shift and Ctrl modifiers.
PointerInput pointerInputOf(const QMouseEvent &event, PointerInput::Kind kind);
