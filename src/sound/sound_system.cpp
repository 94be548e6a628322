#include "sound/sound_system.h"

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "sound/sound_bank.h"
#include "sound/music_commands.h"
#include "sound/sound_device.h"

void CreateSound() {
  EngineSubsystems& subsystems = Subsystems();
  if (subsystems.soundDevice == nullptr) subsystems.soundDevice = new SoundDevice();
  if (subsystems.soundBank == nullptr) subsystems.soundBank = new SoundBank(subsystems.soundDevice);
  SetReleaseStep(ReleaseStep::kSound, &ShutdownSound);
}

int InitSound(SDL_Window* window) {
  SoundDevice* device = Subsystems().soundDevice;
  return device != nullptr ? device->Open(window) : 0;
}

void StartSoundOnFirstUse(SDL_Window* window) {
  if (SoundDevice* device = Subsystems().soundDevice) device->OpenOnFirstUse(window);
}

void SetSoundWindow(SDL_Window* window) {
  if (SoundDevice* device = Subsystems().soundDevice) device->SetWindow(window);
}

void ShutdownSound() {
  // Music plays on the device: it goes before the device closes.
  StopMusic();
  EngineSubsystems& subsystems = Subsystems();
  if (subsystems.soundBank != nullptr) {
    delete subsystems.soundBank;
    subsystems.soundBank = nullptr;
  }
  if (subsystems.soundDevice != nullptr) {
    delete subsystems.soundDevice;
    subsystems.soundDevice = nullptr;
  }
}
