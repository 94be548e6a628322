// Conversion of a file's samples to the mixer's format (no audio output needed).

#include "sound/sound_samples.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sound/wav_bytes.h"

namespace {

const MixerFormat kMixer{44100, AUDIO_S16SYS, 2};

std::vector<std::int16_t> Convert(const std::string& file) {
  const std::vector<std::uint8_t> bytes = wav_bytes::Bytes(file);
  const WavSound sound = ParseWav(bytes);
  EXPECT_EQ(sound.status, WavStatus::kLoaded);
  std::vector<std::uint8_t> converted;
  EXPECT_TRUE(ConvertToMixerFormat(sound, kMixer, converted));
  std::vector<std::int16_t> samples(converted.size() / 2);
  std::memcpy(samples.data(), converted.data(), samples.size() * 2);
  return samples;
}

TEST(SoundSamples, TheOutputFormatPassesThroughUnchanged) {
  const std::vector<std::int16_t> sine = wav_bytes::SineStereo(5000, 20000, 300, 44100, true);
  EXPECT_EQ(Convert(wav_bytes::PlainFile({}, wav_bytes::Pcm16(sine))), sine);
}

TEST(SoundSamples, EightBitMonoAtHalfRateKeepsItsLengthAndLevel) {
  // 11025 frames at 22050 Hz are half a second: 22050 output frames, none lost at the end.
  const std::string samples(11025, static_cast<char>(200));
  const std::vector<std::int16_t> out = Convert(wav_bytes::PlainFile({.channels = 1, .rate = 22050, .bits = 8}, samples));
  ASSERT_EQ(out.size(), 22050u * 2);
  for (std::size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], out[i + 1]) << "frame " << i / 2;
  // Away from the edges the level is (200 - 128) x 256.
  EXPECT_NEAR(out[22050], (200 - 128) * 256, 64);
  EXPECT_NEAR(out[out.size() - 2000], (200 - 128) * 256, 64);
}

TEST(SoundSamples, HigherRatesAreDownsampled) {
  const std::vector<std::int16_t> tone = wav_bytes::SineStereo(96000, 10000, 1000, 96000);
  const std::vector<std::int16_t> out = Convert(wav_bytes::PlainFile({.rate = 96000}, wav_bytes::Pcm16(tone)));
  EXPECT_EQ(out.size(), 44100u * 2);
}

TEST(SoundSamples, APartialFrameAtTheEndIsDropped) {
  const std::string samples = wav_bytes::Pcm16({100, 100, 200, 200}) + "\x01\x02";
  const std::vector<std::int16_t> out = Convert(wav_bytes::PlainFile({}, samples));
  EXPECT_EQ(out, (std::vector<std::int16_t>{100, 100, 200, 200}));
}

TEST(SoundSamples, SoundsTooLargeOnceConvertedAreRefused) {
  // 0x0FFFFFFF bytes of 8-bit mono at 100 Hz would become about 470 GB at 44100 Hz stereo.
  WavSound sound;
  sound.status = WavStatus::kLoaded;
  sound.format = {1, 100, 1, 8};
  static const std::uint8_t byte = 0x80;
  sound.samples = std::span<const std::uint8_t>(&byte, 0x0FFFFFFF);  // never read
  std::vector<std::uint8_t> converted;
  EXPECT_FALSE(ConvertToMixerFormat(sound, kMixer, converted));
  EXPECT_TRUE(converted.empty());
}

}  // namespace
