// What the sound commands put into the mixed output, read back from the disk driver.

#include <gtest/gtest.h>

#include <cmath>

#include "sound/sound_output_fixture.h"

namespace {

using wav_bytes::ConstantStereo;
using wav_bytes::SineStereo;

constexpr int kRate = SoundDevice::kOutputRate;

TEST_F(SoundOutputTest, ALoadedSoundIsPlayedSampleForSampleAndThenEnds) {
  const std::vector<std::int16_t> sine = SineStereo(kRate / 5, 30000, 441, kRate, true);
  LoadStereo(1, sine);

  const double channel = StartSound(1, 0, 1);
  EXPECT_EQ(channel, 256);
  EXPECT_EQ(IsSoundPlaying(channel), 1);
  WaitUntilSilent(channel);
  EXPECT_EQ(IsSoundPlaying(channel), 0);

  const CapturedAudio audio = Capture();
  const std::size_t start = audio.FindFrames(sine);
  ASSERT_NE(start, std::string::npos) << "the sound's samples are not in the output";
  const std::size_t end = start + sine.size() / 2;
  for (int channel = 0; channel < 2; ++channel) {
    EXPECT_EQ(audio.Energy(channel, 0, start), 0) << "sound before the start";
    EXPECT_EQ(audio.Energy(channel, end, audio.FrameCount()), 0) << "sound after the end";
  }
}

TEST_F(SoundOutputTest, HalfVolumeIsMinusFiftyDecibels) {
  const std::vector<std::int16_t> sine = SineStereo(kRate / 5, 30000, 441, kRate);
  LoadStereo(1, sine);
  WaitUntilSilent(StartSound(1, 0, 1.0));
  WaitUntilSilent(StartSound(1, 0, 0.5));

  const CapturedAudio audio = Capture();
  const std::size_t full = audio.FindFrames(sine);
  ASSERT_NE(full, std::string::npos);
  const std::size_t fullEnd = full + sine.size() / 2;
  const double expectedRatio = std::pow(10.0, -5000 / 2000.0);
  for (int channel = 0; channel < 2; ++channel) {
    const double fullEnergy = audio.Energy(channel, full, fullEnd);
    const double halfEnergy = audio.Energy(channel, fullEnd, audio.FrameCount());
    ASSERT_GT(halfEnergy, 0) << "the quiet start left no trace";
    EXPECT_NEAR(std::sqrt(halfEnergy / fullEnergy) / expectedRatio, 1.0, 0.01) << "channel " << channel;
  }
}

TEST_F(SoundOutputTest, VolumeZeroPlaysSilently) {
  LoadStereo(1, ConstantStereo(kRate / 10, 20000));
  const double channel = StartSound(1, 0, 0);
  EXPECT_EQ(channel, 256);
  EXPECT_EQ(IsSoundPlaying(channel), 1);
  WaitUntilSilent(channel);
  EXPECT_EQ(Capture().SoundingFrames(), 0u);
}

TEST_F(SoundOutputTest, PanOneLeavesTheLeftChannelSilentAndTheRightUntouched) {
  const std::vector<std::int16_t> sine = SineStereo(kRate / 5, 30000, 441, kRate);
  LoadStereo(3, sine);
  WaitUntilSilent(StartSound(3, 1, 1));

  const CapturedAudio audio = Capture();
  EXPECT_EQ(audio.Peak(0), 0);
  std::vector<std::int16_t> expected = sine;
  for (std::size_t i = 0; i < expected.size(); i += 2) expected[i] = 0;
  EXPECT_NE(audio.FindFrames(expected), std::string::npos) << "the right channel was changed";
}

TEST_F(SoundOutputTest, NegativePanAttenuatesTheRightChannelByItsHundredths) {
  const std::vector<std::int16_t> sine = SineStereo(kRate / 5, 30000, 441, kRate);
  LoadStereo(3, sine);
  WaitUntilSilent(StartSound(3, -0.25, 1));

  const CapturedAudio audio = Capture();
  const double ratio = std::sqrt(audio.Energy(1, 0, audio.FrameCount()) / audio.Energy(0, 0, audio.FrameCount()));
  EXPECT_NEAR(ratio / std::pow(10.0, -2500 / 2000.0), 1.0, 0.01);
  EXPECT_EQ(audio.Peak(0), 30000);
}

TEST_F(SoundOutputTest, OneVoiceStartedAgainWhilePlayingIsRefusedAndNotRestarted) {
  const int frames = kRate / 2;
  LoadStereo(2, ConstantStereo(frames, 1000), 1);
  const double channel = StartSound(2, 0, 1);
  ASSERT_EQ(channel, 512);
  MixAtLeast(100);
  EXPECT_EQ(StartSound(2, 0, 1), -1);
  WaitUntilSilent(channel);

  // A restart would have added frames beyond the sound's own length.
  const CapturedAudio audio = Capture();
  EXPECT_EQ(audio.SoundingFrames(), static_cast<std::size_t>(frames));
  EXPECT_EQ(audio.Peak(0), 1000);
}

TEST_F(SoundOutputTest, WithTwoVoicesAThirdStartTakesOverTheVoiceAfterTheLastUsed) {
  const int frames = kRate / 2;
  LoadStereo(2, ConstantStereo(frames, 1000), 2);
  EXPECT_EQ(StartSound(2, 0, 1), 512);
  EXPECT_EQ(StartSound(2, 0, 1), 513);
  EXPECT_EQ(IsSoundPlaying(512), 1);
  EXPECT_EQ(IsSoundPlaying(513), 1);
  MixAtLeast(150);
  EXPECT_EQ(StartSound(2, 0, 1), 512);  // voice 1 was the last used, so voice 0 is next
  WaitUntilSilent(512);
  EXPECT_EQ(IsSoundPlaying(513), 0);

  // Each output frame is 1000 per voice sounding. The first play of voice 0 was cut
  // short, voice 1 played whole, voice 0 played whole again after the take-over.
  const CapturedAudio audio = Capture();
  double voiceFrames = 0;
  std::size_t lastDouble = 0;
  for (std::size_t frame = 0; frame < audio.FrameCount(); ++frame) {
    voiceFrames += audio.Left(frame) / 1000.0;
    if (audio.Left(frame) == 2000) lastDouble = frame;
  }
  EXPECT_EQ(audio.Peak(0), 2000);
  EXPECT_GT(voiceFrames, 2.0 * frames);
  EXPECT_LT(voiceFrames, 3.0 * frames);
  // After voice 1 ended, the restarted voice 0 went on alone for at least the mixed
  // 150 ms less one mixing pass.
  std::size_t aloneAfter = 0;
  for (std::size_t frame = lastDouble + 1; frame < audio.FrameCount(); ++frame) aloneAfter += audio.Left(frame) == 1000;
  EXPECT_GE(aloneAfter, static_cast<std::size_t>(kRate * 150 / 1000 - SoundDevice::kMixFrames));
}

TEST_F(SoundOutputTest, StopAllSoundsSilencesEveryVoice) {
  const int frames = kRate * 2;
  LoadStereo(4, ConstantStereo(frames, 1000), 3);
  LoadStereo(127, ConstantStereo(frames, 500), 1);
  const double first = StartSound(4, 0, 1);
  const double second = StartSound(4, 0, 1);
  const double third = StartSound(127, 0, 1);
  EXPECT_EQ(first, 1024);
  EXPECT_EQ(second, 1025);
  EXPECT_EQ(third, 127 * 256);
  MixAtLeast(100);
  StopAllSounds();
  EXPECT_EQ(IsSoundPlaying(first), 0);
  EXPECT_EQ(IsSoundPlaying(second), 0);
  EXPECT_EQ(IsSoundPlaying(third), 0);
  MixAtLeast(200);

  const CapturedAudio audio = Capture();
  EXPECT_EQ(audio.Peak(0), 2500);
  EXPECT_LT(audio.SoundingFrames(), static_cast<std::size_t>(frames / 2));
  // The output ends in silence that lasted at least the mixed 200 ms.
  std::size_t trailingSilence = 0;
  for (std::size_t frame = audio.FrameCount(); frame-- > 0 && audio.Left(frame) == 0;) ++trailingSilence;
  EXPECT_GE(trailingSilence, static_cast<std::size_t>(kRate / 5));
}

TEST_F(SoundOutputTest, StoppedSlotsStartAgainFromTheBeginning) {
  std::vector<std::int16_t> ramp;
  for (int i = 0; i < kRate / 2; ++i) ramp.insert(ramp.end(), 2, static_cast<std::int16_t>(1 + i % 20000));
  LoadStereo(5, ramp);
  StartSound(5, 0, 1);
  MixAtLeast(100);
  StopAllSounds();
  WaitUntilSilent(StartSound(5, 0, 1));

  const CapturedAudio audio = Capture();
  const std::size_t whole = audio.FindFrames(ramp);
  ASSERT_NE(whole, std::string::npos) << "the second start did not play from the first sample";
  const std::vector<std::int16_t> opening(ramp.begin(), ramp.begin() + 200);
  EXPECT_LT(audio.FindFrames(opening), whole) << "the first start is missing";
}

}  // namespace
