#pragma once
// Start-up and shutdown of the sound subsystem: the sound device and the sound bank,
// reached through Subsystems().

struct SDL_Window;

// Start-up, creation step: the sound device (closed) and then the bank of 256 empty slots.
void CreateSound();
// Opens the audio output on window now. 1 on success, 0 when there is no usable audio
// output; the program goes on either way, with every slot unloadable.
int InitSound(SDL_Window* window);
// Start-up: sound starts on window; the output opens when the first sound or music is
// loaded (see SoundDevice::OpenOnFirstUse).
void StartSoundOnFirstUse(SDL_Window* window);
// The game window changed (told by GameWindowChanged): tells the sound device.
void SetSoundWindow(SDL_Window* window);
// Shutdown: stops the music, releases every slot of the bank, last to first, frees the bank, then closes
// the output and frees the device. Does nothing for objects that are absent.
void ShutdownSound();
