#pragma once
// What a window on an X server shows: its pixels read back from the server, as a player
// would see them, for checks of whole programs on a private Xvfb.

#include <cstdint>
#include <string>
#include <vector>

struct WindowPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, top row first

  bool Empty() const { return width <= 0 || height <= 0; }
  const std::uint8_t* At(int x, int y) const { return &rgb[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

// The window's client area as the server shows it now; empty when the window is gone.
WindowPicture CaptureWindow(const std::string& display, unsigned long window);
// Writes the picture as a PNG file (for a look at what a failing check saw). False when
// the file could not be written.
bool SaveWindowPicture(const WindowPicture& picture, const std::string& path);
