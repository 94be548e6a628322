#pragma once
// Starting other programs directly (never through a shell) from a command text.

#include <sys/types.h>

#include <string>

// Splits the command into arguments and starts the program, searching PATH when the
// name has no '/'. Returns the process id, or -1 when it could not be started.
pid_t LaunchCommand(const std::string& command);
// Waits for the process; returns its exit code as an unsigned number (128 + signal for a
// process ended by a signal).
unsigned WaitForExitCode(pid_t process);
