#include "sound/sound_device.h"

#include <SDL.h>

#include "sound/mixer_library.h"

namespace {

// Runs on the mixing thread for each playing voice that is not at full level: scales
// its samples (the output format, 16-bit stereo) before they are mixed.
void ApplyVoiceGain(int, void* stream, int length, void* userData) {
  const auto* gain = static_cast<const StereoGain*>(userData);
  ApplyStereoGain(static_cast<std::int16_t*>(stream), static_cast<std::size_t>(length) / sizeof(std::int16_t),
                  *gain);
}

}  // namespace

SoundDevice::~SoundDevice() { Close(); }

int SoundDevice::Open(SDL_Window* window) {
  window_ = window;
  openOnFirstUse_ = false;
  if (open_) return 1;
  const MixerLibrary* mixer = Mixer();
  if (mixer == nullptr || SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  audioSubsystem_ = true;
  // No format changes allowed: SDL converts to whatever the hardware wants, so the
  // mixer (and every voice's gain) always works on 16-bit stereo at 44100 Hz.
  if (mixer->OpenAudioDevice(kOutputRate, AUDIO_S16SYS, kOutputChannels, kMixFrames, nullptr, 0) != 0) {
    Close();
    return 0;
  }
  open_ = true;
  int frequency = 0;
  Uint16 format = 0;
  int channels = 0;
  if (mixer->QuerySpec(&frequency, &format, &channels) == 0 || format != AUDIO_S16SYS ||
      channels != kOutputChannels || mixer->AllocateChannels(kMixerChannels) != kMixerChannels) {
    Close();
    return 0;
  }
  format_ = {frequency, format, channels};
  gains_ = std::make_unique<StereoGain[]>(kMixerChannels);
  return 1;
}

void SoundDevice::OpenOnFirstUse(SDL_Window* window) {
  window_ = window;
  if (!open_) openOnFirstUse_ = true;
}

bool SoundDevice::EnsureOpen() {
  if (openOnFirstUse_) Open(window_);
  return open_;
}

void SoundDevice::Close() {
  if (open_) {
    Mixer()->HaltChannel(-1);
    Mixer()->CloseAudio();
    open_ = false;
  }
  if (audioSubsystem_) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audioSubsystem_ = false;
  }
  gains_.reset();
}

bool SoundDevice::IsPlaying(int mixerChannel) const {
  return open_ && Mixer()->Playing(mixerChannel) != 0;
}

void SoundDevice::Stop(int mixerChannel) {
  if (open_) Mixer()->HaltChannel(mixerChannel);
}

bool SoundDevice::Play(int mixerChannel, const SoundSamples& samples, StereoGain gain) {
  if (!open_ || mixerChannel < 0 || mixerChannel >= kMixerChannels) return false;
  const MixerLibrary* mixer = Mixer();
  // The mixer drops a channel's effects when its sound ends or is halted; clearing them
  // here as well means a play that failed earlier can never leave a second gain behind.
  mixer->UnregisterAllEffects(mixerChannel);
  if (!gain.IsUnity()) {
    gains_[mixerChannel] = gain;
    if (mixer->RegisterEffect(mixerChannel, ApplyVoiceGain, nullptr, &gains_[mixerChannel]) == 0) return false;
  }
  return mixer->PlayChannelTimed(mixerChannel, samples.Chunk(), 0, -1) == mixerChannel;
}
