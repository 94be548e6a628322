#include "host/engine_startup.h"

#include <SDL2/SDL.h>
#include <malloc.h>
#include <unistd.h>

#include <climits>
#include <cstdio>

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "base/error_log.h"
#include "base/program_end.h"
#include "core/random_generator.h"
#include "files/archive.h"
#include "gfx2d/background_commands.h"
#include "gfx2d/font_commands.h"
#include "gfx3d/engine3d.h"
#include "host/frame_present.h"
#include "host/host_steps.h"
#include "host/window_change.h"
#include "input/input_system.h"
#include "net/net_commands.h"
#include "sound/sound_system.h"
#include "video/display_mode.h"
#include "video/frame_clock.h"
#include "video/game_window.h"
#include "video/renderer.h"

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

namespace {

// "Loading..." in the middle of the screen with the current font.
void ShowLoadingText() {
  const BasicString text = "Loading...";
  double screenWidth = 0, screenHeight = 0, cellWidth = 0, cellHeight = 0;
  GetScreenSize(screenWidth, screenHeight);
  GetFontSize(cellWidth, cellHeight);
  PrintText(text, (screenWidth - text.Length() * cellWidth) / 2, (screenHeight - cellHeight) / 2);
}

// Software GL renderers allocate their per-frame working memory afresh every frame and
// free it after the swap; by default the C library hands such blocks straight back to
// the kernel, so every frame page-faults tens of megabytes in again. Measured with a
// 100,000-triangle scene on a software renderer: about 4,900 page faults and 95 ms of
// processor time per frame by default, none and 20 ms with freed memory kept, at the
// same peak memory. Big blocks must come from the heap too (no separate mappings), or
// they are still returned one by one and some frames take several times as long.
constexpr int kKeptFreeBytes = 128 * 1024 * 1024;

void KeepFreedMemoryForReuse() {
  mallopt(M_TRIM_THRESHOLD, kKeptFreeBytes);
  mallopt(M_MMAP_MAX, 0);
}

}  // namespace

bool StartEngine(const char* title) {
  EngineState& engine = Engine();
  engine.pauseWhenInactive = 1;
  // The floors below reach the frame loop and the window change through these.
  HandHostStepsDown();
  // Before the window: the GL implementation's first allocations already follow it.
  KeepFreedMemoryForReuse();

  // The window and its GL context come first: every later subsystem needs them, and
  // without them start-up stops here (the reason is in the error log).
  Subsystems().renderer = new OpenGLDiveduva();
  OpenGLDiveduva& renderer = *Subsystems().renderer;
  if (!CreateGameWindow(renderer, engine.screenWidth, engine.screenHeight, 0, engine.frameRate,
                        engine.multisampleCount)) {
    return false;
  }
  GameWindowChanged(renderer.window);
  SDL_SetWindowTitle(renderer.window, title);
  engine.windowTitle = title;
  DeleteErrorLog();

  // The input manager, without devices until input starts on the window.
  CreateInput();
  // The sound device (closed until sound starts on the window) and the bank of 256
  // empty slots.
  CreateSound();
  // The network session, idle until the game hosts or joins.
  CreateNetSession();
  // The 3D scene, on the renderer whose 2D state it borrows.
  Subsystems().scene = new Diveduva3D(renderer, engine.debugMode != 0);
  SetReleaseStep(ReleaseStep::kScene, [] {
    delete Subsystems().scene;
    Subsystems().scene = nullptr;
  });

  // The random generator starts from the clock, once per run; nothing else seeds it.
  SeedRandom(SeedFromClock(ReadClock()));

  if (engine.fullscreen == 0) {
    EnterWindowed(renderer);
  } else {
    EnterFullscreen(renderer);
  }
  // Fullscreen replaced the window: the final one is the main window.
  GameWindowChanged(renderer.window);

  // Input takes the keyboard, the mouse and the joysticks; devices it cannot have are
  // logged and the game goes on without them.
  StartInput(renderer.window, engine.useDirectInputMouse);
  // The output opens when the game first loads a sound or music; without an audio
  // output the game goes on silently: every sound load then fails.
  StartSoundOnFirstUse(renderer.window);
  // Input and sound hold the final window.
  GameWindowChanged(renderer.window);
  SetFont(0);

  // Relative file names start at the executable's folder.
  const std::string folder = FolderOfPath(ExecutablePath());
  if (!folder.empty() && chdir(folder.c_str()) != 0) {
    LogError("Cannot enter the executable's folder");
  }

  // Both archive slots start on the executable's folder, which never opens as an
  // archive: no archive is in use until the game selects one.
  CreateArchiveSlots(folder.c_str());
  ClearBackground();

  engine.frameTime = engine.previousFrameTime = engine.startTime = ReadClock();
  SwapAndPace(renderer);
  SetViewport2D(renderer, 0, 0, 0, 0);
  // Font 0 is the built-in font unless "smalfont.bmp" loads over it.
  LoadFont("", 0);
  LoadFont("smalfont.bmp", 0);
  ShowLoadingText();
  PresentFrame();

  engine.paused = 0;
  SDL_ShowCursor(SDL_DISABLE);
  // The time since start counts from here.
  engine.frameTime = engine.previousFrameTime = engine.startTime = ReadClock();
  std::printf("Init OK\n");
  std::fflush(stdout);
  return true;
}
