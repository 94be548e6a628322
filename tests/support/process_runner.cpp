#include "support/process_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

ScratchDirectory::ScratchDirectory() {
  std::string pattern = (std::filesystem::temp_directory_path() / "engine-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchDirectory::EngineTempPath() const {
  return path_ + "/trovane-" + std::to_string(getuid()) + "/";
}

std::string ScratchDirectory::ReadFile(const std::string& relativePath) const {
  std::ifstream file(path_ + "/" + relativePath, std::ios::binary);
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

void ScratchDirectory::WriteFile(const std::string& relativePath, const std::string& contents) const {
  const std::filesystem::path path = std::filesystem::path(path_) / relativePath;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << contents;
}

bool ScratchDirectory::Exists(const std::string& relativePath) const {
  return std::filesystem::exists(std::filesystem::path(path_) / relativePath);
}

std::string ProgramPath(const std::string& name) { return std::string(TEST_PROGRAM_DIR) + "/" + name; }

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment, int timeoutSeconds,
                         const std::string& workingDirectory) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");

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
    pollfd watch{pipeEnds[0], POLLIN, 0};
    if (poll(&watch, 1, exited ? 0 : 20) <= 0) {
      if (exited) break;
      continue;
    }
    const ssize_t count = read(pipeEnds[0], buffer, sizeof buffer);
    if (count <= 0) pipeOpen = false;
    else result.output.append(buffer, static_cast<std::size_t>(count));
  }
  close(pipeEnds[0]);
  if (!exited) waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.exitCode = 128 + WTERMSIG(status);
  return result;
}
