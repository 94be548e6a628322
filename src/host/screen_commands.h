#pragma once
// The display-mode and window commands of the game language.

// Stores the mode in the engine state, switches the renderer to it, hands the current
// window on and shows five frames so the new mode settles.
void SetScreenMode(double width, double height, double fullscreen);
// 1 while a fullscreen display mode is active, else 0.
double IsFullscreen();
// The main window's id: the X11 window id when the window is on X11, else SDL's window
// id; 0 when there is no window.
double GetMainWindowHandle();
