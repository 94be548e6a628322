// Music and movie playback costs.
//
// KeepMusicLooping: the frame loop's music step while music plays (the common case: it
// only asks the mixer whether the music has ended), with the mixing thread running.
//
// Movie: process CPU time (the player's decoding threads and the game thread's drawing)
// of playing a 640 x 480, 25 pictures a second clip for 10 s in an offscreen window,
// drawn and shown 60 times a second with a sleeping wait between frames. (The movie
// command paces its frames like PresentFrame, with a busy wait that would add one
// processor's worth; that wait is not part of playing.) Beside it, in the same run, the
// CPU time of ffmpeg decoding the same clip to nowhere as fast as it can.

#include <benchmark/benchmark.h>
#include <SDL2/SDL.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/engine_state.h"
#include "host/renderer.h"
#include "sound/movie_player.h"
#include "sound/music_commands.h"
#include "sound/sound_device.h"
#include "sound/sound_system.h"

namespace {

std::string TemporaryPath(const std::string& name) {
  const char* folder = std::getenv("TMPDIR");
  return std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") + "/media-bench-" +
         std::to_string(getpid()) + "-" + name;
}

// Runs a command line through the shell; its exit status.
int Shell(const std::string& commandLine) { return std::system(commandLine.c_str()); }

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BM_KeepMusicLooping(benchmark::State& state) {
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
  CreateSound();
  const std::string path = TemporaryPath("music.wav");
  if (InitSound(nullptr) != 1 ||
      Shell("sox -n -r 44100 -b 16 -c 2 '" + path + "' synth 30 sine 440 2>/dev/null") != 0 ||
      PlayMusic(path.c_str()) != 1) {
    state.SkipWithError("no sound output, or sox could not make the music");
    std::remove(path.c_str());
    return;
  }
  for (auto _ : state) KeepMusicLooping();
  StopMusic();
  ShutdownSound();
  std::remove(path.c_str());
}
BENCHMARK(BM_KeepMusicLooping);

void BM_MoviePlayback640x480For10Seconds(benchmark::State& state) {
  const std::string clip = TemporaryPath("clip.mkv");
  if (Shell("ffmpeg -v error -y -f lavfi -i testsrc=size=640x480:rate=25 -f lavfi -i sine=frequency=440 -t 10 "
            "-pix_fmt yuv420p '" + clip + "'") != 0) {
    state.SkipWithError("ffmpeg could not make the clip");
    return;
  }
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  OpenGLDiveduva renderer;
  if (CreateGameWindow(renderer, 640, 480, 0, 60, 0) != 1) {
    state.SkipWithError("no window");
    return;
  }
  for (auto _ : state) {
    const double ffmpegBefore = ChildrenCpuSeconds();
    Shell("ffmpeg -v error -i '" + clip + "' -f null - ");
    const double ffmpegSeconds = ChildrenCpuSeconds() - ffmpegBefore;

    const double before = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::int64_t frames = 0;
    {
      MoviePlayer player;
      MoviePlayer::LoadState loading = MoviePlayer::LoadState::kFailed;
      if (player.Load(clip)) {
        while ((loading = player.PollLoad(0.01)) == MoviePlayer::LoadState::kLoading) {
        }
      }
      if (loading != MoviePlayer::LoadState::kReady) {
        state.SkipWithError("the clip did not load");
        break;
      }
      player.Play();
      auto next = std::chrono::steady_clock::now();
      while (!player.HasEnded()) {
        player.Draw(640, 480);
        SDL_GL_SwapWindow(renderer.window);
        SDL_PumpEvents();
        ++frames;
        next += std::chrono::microseconds(16667);
        std::this_thread::sleep_until(next);
      }
      state.counters["pictures"] = static_cast<double>(player.PicturesRendered());
    }
    state.counters["movie_cpu_s"] = ProcessCpuSeconds() - before;
    state.counters["movie_wall_s"] = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["ffmpeg_null_cpu_s"] = ffmpegSeconds;
  }
  std::remove(clip.c_str());
}
BENCHMARK(BM_MoviePlayback640x480For10Seconds)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
