// A game that reports the mouse as the player moves it, for the whole-program mouse
// tests on a real X server. It starts at mouse position 320, 240 in captured mode, shows
// frames and prints "mouse <x> <y>" whenever the position changes. The F key frees the
// mouse ("free"), the C key captures it again ("captured"); Escape ends the game.

#include <cstdio>

#include "host/frame_present.h"
#include "host/game_interface.h"
#include "input/input_commands.h"
#include "input/scan_codes.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Mouse Probe";
  return settings;
}

int GameMain() {
  SetMousePosition(320, 240);
  std::printf("ready\n");
  std::fflush(stdout);
  double lastX = -1;
  double lastY = -1;
  bool free = false;
  for (;;) {
    PresentFrame();
    if (!free && GetKeyDown(key::kF) != 0) {
      SetMouseFree(1);
      free = true;
      std::printf("free\n");
    }
    if (free && GetKeyDown(key::kC) != 0) {
      SetMouseFree(0);
      free = false;
      std::printf("captured\n");
    }
    double x = 0, y = 0, left = 0, right = 0;
    GetMouseState(x, y, left, right);
    if (x != lastX || y != lastY) std::printf("mouse %.0f %.0f\n", x, y);
    lastX = x;
    lastY = y;
    std::fflush(stdout);
  }
}
