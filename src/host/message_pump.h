#pragma once
// The event pump and the game window's event handler.
//
// Window events are handled only where the game thread pumps them: in PresentFrame,
// IdleWait and the waits built on them. The handler pauses an inactive game, ends the
// program on the window's close request and keeps the screen saver off.

#include <SDL2/SDL.h>

class OpenGLDiveduva;

// Removes and handles every waiting event. Returns 1; it never reports a quit.
int PumpMessages(OpenGLDiveduva& renderer);

// Handles one event for the game window; events of other windows are ignored.
void GameWindowProc(OpenGLDiveduva& renderer, const SDL_Event& event);

// The window became active (true) or inactive (false). With pauseWhenInactive set and
// debugMode 0: caption and paused follow; otherwise nothing changes.
void ApplyWindowActivation(OpenGLDiveduva& renderer, bool active);

// The caption while paused: the title followed by " <pause>".
inline constexpr const char* kPauseCaptionSuffix = " <pause>";
