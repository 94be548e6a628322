#pragma once
// The audio mixer library, loaded when sound is first used rather than with the program.
// The mixer brings a long chain of decoder and synthesiser libraries; loading them all
// before the window opens cost every game about 10 ms of start-up, sound or not. The
// types come from the mixer's header; the functions the engine calls are reached
// through the table below.

#include <SDL_mixer.h>

struct MixerLibrary {
  decltype(&Mix_OpenAudioDevice) OpenAudioDevice = nullptr;
  decltype(&Mix_QuerySpec) QuerySpec = nullptr;
  decltype(&Mix_AllocateChannels) AllocateChannels = nullptr;
  decltype(&Mix_CloseAudio) CloseAudio = nullptr;
  decltype(&Mix_QuickLoad_RAW) QuickLoadRaw = nullptr;
  decltype(&Mix_FreeChunk) FreeChunk = nullptr;
  decltype(&Mix_PlayChannelTimed) PlayChannelTimed = nullptr;
  decltype(&Mix_HaltChannel) HaltChannel = nullptr;
  decltype(&Mix_Playing) Playing = nullptr;
  decltype(&Mix_RegisterEffect) RegisterEffect = nullptr;
  decltype(&Mix_UnregisterAllEffects) UnregisterAllEffects = nullptr;
  decltype(&Mix_LoadMUS) LoadMusic = nullptr;
  decltype(&Mix_FreeMusic) FreeMusic = nullptr;
  decltype(&Mix_PlayMusic) PlayMusic = nullptr;
  decltype(&Mix_HaltMusic) HaltMusic = nullptr;
  decltype(&Mix_PlayingMusic) PlayingMusic = nullptr;
  decltype(&Mix_GetMusicPosition) GetMusicPosition = nullptr;
  decltype(&Mix_MusicDuration) MusicDuration = nullptr;
  decltype(&Mix_VolumeMusic) VolumeMusic = nullptr;
};

// The mixer's functions, loading the library on the first call (it stays loaded until
// the process ends). Null when the library or one of its functions is missing: there is
// then no sound output, as on a machine without an audio device.
const MixerLibrary* Mixer();
