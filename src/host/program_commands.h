#pragma once
// Program-level commands: ending, starting other programs, debugger breaks, switches.

#include <string>

#include "core/basic_string.h"

// Ends the program at once, as returning from GameMain does.
[[noreturn]] void StopProgram();
// Shuts the engine down, starts the command as a new process and exits with code 0
// (also when the process could not be started). Writes no log lines.
[[noreturn]] void EndProgramAndRun(const BasicString& command);
// Starts the command; with wait non-zero waits for it and stores its exit code in
// exitCode. Returns 1 when the process started, 0 otherwise (exitCode stays 0).
double RunProgram(const BasicString& command, double wait, double show, double& exitCode);
// With a debugger attached, sends "BP<hex number>" to it; otherwise does nothing.
void DebuggerBreak(int breakpoint);
// Non-zero (the default): the game stands still while its window is in the background.
void SetPauseWhenInactive(double flag);
// Non-zero (the default): Escape ends the program at every frame and wait.
void SetEscapeEndsProgram(double flag);
// The text after the program's name on its command line.
BasicString GetCommandLine();

// True when a debugger (a tracer) is attached to the process.
bool IsDebuggerAttached();
// "BP" followed by the number in lowercase hexadecimal.
std::string BreakpointText(int breakpoint);
