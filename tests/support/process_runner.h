#pragma once
// Runs a whole program in a child process and collects what it did: its exit code and
// its standard output.

#include <string>
#include <vector>

struct ProcessResult {
  int exitCode = -1;       // exit code, or 128 + signal when it was killed
  std::string output;      // standard output and standard error, in order
};

// Path of a program built next to the tests (test programs, the demo, tools).
std::string ProgramPath(const std::string& name);

// Runs program with arguments; extraEnvironment entries are "NAME=value". The child
// is killed after timeoutSeconds.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment = {}, int timeoutSeconds = 60,
                         const std::string& workingDirectory = "");
