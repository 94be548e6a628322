#pragma once
// The WAV reader of the sound bank. It works on the bytes of a whole file and knows
// nothing of the mixer.
//
// It walks the file the way the engine always has, so that games that shipped with odd
// files keep the same result:
//   bytes 0..35  the head: the RIFF and WAVE tags, the "fmt " chunk header and the first
//                16 bytes of the format. Only the format chunk size (16), channels (22),
//                samples per second (24), block align (32) and bits per sample (34) are
//                read; the tags, the format tag and the byte rate are not checked.
//   +14 bytes    skipped when the format chunk is not 16 bytes long: the tail of an
//                18-byte format chunk (2) plus a 12-byte "fact" chunk.
//   chunk        one "fact" chunk here is skipped; then "data" must follow, anything
//                else (a "LIST" chunk, say) fails the load.
// Sizes are checked against the file, and formats the mixer cannot play fail the load
// instead of producing noise or reading past the end.

#include <cstdint>
#include <span>

// The format the samples are played in.
struct WavFormat {
  int channels = 0;                      // 1 or 2 (a file with more is read as stereo)
  std::uint32_t samplesPerSecond = 0;
  int blockAlign = 0;                    // bytes per sample frame
  int bitsPerSample = 0;                 // 8 (unsigned) or 16 (signed, little-endian)
};

enum class WavStatus {
  kLoaded,
  kShortHead,          // fewer than the 36 head bytes
  kMissingChunk,       // the file ends inside or before a chunk header, or a "fact" chunk
  kNotData,            // the chunk after the format (and one "fact") is not "data"
  kDataPastEnd,        // the data chunk claims more bytes than the file holds
  kBadFormat,          // zero channels, a bit depth other than 8 or 16, a block align
                       // that does not match, a rate or size the mixer cannot hold
};

struct WavSound {
  WavStatus status = WavStatus::kShortHead;
  WavFormat format;
  std::span<const std::uint8_t> samples;  // the data chunk, inside the file's bytes
};

// Layout of the head and the limits of a playable sound.
inline constexpr std::size_t kWavHeadSize = 36;
inline constexpr std::size_t kWavFormatSizeOffset = 16;
inline constexpr std::size_t kWavChannelsOffset = 22;
inline constexpr std::size_t kWavSampleRateOffset = 24;
inline constexpr std::size_t kWavBlockAlignOffset = 32;
inline constexpr std::size_t kWavBitsOffset = 34;
inline constexpr std::int32_t kWavPlainFormatSize = 16;
inline constexpr std::size_t kWavExtendedFormatSkip = 14;
inline constexpr std::size_t kWavChunkHeaderSize = 8;
// The bounds a sound buffer has always had: at least 4 and at most 0x0FFFFFFF bytes,
// 100 to 200000 samples per second. Files outside them never loaded.
inline constexpr std::uint32_t kWavMinDataSize = 4;
inline constexpr std::uint32_t kWavMaxDataSize = 0x0FFFFFFF;
inline constexpr std::uint32_t kWavMinSampleRate = 100;
inline constexpr std::uint32_t kWavMaxSampleRate = 200000;

// Reads file (all bytes of one WAV file). On kLoaded, samples points into file.
WavSound ParseWav(std::span<const std::uint8_t> file);

// A short English description of a status, for messages.
const char* DescribeWavStatus(WavStatus status);
