#pragma once
// Joystick commands. Joysticks are numbered 0 .. GetJoystickCount() - 1; a number without
// a joystick reads as a centred joystick with no button down.

#include "core/basic_string.h"

// The number of joysticks attached.
double GetJoystickCount();
// The joystick's name, or an empty text for a number without a joystick.
BasicString GetJoystickName(double index);
// Axes divided by 32767 and clamped to -1 .. 1.
double GetJoystickX(double index);
double GetJoystickY(double index);
double GetJoystickZ(double index);
double GetJoystickRotX(double index);
double GetJoystickRotY(double index);
double GetJoystickRotZ(double index);
// First hat: 1 right, -1 left, else 0 (diagonals too).
double GetJoystickHatX(double index);
// First hat: -1 up, 1 down, else 0 (diagonals too).
double GetJoystickHatY(double index);
// The button's raw byte (0, or 128 while pressed) for buttons 0 .. 31; 0 for any other
// button, without reading the joystick.
double GetJoystickButton(double index, double button);
// Joystick 0 only: x and y as -1, 0 or 1 (pushed from 30000 of 32767 on), b1 and b2 the
// raw bytes of buttons 0 and 1.
void GetJoystickDigital(double& x, double& y, double& button1, double& button2);
// A constant force in direction (forceX, forceY), each clamped to -1 .. 1, for duration
// milliseconds; its strength grows with the direction's length. Does nothing on a
// joystick without force feedback.
void PlayJoystickForce(double index, double durationMs, double forceX, double forceY);
