#include "sound/music_window.h"

#include <SDL_mixer.h>

#include "sound/mixer_library.h"

#include "sound/media_rules.h"
#include "sound/sound_file.h"

MusicWindow::~MusicWindow() {
  // Freeing music that plays halts it first; halting it here keeps the order plain.
  Stop();
  Mixer()->FreeMusic(music_);
}

MusicWindow* MusicWindow::Open(const std::string& path, std::string& error) {
  // A FIFO or device would block the mixer's reader or never end.
  if (!IsRegularFile(path)) {
    error = "not a regular file";
    return nullptr;
  }
  const MixerLibrary* mixer = Mixer();
  if (mixer == nullptr) {
    error = "no audio mixer library";
    return nullptr;
  }
  Mix_Music* music = mixer->LoadMusic(path.c_str());
  if (music == nullptr) {
    error = Mix_GetError();
    return nullptr;
  }
  return new MusicWindow(music);
}

bool MusicWindow::Play() {
  // One play through: the frame loop restarts it when it has ended.
  return Mixer()->PlayMusic(music_, 1) == 0;
}

void MusicWindow::Stop() {
  if (IsPlaying()) Mixer()->HaltMusic();
}

bool MusicWindow::IsPlaying() const {
  // The mixer plays one music at a time; this one plays when the mixer's current music
  // is playing and nothing replaced it (only one MusicWindow exists).
  return Mixer()->PlayingMusic() != 0;
}

double MusicWindow::Position() const {
  const double position = Mixer()->GetMusicPosition(music_);
  return position > 0 ? position : 0;
}

double MusicWindow::Length() const {
  // A file's length does not change: asked once, since every question takes the mixer's lock.
  if (length_ < 0) {
    const double length = Mixer()->MusicDuration(music_);
    length_ = length > 0 ? length : 0;
  }
  return length_;
}

void MusicWindow::SetLevel(int level) { Mixer()->VolumeMusic(MusicLevelToMixerVolume(level, MIX_MAX_VOLUME)); }
