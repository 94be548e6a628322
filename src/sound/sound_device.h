#pragma once
// The sound device: the audio output opened through the mixer, and one mixer channel
// for every voice of every slot of the sound bank.
//
// The output is 44100 Hz, 16-bit, stereo; every sound is converted to it when it is
// loaded. Each voice carries its own volume and pan, applied to the voice's samples
// before they are mixed (the mixer's own volume steps, 1/128, are far too coarse for
// levels such as -50 dB).

#include <memory>

struct SDL_Window;

#include "sound/sound_levels.h"
#include "sound/sound_samples.h"

class SoundDevice {
 public:
  static constexpr int kOutputRate = 44100;
  static constexpr int kOutputChannels = 2;
  // Frames the mixer produces per pass: about 23 ms at 44100 Hz.
  static constexpr int kMixFrames = 1024;
  static constexpr int kSlotCount = 256;
  static constexpr int kMaxVoices = 4;
  static constexpr int kMixerChannels = kSlotCount * kMaxVoices;

  SoundDevice() = default;
  // Closes the output if it is open.
  ~SoundDevice();
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;

  // Opens the audio output on the given window; 1 on success (also when it is already
  // open), 0 when there is no usable audio output.
  int Open(SDL_Window* window);
  // Start-up: the output opens on window when sound is first used (EnsureOpen), not now.
  // Opening the output loads the mixer library and starts the mixing thread; a game
  // that never plays a sound does neither, and every game reaches its first frame
  // sooner. What the game sees is the same: its first load opens the output, and
  // without a usable output every load fails.
  void OpenOnFirstUse(SDL_Window* window);
  // Opens the output when OpenOnFirstUse asked for it and no try was made yet; whether
  // the output is open.
  bool EnsureOpen();
  // The window the output belongs to. The mixer needs none; it is kept for callers that
  // ask which window sound was started on.
  void SetWindow(SDL_Window* window) { window_ = window; }
  SDL_Window* Window() const { return window_; }

  // Whether the output is open: without it every slot stays unloadable.
  bool IsOpen() const { return open_; }
  const MixerFormat& Format() const { return format_; }

  static int MixerChannel(int slot, int voice) { return slot * kMaxVoices + voice; }

  // Voice control on one mixer channel.
  bool IsPlaying(int mixerChannel) const;
  // Stops the voice; the next play starts at the first sample.
  void Stop(int mixerChannel);
  // Plays samples once on the channel (which must not be playing) with gain applied.
  bool Play(int mixerChannel, const SoundSamples& samples, StereoGain gain);

 private:
  void Close();

  bool audioSubsystem_ = false;
  bool open_ = false;
  bool openOnFirstUse_ = false;
  SDL_Window* window_ = nullptr;
  MixerFormat format_;
  // The gain of each mixer channel. Written only while the channel is stopped and
  // before its effect is registered; registering takes the mixer's lock, which makes
  // the values visible to the mixing thread.
  std::unique_ptr<StereoGain[]> gains_;
};
