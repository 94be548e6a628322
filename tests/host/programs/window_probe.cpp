// A game that keeps its window open and shows frames until the player ends it, with a
// few screen-mode actions chosen by its command line:
//
//   (empty)                 frames until Escape, Alt+F4 or the window's close request
//   noescape                the same with escapeEndsProgram off
//   idle                    IdleWait in a loop instead of frames
//   fullscreen <w> <h>      SetScreenMode(w, h, 1), then back to windowed, then frames
//
// It prints "frame <n>" every 30 frames and "mode ..." after each screen-mode step.

#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/engine_state.h"
#include "host/frame_present.h"
#include "host/game_interface.h"
#include "host/idle_wait.h"
#include "host/program_commands.h"
#include "host/screen_commands.h"
#include "video/renderer.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Probe";
  return settings;
}

namespace {

void PrintMode(const char* step) {
  const OpenGLDiveduva& renderer = *Subsystems().renderer;
  std::printf("mode %s handle=%.0f fullscreen=%.0f surface=%dx%d\n", step, GetMainWindowHandle(), IsFullscreen(),
              renderer.surfaceWidth, renderer.surfaceHeight);
  std::fflush(stdout);
}

[[noreturn]] void ShowFrames() {
  for (long frame = 1;; ++frame) {
    PresentFrame();
    if (frame % 30 == 0) {
      std::printf("frame %ld\n", frame);
      std::fflush(stdout);
    }
  }
}

}  // namespace

int GameMain() {
  const std::string line = GetCommandLine().TextPointer();
  const std::size_t blank = line.find(' ');
  const std::string action = line.substr(0, blank);

  if (action == "noescape") SetEscapeEndsProgram(0);
  if (action == "idle") {
    std::printf("idle\n");
    std::fflush(stdout);
    for (;;) IdleWait();
  }
  if (action == "fullscreen") {
    int width = 0;
    int height = 0;
    std::sscanf(line.c_str() + blank, "%d %d", &width, &height);
    PrintMode("start");
    SetScreenMode(width, height, 1);
    PrintMode("fullscreen");
    SetScreenMode(width, height, 0);
    PrintMode("windowed");
  }
  ShowFrames();
}
