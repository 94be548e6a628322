#pragma once
// The state record of one joystick and the conversions the joystick commands apply to it.
//
// The record has the classic 80-byte joystick layout games were written against: six
// axes in -32768 .. 32767 (centre 0), two sliders, four point-of-view hats in hundredths
// of a degree clockwise from up (kPovCentred when the hat is centred or absent), and 32
// button bytes (kJoystickButtonDown while pressed).

#include <cstdint>

struct JoystickState {
  std::int32_t lX = 0;
  std::int32_t lY = 0;
  std::int32_t lZ = 0;
  std::int32_t lRx = 0;
  std::int32_t lRy = 0;
  std::int32_t lRz = 0;
  std::int32_t sliders[2] = {0, 0};
  std::uint32_t pointOfView[4] = {0, 0, 0, 0};
  std::uint8_t buttons[32] = {};
};
static_assert(sizeof(JoystickState) == 80, "the joystick record keeps its 80-byte layout");

inline constexpr int kMaxJoysticks = 10;
inline constexpr int kJoystickButtons = 32;
inline constexpr int kJoystickAxes = 6;     // X, Y, Z, Rx, Ry, Rz
inline constexpr int kJoystickSliders = 2;  // the device axes after the six above
inline constexpr int kJoystickHats = 4;
inline constexpr std::uint8_t kJoystickButtonDown = 0x80;
inline constexpr std::uint32_t kPovCentred = 0xFFFFFFFF;
// Hat directions in hundredths of a degree.
inline constexpr std::uint32_t kPovUp = 0;
inline constexpr std::uint32_t kPovRight = 9000;
inline constexpr std::uint32_t kPovDown = 18000;
inline constexpr std::uint32_t kPovLeft = 27000;

// The record of a joystick that is not there: axes and buttons 0, hats centred.
JoystickState AbsentJoystickState();

// SDL's hat bits (SDL_HAT_UP, ...) as a point-of-view value: 0 up, 4500 up-right, ...
// 31500 up-left, kPovCentred when centred.
std::uint32_t PointOfViewOfHat(std::uint8_t sdlHat);

// An axis value divided by 32767 and clamped to -1 .. 1.
double ScaledAxis(std::int32_t value);
// First hat across: 1 for right (9000), -1 for left (27000), else 0 (diagonals too).
int HatAcross(std::uint32_t pointOfView);
// First hat up and down: -1 for up (0), 1 for down (18000), else 0 (diagonals too).
int HatUpDown(std::uint32_t pointOfView);
// The digital reading of an axis: value / 30000 truncated toward zero, so -1, 0 or 1
// for every axis value.
int DigitalAxis(std::int32_t value);
