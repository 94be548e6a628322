#include "scripted_game.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <vector>

#include "support/process_runner.h"

namespace {

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

}  // namespace

ScriptedGame::ScriptedGame(const std::string& tempDir) {
  int toGame[2];
  int fromGame[2];
  if (pipe2(toGame, O_CLOEXEC) != 0 || pipe2(fromGame, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
  std::string program = ProgramPath("test_net_game");
  // Leak checks stay with the in-process tests: at exit the GL driver keeps allocations
  // of its own that a sanitizer build would report against the game.
  std::vector<std::string> environment = {"TMPDIR=" + tempDir, "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy",
                                          "ASAN_OPTIONS=detect_leaks=0"};
  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    dup2(toGame[0], STDIN_FILENO);
    dup2(fromGame[1], STDOUT_FILENO);
    dup2(fromGame[1], STDERR_FILENO);
    for (std::string& entry : environment) putenv(entry.data());
    char* argv[] = {program.data(), nullptr};
    execv(program.c_str(), argv);
    _exit(127);
  }
  close(toGame[0]);
  close(fromGame[1]);
  input_ = toGame[1];
  output_pipe_ = fromGame[0];
  std::string ready;
  if (!ReadLine(ready, 30000) || ready != "ready") throw std::runtime_error("the test game did not start: " + output_);
}

ScriptedGame::~ScriptedGame() {
  if (!exited_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (input_ >= 0) close(input_);
  if (output_pipe_ >= 0) close(output_pipe_);
}

bool ScriptedGame::ReadLine(std::string& line, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    // Result lines start with "= "; everything else (start-up lines, the session thread's
    // line) is kept in the output only.
    for (std::size_t end; (end = output_.find('\n', consumed_)) != std::string::npos;) {
      const std::string candidate = output_.substr(consumed_, end - consumed_);
      consumed_ = end + 1;
      if (candidate.rfind("= ", 0) == 0) {
        line = candidate.substr(2);
        return true;
      }
    }
    if (output_pipe_ < 0 || MillisecondsLeft(deadline) == 0) return false;
    ReadMore(std::min(MillisecondsLeft(deadline), 100));
  }
}

bool ScriptedGame::ReadMore(int timeoutMs) {
  if (output_pipe_ < 0) return false;
  pollfd watch{output_pipe_, POLLIN, 0};
  if (poll(&watch, 1, timeoutMs) <= 0) return false;
  char buffer[4096];
  const ssize_t count = read(output_pipe_, buffer, sizeof buffer);
  if (count <= 0) {
    close(output_pipe_);
    output_pipe_ = -1;
    return false;
  }
  output_.append(buffer, static_cast<std::size_t>(count));
  return true;
}

bool ScriptedGame::WaitForOutput(const std::string& text, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (output_.find(text) == std::string::npos) {
    if (output_pipe_ < 0 || MillisecondsLeft(deadline) == 0) return false;
    ReadMore(std::min(MillisecondsLeft(deadline), 100));
  }
  return true;
}

std::string ScriptedGame::Call(const std::string& line, int timeoutMs) {
  const std::string command = line + "\n";
  if (write(input_, command.data(), command.size()) != static_cast<ssize_t>(command.size())) return "<no answer>";
  std::string result;
  return ReadLine(result, timeoutMs) ? result : "<no answer>";
}

int ScriptedGame::End(int timeoutMs) {
  (void)!write(input_, "end\n", 4);
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (MillisecondsLeft(deadline) == 0) return -1;
    std::string ignored;
    ReadLine(ignored, 20);
  }
  exited_ = true;
  std::string ignored;
  ReadLine(ignored, 100);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + WTERMSIG(status);
}
