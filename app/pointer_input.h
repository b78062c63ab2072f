// Qt's mouse events as the plain pointer events the work windows' input code takes.
#pragma once

#include "view/interaction_controller.h"

#include <QtGlobal>

class QMouseEvent;

// The event at its position times ratio (device pixels, y downward), with the button that
// changed, the buttons held and the Shift and Ctrl modifiers.
PointerInput pointerInputOf(const QMouseEvent &event, PointerInput::Kind kind, qreal ratio);
