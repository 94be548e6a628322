// A game that looks at the screen start-up left behind: it reads the presented frame
// (the front buffer) and prints the box around its lit pixels as
// "lit <count> box <left> <top> <right> <bottom>" (right and bottom inclusive), then the
// current font number and cell size as "font <n> <width> <height>".

#include <SDL2/SDL_opengl.h>

#include <cstdio>
#include <vector>

#include "gfx2d/font_commands.h"
#include "host/engine_state.h"
#include "host/game_interface.h"
#include "host/renderer.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Loading probe";
  return settings;
}

int GameMain() {
  const OpenGLDiveduva& renderer = *Subsystems().renderer;
  const int width = renderer.surfaceWidth, height = renderer.surfaceHeight;
  std::vector<unsigned char> pixels(static_cast<std::size_t>(width) * height * 4);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadBuffer(GL_FRONT);
  glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
  glReadBuffer(GL_BACK);

  int count = 0, left = width, top = height, right = -1, bottom = -1;
  for (int row = 0; row < height; ++row) {
    for (int x = 0; x < width; ++x) {
      const unsigned char* pixel = &pixels[(static_cast<std::size_t>(row) * width + x) * 4];
      if (pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0) continue;
      const int y = height - 1 - row;  // GL rows count from the bottom
      ++count;
      if (x < left) left = x;
      if (x > right) right = x;
      if (y < top) top = y;
      if (y > bottom) bottom = y;
    }
  }
  double cellWidth = 0, cellHeight = 0;
  GetFontSize(cellWidth, cellHeight);
  std::printf("lit %d box %d %d %d %d\n", count, left, top, right, bottom);
  std::printf("font %d %.0f %.0f\n", Subsystems().currentFont, cellWidth, cellHeight);
  std::fflush(stdout);
  return 0;
}
