#include "support/program_spawn.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

pid_t SpawnProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const std::vector<std::string>& extraEnvironment, const std::string& workingDirectory,
                   int& outputPipe) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
  // Everything the child needs is copied before the fork: it only calls
  // async-signal-safe functions between fork and exec.
  std::vector<std::string> argumentCopies{program};
  argumentCopies.insert(argumentCopies.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : argumentCopies) argv.push_back(argument.data());
  argv.push_back(nullptr);
  std::vector<std::string> environmentCopies(extraEnvironment);

  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDOUT_FILENO);
    dup2(pipeEnds[1], STDERR_FILENO);
    for (std::string& entry : environmentCopies) putenv(entry.data());
    if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  if (child < 0) {
    close(pipeEnds[0]);
    return -1;
  }
  outputPipe = pipeEnds[0];
  return child;
}
