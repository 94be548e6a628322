#include "input/idle_activity.h"

#include <cmath>

#include "input/input_manager.h"

namespace {

// An axis counts as used beyond this share of full deflection.
constexpr double kIdleAxisThreshold = 0.1;
// Keys 0 .. 254: 255 is no key.
constexpr int kLastIdleKey = 254;

bool MouseChanged(InputManager& input, int width, int height) {
  MouseState state;
  ReadMouse(input, state);
  ClampMousePosition(input, width, height);
  const double x = input.mouseX;
  const double y = input.mouseY;
  const double left = state.left != 0 ? 1 : 0;
  const double right = state.right != 0 ? 1 : 0;
  if (x == input.idleMouseX && y == input.idleMouseY && left == input.idleMouseLeft &&
      right == input.idleMouseRight) {
    return false;
  }
  input.idleMouseX = x;
  input.idleMouseY = y;
  input.idleMouseLeft = left;
  input.idleMouseRight = right;
  return true;
}

bool JoystickUsed(InputManager& input, int index) {
  JoystickState state;
  ReadJoystick(input, index, state);
  for (std::uint8_t button : state.buttons) {
    if (button != 0) return true;
  }
  for (std::int32_t axis : {state.lX, state.lY, state.lZ}) {
    if (std::fabs(ScaledAxis(axis)) > kIdleAxisThreshold) return true;
  }
  const std::uint32_t pov = state.pointOfView[0];
  return pov == kPovUp || pov == kPovRight || pov == kPovDown || pov == kPovLeft;
}

}  // namespace

bool InputEndsIdleWait(InputManager& input, int width, int height) {
  if (input.keyboard.AnyDown(0, kLastIdleKey)) return true;
  if (MouseChanged(input, width, height)) return true;
  for (int index = input.joystickCount - 1; index >= 0; --index) {
    if (JoystickUsed(input, index)) return true;
  }
  return false;
}
