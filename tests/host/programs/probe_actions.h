#pragma once
// A small game whose behaviour is chosen by its command line, so the host tests can drive
// every way into and out of the program from a child process.
//
//   (empty)             return from GameMain at once
//   stop                StopProgram at source line 12
//   fatal <code>        a fatal command error with that code at source line 42
//   run <command>       RunProgram without waiting; prints the result and the exit code
//   runwait <command>   RunProgram waiting for the program
//   endrun <command>    EndProgramAndRun
//   args                prints the command line between brackets
//   log <text>          writes a line to the error log, then returns

#include <cstdio>
#include <string>

#include "base/engine_state.h"
#include "base/error_log.h"
#include "base/program_end.h"
#include "host/program_commands.h"

inline int RunProbe() {
  const std::string line = GetCommandLine().TextPointer();
  const std::size_t blank = line.find(' ');
  const std::string action = line.substr(0, blank);
  const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);

  if (action == "stop") {
    SetSourcePosition(7, 12);
    StopProgram();
  }
  if (action == "fatal") {
    SetSourcePosition(3, 42);
    EndProgramWithError(std::stod(rest));
  }
  if (action == "run" || action == "runwait") {
    double exitCode = -1;
    const double started = RunProgram(BasicString(rest.c_str()), action == "runwait" ? 1 : 0, 1, exitCode);
    std::printf("started=%g code=%g\n", started, exitCode);
  }
  if (action == "endrun") EndProgramAndRun(BasicString(rest.c_str()));
  if (action == "args") std::printf("[%s]\n", line.c_str());
  if (action == "log") LogError(rest.c_str());
  return 0;
}
