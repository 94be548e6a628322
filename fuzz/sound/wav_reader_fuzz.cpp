// Fuzzes the WAV reader: the input is the whole sound file. A loaded sound's samples
// must lie inside the file and describe a format the mixer can play.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "sound/wav_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  const WavSound sound = ParseWav(file);
  if (DescribeWavStatus(sound.status) == nullptr) std::abort();
  if (sound.status != WavStatus::kLoaded) return 0;

  const std::uint8_t* begin = sound.samples.data();
  if (begin < data || begin + sound.samples.size() > data + size) std::abort();
  if (sound.samples.size() < kWavMinDataSize || sound.samples.size() > kWavMaxDataSize) std::abort();
  const WavFormat& format = sound.format;
  if (format.channels != 1 && format.channels != 2) std::abort();
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) std::abort();
  if (format.blockAlign != format.channels * format.bitsPerSample / 8) std::abort();
  if (format.samplesPerSecond < kWavMinSampleRate || format.samplesPerSecond > kWavMaxSampleRate) std::abort();
  return 0;
}
