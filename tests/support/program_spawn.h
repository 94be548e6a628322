#pragma once
// Starts a program in a child process with its standard output and error on one pipe.

#include <sys/types.h>

#include <string>
#include <vector>

// Starts program with arguments; extraEnvironment entries are "NAME=value" and win over
// the inherited environment; a non-empty workingDirectory becomes the child's current
// directory (exit code 126 when it cannot, 127 when the program cannot be run). On
// success returns the child's id and sets outputPipe to the read end of the pipe; -1
// when no child could be started.
pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& extraEnvironment, const std::string& workingDirectory,
                   int& outputPipe);
