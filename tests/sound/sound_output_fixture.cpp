#include "sound/sound_output_fixture.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>

std::size_t CapturedAudio::SoundingFrames() const {
  std::size_t count = 0;
  for (std::size_t frame = 0; frame < FrameCount(); ++frame) count += Left(frame) != 0 || Right(frame) != 0;
  return count;
}

std::size_t CapturedAudio::FindFrames(const std::vector<std::int16_t>& sequence, std::size_t fromFrame) const {
  if (sequence.empty() || sequence.size() > samples.size()) return std::string::npos;
  for (std::size_t start = fromFrame * 2; start + sequence.size() <= samples.size(); start += 2) {
    if (std::equal(sequence.begin(), sequence.end(), samples.begin() + static_cast<std::ptrdiff_t>(start))) {
      return start / 2;
    }
  }
  return std::string::npos;
}

double CapturedAudio::Energy(int channel, std::size_t beginFrame, std::size_t endFrame) const {
  double sum = 0;
  for (std::size_t frame = beginFrame; frame < endFrame && frame < FrameCount(); ++frame) {
    const double value = samples[frame * 2 + static_cast<std::size_t>(channel)];
    sum += value * value;
  }
  return sum;
}

std::int16_t CapturedAudio::Peak(int channel) const {
  int peak = 0;
  for (std::size_t i = static_cast<std::size_t>(channel); i < samples.size(); i += 2) {
    peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
  }
  return static_cast<std::int16_t>(std::min(peak, 32767));
}

void SoundOutputTest::SetUp() {
  outputPath = scratch.Path() + "/output.raw";
  OpenOutput();
}

void SoundOutputTest::TearDown() { ShutdownSound(); }

void SoundOutputTest::OpenOutput() {
  // The test runner selects the dummy driver for every test; these tests want the
  // samples, so they pick the disk driver before audio starts.
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", outputPath.c_str(), 1);
  unsetenv("SDL_DISKAUDIODELAY");
  CreateSound();
  ASSERT_EQ(InitSound(nullptr), 1);
  SetSoundWindow(nullptr);

  const int clockFrames = SoundDevice::kOutputRate * kClockMilliseconds / 1000;
  const std::string clock = WriteWav("clock.wav", wav_bytes::PlainFile({}, wav_bytes::Pcm16(wav_bytes::ConstantStereo(clockFrames, 0))));
  ASSERT_EQ(LoadSoundSlot(clock.c_str(), kClockSlot, 1), 1);
}

std::string SoundOutputTest::WriteWav(const std::string& name, const std::string& bytes) const {
  scratch.WriteFile(name, bytes);
  return scratch.Path() + "/" + name;
}

void SoundOutputTest::LoadStereo(int slot, const std::vector<std::int16_t>& samples, int voices) {
  const std::string path =
      WriteWav("slot" + std::to_string(slot) + ".wav", wav_bytes::PlainFile({}, wav_bytes::Pcm16(samples)));
  ASSERT_EQ(LoadSoundSlot(path.c_str(), slot, voices), 1);
}

void SoundOutputTest::MixAtLeast(int milliseconds) {
  for (int mixed = 0; mixed < milliseconds; mixed += kClockMilliseconds) {
    const double channel = StartSound(kClockSlot, 0, 1);
    ASSERT_EQ(channel, kClockSlot * 256);
    WaitUntilSilent(channel);
  }
}

void SoundOutputTest::WaitUntilSilent(double channel) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (IsSoundPlaying(channel) == 1) {
    ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "channel " << channel << " never ended";
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

CapturedAudio SoundOutputTest::Capture() {
  ShutdownSound();
  std::ifstream file(outputPath, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  CapturedAudio audio;
  audio.samples.resize(bytes.size() / 4 * 2);
  std::memcpy(audio.samples.data(), bytes.data(), audio.samples.size() * sizeof(std::int16_t));
  return audio;
}
