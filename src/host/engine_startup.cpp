#include "host/engine_startup.h"

#include <unistd.h>

#include <climits>
#include <cstdio>

#include "files/archive.h"
#include "host/engine_state.h"
#include "host/error_log.h"
#include "host/program_end.h"
#include "sound/sound_system.h"

std::string FolderOfPath(const std::string& path) {
  for (std::size_t i = path.size(); i-- > 1;) {
    if (path[i] == '/' || path[i] == '\\') return path.substr(0, i);
  }
  return path;
}

std::string ExecutablePath() {
  char path[PATH_MAX + 1];
  const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
  return length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
}

bool StartEngine(const char* title) {
  EngineState& engine = Engine();
  engine.pauseWhenInactive = 1;

  engine.windowTitle = title;
  DeleteErrorLog();

  // The sound device (closed until sound starts on the window) and the bank of 256
  // empty slots.
  CreateSound();

  // Without an audio output the game goes on silently: every sound load then fails.
  InitSound(engine.mainWindow);
  SetSoundWindow(engine.mainWindow);

  // Relative file names start at the executable's folder.
  const std::string folder = FolderOfPath(ExecutablePath());
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    LogError("Cannot enter the executable's folder");
  }

  // Both archive slots start on the executable's folder, which never opens as an
  // archive: no archive is in use until the game selects one.
  CreateArchiveSlots(folder.c_str());

  engine.paused = 0;
  std::printf("Init OK\n");
  std::fflush(stdout);
  return true;
}
