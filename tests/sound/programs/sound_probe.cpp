// A game that plays one sound effect: the command line names a WAV file. It loads the
// file into slot 3 with two voices, starts it twice, prints what the commands answered,
// waits for both voices to end and returns; the engine's shutdown closes the output.
// First it prints whether the mixer and the movie player libraries were loaded by then:
// start-up leaves both to the first sound and the first movie.

#include <dlfcn.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "host/game_interface.h"
#include "host/program_commands.h"
#include "sound/sound_commands.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Sound probe";
  return settings;
}

namespace {

int IsLoaded(const char* library) { return dlopen(library, RTLD_NOW | RTLD_NOLOAD) != nullptr ? 1 : 0; }

}  // namespace

int GameMain() {
  std::printf("at start: mixer=%d movie=%d\n", IsLoaded("libSDL2_mixer-2.0.so.0"), IsLoaded("libmpv.so.2"));
  const BasicString fileName = GetCommandLine();
  const double loaded = LoadSoundSlot(fileName, 3, 2);
  const double first = StartSound(3, 0, 1);
  const double second = StartSound(3, 0, 1);
  std::printf("load=%g first=%g second=%g playing=%g\n", loaded, first, second, IsSoundPlaying(first));
  std::fflush(stdout);
  for (int wait = 0; wait < 1000 && (IsSoundPlaying(first) == 1 || IsSoundPlaying(second) == 1); ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::printf("ended=%g\n", IsSoundPlaying(first) + IsSoundPlaying(second) == 0 ? 1.0 : 0.0);
  return 0;
}
