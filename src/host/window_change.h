#pragma once
// The one step by which the engine learns that the game window was made or replaced
// (start-up, a screen-mode switch, the return from a system dialog). The renderer owns
// the window; everyone who keeps something of it is told here.

struct SDL_Window;

// The engine state's main window, the input manager and the sound device take window.
void GameWindowChanged(SDL_Window* window);
