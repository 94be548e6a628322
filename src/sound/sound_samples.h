#pragma once
// The samples of one loaded sound in the mixer's output format, wrapped in the one
// mixer chunk that every voice of a slot plays.
//
// The mixer plays chunks only in its own format, so the file's samples are converted
// (bit depth, channel count and sample rate) once, at load time.

#include <SDL_mixer.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "sound/wav_reader.h"

// The format the mixer was opened with.
struct MixerFormat {
  int samplesPerSecond = 0;
  SDL_AudioFormat format = 0;
  int channels = 0;
  int FrameBytes() const { return channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8); }
};

// The converted samples of a sound may use at most this many bytes (about 100 minutes
// of 44100 Hz stereo); a file that would need more fails to load rather than exhaust
// memory, as a very low sample rate could otherwise multiply its size 441-fold.
inline constexpr std::uint64_t kMaxConvertedSoundBytes = 1ull << 30;

// Converts the samples of a parsed WAV file to the mixer's format. Returns false (and
// leaves converted empty) when the conversion is impossible or would exceed the limit.
bool ConvertToMixerFormat(const WavSound& sound, const MixerFormat& mixer, std::vector<std::uint8_t>& converted);

class SoundSamples {
 public:
  // Converts sound for the mixer (which must be open); null when that fails.
  static std::unique_ptr<SoundSamples> Create(const WavSound& sound, const MixerFormat& mixer);
  ~SoundSamples();
  SoundSamples(const SoundSamples&) = delete;
  SoundSamples& operator=(const SoundSamples&) = delete;

  Mix_Chunk* Chunk() const { return chunk_; }
  std::size_t ByteCount() const { return bytes_.size(); }

 private:
  SoundSamples() = default;
  std::vector<std::uint8_t> bytes_;
  Mix_Chunk* chunk_ = nullptr;  // points into bytes_; freeing it stops every voice playing it
};
