#pragma once
// Volume and pan of a voice: the command values, the levels in hundredths of a decibel
// that games have always been tuned against, and the gains the mixer applies.
//
// Volume 0..1 becomes volume x 100 truncated, then x 100 - 10000 hundredths of a decibel:
// 1 is 0 (full level), 0.5 is -5000 (-50 dB, nearly silent), 0 is -10000 (silence). Pan
// -1..1 becomes -10000..10000; a positive pan attenuates the left channel by that many
// hundredths of a decibel, a negative one the right channel. The attenuations add, and
// -10000 or less is silence.

#include <cstddef>
#include <cstdint>

inline constexpr int kSilenceHundredths = -10000;
inline constexpr int kFullPanHundredths = 10000;

// The command's volume as hundredths of a decibel (-10000..0). NaN is silence.
int VolumeToHundredths(double volume);
// The command's pan as -10000..10000. NaN is the centre.
int PanToHundredths(double pan);

// 10^(hundredths / 2000): the amplitude factor of an attenuation; 0 at -10000 or below,
// 1 at 0 or above.
float HundredthsToGain(int hundredths);

struct StereoGain {
  float left = 1;
  float right = 1;
  bool IsUnity() const { return left == 1 && right == 1; }
};

// The gains of the two channels for a voice at volumeHundredths and panHundredths.
StereoGain VoiceGain(int volumeHundredths, int panHundredths);

// Scales interleaved 16-bit stereo frames in place (sampleCount values, left first).
// Full level leaves samples unchanged; other results are within three quarters of a
// step of the exact product.
void ApplyStereoGain(std::int16_t* samples, std::size_t sampleCount, StereoGain gain);
