#pragma once
// The sound-effect commands of the game language.

#include "core/basic_string.h"

// Loads a WAV file (resolved through the archive) into slot 0..127 (above 127 is 127)
// with 1 to 4 voices. 1 if loaded, 0 otherwise; a failed load leaves the slot empty.
double LoadSoundSlot(const BasicString& fileName, double slot, double voices);
// Starts slot once at pan -1..1 and volume 0..1. Returns the channel number
// (slot x 256 + voice), or -1 when nothing could be started.
double StartSound(double slot, double pan, double volume);
// 1 while the voice of channel plays, else 0.
double IsSoundPlaying(double channel);
// Stops every voice of slots 0..127.
void StopAllSounds();
