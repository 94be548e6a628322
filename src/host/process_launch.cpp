#include "host/process_launch.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <vector>

#include "host/command_line.h"

extern char** environ;

pid_t LaunchCommand(const std::string& command) {
  std::vector<std::string> arguments = SplitCommandArguments(command);
  if (arguments.empty()) return -1;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  pid_t process = -1;
  if (posix_spawnp(&process, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return process;
}

unsigned WaitForExitCode(pid_t process) {
  int status = 0;
  while (waitpid(process, &status, 0) < 0) {
    if (errno != EINTR) return 0;
  }
  if (WIFEXITED(status)) return static_cast<unsigned>(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return 128u + static_cast<unsigned>(WTERMSIG(status));
  return 0;
}
