#include "sound/sound_samples.h"

#include <algorithm>

#include "sound/mixer_library.h"

namespace {

// The samples go through the converter in pieces of this many source frames, so its
// working memory stays small whatever the size of the sound.
constexpr std::size_t kConversionFrames = 64 * 1024;

SDL_AudioFormat SourceFormat(const WavFormat& format) {
  return format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
}

// The resampler keeps back the last few hundred frames it was given, even when flushed.
// Silence after the samples pushes them out; the output is then cut at the sound's own
// length. A tenth of a second plus 1024 frames is more than the resampler ever holds.
std::size_t SilenceFrames(const WavFormat& format) { return format.samplesPerSecond / 10 + 1024; }

// Moves what the converter has ready to the end of converted, keeping at most limit bytes
// in all (what lies beyond is the padding silence).
bool Drain(SDL_AudioStream* stream, std::vector<std::uint8_t>& converted, std::size_t limit) {
  const int available = SDL_AudioStreamAvailable(stream);
  if (available <= 0) return available == 0;
  const std::size_t start = converted.size();
  converted.resize(start + static_cast<std::size_t>(available));
  const int got = SDL_AudioStreamGet(stream, converted.data() + start, available);
  if (got < 0) return false;
  converted.resize(std::min(start + static_cast<std::size_t>(got), limit));
  return true;
}

}  // namespace

bool ConvertToMixerFormat(const WavSound& sound, const MixerFormat& mixer, std::vector<std::uint8_t>& converted) {
  converted.clear();
  const WavFormat& format = sound.format;
  if (sound.status != WavStatus::kLoaded || format.blockAlign <= 0 || mixer.FrameBytes() <= 0) return false;

  // Only whole frames are played; a partial frame at the end of the data is dropped.
  const std::size_t frames = sound.samples.size() / static_cast<std::size_t>(format.blockAlign);
  const std::uint64_t expectedFrames =
      (static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(mixer.samplesPerSecond)) /
      format.samplesPerSecond;
  const std::uint64_t expectedBytes = expectedFrames * static_cast<std::uint64_t>(mixer.FrameBytes());
  if (expectedFrames == 0 || expectedBytes > kMaxConvertedSoundBytes) return false;

  SDL_AudioStream* stream =
      SDL_NewAudioStream(SourceFormat(format), static_cast<Uint8>(format.channels),
                         static_cast<int>(format.samplesPerSecond), mixer.format,
                         static_cast<Uint8>(mixer.channels), mixer.samplesPerSecond);
  if (stream == nullptr) return false;
  const auto limit = static_cast<std::size_t>(expectedBytes);
  converted.reserve(limit);

  bool ok = true;
  const std::uint8_t* source = sound.samples.data();
  for (std::size_t done = 0; ok && done < frames;) {
    const std::size_t count = std::min(kConversionFrames, frames - done);
    const auto bytes = static_cast<int>(count * static_cast<std::size_t>(format.blockAlign));
    ok = SDL_AudioStreamPut(stream, source + done * static_cast<std::size_t>(format.blockAlign), bytes) == 0 &&
         Drain(stream, converted, limit);
    done += count;
  }
  const std::vector<std::uint8_t> silence(SilenceFrames(format) * static_cast<std::size_t>(format.blockAlign),
                                          format.bitsPerSample == 8 ? 0x80 : 0);
  ok = ok && SDL_AudioStreamPut(stream, silence.data(), static_cast<int>(silence.size())) == 0 &&
       SDL_AudioStreamFlush(stream) == 0 && Drain(stream, converted, limit);
  SDL_FreeAudioStream(stream);

  // Whole frames only: the mixer plays a chunk frame by frame.
  converted.resize(converted.size() - converted.size() % static_cast<std::size_t>(mixer.FrameBytes()));
  if (!ok || converted.empty()) {
    converted.clear();
    converted.shrink_to_fit();
    return false;
  }
  return true;
}

std::unique_ptr<SoundSamples> SoundSamples::Create(const WavSound& sound, const MixerFormat& mixer) {
  std::unique_ptr<SoundSamples> samples(new SoundSamples());
  if (!ConvertToMixerFormat(sound, mixer, samples->bytes_)) return nullptr;
  // The chunk borrows the bytes (it is not marked as owning them), so freeing it leaves
  // the vector to release them.
  const MixerLibrary* library = Mixer();
  if (library == nullptr) return nullptr;
  samples->chunk_ = library->QuickLoadRaw(samples->bytes_.data(), static_cast<Uint32>(samples->bytes_.size()));
  if (samples->chunk_ == nullptr) return nullptr;
  return samples;
}

SoundSamples::~SoundSamples() {
  // A chunk exists only after the mixer was loaded.
  if (chunk_ != nullptr) Mixer()->FreeChunk(chunk_);
}
