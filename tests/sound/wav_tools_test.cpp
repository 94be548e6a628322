// WAV files written by real tools (sox, espeak-ng), loaded and played.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "sound/sound_output_fixture.h"
#include "support/process_runner.h"

namespace {

class ToolWavTest : public SoundOutputTest {
 protected:
  // Runs sox (or another tool) to write name in the scratch folder; returns its path.
  std::string Make(const std::string& tool, const std::vector<std::string>& arguments, const std::string& name) {
    const std::string path = scratch.Path() + "/" + name;
    std::vector<std::string> withPath;
    for (const std::string& argument : arguments) withPath.push_back(argument == "OUT" ? path : argument);
    const ProcessResult result = RunProcess("/usr/bin/" + tool, withPath);
    EXPECT_EQ(result.exitCode, 0) << tool << " failed (scripts/install-deps.sh installs it): " << result.output;
    return path;
  }
  std::string Sox(const std::string& name, const std::vector<std::string>& format, const std::string& seconds) {
    std::vector<std::string> arguments = {"-n"};
    arguments.insert(arguments.end(), format.begin(), format.end());
    arguments.insert(arguments.end(), {"OUT", "synth", seconds, "sine", "440"});
    return Make("sox", arguments, name);
  }
};

TEST_F(ToolWavTest, EightBitMonoAt22050IsResampledToTheOutputRate) {
  const std::string path = Sox("mono8.wav", {"-r", "22050", "-b", "8", "-c", "1"}, "0.5");
  ASSERT_EQ(LoadSoundSlot(path.c_str(), 1, 1), 1);
  WaitUntilSilent(StartSound(1, 0, 1));

  const CapturedAudio audio = Capture();
  std::size_t first = audio.FrameCount(), last = 0, unequal = 0;
  for (std::size_t frame = 0; frame < audio.FrameCount(); ++frame) {
    if (audio.Left(frame) == 0 && audio.Right(frame) == 0) continue;
    first = std::min(first, frame);
    last = frame;
    unequal += audio.Left(frame) != audio.Right(frame);
  }
  ASSERT_LT(first, last);
  // Half a second at 44100 Hz, mono on both channels, at sox's level (about 90 of 128).
  EXPECT_NEAR(static_cast<double>(last - first + 1), 22050, 10);
  EXPECT_EQ(unequal, 0u);
  EXPECT_NEAR(audio.Peak(0), 90 * 256, 1000);
}

TEST_F(ToolWavTest, SixteenBitStereoIsPlayedUnchanged) {
  const std::string path = Sox("stereo16.wav", {"-r", "44100", "-b", "16", "-c", "2"}, "0.2");
  ASSERT_EQ(LoadSoundSlot(path.c_str(), 2, 1), 1);
  WaitUntilSilent(StartSound(2, 0, 1));

  const std::string file = scratch.ReadFile("stereo16.wav");
  std::vector<std::int16_t> samples((file.size() - 44) / 2);
  std::memcpy(samples.data(), file.data() + 44, samples.size() * 2);
  EXPECT_NE(Capture().FindFrames(samples), std::string::npos);
}

TEST_F(ToolWavTest, EighteenByteFormatWithFactChunkLoads) {
  // sox writes u-law with an 18-byte format chunk and a "fact" chunk; the format tag is
  // not checked, so the bytes load as 8-bit samples.
  const std::string path = Sox("ulaw.wav", {"-r", "8000", "-e", "u-law"}, "0.1");
  ASSERT_EQ(scratch.ReadFile("ulaw.wav").substr(16, 4), std::string("\x12\0\0\0", 4));
  ASSERT_EQ(scratch.ReadFile("ulaw.wav").substr(38, 4), "fact");
  EXPECT_EQ(LoadSoundSlot(path.c_str(), 3, 1), 1);
  EXPECT_EQ(StartSound(3, 0, 1), 3 * 256);
}

TEST_F(ToolWavTest, FormatsOutsideEightAndSixteenBitPcmFail) {
  // 32-bit float: the 18-byte format and "fact" are read, the bit depth is refused.
  EXPECT_EQ(LoadSoundSlot(Sox("float.wav", {"-e", "floating-point", "-b", "32"}, "0.1").c_str(), 4, 1), 0);
  // 24-bit and 4-channel files use a 40-byte format chunk, which the fixed skip misreads.
  EXPECT_EQ(LoadSoundSlot(Sox("pcm24.wav", {"-r", "8000", "-b", "24"}, "0.1").c_str(), 4, 1), 0);
  EXPECT_EQ(LoadSoundSlot(Sox("quad.wav", {"-r", "8000", "-b", "16", "-c", "4"}, "0.1").c_str(), 4, 1), 0);
  EXPECT_EQ(StartSound(4, 0, 1), -1);
}

TEST_F(ToolWavTest, TruncatedToolFilesFail) {
  Sox("whole.wav", {"-r", "11025", "-b", "16"}, "0.1");
  const std::string whole = scratch.ReadFile("whole.wav");
  for (std::size_t length : {std::size_t{0}, std::size_t{20}, std::size_t{40}, std::size_t{44}, whole.size() - 1}) {
    const std::string path = WriteWav("cut.wav", whole.substr(0, length));
    EXPECT_EQ(LoadSoundSlot(path.c_str(), 5, 1), 0) << "length " << length;
  }
  EXPECT_EQ(LoadSoundSlot(WriteWav("cut.wav", whole).c_str(), 5, 1), 1);
}

TEST_F(ToolWavTest, SpeechFromEspeakPlays) {
  const std::string path = Make("espeak-ng", {"-w", "OUT", "sound check"}, "speech.wav");
  ASSERT_EQ(LoadSoundSlot(path.c_str(), 6, 2), 1);
  const double channel = StartSound(6, -1, 1);
  EXPECT_EQ(channel, 6 * 256);
  WaitUntilSilent(channel);

  const CapturedAudio audio = Capture();
  EXPECT_GT(audio.Peak(0), 1000);
  EXPECT_EQ(audio.Peak(1), 0);  // panned fully left
}

}  // namespace
