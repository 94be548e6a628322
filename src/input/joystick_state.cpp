#include "input/joystick_state.h"

#include <SDL2/SDL_joystick.h>

#include <algorithm>

namespace {

// Full deflection of an axis as the commands scale it.
constexpr double kAxisFullScale = 32767.0;
// The digital commands read an axis as pushed from this deflection on.
constexpr std::int32_t kDigitalThreshold = 30000;

}  // namespace

JoystickState AbsentJoystickState() {
  JoystickState state;
  for (std::uint32_t& pov : state.pointOfView) pov = kPovCentred;
  return state;
}

std::uint32_t PointOfViewOfHat(std::uint8_t sdlHat) {
  switch (sdlHat) {
    case SDL_HAT_UP:
      return kPovUp;
    case SDL_HAT_RIGHTUP:
      return 4500;
    case SDL_HAT_RIGHT:
      return kPovRight;
    case SDL_HAT_RIGHTDOWN:
      return 13500;
    case SDL_HAT_DOWN:
      return kPovDown;
    case SDL_HAT_LEFTDOWN:
      return 22500;
    case SDL_HAT_LEFT:
      return kPovLeft;
    case SDL_HAT_LEFTUP:
      return 31500;
    default:
      // Centred, and impossible combinations such as up and down together.
      return kPovCentred;
  }
}

double ScaledAxis(std::int32_t value) { return std::clamp(value / kAxisFullScale, -1.0, 1.0); }

int HatAcross(std::uint32_t pointOfView) {
  if (pointOfView == kPovRight) return 1;
  if (pointOfView == kPovLeft) return -1;
  return 0;
}

int HatUpDown(std::uint32_t pointOfView) {
  if (pointOfView == kPovUp) return -1;
  if (pointOfView == kPovDown) return 1;
  return 0;
}

int DigitalAxis(std::int32_t value) { return value / kDigitalThreshold; }
