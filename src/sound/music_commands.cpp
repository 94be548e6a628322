#include "sound/music_commands.h"

#include <cstdio>
#include <string>

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "files/archive.h"
#include "sound/media_rules.h"
#include "sound/music_window.h"
#include "sound/sound_device.h"

double PlayMusic(const BasicString& fileName) {
  StopMusic();
  std::string path;
  if (!ResolveLoaderPath(fileName.TextPointer(), path)) return 0;
  SoundDevice* device = Subsystems().soundDevice;
  if (device == nullptr || !device->EnsureOpen()) {
    std::printf("Music: no sound output for %s\n", path.c_str());
    std::fflush(stdout);
    return 0;
  }
  std::string error;
  MusicWindow* music = MusicWindow::Open(path, error);
  if (music == nullptr) {
    std::printf("Music: cannot open %s: %s\n", path.c_str(), error.c_str());
    std::fflush(stdout);
    return 0;
  }
  std::printf("Music: opened %s\n", path.c_str());
  music->SetLevel(kNormalMusicLevel);
  const bool playing = music->Play();
  std::printf(playing ? "Music: playing\n" : "Music: play failed\n");
  std::fflush(stdout);
  if (!playing) {
    // Kept, it would be restarted and fail again at every frame.
    delete music;
    return 0;
  }
  Subsystems().musicWindow = music;
  SetReleaseStep(ReleaseStep::kMusic, &StopMusic);
  return 1;
}

void StopMusic() {
  EngineSubsystems& subsystems = Subsystems();
  delete subsystems.musicWindow;
  subsystems.musicWindow = nullptr;
}

void SetMusicVolume(double volume) {
  if (MusicWindow* music = Subsystems().musicWindow) music->SetLevel(MusicVolumeToLevel(volume));
}

void KeepMusicLooping() {
  MusicWindow* music = Subsystems().musicWindow;
  if (music == nullptr) return;
  // Called every frame: the position (a mixer call under its lock) is asked only when it
  // can matter.
  const bool playing = music->IsPlaying();
  const double length = music->Length();
  const double position = playing && length > 0 ? music->Position() : 0;
  if (MusicHasEnded(playing, position, length)) music->Play();
}
