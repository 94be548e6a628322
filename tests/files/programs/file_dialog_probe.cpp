// A game that shows one file dialog and reports what it saw around it. Its command line:
//
//   open | save            the dialog to show
//   fullscreen             (optional, second word) switch to fullscreen 640 x 480 first
//
// It prints "before ...", "dialog", then "chosen <result>" and "after ..." with the
// display mode, the window's visibility and the current folder, and whether the input
// manager holds the game window, and ends.

#include <SDL2/SDL.h>

#include <cstdio>
#include <string>

#include "base/engine_state.h"
#include "files/disk_files.h"
#include "files/file_dialog.h"
#include "host/frame_present.h"
#include "host/game_interface.h"
#include "host/program_commands.h"
#include "host/screen_commands.h"
#include "input/input_manager.h"
#include "video/renderer.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Dialog Probe";
  return settings;
}

namespace {

void PrintState(const char* step) {
  SDL_Window* window = Subsystems().renderer->window;
  const bool shown = window != nullptr && (SDL_GetWindowFlags(window) & SDL_WINDOW_SHOWN) != 0;
  std::printf("%s fullscreen=%.0f shown=%d current=%d folder=%s\n", step, IsFullscreen(), shown ? 1 : 0,
              Engine().mainWindow == window ? 1 : 0, GetCurrentFolder().TextPointer());
  // The input manager reads and grabs the mouse in the window it holds.
  const InputManager* input = Subsystems().input;
  std::printf("%s input=%d\n", step, input != nullptr && InputWindow(*input) == window ? 1 : 0);
  std::fflush(stdout);
}

}  // namespace

int GameMain() {
  const std::string line = GetCommandLine().TextPointer();
  if (line.find("fullscreen") != std::string::npos) SetScreenMode(640, 480, 1);
  PresentFrame();
  PrintState("before");
  std::printf("dialog\n");
  std::fflush(stdout);
  const BasicString chosen = FileDialog(line.rfind("open", 0) == 0 ? 1 : 0, "Levels|*.lvl|Everything|*.*");
  std::printf("chosen %s\n", chosen.TextPointer());
  PresentFrame();
  PrintState("after");
  return 0;
}
