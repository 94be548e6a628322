#include "support/process_runner.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "support/program_spawn.h"

std::string ProgramPath(const std::string& name) { return std::string(TEST_PROGRAM_DIR) + "/" + name; }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment, int timeoutSeconds,
                         const std::string& workingDirectory) {
  int output = -1;
  const pid_t child = SpawnProgram(program, arguments, extraEnvironment, workingDirectory, output);
  if (child < 0) throw std::runtime_error("fork failed");

  ProcessResult result;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  char buffer[4096];
  int status = 0;
  bool exited = false;
  bool pipeOpen = true;
  // Reads until the child has exited and the pipe has nothing more to give. Programs the
  // child started may keep the pipe open, so the child's exit, not the end of the pipe,
  // ends the run.
  while (pipeOpen) {
    if (!exited && std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &status, 0);
      exited = true;
    }
    if (!exited && waitpid(child, &status, WNOHANG) == child) exited = true;
    pollfd watch{output, POLLIN, 0};
    if (poll(&watch, 1, exited ? 0 : 20) <= 0) {
      if (exited) break;
      continue;
    }
    const ssize_t count = read(output, buffer, sizeof buffer);
    if (count <= 0) pipeOpen = false;
    else result.output.append(buffer, static_cast<std::size_t>(count));
  }
  close(output);
  if (!exited) waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
  return result;
}
