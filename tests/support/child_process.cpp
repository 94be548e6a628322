#include "support/child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "support/program_spawn.h"

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& extraEnvironment, const std::string& workingDirectory) {
  pid_ = SpawnProgram(program, arguments, extraEnvironment, workingDirectory, pipe_);
  if (pid_ < 0) throw std::runtime_error("fork failed");
}

ChildProcess::~ChildProcess() {
  if (!Reap(false)) {
    kill(pid_, SIGKILL);
    Reap(true);
  }
  if (pipe_ >= 0) close(pipe_);
}

void ChildProcess::ReadAvailable(int waitMs) {
  if (pipe_ < 0) return;
  pollfd watch{pipe_, POLLIN, 0};
  int timeout = waitMs;
  char buffer[4096];
  while (poll(&watch, 1, timeout) > 0) {
    const ssize_t count = read(pipe_, buffer, sizeof buffer);
    if (count <= 0) {
      close(pipe_);
      pipe_ = -1;
      return;
    }
    output_.append(buffer, static_cast<std::size_t>(count));
    timeout = 0;
  }
}

bool ChildProcess::WaitForOutput(const std::string& text, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (output_.find(text) != std::string::npos) return true;
    if (MillisecondsLeft(deadline) == 0) return false;
    if (pipe_ < 0) return false;
    ReadAvailable(std::min(MillisecondsLeft(deadline), 50));
  }
}

void ChildProcess::ReadFor(int durationMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(durationMs);
  while (MillisecondsLeft(deadline) > 0) {
    if (pipe_ < 0) {
      usleep(static_cast<useconds_t>(MillisecondsLeft(deadline)) * 1000);
      return;
    }
    ReadAvailable(std::min(MillisecondsLeft(deadline), 50));
  }
}

bool ChildProcess::Reap(bool block) {
  if (exited_) return true;
  int status = 0;
  if (waitpid(pid_, &status, block ? 0 : WNOHANG) != pid_) return false;
  exited_ = true;
  if (WIFEXITED(status)) exitCode_ = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) exitCode_ = 128 + WTERMSIG(status);
  return true;
}

bool ChildProcess::Running() { return !Reap(false); }

int ChildProcess::Wait(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!Reap(false)) {
    if (MillisecondsLeft(deadline) == 0) return -1;
    if (pipe_ >= 0) {
      ReadAvailable(std::min(MillisecondsLeft(deadline), 20));
    } else {
      usleep(10000);
    }
  }
  // Whatever the program wrote last is still in the pipe.
  ReadAvailable(0);
  return exitCode_;
}
