// The WAV reader on hand-built files: the layouts that load, the quirks kept on purpose,
// and damaged files that must fail without reading past the end.

#include "sound/wav_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "sound/wav_bytes.h"

namespace {

using namespace wav_bytes;

WavSound Parse(const std::vector<std::uint8_t>& bytes) { return ParseWav(bytes); }
WavSound Parse(const std::string& text) {
  static std::vector<std::uint8_t> keep;  // the samples span points into it
  keep = Bytes(text);
  return ParseWav(keep);
}

const std::string kSamples = Pcm16({1, -1, 2, -2, 3, -3, 4, -4});

TEST(WavReader, PlainFileLoadsWithItsFormatAndData) {
  const WavSound sound = Parse(PlainFile({.channels = 2, .rate = 22050, .bits = 16}, kSamples));
  ASSERT_EQ(sound.status, WavStatus::kLoaded);
  EXPECT_EQ(sound.format.channels, 2);
  EXPECT_EQ(sound.format.samplesPerSecond, 22050u);
  EXPECT_EQ(sound.format.blockAlign, 4);
  EXPECT_EQ(sound.format.bitsPerSample, 16);
  ASSERT_EQ(sound.samples.size(), kSamples.size());
  EXPECT_EQ(std::string(sound.samples.begin(), sound.samples.end()), kSamples);
}

TEST(WavReader, EightBitMonoLoads) {
  const WavSound sound = Parse(PlainFile({.channels = 1, .rate = 8000, .bits = 8}, "\x80\x90\xA0\xB0\xC0"));
  ASSERT_EQ(sound.status, WavStatus::kLoaded);
  EXPECT_EQ(sound.format.channels, 1);
  EXPECT_EQ(sound.format.blockAlign, 1);
  EXPECT_EQ(sound.samples.size(), 5u);
}

TEST(WavReader, EighteenByteFormatLoadsOnlyWhenAFactChunkFollows) {
  const Format format{.formatSize = 18};
  const std::string withFact = Head(format) + Uint16(0) + Chunk("fact", Uint32(4)) + Chunk("data", kSamples);
  const WavSound loaded = Parse(withFact);
  ASSERT_EQ(loaded.status, WavStatus::kLoaded);
  EXPECT_EQ(std::string(loaded.samples.begin(), loaded.samples.end()), kSamples);

  // Without "fact" the fixed 14-byte skip lands inside the data chunk.
  const std::string withoutFact = Head(format) + Uint16(0) + Chunk("data", kSamples + kSamples);
  EXPECT_NE(Parse(withoutFact).status, WavStatus::kLoaded);
}

TEST(WavReader, AFactChunkIsSkippedByItsSizeButOnlyOnce) {
  const std::string oneFact = Head({}) + Chunk("fact", "12345678") + Chunk("data", kSamples);
  EXPECT_EQ(Parse(oneFact).status, WavStatus::kLoaded);
  const std::string twoFacts = Head({}) + Chunk("fact", Uint32(4)) + Chunk("fact", Uint32(4)) + Chunk("data", kSamples);
  EXPECT_EQ(Parse(twoFacts).status, WavStatus::kNotData);
}

TEST(WavReader, AListChunkBeforeDataFails) {
  const std::string list = Chunk("LIST", "INFOISFT" + Uint32(4) + "tool");
  EXPECT_EQ(Parse(Head({}) + list + Chunk("data", kSamples)).status, WavStatus::kNotData);
  EXPECT_EQ(Parse(Head({}) + Chunk("fact", Uint32(4)) + list + Chunk("data", kSamples)).status, WavStatus::kNotData);
  // After the data chunk it is never looked at.
  EXPECT_EQ(Parse(Head({}) + Chunk("data", kSamples) + list).status, WavStatus::kLoaded);
}

TEST(WavReader, TagsFormatTagAndByteRateAreNotChecked) {
  std::string file = PlainFile({.formatTag = 7}, kSamples);
  file.replace(0, 4, "JUNK");
  file.replace(8, 4, "EVAW");
  file.replace(12, 4, "tmf ");
  file.replace(28, 4, Uint32(1));  // byte rate
  EXPECT_EQ(Parse(file).status, WavStatus::kLoaded);
}

TEST(WavReader, EveryTruncationOfAValidFileFails) {
  const Format format{.formatSize = 18};
  const std::string file = Head(format) + Uint16(0) + Chunk("fact", Uint32(4)) + Chunk("data", kSamples);
  for (std::size_t length = 0; length < file.size(); ++length) {
    // A copy of exactly that length, so a read past it is a read past the allocation.
    const std::vector<std::uint8_t> prefix(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length));
    EXPECT_NE(Parse(prefix).status, WavStatus::kLoaded) << "length " << length;
  }
  EXPECT_EQ(Parse(Bytes(file)).status, WavStatus::kLoaded);
}

