// DebuggerBreak speaks only to an attached debugger: run in a child whose tracer is this
// process, and in one without a tracer.

#include <gtest/gtest.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "host/engine_state.h"
#include "host/program_commands.h"

namespace {

// What a child calling DebuggerBreak(number) wrote to standard error.
std::string DebuggerTextOfBreak(int number, bool traced) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    if (traced && ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) _exit(3);
    Engine().paused = 1;
    DebuggerBreak(number);
    // A break that spoke to a debugger also lets the game go on unpaused.
    _exit(Engine().paused == (traced ? 0 : 1) ? 0 : 4);
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

TEST(DebuggerBreakCommand, SendsBPWithTheNumberInHexToAnAttachedDebugger) {
  EXPECT_EQ(DebuggerTextOfBreak(255, true), "BPff\n");
  EXPECT_EQ(DebuggerTextOfBreak(255, false), "");
}

}  // namespace
