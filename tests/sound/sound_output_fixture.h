#pragma once
// A sound subsystem whose output goes to a file: SDL's "disk" audio driver writes every
// mixed buffer (44100 Hz, 16-bit stereo) there, and the tests read back what was played.
//
// The disk driver plays in real time. To wait for "at least this much audio has been
// mixed" without trusting wall-clock time on a busy machine, the fixture plays a silent
// sound in a slot of its own and waits for it to end.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/engine_state.h"
#include "sound/sound_commands.h"
#include "sound/sound_device.h"
#include "sound/sound_system.h"
#include "sound/wav_bytes.h"
#include "support/scratch_directory.h"

// Interleaved output samples, left first.
struct CapturedAudio {
  std::vector<std::int16_t> samples;

  std::size_t FrameCount() const { return samples.size() / 2; }
  std::int16_t Left(std::size_t frame) const { return samples[frame * 2]; }
  std::int16_t Right(std::size_t frame) const { return samples[frame * 2 + 1]; }
  // Frames where either channel is not zero.
  std::size_t SoundingFrames() const;
  // Index of the first sample where sequence starts (stepping through whole frames),
  // or npos.
  std::size_t FindFrames(const std::vector<std::int16_t>& sequence, std::size_t fromFrame = 0) const;
  // Sum of squares of one channel (0 left, 1 right) over frames [begin, end).
  double Energy(int channel, std::size_t beginFrame, std::size_t endFrame) const;
  std::int16_t Peak(int channel) const;
};

class SoundOutputTest : public ::testing::Test {
 protected:
  static constexpr int kClockSlot = 100;
  static constexpr int kClockMilliseconds = 50;

  void SetUp() override;
  void TearDown() override;

  // Opens the output with the disk driver writing to a file in the scratch folder.
  void OpenOutput();
  // Writes a WAV file into the scratch folder; returns its path.
  std::string WriteWav(const std::string& name, const std::string& bytes) const;
  // Writes and loads a 44100 Hz 16-bit stereo sound into slot with voices voices.
  void LoadStereo(int slot, const std::vector<std::int16_t>& samples, int voices = 1);
  // Returns once at least milliseconds of audio have been mixed since the call.
  void MixAtLeast(int milliseconds);
  // Waits (mixing) until channel no longer plays; fails the test after 20 s.
  void WaitUntilSilent(double channel);
  // Closes the output and reads back everything it played.
  CapturedAudio Capture();

  ScratchDirectory scratch;
  std::string outputPath;
};
