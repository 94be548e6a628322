// The volume and pan law, and the choice of a voice, without any audio output.

#include "sound/sound_levels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <set>

#include "sound/sound_bank.h"

namespace {

TEST(SoundLevels, VolumeBecomesHundredthsOfADecibelInWholePercentSteps) {
  EXPECT_EQ(VolumeToHundredths(1.0), 0);
  EXPECT_EQ(VolumeToHundredths(0.5), -5000);
  EXPECT_EQ(VolumeToHundredths(0.0), -10000);
  EXPECT_EQ(VolumeToHundredths(0.999), -100);   // 99.9 percent truncates to 99
  EXPECT_EQ(VolumeToHundredths(0.0099), -10000);
  EXPECT_EQ(VolumeToHundredths(7.0), 0);
  EXPECT_EQ(VolumeToHundredths(-3.0), -10000);
  EXPECT_EQ(VolumeToHundredths(std::numeric_limits<double>::quiet_NaN()), -10000);
  EXPECT_EQ(VolumeToHundredths(std::numeric_limits<double>::infinity()), 0);
}

TEST(SoundLevels, PanIsClampedAndTruncatedToTenThousandths) {
  EXPECT_EQ(PanToHundredths(1.0), 10000);
  EXPECT_EQ(PanToHundredths(2.0), 10000);
  EXPECT_EQ(PanToHundredths(-1.5), -10000);
  EXPECT_EQ(PanToHundredths(-0.25), -2500);
  EXPECT_EQ(PanToHundredths(0.00019), 1);
  EXPECT_EQ(PanToHundredths(-0.00019), -1);
  EXPECT_EQ(PanToHundredths(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(SoundLevels, GainIsTenToTheHundredthsOverTwoThousand) {
  EXPECT_FLOAT_EQ(HundredthsToGain(0), 1.0f);
  EXPECT_FLOAT_EQ(HundredthsToGain(-2000), 0.1f);
  EXPECT_FLOAT_EQ(HundredthsToGain(-5000), static_cast<float>(std::pow(10.0, -2.5)));
  EXPECT_FLOAT_EQ(HundredthsToGain(-600), static_cast<float>(std::pow(10.0, -0.3)));
  EXPECT_GT(HundredthsToGain(-9999), 0.0f);
  EXPECT_EQ(HundredthsToGain(-10000), 0.0f);
  EXPECT_EQ(HundredthsToGain(-20000), 0.0f);
  EXPECT_EQ(HundredthsToGain(500), 1.0f);
}

TEST(SoundLevels, PanAttenuatesOnlyTheOppositeChannelAndAddsToTheVolume) {
  const StereoGain right = VoiceGain(0, 10000);
  EXPECT_EQ(right.left, 0.0f);
  EXPECT_EQ(right.right, 1.0f);
  const StereoGain left = VoiceGain(0, -10000);
  EXPECT_EQ(left.left, 1.0f);
  EXPECT_EQ(left.right, 0.0f);

  const StereoGain quieter = VoiceGain(-5000, -2500);
  EXPECT_FLOAT_EQ(quieter.left, static_cast<float>(std::pow(10.0, -2.5)));
  EXPECT_FLOAT_EQ(quieter.right, static_cast<float>(std::pow(10.0, -3.75)));

  // The sum passes -10000 on the left: silence there, not a wrapped level.
  const StereoGain silentLeft = VoiceGain(-6000, 5000);
  EXPECT_EQ(silentLeft.left, 0.0f);
  EXPECT_FLOAT_EQ(silentLeft.right, static_cast<float>(std::pow(10.0, -3.0)));

  EXPECT_TRUE(VoiceGain(0, 0).IsUnity());
  EXPECT_FALSE(VoiceGain(-100, 0).IsUnity());
}

TEST(SoundLevels, StereoGainRoundsEachChannelToTheNearestSample) {
  std::int16_t samples[] = {32767, -32768, 100, -100, 7};
  ApplyStereoGain(samples, 4, {0.5f, 0.1f});
  EXPECT_EQ(samples[0], 16384);  // 16383.5, halves upward
  EXPECT_EQ(samples[1], -3277);  // -3276.8
  EXPECT_EQ(samples[2], 50);
  EXPECT_EQ(samples[3], -10);

  // Full level changes nothing at either end of the range; -50 dB stays within three
  // quarters of a step of the exact product (a quarter from the 16.16 gain, a half from
  // rounding).
  std::int16_t extremes[] = {32767, -32768, -32768, 32767};
  ApplyStereoGain(extremes, 4, {1.0f, 1.0f});
  EXPECT_EQ(extremes[0], 32767);
  EXPECT_EQ(extremes[1], -32768);
  const float quiet = HundredthsToGain(-5000);
  ApplyStereoGain(extremes, 4, {quiet, quiet});
  EXPECT_NEAR(extremes[2], -32768 * quiet, 0.75);
  EXPECT_NEAR(extremes[3], 32767 * quiet, 0.75);
  EXPECT_EQ(samples[4], 7);      // outside the count: untouched

  std::int16_t odd[] = {1000, 1000, 1000};
  ApplyStereoGain(odd, 3, {0.0f, 0.0f});
  EXPECT_EQ(odd[0], 0);
  EXPECT_EQ(odd[1], 0);
  EXPECT_EQ(odd[2], 1000);  // half a frame is left alone
}

// Voice choice over a fixed set of playing voices.
VoiceChoice Choose(int nextVoice, int count, std::set<int> playing) {
  return ChooseVoice(nextVoice, count, [&](int voice) { return playing.count(voice) > 0; });
}

TEST(SoundVoiceChoice, AFreeLastVoiceIsUsedAgain) {
  const VoiceChoice choice = Choose(2, 4, {0, 1, 3});
  EXPECT_EQ(choice.voice, 2);
  EXPECT_FALSE(choice.takeOver);
}

TEST(SoundVoiceChoice, OneVoiceThatPlaysRefusesTheStart) {
  EXPECT_EQ(Choose(0, 1, {0}).voice, -1);
  EXPECT_EQ(Choose(0, 1, {}).voice, 0);
}

TEST(SoundVoiceChoice, APlayingLastVoiceMovesToTheNextInTurn) {
  EXPECT_EQ(Choose(0, 2, {0}).voice, 1);
  EXPECT_FALSE(Choose(0, 2, {0}).takeOver);
  // The next one in turn is taken over even when another voice is free.
  const VoiceChoice wrapped = Choose(3, 4, {3, 0});
  EXPECT_EQ(wrapped.voice, 0);
  EXPECT_TRUE(wrapped.takeOver);
  const VoiceChoice busy = Choose(1, 4, {1, 2});
  EXPECT_EQ(busy.voice, 2);
  EXPECT_TRUE(busy.takeOver);
}

}  // namespace
