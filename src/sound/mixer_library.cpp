#include "sound/mixer_library.h"

#include <dlfcn.h>

namespace {

// The run-time name of the mixer library, then the development link as a fallback.
constexpr const char* kMixerLibraryNames[] = {"libSDL2_mixer-2.0.so.0", "libSDL2_mixer.so"};

template <typename Function>
bool Resolve(void* library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(dlsym(library, name));
  return function != nullptr;
}

bool LoadMixer(MixerLibrary& mixer) {
  void* library = nullptr;
  for (const char* name : kMixerLibraryNames) {
    library = dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (library != nullptr) break;
  }
  // Never closed: the mixing thread runs inside it until the output closes at shutdown.
  return library != nullptr && Resolve(library, "Mix_OpenAudioDevice", mixer.OpenAudioDevice) &&
         Resolve(library, "Mix_QuerySpec", mixer.QuerySpec) &&
         Resolve(library, "Mix_AllocateChannels", mixer.AllocateChannels) &&
         Resolve(library, "Mix_CloseAudio", mixer.CloseAudio) &&
         Resolve(library, "Mix_QuickLoad_RAW", mixer.QuickLoadRaw) &&
         Resolve(library, "Mix_FreeChunk", mixer.FreeChunk) &&
         Resolve(library, "Mix_PlayChannelTimed", mixer.PlayChannelTimed) &&
         Resolve(library, "Mix_HaltChannel", mixer.HaltChannel) && Resolve(library, "Mix_Playing", mixer.Playing) &&
         Resolve(library, "Mix_RegisterEffect", mixer.RegisterEffect) &&
         Resolve(library, "Mix_UnregisterAllEffects", mixer.UnregisterAllEffects) &&
         Resolve(library, "Mix_LoadMUS", mixer.LoadMusic) && Resolve(library, "Mix_FreeMusic", mixer.FreeMusic) &&
         Resolve(library, "Mix_PlayMusic", mixer.PlayMusic) && Resolve(library, "Mix_HaltMusic", mixer.HaltMusic) &&
         Resolve(library, "Mix_PlayingMusic", mixer.PlayingMusic) &&
         Resolve(library, "Mix_GetMusicPosition", mixer.GetMusicPosition) &&
         Resolve(library, "Mix_MusicDuration", mixer.MusicDuration) &&
         Resolve(library, "Mix_VolumeMusic", mixer.VolumeMusic);
}

}  // namespace

const MixerLibrary* Mixer() {
  static MixerLibrary mixer;
  static const bool loaded = LoadMixer(mixer);
  return loaded ? &mixer : nullptr;
}
