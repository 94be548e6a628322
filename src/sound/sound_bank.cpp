#include "sound/sound_bank.h"

#include <algorithm>
#include <new>
#include <vector>

#include "sound/sound_file.h"
#include "sound/wav_reader.h"

SoundBank::SoundBank(SoundDevice* device) : device_(device) {}

SoundBank::~SoundBank() {
  for (int slot = kSlotCount - 1; slot >= 0; --slot) Empty(slots_[static_cast<std::size_t>(slot)], slot);
}

void SoundBank::Empty(SoundSlot& slot, int slotNumber) {
  if (slot.voiceCount > 0 && slot.device != nullptr) {
    for (int voice = 0; voice < slot.voiceCount; ++voice) {
      slot.device->Stop(SoundDevice::MixerChannel(slotNumber, voice));
    }
  }
  slot.samples.reset();
  slot.voiceCount = 0;
  slot.nextVoice = 0;
  slot.fileName.clear();
}

int SoundBank::Load(const std::string& path, int slotNumber, int voices) {
  if (slotNumber < 0) return 0;
  slotNumber = std::min(slotNumber, kLastCommandSlot);
  SoundSlot& slot = slots_[static_cast<std::size_t>(slotNumber)];
  Empty(slot, slotNumber);

  slot.device = device_;
  voices = std::clamp(voices, 1, kMaxVoices);
  if (device_ == nullptr || !device_->EnsureOpen()) return 0;

  slot.voiceCount = voices;
  slot.fileName = path;
  std::vector<std::uint8_t> file;
  std::unique_ptr<SoundSamples> samples;
  // A sound too large for the memory left fails to load like a damaged one.
  try {
    if (ReadSoundFile(path, file)) {
      const WavSound sound = ParseWav(file);
      if (sound.status == WavStatus::kLoaded) samples = SoundSamples::Create(sound, device_->Format());
    }
  } catch (const std::bad_alloc&) {
    samples.reset();
  }
  if (samples == nullptr) {
    slot.voiceCount = 0;
    slot.fileName.clear();
    return 0;
  }
  slot.samples = std::move(samples);
  return 1;
}

int SoundBank::Start(int slotNumber, int panHundredths, int volumeHundredths) {
  if (slotNumber < 0) return -1;
  slotNumber = std::min(slotNumber, kLastCommandSlot);
  SoundSlot& slot = slots_[static_cast<std::size_t>(slotNumber)];
  SoundDevice* device = slot.device;
  if (device == nullptr || slot.voiceCount == 0 || !device->IsOpen() || slot.samples == nullptr) return -1;

  const auto channelOf = [slotNumber](int voice) { return SoundDevice::MixerChannel(slotNumber, voice); };
  const VoiceChoice choice = ChooseVoice(slot.nextVoice, slot.voiceCount,
                                         [&](int voice) { return device->IsPlaying(channelOf(voice)); });
  if (choice.voice < 0) return -1;
  slot.nextVoice = choice.voice;
  if (choice.takeOver) device->Stop(channelOf(choice.voice));

  if (!device->Play(channelOf(choice.voice), *slot.samples, VoiceGain(volumeHundredths, panHundredths))) return -1;
  return slotNumber * kChannelsPerSlot + slot.nextVoice;
}

int SoundBank::IsPlaying(int channel) const {
  if (channel < 0) return 0;
  const int slotNumber = channel / kChannelsPerSlot;
  const int voice = channel % kChannelsPerSlot;
  if (slotNumber > kLastCommandSlot) return 0;
  const SoundSlot& slot = slots_[static_cast<std::size_t>(slotNumber)];
  if (voice >= slot.voiceCount || slot.device == nullptr) return 0;
  return slot.device->IsPlaying(SoundDevice::MixerChannel(slotNumber, voice)) ? 1 : 0;
}

void SoundBank::StopAll() {
  for (int slotNumber = 0; slotNumber <= kLastCommandSlot; ++slotNumber) {
    SoundSlot& slot = slots_[static_cast<std::size_t>(slotNumber)];
    if (slot.device == nullptr || slot.voiceCount == 0) continue;
    for (int voice = 0; voice < slot.voiceCount; ++voice) slot.device->Stop(SoundDevice::MixerChannel(slotNumber, voice));
  }
}
