#include "host/window_change.h"

#include "base/engine_state.h"
#include "input/input_system.h"
#include "sound/sound_system.h"

void GameWindowChanged(SDL_Window* window) {
  Engine().mainWindow = window;
  SetInputWindow(window);
  SetSoundWindow(window);
}
