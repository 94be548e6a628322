#include "sound/mixer_library.h"

#include "sound/deferred_library.h"

namespace {

bool LoadMixer(MixerLibrary& mixer) {
  void* const library = OpenFirstLibrary({"libSDL2_mixer-2.0.so.0", "libSDL2_mixer.so"});
  // Never closed: the mixing thread runs inside it until the output closes at shutdown.
  return library != nullptr && ResolveFunction(library, "Mix_OpenAudioDevice", mixer.OpenAudioDevice) &&
         ResolveFunction(library, "Mix_QuerySpec", mixer.QuerySpec) &&
         ResolveFunction(library, "Mix_AllocateChannels", mixer.AllocateChannels) &&
         ResolveFunction(library, "Mix_CloseAudio", mixer.CloseAudio) &&
         ResolveFunction(library, "Mix_QuickLoad_RAW", mixer.QuickLoadRaw) &&
         ResolveFunction(library, "Mix_FreeChunk", mixer.FreeChunk) &&
         ResolveFunction(library, "Mix_PlayChannelTimed", mixer.PlayChannelTimed) &&
         ResolveFunction(library, "Mix_HaltChannel", mixer.HaltChannel) && ResolveFunction(library, "Mix_Playing", mixer.Playing) &&
         ResolveFunction(library, "Mix_RegisterEffect", mixer.RegisterEffect) &&
         ResolveFunction(library, "Mix_UnregisterAllEffects", mixer.UnregisterAllEffects) &&
         ResolveFunction(library, "Mix_LoadMUS", mixer.LoadMusic) && ResolveFunction(library, "Mix_FreeMusic", mixer.FreeMusic) &&
         ResolveFunction(library, "Mix_PlayMusic", mixer.PlayMusic) && ResolveFunction(library, "Mix_HaltMusic", mixer.HaltMusic) &&
         ResolveFunction(library, "Mix_PlayingMusic", mixer.PlayingMusic) &&
         ResolveFunction(library, "Mix_GetMusicPosition", mixer.GetMusicPosition) &&
         ResolveFunction(library, "Mix_MusicDuration", mixer.MusicDuration) &&
         ResolveFunction(library, "Mix_VolumeMusic", mixer.VolumeMusic);
}

}  // namespace

const MixerLibrary* Mixer() {
  static MixerLibrary mixer;
  static const bool loaded = LoadMixer(mixer);
  return loaded ? &mixer : nullptr;
}
