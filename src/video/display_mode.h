#pragma once
// The choice of a fullscreen display mode, kept apart from the platform so it can be
// tested on any list of modes.

#include <vector>

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
