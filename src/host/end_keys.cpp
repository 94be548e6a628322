#include "host/end_keys.h"

#include <SDL2/SDL.h>

bool IsEscapeDown() { return SDL_GetKeyboardState(nullptr)[SDL_SCANCODE_ESCAPE] != 0; }

bool IsAltF4Down() {
  const Uint8* keys = SDL_GetKeyboardState(nullptr);
  return keys[SDL_SCANCODE_LALT] != 0 && keys[SDL_SCANCODE_F4] != 0;
}
