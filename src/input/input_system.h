#pragma once
// The input manager within the engine: created and started by start-up, released by
// shutdown, and reached by the frame loop, the event pump and the idle wait through
// Subsystems().input. Every call here does nothing when there is no input manager.

#include <SDL2/SDL_events.h>

// Start-up, creation step: a reset input manager.
void CreateInput();
// Start-up: takes the devices for window (an SDL_Window*). The status is logged by the
// devices that fail; the program goes on either way.
void StartInput(void* window, int useMouse);
// The game window changed (start-up, screen-mode switch).
void SetInputWindow(void* window);
// Shutdown: frees the mouse, closes the devices, frees the input manager.
void ReleaseInput();

// Engine: the frame loop's input steps.
void RefreshKeyboard();
void BeginMouseFrame();
// Engine: a presented frame (PresentFrame, not the idle wait): typed keys left unread too long
// are dropped.
void BeginTypingFrame();
bool IsKeyDown(int scanCode);
// The event pump hands key, text input and mouse events over.
void HandleInputEvent(const SDL_Event& event);
// An idle-wait pass: true when a key, the mouse or a joystick shows activity.
bool InputActivityEndsIdleWait();

// The drawing surface the mouse position is clamped to.
void GetMouseArea(int& width, int& height);
