#pragma once
// Start-up of every subsystem in a fixed order, and the game's entry around GameMain.

#include <string>

// Creates every subsystem object, opens the window, makes the executable's folder the
// current directory and shows the first frame. Returns false when the window could not
// be created (then nothing after it was started).
bool StartEngine(const char* title);

// The window-program entry: keeps the argument text, applies the project settings,
// starts the engine, runs GameMain and ends the program. Never returns.
[[noreturn]] void RunGame(const char* argumentText);

// Engine: applies the project settings the game was compiled with to the engine state.
void ResetProjectDefaults();

// The folder part of a path: cut at the last '/' or '\' (the first character is never
// taken as the cut), without the separator; the whole path when there is none.
std::string FolderOfPath(const std::string& path);
// The full path of the running executable ("" when the system does not tell).
std::string ExecutablePath();
