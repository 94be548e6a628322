// A game that leaves the screen as start-up presented it, for a test to look at: it
// prints the current font number and cell size as "font <n> <width> <height>", then
// waits (without presenting another frame) until the window is closed.

#include <cstdio>

#include "base/engine_state.h"
#include "gfx2d/font_commands.h"
#include "host/frame_present.h"
#include "host/game_interface.h"
#include "host/idle_wait.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Loading probe";
  return settings;
}

int GameMain() {
  double cellWidth = 0, cellHeight = 0;
  GetFontSize(cellWidth, cellHeight);
  std::printf("font %d %.0f %.0f\n", Subsystems().currentFont, cellWidth, cellHeight);
  std::fflush(stdout);
  for (;;) IdleWait();
}
