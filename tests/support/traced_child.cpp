#include "support/traced_child.h"

#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

std::string StandardErrorOfChild(bool traced, const std::function<int()>& body) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    if (traced && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(3);
    _exit(body());
  }
  close(pipeEnds[1]);
  std::string text;
  char buffer[256];
  ssize_t got = 0;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(got));
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
  return text;
}
