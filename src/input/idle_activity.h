#pragma once
// What ends an idle wait early: a key, a change of the mouse, or a joystick that is used.

class InputManager;

// The activity checks of one idle-wait pass, on a keyboard snapshot and mouse frame
// already opened, in this order:
//   a key with number 0 .. 254 down;
//   the mouse (read, its position clamped to width x height and written back) at another
//     position or with another left or right button state than the last pass that looked
//     at it; the new values are remembered;
//   a joystick, from the last to the first, with a button down, its X, Y or Z axis beyond
//     0.1 of full deflection, or its first hat pushed straight up, down, left or right.
// True at the first activity found.
bool InputEndsIdleWait(InputManager& input, int width, int height);
