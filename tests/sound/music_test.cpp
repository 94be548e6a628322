// Background music through the mixer's music player, read back from the disk driver.

#include <gtest/gtest.h>

#include <SDL_mixer.h>
#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "host/frame_present.h"
#include "host/renderer.h"
#include "sound/music_commands.h"
#include "sound/sound_output_fixture.h"

namespace {


class MusicTest : public SoundOutputTest {
 protected:
  void TearDown() override {
    StopMusic();
    SoundOutputTest::TearDown();
  }

  // A sine made by sox at 44100 Hz stereo, 16-bit in a WAV file.
  std::string Sine(const std::string& name, const std::string& seconds, const std::string& frequency = "440") {
    const std::string path = scratch.Path() + "/" + name;
    std::vector<std::string> arguments = {"-n", "-r", "44100", "-c", "2"};
    if (name.ends_with(".wav")) arguments.insert(arguments.end(), {"-b", "16"});
    arguments.insert(arguments.end(), {path, "synth", seconds, "sine", frequency, "vol", "0.8"});
    const ProcessResult result = RunProcess("/usr/bin/sox", arguments);
    EXPECT_EQ(result.exitCode, 0) << "sox failed (scripts/install-deps.sh installs it): " << result.output;
    return path;
  }
  // The samples of a WAV file sox wrote: what follows its "data" chunk header.
  std::vector<std::int16_t> Samples(const std::string& name) const {
    const std::string file = scratch.ReadFile(name);
    const std::size_t data = file.find("data");
    EXPECT_NE(data, std::string::npos) << name;
    if (data == std::string::npos) return {};
    std::vector<std::int16_t> samples((file.size() - data - 8) / 2);
    std::memcpy(samples.data(), file.data() + data + 8, samples.size() * 2);
    return samples;
  }
  // Mixes until the music has ended by itself; fails the test after 20 s.
  void WaitUntilMusicEnds() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Mix_PlayingMusic() != 0) {
      ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the music never ended";
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
};

TEST_F(MusicTest, AWavPlaysSampleForSampleAndRestartsOnlyAtTheNextFrameAfterItsEnd) {
  const std::string path = Sine("sine.wav", "0.25");
  const std::vector<std::int16_t> sine = Samples("sine.wav");
  EXPECT_EQ(PlayMusic(path.c_str()), 1);
  WaitUntilMusicEnds();
  MixAtLeast(150);  // no frame presented: the music stays silent
  KeepMusicLooping();
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  WaitUntilMusicEnds();
  StopMusic();

  const CapturedAudio audio = Capture();
  const std::size_t first = audio.FindFrames(sine);
  ASSERT_NE(first, std::string::npos) << "the file's samples are not in the output";
  const std::size_t second = audio.FindFrames(sine, first + sine.size() / 2);
  ASSERT_NE(second, std::string::npos) << "the music did not start again from its beginning";
  const std::size_t gap = second - (first + sine.size() / 2);
  EXPECT_GE(gap, static_cast<std::size_t>(SoundDevice::kOutputRate * 150 / 1000 - SoundDevice::kMixFrames));
  EXPECT_EQ(audio.Energy(0, first + sine.size() / 2, second), 0) << "sound between the end and the restart";
}

TEST_F(MusicTest, AnOggFilePlaysAtItsLevelForItsLength) {
  EXPECT_EQ(PlayMusic(Sine("sine.ogg", "0.5").c_str()), 1);
  WaitUntilMusicEnds();
  const CapturedAudio audio = Capture();
  EXPECT_NEAR(static_cast<double>(audio.SoundingFrames()), SoundDevice::kOutputRate / 2, 2000);
  EXPECT_NEAR(audio.Peak(0), 0.8 * 32767, 1500);
}

TEST_F(MusicTest, HalfVolumeHalvesEverySample) {
  const std::string path = Sine("long.wav", "2");
  std::vector<std::int16_t> tail = Samples("long.wav");
  tail.erase(tail.begin(), tail.end() - SoundDevice::kOutputRate);  // the last half second
  ASSERT_EQ(PlayMusic(path.c_str()), 1);
  SetMusicVolume(0.5);
  WaitUntilMusicEnds();

  for (std::int16_t& sample : tail) sample = static_cast<std::int16_t>(sample / 2);
  const CapturedAudio audio = Capture();
  EXPECT_NE(audio.FindFrames(tail), std::string::npos) << "the end was not played at half amplitude";
}

TEST_F(MusicTest, StopMusicSilencesAndTheFrameLoopDoesNotRestartIt) {
  ASSERT_EQ(PlayMusic(Sine("long.wav", "2").c_str()), 1);
  MixAtLeast(100);
  StopMusic();
  KeepMusicLooping();
  MixAtLeast(200);

  const CapturedAudio audio = Capture();
  EXPECT_GT(audio.SoundingFrames(), 0u);
  EXPECT_LT(audio.SoundingFrames(), static_cast<std::size_t>(SoundDevice::kOutputRate));
  std::size_t trailingSilence = 0;
  for (std::size_t frame = audio.FrameCount(); frame-- > 0 && audio.Left(frame) == 0;) ++trailingSilence;
  EXPECT_GE(trailingSilence, static_cast<std::size_t>(SoundDevice::kOutputRate / 5));
}

TEST_F(MusicTest, PlayMusicWhileMusicPlaysReplacesIt) {
  ASSERT_EQ(PlayMusic(Sine("first.wav", "2").c_str()), 1);
  MixAtLeast(100);
  const std::string second = Sine("second.wav", "0.2", "1000");
  ASSERT_EQ(PlayMusic(second.c_str()), 1);
  WaitUntilMusicEnds();
  MixAtLeast(100);

  const std::vector<std::int16_t> replacement = Samples("second.wav");
  const CapturedAudio audio = Capture();
  const std::size_t start = audio.FindFrames(replacement);
  ASSERT_NE(start, std::string::npos) << "the new music is not in the output, or the old one was mixed into it";
  EXPECT_GT(audio.Energy(0, 0, start), 0) << "the first music never played";
  EXPECT_EQ(audio.Energy(0, start + replacement.size() / 2, audio.FrameCount()), 0) << "the first music came back";
}

TEST_F(MusicTest, FilesThatAreNotMusicReturnZeroAndNothingPlays) {
  Sine("whole.wav", "0.2");
  scratch.WriteFile("header.wav", scratch.ReadFile("whole.wav").substr(0, 40));
  scratch.WriteFile("text.ogg", "this is not music\n");
  scratch.WriteFile("noise.mp3", std::string(4096, '\x5a'));
  ASSERT_EQ(mkfifo((scratch.Path() + "/pipe.wav").c_str(), 0600), 0);
  ASSERT_EQ(mkdir((scratch.Path() + "/folder.wav").c_str(), 0700), 0);
  for (const char* name : {"missing.wav", "header.wav", "text.ogg", "noise.mp3", "pipe.wav", "folder.wav"}) {
    EXPECT_EQ(PlayMusic((scratch.Path() + "/" + name).c_str()), 0) << name;
    EXPECT_EQ(Mix_PlayingMusic(), 0) << name;
    KeepMusicLooping();
  }
  MixAtLeast(100);
  EXPECT_EQ(Capture().SoundingFrames(), 0u);
}

TEST_F(MusicTest, PresentFrameRestartsMusicThatHasEnded) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  OpenGLDiveduva* renderer = new OpenGLDiveduva();
  Subsystems().renderer = renderer;
  ASSERT_EQ(CreateGameWindow(*renderer, 64, 48, 0, 0, 0), 1) << SDL_GetError();
  ASSERT_EQ(PlayMusic(Sine("short.wav", "0.1").c_str()), 1);
  WaitUntilMusicEnds();
  PresentFrame();
  EXPECT_EQ(Mix_PlayingMusic(), 1);
  delete renderer;
  Subsystems().renderer = nullptr;
}

}  // namespace
