#pragma once
// The steps of the top floor (host) that the floors below it run: the frame loop's steps
// that waiting commands present frames with, and the step that tells the engine about a
// new game window. The top floor knows every subsystem; start-up hands its steps down
// here (and so does a program that drives the floors without start-up, such as a test),
// so the floors below never include it.

struct SDL_Window;

struct HostSteps {
  void (*presentFrame)() = nullptr;  // shows the frame and prepares the next one
  void (*idleWait)() = nullptr;      // one bounded wait for user activity
  void (*pumpMessages)() = nullptr;  // handles every waiting event of the game window
  void (*gameWindowChanged)(SDL_Window* window) = nullptr;  // the game window was made or replaced
};

// Hands the top floor's steps down, replacing those handed down before.
void SetHostSteps(const HostSteps& steps);

// Engine: each runs the step handed down; nothing happens while none was.
void RunPresentFrame();
void RunIdleWait();
void RunPumpMessages();
void RunGameWindowChanged(SDL_Window* window);
