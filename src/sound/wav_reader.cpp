#include "sound/wav_reader.h"

#include <cstring>

#include "core/byte_order.h"

namespace {

std::uint16_t ReadUint16(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return ReadLittleEndian16(bytes.data() + offset);
}

std::uint32_t ReadUint32(std::span<const std::uint8_t> bytes, std::size_t offset) {
  return ReadLittleEndian32(bytes.data() + offset);
}

struct ChunkHeader {
  char tag[4];
  std::int32_t size;  // signed in the file; a negative size is damage
};

// Reads the chunk header at position; false when the file ends inside it.
bool ReadChunkHeader(std::span<const std::uint8_t> file, std::size_t position, ChunkHeader& header) {
  if (file.size() < position || file.size() - position < kWavChunkHeaderSize) return false;
  std::memcpy(header.tag, file.data() + position, 4);
  header.size = static_cast<std::int32_t>(ReadUint32(file, position + 4));
  return true;
}

bool HasTag(const ChunkHeader& header, const char* tag) { return std::memcmp(header.tag, tag, 4) == 0; }

// The format the samples are played in, or false when the mixer cannot play it. Fewer
// than 2 channels means mono and more means stereo, as the engine always read it; the
// block align must then describe one frame of that format exactly.
bool BuildFormat(std::span<const std::uint8_t> head, WavFormat& format) {
  const int fileChannels = ReadUint16(head, kWavChannelsOffset);
  format.channels = fileChannels < 2 ? 1 : 2;
  format.samplesPerSecond = ReadUint32(head, kWavSampleRateOffset);
  format.blockAlign = ReadUint16(head, kWavBlockAlignOffset);
  format.bitsPerSample = ReadUint16(head, kWavBitsOffset);
  if (fileChannels == 0) return false;
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) return false;
  if (format.blockAlign != format.channels * format.bitsPerSample / 8) return false;
  return format.samplesPerSecond >= kWavMinSampleRate && format.samplesPerSecond <= kWavMaxSampleRate;
}

}  // namespace

WavSound ParseWav(std::span<const std::uint8_t> file) {
  WavSound sound;
  if (file.size() < kWavHeadSize) return sound;  // kShortHead

  std::size_t position = kWavHeadSize;
  if (static_cast<std::int32_t>(ReadUint32(file, kWavFormatSizeOffset)) != kWavPlainFormatSize) {
    position += kWavExtendedFormatSkip;
  }

  ChunkHeader header{};
  sound.status = WavStatus::kMissingChunk;
  if (!ReadChunkHeader(file, position, header)) return sound;
  position += kWavChunkHeaderSize;
  if (HasTag(header, "fact")) {
    if (header.size < 0 || static_cast<std::size_t>(header.size) > file.size() - position) return sound;
    position += static_cast<std::size_t>(header.size);
    if (!ReadChunkHeader(file, position, header)) return sound;
    position += kWavChunkHeaderSize;
  }

  sound.status = WavStatus::kNotData;
  if (!HasTag(header, "data")) return sound;

  sound.status = WavStatus::kDataPastEnd;
  if (header.size < 0 || static_cast<std::size_t>(header.size) > file.size() - position) return sound;
  const auto dataSize = static_cast<std::uint32_t>(header.size);

  sound.status = WavStatus::kBadFormat;
  if (!BuildFormat(file, sound.format)) return sound;
  if (dataSize < kWavMinDataSize || dataSize > kWavMaxDataSize) return sound;

  sound.samples = file.subspan(position, dataSize);
  sound.status = WavStatus::kLoaded;
  return sound;
}

const char* DescribeWavStatus(WavStatus status) {
  switch (status) {
    case WavStatus::kLoaded: return "loaded";
    case WavStatus::kShortHead: return "shorter than the 36-byte head";
    case WavStatus::kMissingChunk: return "a chunk header or the fact chunk is cut off";
    case WavStatus::kNotData: return "no data chunk where one must be";
    case WavStatus::kDataPastEnd: return "the data chunk runs past the end of the file";
    case WavStatus::kBadFormat: return "a sample format the mixer cannot play";
  }
  return "unknown";
}
