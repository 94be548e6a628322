// Start-up time of a whole game process: from spawn to "Init OK" on its standard output,
// for the demo and for the smallest SDL2 program that opens the same window and context
// (minimal_sdl_window). Both run on the offscreen video driver and the dummy audio
// driver, so the figures do not depend on a display or a sound card.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string BinaryFolder() {
  char path[PATH_MAX + 1];
  const ssize_t length = readlink("/proc/self/exe", path, PATH_MAX);
  std::string folder(path, length > 0 ? static_cast<std::size_t>(length) : 0);
  return folder.substr(0, folder.rfind('/'));
}

// Seconds from spawning program until it prints "Init OK"; the program is stopped
// then. A negative result means it never did.
double SecondsToInitOk(const std::string& program) {
  int pipeEnds[2];
  if (pipe2(pipeEnds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

  std::vector<std::string> environment = {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"};
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    if (text.rfind("SDL_VIDEODRIVER=", 0) != 0 && text.rfind("SDL_AUDIODRIVER=", 0) != 0) environment.push_back(text);
  }
  std::vector<char*> environmentPointers;
  for (std::string& entry : environment) environmentPointers.push_back(entry.data());
  environmentPointers.push_back(nullptr);
  std::string programCopy = program;
  char* argv[] = {programCopy.data(), nullptr};

  const auto start = Clock::now();
  pid_t child = -1;
  const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv, environmentPointers.data());
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  if (spawned != 0) {
    close(pipeEnds[0]);
    return -1;
  }
  std::string output;
  double seconds = -1;
  char buffer[256];
  pollfd watch{pipeEnds[0], POLLIN, 0};
  while (poll(&watch, 1, 30000) > 0) {
    const ssize_t count = read(pipeEnds[0], buffer, sizeof buffer);
    if (count <= 0) break;
    output.append(buffer, static_cast<std::size_t>(count));
    if (output.find("Init OK") != std::string::npos) {
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
      break;
    }
  }
  close(pipeEnds[0]);
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
  return seconds;
}

void MeasureStartup(benchmark::State& state, const std::string& program) {
  for (auto _ : state) {
    const double seconds = SecondsToInitOk(BinaryFolder() + "/" + program);
    if (seconds < 0) {
      state.SkipWithError("the program did not print Init OK");
      return;
    }
    state.SetIterationTime(seconds);
  }
}

void BM_StartupDemo(benchmark::State& state) { MeasureStartup(state, "RizareZaz.exe"); }
void BM_StartupMinimalSdlWindow(benchmark::State& state) { MeasureStartup(state, "minimal_sdl_window"); }
BENCHMARK(BM_StartupDemo)->UseManualTime()->Iterations(1)->Repetitions(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartupMinimalSdlWindow)->UseManualTime()->Iterations(1)->Repetitions(15)->Unit(benchmark::kMillisecond);

// Both programs in alternation, so a busy machine slows both alike; counters are the
// medians in milliseconds and their ratio (the goal is at most 1.5).
void BM_StartupRatio(benchmark::State& state) {
  constexpr int kRounds = 15;
  std::vector<double> demo;
  std::vector<double> minimal;
  for (auto _ : state) {
    for (int round = 0; round < kRounds; ++round) {
      demo.push_back(SecondsToInitOk(BinaryFolder() + "/RizareZaz.exe") * 1000);
      minimal.push_back(SecondsToInitOk(BinaryFolder() + "/minimal_sdl_window") * 1000);
    }
  }
  std::sort(demo.begin(), demo.end());
  std::sort(minimal.begin(), minimal.end());
  if (demo.front() < 0 || minimal.front() < 0) {
    state.SkipWithError("a program did not print Init OK");
    return;
  }
  const double demoMedian = demo[demo.size() / 2];
  const double minimalMedian = minimal[minimal.size() / 2];
  state.counters["demo_ms"] = demoMedian;
  state.counters["minimal_ms"] = minimalMedian;
  state.counters["ratio"] = demoMedian / minimalMedian;
}
BENCHMARK(BM_StartupRatio)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
