#pragma once
// The music commands of the game language and the frame loop's music step.
//
// One piece of music plays at a time, in the background, looping for as long as the
// program runs: the frame loop restarts it from the beginning at the first presented
// frame after its end.

#include "core/basic_string.h"

// Stops any music, then opens the file (resolved through the archive) and plays it at
// normal volume. 1 when it plays; 0 when the name does not resolve, there is no sound
// output, or the file is not music the mixer reads (nothing plays then). Writes one line
// to standard output for the file opened and one for whether play started.
double PlayMusic(const BasicString& fileName);
// Stops and releases the music; nothing happens without music.
void StopMusic();
// Sets the music's volume: 1 is normal, 0 silence, 0.5 half the amplitude; the value is
// taken x 1000, truncated, on the 0..1000 scale. Nothing happens without music (the
// next PlayMusic starts at normal volume anyway).
void SetMusicVolume(double volume);

// The frame loop's step: music that has reached its end starts again from the beginning.
void KeepMusicLooping();