TEST(WavReader, ShortHeadsAndCutChunksSayWhy) {
  EXPECT_EQ(Parse(std::string(35, 'x')).status, WavStatus::kShortHead);
  EXPECT_EQ(Parse(Head({})).status, WavStatus::kMissingChunk);
  EXPECT_EQ(Parse(Head({}) + "dat").status, WavStatus::kMissingChunk);
  EXPECT_EQ(Parse(Head({}) + Chunk("fact", "1234")).status, WavStatus::kMissingChunk);
  EXPECT_EQ(Parse(Head({}) + ChunkHeader("fact", 100) + "1234").status, WavStatus::kMissingChunk);
  EXPECT_EQ(Parse(Head({}) + ChunkHeader("fact", 0xFFFFFFF8u) + Chunk("data", kSamples)).status,
            WavStatus::kMissingChunk);
}

TEST(WavReader, DataSizesBeyondTheFileFail) {
  EXPECT_EQ(Parse(Head({}) + ChunkHeader("data", 17) + std::string(16, '\0')).status, WavStatus::kDataPastEnd);
  EXPECT_EQ(Parse(Head({}) + ChunkHeader("data", 0x7FFFFFFF) + kSamples).status, WavStatus::kDataPastEnd);
  EXPECT_EQ(Parse(Head({}) + ChunkHeader("data", 0xFFFFFFFFu) + kSamples).status, WavStatus::kDataPastEnd);
  // Bytes after the data chunk are allowed.
  EXPECT_EQ(Parse(Head({}) + ChunkHeader("data", 8) + kSamples).samples.size(), 8u);
}

TEST(WavReader, FormatsTheMixerCannotPlayFail) {
  const auto status = [](const Format& format) { return Parse(PlainFile(format, kSamples)).status; };
  EXPECT_EQ(status({.channels = 0, .blockAlign = 4}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.blockAlign = 0xFFFF}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.channels = 1, .bits = 16, .blockAlign = 4}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.bits = 24}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.bits = 32}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.bits = 0, .blockAlign = 4}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.rate = 0}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.rate = 99}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.rate = 200001}), WavStatus::kBadFormat);
  EXPECT_EQ(status({.rate = 100}), WavStatus::kLoaded);
  EXPECT_EQ(status({.rate = 200000}), WavStatus::kLoaded);

  // A zero block align is caught even where the head is otherwise fine.
  std::string zeroAlign = PlainFile({}, kSamples);
  zeroAlign.replace(kWavBlockAlignOffset, 2, Uint16(0));
  EXPECT_EQ(Parse(zeroAlign).status, WavStatus::kBadFormat);
}

TEST(WavReader, DataOfFewerThanFourBytesFails) {
  EXPECT_EQ(Parse(PlainFile({.channels = 1, .bits = 8}, "abc")).status, WavStatus::kBadFormat);
  EXPECT_EQ(Parse(PlainFile({}, "")).status, WavStatus::kBadFormat);
  EXPECT_EQ(Parse(PlainFile({.channels = 1, .bits = 8}, "abcd")).status, WavStatus::kLoaded);
}

TEST(WavReader, MoreThanTwoChannelsAreReadAsStereo) {
  // Three channels of 16 bits with a stereo block align: played as stereo, as always.
  const WavSound sound = Parse(PlainFile({.channels = 3, .bits = 16, .blockAlign = 4}, kSamples));
  ASSERT_EQ(sound.status, WavStatus::kLoaded);
  EXPECT_EQ(sound.format.channels, 2);
  // With its own block align (6 bytes) the frames do not match stereo and the load fails.
  EXPECT_EQ(Parse(PlainFile({.channels = 3, .bits = 16}, kSamples)).status, WavStatus::kBadFormat);
}

TEST(WavReader, RandomDamageNeverReadsOutsideTheFile) {
  const std::string valid = Head({.formatSize = 18}) + Uint16(0) + Chunk("fact", Uint32(4)) + Chunk("data", kSamples);
  std::mt19937 random(12345);
  int loaded = 0;
  for (int round = 0; round < 20000; ++round) {
    std::vector<std::uint8_t> bytes = Bytes(valid);
    const int changes = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < changes; ++i) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    bytes.resize(random() % (bytes.size() + 1));
    const WavSound sound = Parse(bytes);
    if (sound.status != WavStatus::kLoaded) continue;
    ++loaded;
    ASSERT_GE(sound.samples.data(), bytes.data());
    ASSERT_LE(sound.samples.data() + sound.samples.size(), bytes.data() + bytes.size());
    ASSERT_GE(sound.samples.size(), kWavMinDataSize);
  }
  EXPECT_GT(loaded, 0);
}

}  // namespace
