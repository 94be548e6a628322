#pragma once
// The game's entry around GameMain; it lives beside main() because the game's settings
// and its program are only known when a game is linked.

// The window-program entry: keeps the argument text, applies the project settings,
// starts the engine, runs GameMain and ends the program. Never returns.
[[noreturn]] void RunGame(const char* argumentText);

// Engine: applies the project settings the game was compiled with to the engine state.
void ResetProjectDefaults();
