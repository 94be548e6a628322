#pragma once
// Hand-built WAV files for the sound tests: every byte placed on purpose.

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace wav_bytes {

inline std::string Uint16(std::uint16_t value) {
  return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

inline std::string Uint32(std::uint32_t value) {
  return Uint16(static_cast<std::uint16_t>(value & 0xFFFF)) + Uint16(static_cast<std::uint16_t>(value >> 16));
}

// A chunk header (tag and size) without payload.
inline std::string ChunkHeader(const std::string& tag, std::uint32_t size) { return tag + Uint32(size); }
inline std::string Chunk(const std::string& tag, const std::string& payload) {
  return ChunkHeader(tag, static_cast<std::uint32_t>(payload.size())) + payload;
}

struct Format {
  std::uint16_t channels = 2;
  std::uint32_t rate = 44100;
  std::uint16_t bits = 16;
  std::uint16_t blockAlign = 0;  // 0: channels x bits / 8
  std::uint32_t formatSize = 16;
  std::uint16_t formatTag = 1;
};

// The 36-byte head: RIFF header, "fmt " chunk header and the 16 bytes every format has.
inline std::string Head(const Format& format) {
  const std::uint16_t blockAlign =
      format.blockAlign ? format.blockAlign : static_cast<std::uint16_t>(format.channels * format.bits / 8);
  return "RIFF" + Uint32(0) + "WAVE" + ChunkHeader("fmt ", format.formatSize) + Uint16(format.formatTag) +
         Uint16(format.channels) + Uint32(format.rate) + Uint32(format.rate * blockAlign) + Uint16(blockAlign) +
         Uint16(format.bits);
}

inline std::string Pcm16(const std::vector<std::int16_t>& samples) {
  std::string bytes;
  for (std::int16_t sample : samples) bytes += Uint16(static_cast<std::uint16_t>(sample));
  return bytes;
}

// A plain file: 16-byte format chunk followed by the data chunk.
inline std::string PlainFile(const Format& format, const std::string& samples) {
  return Head(format) + Chunk("data", samples);
}

// Interleaved stereo frames, the same value on both channels.
inline std::vector<std::int16_t> ConstantStereo(int frames, std::int16_t value) {
  return std::vector<std::int16_t>(static_cast<std::size_t>(frames) * 2, value);
}

// Interleaved stereo sine frames: left and right in phase, or right at half amplitude.
inline std::vector<std::int16_t> SineStereo(int frames, double amplitude, double frequency, int rate,
                                            bool rightAtHalf = false) {
  std::vector<std::int16_t> samples;
  for (int i = 0; i < frames; ++i) {
    const double value = amplitude * std::sin(2 * M_PI * frequency * i / rate);
    samples.push_back(static_cast<std::int16_t>(std::lround(value)));
    samples.push_back(static_cast<std::int16_t>(std::lround(rightAtHalf ? value / 2 : value)));
  }
  return samples;
}

inline std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace wav_bytes
