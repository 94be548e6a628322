#pragma once
// Keyboard and mouse commands. Keys are named by the engine's key numbers (scan_codes.h);
// mouse positions are window pixels with the origin at the top left.

// Refreshes the keyboard snapshot, then 1 when the key (low 8 bits of the number) is
// down, else 0.
double GetKeyDown(double scanCode);

// Reads the mouse and clamps the program's mouse position to the drawing surface,
// keeping the clamped position; x and y are that position, left and right 1 or 0.
void GetMouseState(double& x, double& y, double& left, double& right);
// 0: dx, 1: dy, 2: wheel (-1, 0, 1), 3: left, 4: right, 5: middle button (1 or 0) of the
// current mouse frame; any other axis: 0.
double GetMouseAxis(double axis);
// Non-zero: the system cursor is shown and the position follows it; 0: the mouse is
// captured and motion moves the position.
void SetMouseFree(double flag);
// Sets the program's mouse position; the system cursor is not moved.
void SetMousePosition(double x, double y);
// Reads the mouse: 1 when any of its three buttons is down, else 0.
double AnyMouseButton();
// Waits until no mouse button is down, then for one to go down, handling the window
// meanwhile (idle waits, so Escape still ends the program).
void WaitForMouseButton();
