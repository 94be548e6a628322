#include "input/joystick_commands.h"

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "input/input_manager.h"

namespace {

JoystickState Read(double index) {
  JoystickState state = AbsentJoystickState();
  if (InputManager* input = Subsystems().input) ReadJoystick(*input, TruncateToInt32(index), state);
  return state;
}

}  // namespace

double GetJoystickCount() {
  const InputManager* input = Subsystems().input;
  return input != nullptr ? input->joystickCount : 0;
}

BasicString GetJoystickName(double index) {
  const InputManager* input = Subsystems().input;
  const std::int32_t which = TruncateToInt32(index);
  if (input == nullptr || which < 0 || which >= input->joystickCount) return BasicString();
  return BasicString(input->joystickNames[static_cast<std::size_t>(which)].c_str());
}

double GetJoystickX(double index) { return ScaledAxis(Read(index).lX); }
double GetJoystickY(double index) { return ScaledAxis(Read(index).lY); }
double GetJoystickZ(double index) { return ScaledAxis(Read(index).lZ); }
double GetJoystickRotX(double index) { return ScaledAxis(Read(index).lRx); }
double GetJoystickRotY(double index) { return ScaledAxis(Read(index).lRy); }
double GetJoystickRotZ(double index) { return ScaledAxis(Read(index).lRz); }
double GetJoystickHatX(double index) { return HatAcross(Read(index).pointOfView[0]); }
double GetJoystickHatY(double index) { return HatUpDown(Read(index).pointOfView[0]); }

double GetJoystickButton(double index, double button) {
  const std::int32_t which = TruncateToInt32(button);
  if (which < 0 || which >= kJoystickButtons) return 0;
  return Read(index).buttons[which];
}

void GetJoystickDigital(double& x, double& y, double& button1, double& button2) {
  const JoystickState state = Read(0);
  x = DigitalAxis(state.lX);
  y = DigitalAxis(state.lY);
  button1 = state.buttons[0];
  button2 = state.buttons[1];
}

void PlayJoystickForce(double index, double durationMs, double forceX, double forceY) {
  if (InputManager* input = Subsystems().input) {
    PlayForce(*input, TruncateToInt32(index), MakeConstantForce(durationMs, forceX, forceY));
  }
}
