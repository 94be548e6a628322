#pragma once
// Start-up and shutdown of the sound subsystem: the sound device and the sound bank,
// reached through Subsystems().

// Start-up, creation step: the sound device (closed) and then the bank of 256 empty slots.
void CreateSound();
// Start-up: opens the audio output on window. 1 on success, 0 when there is no usable
// audio output; the program goes on either way, with every slot unloadable.
int InitSound(void* window);
// Start-up, once the window is final: tells the sound device the window.
void SetSoundWindow(void* window);
// Shutdown: stops the music, releases every slot of the bank, last to first, frees the bank, then closes
// the output and frees the device. Does nothing for objects that are absent.
void ShutdownSound();
