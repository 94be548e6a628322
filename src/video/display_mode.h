#pragma once
// The display-mode switches of the game window (fullscreen, windowed, hidden for a system
// dialog) and the choice of a fullscreen mode, kept apart from the platform so it can be
// tested on any list of modes.

#include <vector>

class OpenGLDiveduva;

struct DisplayModeChoice {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

// The index in modes of one that has exactly width x height and, when bitsPerPixel is
// not 0, that many bits per pixel; -1 when there is none.
int FindExactDisplayMode(const std::vector<DisplayModeChoice>& modes, int width, int height, int bitsPerPixel);

// The fullscreen mode for a surface: first with the colour depth when it is set and
// differs from the desktop's, then with width and height only. -1 when neither exists.
int ChooseFullscreenMode(const std::vector<DisplayModeChoice>& modes, int width, int height, int colourDepth,
                         int desktopBitsPerPixel);

// Switches to a display mode of exactly the surface size (and colourDepth when it differs
// from the desktop's) on a new window; the old window is destroyed. Returns 1, or 0 when
// no such mode exists ("No Fullscreen Mode available" logged, windowed mode kept).
int EnterFullscreen(OpenGLDiveduva& renderer);
// Restores the desktop mode when fullscreen was active and shows the window with its
// frame at its normal position. Returns 1.
int EnterWindowed(OpenGLDiveduva& renderer);
// Stores each of width, height and colour depth that is greater than 0, then enters
// fullscreen or windowed mode.
void ChangeScreenMode(OpenGLDiveduva& renderer, int width, int height, int colourDepth, int fullscreen);
// Leaves fullscreen and hides the window before a system dialog. Returns 1.
int SuspendDisplay(OpenGLDiveduva& renderer);
