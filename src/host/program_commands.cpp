#include "host/program_commands.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <SDL2/SDL.h>
#include <sys/wait.h>

#include "base/debugger_check.h"
#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "base/program_end.h"
#include "host/process_launch.h"
#include "input/input_system.h"

void StopProgram() {
  SetErrorCode(0);
  EndProgram();
}

void EndProgramAndRun(const BasicString& command) {
  ShutdownEngine();
  LaunchCommand(command.TextPointer());
  std::fflush(nullptr);
  std::exit(0);
}

namespace {

// Programs started without waiting are reaped once they have ended, so a game that
// starts many of them does not collect finished processes.
std::vector<pid_t>& UnwaitedProcesses() {
  static std::vector<pid_t> processes;
  return processes;
}

void ReapFinishedProcesses() {
  std::erase_if(UnwaitedProcesses(), [](pid_t process) {
    int status = 0;
    return waitpid(process, &status, WNOHANG) != 0;
  });
}

}  // namespace

double RunProgram(const BasicString& command, double wait, double /*show*/, double& exitCode) {
  exitCode = 0;
  ReapFinishedProcesses();
  const pid_t process = LaunchCommand(command.TextPointer());
  if (process < 0) return 0;
  if (wait != 0) {
    exitCode = WaitForExitCode(process);
  } else {
    UnwaitedProcesses().push_back(process);
  }
  return 1;
}

std::string BreakpointText(int breakpoint) {
  char text[16];
  std::snprintf(text, sizeof text, "BP%x", static_cast<unsigned>(breakpoint));
  return text;
}

void DebuggerBreak(int breakpoint) {
  if (!IsDebuggerAttached()) return;
  // The window steps aside while the debugger has the player's attention, then comes
  // back on top with the focus.
  SDL_Window* window = Engine().mainWindow;
  if (window != nullptr) SDL_HideWindow(window);
  // The debugger's output channel is standard error, one line per message.
  std::fprintf(stderr, "%s\n", BreakpointText(breakpoint).c_str());
  std::fflush(stderr);
  if (window != nullptr) {
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
  }
  Engine().paused = 0;
  // The game goes on with a fresh keyboard snapshot and mouse frame.
  RefreshKeyboard();
  BeginMouseFrame();
}

void SetPauseWhenInactive(double flag) { Engine().pauseWhenInactive = flag != 0; }
void SetEscapeEndsProgram(double flag) { Engine().escapeEndsProgram = flag != 0; }
BasicString GetCommandLine() { return BasicString(std::string_view(Engine().commandLine)); }
