// A whole game playing a sound: its first load opens the output, the commands play through it,
// and the end of the program closes it with everything played written out.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "sound/wav_bytes.h"
#include "support/process_runner.h"
#include "support/scratch_directory.h"

namespace {

class SoundProgram : public ::testing::Test {
 protected:
  ProcessResult Run(const std::string& audioDriver) {
    return RunProcess(ProgramPath("test_sound_probe"), {scratch.Path() + "/effect.wav"},
                      {"TMPDIR=" + scratch.Path(), "SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=" + audioDriver,
                       "SDL_DISKAUDIOFILE=" + scratch.Path() + "/output.raw"});
  }
  ScratchDirectory scratch;
};

TEST_F(SoundProgram, AGamePlaysASoundThroughTheEnginesStartUpAndShutdown) {
  std::vector<std::int16_t> samples;
  for (int i = 0; i < 4410; ++i) samples.insert(samples.end(), {static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
  scratch.WriteFile("effect.wav", wav_bytes::PlainFile({}, wav_bytes::Pcm16(samples)));

  const ProcessResult result = Run("disk");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("at start: mixer=0 movie=0\n"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("load=1 first=768 second=769 playing=1\n"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("ended=1\n"), std::string::npos) << result.output;

  // Both voices started in the same mixing pass, so the output holds the samples doubled.
  std::ifstream file(scratch.Path() + "/output.raw", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::string doubled;
  for (std::int16_t sample : samples) doubled += wav_bytes::Uint16(static_cast<std::uint16_t>(sample * 2));
  const bool together = bytes.find(doubled) != std::string::npos;
  const std::string single = wav_bytes::Pcm16(samples).substr(4 * 4096);  // the tail of a voice that played alone
  EXPECT_TRUE(together || bytes.find(single) != std::string::npos) << "the sound is not in the output";
}

TEST_F(SoundProgram, WithoutAnAudioOutputTheGameGoesOnSilently) {
  scratch.WriteFile("effect.wav", wav_bytes::PlainFile({}, wav_bytes::Pcm16({1, 1, 2, 2})));
  const ProcessResult result = Run("no-such-driver");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.output.find("load=0 first=-1 second=-1 playing=0\n"), std::string::npos) << result.output;
  EXPECT_NE(result.output.find("ended=1\n"), std::string::npos) << result.output;
}

}  // namespace
