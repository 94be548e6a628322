#include "input/input_commands.h"

#include <SDL2/SDL_timer.h>

#include "base/engine_state.h"
#include "base/host_steps.h"
#include "base/number_truncation.h"
#include "input/input_manager.h"
#include "input/input_system.h"

namespace {

// The pause between two looks at the buttons while waiting for them to be released.
constexpr Uint32 kReleasePollMs = 1;

bool AnyButtonDown(const MouseState& state) { return state.left != 0 || state.right != 0 || state.middle != 0; }

double Flag(std::int16_t button) { return button != 0 ? 1 : 0; }

}  // namespace

double GetKeyDown(double scanCode) {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return 0;
  RefreshKeyboardWithinFrame(*input);
  return IsKeyDown(*input, TruncateToInt32(scanCode) & 0xFF) ? 1 : 0;
}

void GetMouseState(double& x, double& y, double& left, double& right) {
  x = y = left = right = 0;
  InputManager* input = Subsystems().input;
  if (input == nullptr) return;
  MouseState state;
  ReadMouse(*input, state);
  int width = 0;
  int height = 0;
  GetMouseArea(width, height);
  ClampMousePosition(*input, width, height);
  x = input->mouseX;
  y = input->mouseY;
  left = Flag(state.left);
  right = Flag(state.right);
}

double GetMouseAxis(double axis) {
  InputManager* input = Subsystems().input;
  const std::int32_t which = TruncateToInt32(axis);
  if (input == nullptr || which < 0 || which > 5) return 0;
  MouseState state;
  ReadMouse(*input, state);
  switch (which) {
    case 0:
      return state.dx;
    case 1:
      return state.dy;
    case 2:
      return state.wheel;
    case 3:
      return Flag(state.left);
    case 4:
      return Flag(state.right);
    default:
      return Flag(state.middle);
  }
}

void SetMouseFree(double flag) {
  if (InputManager* input = Subsystems().input) SetMouseMode(*input, flag != 0);
}

void SetMousePosition(double x, double y) {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return;
  input->mouseX = TruncateToInt32(x);
  input->mouseY = TruncateToInt32(y);
}

double AnyMouseButton() {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return 0;
  MouseState state;
  ReadMouse(*input, state);
  return AnyButtonDown(state) ? 1 : 0;
}

void WaitForMouseButton() {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return;
  // A button still held from before must be let go first. Each look is a new mouse
  // frame, so a click already reported does not keep the wait here.
  for (;;) {
    BeginMouseFrame(*input);
    if (AnyMouseButton() == 0) break;
    SDL_Delay(kReleasePollMs);
  }
  do {
    RunIdleWait();
  } while (AnyMouseButton() == 0);
}
