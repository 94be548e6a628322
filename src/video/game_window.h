#pragma once
// Platform pieces of the game window shared by window creation and the display-mode
// switches.

#include <SDL2/SDL.h>

// Bits per colour channel for a requested colour depth.
struct ColourChannelBits {
  int red = 8;
  int green = 8;
  int blue = 8;
};
ColourChannelBits ChannelBitsForDepth(int colourDepth);

// The desktop's bits per pixel (24 when the platform does not tell).
int DesktopBitsPerPixel();
// Top left corner that centres a width x height client area on the desktop; the
// division truncates toward zero, so an area larger than the desktop starts left of it.
SDL_Point CentredOnDesktop(int width, int height);
// Appends "<what>: <SDL's error text>" to the error log and standard error.
void LogPlatformFailure(const char* what);
