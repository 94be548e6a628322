#pragma once
// The game window with its GL context, and the platform pieces that window creation
// shares with the display-mode switches.

#include <SDL2/SDL.h>

class OpenGLDiveduva;

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

// Opens the window with its GL context: compatibility profile, colour bits of
// colourDepth (0 = the desktop's), 24-bit depth, 8-bit stencil, double buffer and, when
// multisampleCount is not 0, the largest of multisampleCount, /2, /4 ... samples the
// platform accepts. An existing context is made current on the new window when the
// window accepts it, so textures survive. Returns 1, or 0 after logging why.
int CreateGameWindow(OpenGLDiveduva& renderer, int width, int height, int colourDepth,
                     int framesPerSecond, int multisampleCount);
// The largest sample count of samples, samples / 2, ... 1 for which the platform opens
// a multisampled window with this renderer's buffers; 0 when none.
int FindMultisampleFormat(int samples);
