// Mixing cost of the sound bank: CPU time of the mixing thread per second of audio with
// 0, 1, 16 and 64 voices playing, through SDL's disk driver writing to /dev/null as fast
// as it can (no real-time pacing), so the figure is pure mixing work.
//
// Voices play at a reduced volume and a pan (their samples are scaled before mixing),
// or at full level and centred (mixed as they are).

#include <benchmark/benchmark.h>
#include <SDL_mixer.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "sound/sound_commands.h"
#include "sound/sound_device.h"
#include "sound/sound_system.h"

namespace {

constexpr int kSlots = 16;
constexpr int kVoicesPerSlot = 4;
constexpr double kSoundSeconds = 3;

std::atomic<std::uint64_t> mixedBytes{0};
std::atomic<std::int64_t> mixingThreadNanoseconds{0};

// Runs on the mixing thread after every pass: counts the audio and the thread's CPU time.
void CountMixedAudio(void*, Uint8*, int length) {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  mixingThreadNanoseconds.store(now.tv_sec * 1'000'000'000LL + now.tv_nsec);
  mixedBytes.fetch_add(static_cast<std::uint64_t>(length));
}

std::string WriteTestSound() {
  // 22050 Hz 16-bit mono, so loading also exercises the conversion to the output format.
  const int rate = 22050;
  const int frames = static_cast<int>(rate * kSoundSeconds);
  std::string bytes = "RIFF....WAVEfmt ";
  const auto put32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) bytes += static_cast<char>(v >> (8 * i)); };
  const auto put16 = [&](std::uint16_t v) { bytes += static_cast<char>(v & 0xFF); bytes += static_cast<char>(v >> 8); };
  put32(16); put16(1); put16(1); put32(rate); put32(rate * 2); put16(2); put16(16);
  bytes += "data";
  put32(static_cast<std::uint32_t>(frames * 2));
  for (int i = 0; i < frames; ++i) put16(static_cast<std::uint16_t>(static_cast<std::int16_t>(8000 * std::sin(i * 0.05))));
  const std::string path =
      (std::filesystem::temp_directory_path() / ("sound-mixing-bench-" + std::to_string(getpid()) + ".wav")).string();
  if (FILE* file = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return path;
}

bool OpenSound() {
  static bool open = [] {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    CreateSound();
    if (InitSound(nullptr) != 1) return false;
    const std::string path = WriteTestSound();
    bool loaded = true;
    for (int slot = 0; slot < kSlots; ++slot) loaded = loaded && LoadSoundSlot(path.c_str(), slot, kVoicesPerSlot) == 1;
    std::remove(path.c_str());
    Mix_SetPostMix(CountMixedAudio, nullptr);
    return loaded;
  }();
  return open;
}

void WaitForMixedBytes(std::uint64_t target) {
  while (mixedBytes.load() < target) std::this_thread::sleep_for(std::chrono::microseconds(200));
}

void MixVoices(benchmark::State& state, bool scaled) {
  if (!OpenSound()) {
    state.SkipWithError("no audio output");
    return;
  }
  const int voices = static_cast<int>(state.range(0));
  const std::uint64_t secondOfAudio = SoundDevice::kOutputRate * 4;
  for (auto _ : state) {
    StopAllSounds();
    for (int voice = 0; voice < voices; ++voice) {
      const double pan = scaled ? (voice % 9 - 4) / 4.0 : 0;
      StartSound(voice / kVoicesPerSlot, pan, scaled ? 0.8 : 1.0);
    }
    // Start counting at the next pass, when every voice plays.
    WaitForMixedBytes(mixedBytes.load() + 1);
    const std::uint64_t startBytes = mixedBytes.load();
    const std::int64_t startCpu = mixingThreadNanoseconds.load();
    WaitForMixedBytes(startBytes + secondOfAudio);
    const double seconds = static_cast<double>(mixedBytes.load() - startBytes) / static_cast<double>(secondOfAudio);
    const double cpu = static_cast<double>(mixingThreadNanoseconds.load() - startCpu) * 1e-9;
    state.SetIterationTime(cpu / seconds);
  }
  state.counters["voices"] = voices;
}

void MixScaledVoices(benchmark::State& state) { MixVoices(state, true); }
void MixFullLevelVoices(benchmark::State& state) { MixVoices(state, false); }

// Reported time: CPU time of the mixing thread per second of audio.
BENCHMARK(MixScaledVoices)->Arg(0)->Arg(1)->Arg(16)->Arg(64)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(MixFullLevelVoices)->Arg(64)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
