#include "app/pointer_input.h"

#include <QMouseEvent>
#include <cmath>

namespace {

Button buttonOf(Qt::MouseButton b) {
  return b == Qt::LeftButton     ? Button::Left
         : b == Qt::MiddleButton ? Button::Middle
         : b == Qt::RightButton  ? Button::Right
                                 : Button::None;
}

} // namespace

PointerInput pointerInputOf(const QMouseEvent &event, PointerInput::Kind kind) {
  PointerInput in;
  in.kind = kind;
  in.x = int32_t(std::floor(event.position().x()));
  in.y = int32_t(std::floor(event.position().y()));
  in.button = buttonOf(event.button());
  in.mods = {bool(event.modifiers() & Qt::ShiftModifier),
             bool(event.modifiers() & Qt::ControlModifier)};
  in.leftHeld = event.buttons() & Qt::LeftButton;
  in.middleHeld = event.buttons() & Qt::MiddleButton;
  in.rightHeld = event.buttons() & Qt::RightButton;
  return in;
}
