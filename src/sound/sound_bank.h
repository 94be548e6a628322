#pragma once
// The sound bank: 256 numbered slots of WAV sounds (the commands reach 0..127), each
// with 1 to 4 voices that play the slot's one set of samples independently.
//
// A start picks the voice used by the last start when it is free, else the next one in
// turn, taking it over (stopped and restarted) when that one plays as well; a slot with
// one voice refuses a start while it plays. A channel number, slot x 256 + voice, tells
// later whether that voice still plays.

#include <array>
#include <memory>
#include <string>

#include "sound/sound_device.h"
#include "sound/sound_samples.h"

struct SoundSlot {
  int voiceCount = 0;                      // 0 = empty, else 1..4
  int nextVoice = 0;                       // the voice used by the last start
  std::string fileName;                    // the resolved name, kept while the slot is loaded
  SoundDevice* device = nullptr;           // null disables the slot
  std::unique_ptr<SoundSamples> samples;   // voice 0's samples, shared by every voice
};

// The outcome of choosing a voice for a start.
struct VoiceChoice {
  int voice = -1;         // -1: nothing can start
  bool takeOver = false;  // the voice plays and must be stopped first
};

// Chooses the voice for a start of a slot with voiceCount voices whose last start used
// nextVoice; isPlaying(voice) tells whether a voice plays. The returned voice becomes
// the slot's next voice.
template <typename IsPlaying>
VoiceChoice ChooseVoice(int nextVoice, int voiceCount, IsPlaying isPlaying) {
  if (!isPlaying(nextVoice)) return {nextVoice, false};
  if (voiceCount == 1) return {};
  const int voice = nextVoice + 1 == voiceCount ? 0 : nextVoice + 1;
  return {voice, isPlaying(voice)};
}

class SoundBank {
 public:
  static constexpr int kSlotCount = SoundDevice::kSlotCount;
  static constexpr int kLastCommandSlot = 127;
  static constexpr int kMaxVoices = SoundDevice::kMaxVoices;
  static constexpr int kChannelsPerSlot = 256;

  // Every slot starts empty. The device is borrowed and must outlive the bank.
  explicit SoundBank(SoundDevice* device);
  // Stops and releases every slot, last to first.
  ~SoundBank();
  SoundBank(const SoundBank&) = delete;
  SoundBank& operator=(const SoundBank&) = delete;

  // Loads the WAV file at path (already resolved) into slot with voices voices. A slot
  // above 127 is 127, a negative slot is refused; voices is clamped to 1..4. The slot is
  // emptied first, so a failed load leaves it empty. 1 if loaded, else 0.
  int Load(const std::string& path, int slot, int voices);
  // Starts slot at pan -10000..10000 and volume -10000..0 (hundredths of a decibel).
  // Returns the channel number, or -1 when nothing could start.
  int Start(int slot, int panHundredths, int volumeHundredths);
  // 1 while the voice of channel plays, else 0 (also for channels that do not exist).
  int IsPlaying(int channel) const;
  // Stops every voice of slots 0..127.
  void StopAll();

  const SoundSlot& Slot(int slot) const { return slots_[static_cast<std::size_t>(slot)]; }

 private:
  void Empty(SoundSlot& slot, int slotNumber);

  SoundDevice* device_;
  std::array<SoundSlot, kSlotCount> slots_;
};
