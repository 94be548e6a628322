#pragma once
// The engine's window (the renderer fixture) with the input manager started on it,
// installed as the engine's subsystems, and helpers that hand the engine SDL events as
// the window system would, and SDL virtual joysticks.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/engine_state.h"
#include "input/input_manager.h"
#include "input/input_system.h"
#include "support/renderer_fixture.h"
#include "video/renderer.h"

class InputFixture : public RendererFixture {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    // The offscreen window never has the focus, and SDL ignores joysticks of programs in
    // the background unless told otherwise.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();

    RendererFixture::SetUp();
    if (HasFatalFailure()) return;
    EngineState& engine = Engine();
    engine.windowTitle = "Input";
    engine.screenWidth = 640;
    engine.screenHeight = 480;
    StartFreshInput();
  }

  void TearDown() override {
    // The engine's order: the window goes first, then the input manager.
    RendererFixture::TearDown();
    renderer = nullptr;
    ReleaseInput();
    Engine().escapeEndsProgram = 1;
    for (SDL_Joystick* joystick : virtualJoysticks) {
      const SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
      SDL_JoystickClose(joystick);
      for (int device = 0; device < SDL_NumJoysticks(); ++device) {
        if (SDL_JoystickGetDeviceInstanceID(device) == id) SDL_JoystickDetachVirtual(device);
      }
    }
    virtualJoysticks.clear();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }

  // A new input manager on the window, as start-up makes it (joysticks attached so far
  // are found), with nothing left over in the event queue.
  void StartFreshInput(int useMouse = 1) {
    ReleaseInput();
    CreateInput();
    input = Subsystems().input;
    status = InitInput(*input, renderer->window, useMouse);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }

  // Events as the window system delivers them to the game window.
  void PushKey(SDL_Scancode scancode, bool down, SDL_Keycode symbol = SDLK_UNKNOWN, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SDL_GetWindowID(renderer->window);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat ? 1 : 0;
    event.key.keysym.scancode = scancode;
    event.key.keysym.sym = symbol;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  void TapKey(SDL_Scancode scancode) {
    PushKey(scancode, true);
    PushKey(scancode, false);
  }
  void PushMotion(int x, int y, int xrel, int yrel) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = SDL_GetWindowID(renderer->window);
    event.motion.x = x;
    event.motion.y = y;
    event.motion.xrel = xrel;
    event.motion.yrel = yrel;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  void PushButton(Uint8 button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = SDL_GetWindowID(renderer->window);
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  void PushWheel(int steps, bool flipped = false) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.windowID = SDL_GetWindowID(renderer->window);
    event.wheel.y = steps;
    event.wheel.direction = flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  // Attaches a virtual joystick with 8 axes, 40 buttons and one hat; returns the handle
  // that sets its values (they show at the engine's next joystick read). Call
  // StartFreshInput afterwards so the input manager finds it.
  SDL_Joystick* AttachJoystick(const char* name) {
    SDL_VirtualJoystickDesc description;
    SDL_zero(description);
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = 8;
    description.nbuttons = 40;
    description.nhats = 1;
    description.name = name;
    const int device = SDL_JoystickAttachVirtualEx(&description);
    EXPECT_GE(device, 0) << SDL_GetError();
    SDL_Joystick* joystick = SDL_JoystickOpen(device);
    EXPECT_NE(joystick, nullptr) << SDL_GetError();
    if (joystick != nullptr) {
      virtualJoysticks.push_back(joystick);
      // Virtual axes start at 0 and hats centred; SDL reads them at the next update.
      SDL_JoystickUpdate();
    }
    return joystick;
  }

  InputManager* input = nullptr;
  std::uint32_t status = 0;
  std::vector<SDL_Joystick*> virtualJoysticks;
};
