#include "sound/sound_commands.h"

#include "base/engine_state.h"
#include "base/number_truncation.h"
#include "sound/sound_bank.h"
#include "sound/sound_file.h"
#include "sound/sound_levels.h"

double LoadSoundSlot(const BasicString& fileName, double slot, double voices) {
  const std::string path = ResolveSoundFile(fileName.TextPointer());
  SoundBank* bank = Subsystems().soundBank;
  if (bank == nullptr) return 0;
  return bank->Load(path, TruncateToInt32(slot), TruncateToInt32(voices));
}

double StartSound(double slot, double pan, double volume) {
  SoundBank* bank = Subsystems().soundBank;
  if (bank == nullptr) return -1;
  return bank->Start(TruncateToInt32(slot), PanToHundredths(pan), VolumeToHundredths(volume));
}

double IsSoundPlaying(double channel) {
  const SoundBank* bank = Subsystems().soundBank;
  return bank != nullptr ? bank->IsPlaying(TruncateToInt32(channel)) : 0;
}

void StopAllSounds() {
  if (SoundBank* bank = Subsystems().soundBank) bank->StopAll();
}
