#include "host/message_pump.h"

#include "host/engine_state.h"
#include "host/program_end.h"
#include "host/renderer.h"
#include "input/input_system.h"

int PumpMessages(OpenGLDiveduva& renderer) {
  SDL_Event event;
  while (SDL_PollEvent(&event)) GameWindowProc(renderer, event);
  return 1;
}

void ApplyWindowActivation(OpenGLDiveduva& renderer, bool active) {
  EngineState& engine = Engine();
  if (engine.debugMode != 0 || !engine.pauseWhenInactive) return;
  BasicString caption = engine.windowTitle;
  if (!active) caption = caption + kPauseCaptionSuffix;
  if (renderer.window != nullptr) SDL_SetWindowTitle(renderer.window, caption.TextPointer());
  engine.paused = active ? 0 : 1;
}

void GameWindowProc(OpenGLDiveduva& renderer, const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      // A window replaced at a fullscreen switch may still have events queued.
      if (renderer.window == nullptr || event.window.windowID != SDL_GetWindowID(renderer.window)) return;
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          ApplyWindowActivation(renderer, true);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          ApplyWindowActivation(renderer, false);
          break;
        case SDL_WINDOWEVENT_CLOSE:
          EndProgram();
        default:
          break;
      }
      break;
    case SDL_QUIT:
      // The last window closed, or the process was asked to stop (SIGINT, SIGTERM):
      // the same request as closing the window.
      EndProgram();
    case SDL_KEYDOWN:
    case SDL_KEYUP:
    case SDL_TEXTINPUT:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_MOUSEWHEEL:
      HandleInputEvent(event);
      break;
    default:
      // SDL keeps one queue for everything; the pump empties it, so keyboard, mouse and
      // text events that a subsystem wants as events are handed on from here.
      break;
  }
}
