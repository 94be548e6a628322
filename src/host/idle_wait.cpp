// The bounded wait of the commands that wait for the player.
//
// Each pass pumps events, refreshes the input devices and checks Escape; the input
// devices end the wait early on a key, a mouse change or joystick activity. After the
// passes the wait returns anyway, so a waiting command gets control back about every
// 40 ms.

#include <SDL2/SDL.h>

#include "host/end_keys.h"
#include "host/engine_state.h"
#include "host/frame_present.h"
#include "host/message_pump.h"
#include "host/program_end.h"
#include "host/renderer.h"
#include "input/input_system.h"

namespace {

constexpr int kIdlePasses = 8;
constexpr Uint32 kIdlePassSleep = 5;  // ms

}  // namespace

bool IdleWait() {
  OpenGLDiveduva* renderer = Subsystems().renderer;
  for (int pass = 0; pass < kIdlePasses; ++pass) {
    if (renderer != nullptr) PumpMessages(*renderer);
    RefreshKeyboard();
    BeginMouseFrame();
    // Only Escape ends the program here; errorCode and errorLine stay as they are.
    if (Engine().escapeEndsProgram && IsEscapeDown()) EndProgram();
    if (InputActivityEndsIdleWait()) return true;
    SDL_Delay(kIdlePassSleep);
  }
  return false;
}
