#pragma once
// Runs the value probe game (tests/core/programs/value_probe.cpp) in a child process.

#include <string>
#include <vector>

#include "support/process_runner.h"
#include "support/scratch_directory.h"

inline ProcessResult RunValueProbe(const std::vector<std::string>& arguments, const ScratchDirectory& scratch) {
  // The probe starts the whole engine; leaks of the platform's graphics libraries at exit
  // are not what these runs check, and the leak report would replace the exit code.
  return RunProcess(ProgramPath("test_value_probe"), arguments,
                    {"TMPDIR=" + scratch.Path(), "ASAN_OPTIONS=detect_leaks=0"});
}
