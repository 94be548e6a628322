#include "sound/music_window.h"

#include <SDL_mixer.h>

#include "sound/media_rules.h"
#include "sound/sound_file.h"

MusicWindow::~MusicWindow() {
  // Freeing music that plays halts it first; halting it here keeps the order plain.
  Stop();
  Mix_FreeMusic(music_);
}

MusicWindow* MusicWindow::Open(const std::string& path, std::string& error) {
  // A FIFO or device would block the mixer's reader or never end.
  if (!IsRegularFile(path)) {
    error = "not a regular file";
    return nullptr;
  }
  Mix_Music* music = Mix_LoadMUS(path.c_str());
  if (music == nullptr) {
    error = Mix_GetError();
    return nullptr;
  }
  return new MusicWindow(music);
}

bool MusicWindow::Play() {
  // One play through: the frame loop restarts it when it has ended.
  return Mix_PlayMusic(music_, 1) == 0;
}

void MusicWindow::Stop() {
  if (IsPlaying()) Mix_HaltMusic();
}

bool MusicWindow::IsPlaying() const {
  // The mixer plays one music at a time; this one plays when the mixer's current music
  // is playing and nothing replaced it (only one MusicWindow exists).
  return Mix_PlayingMusic() != 0;
}

double MusicWindow::Position() const {
  const double position = Mix_GetMusicPosition(music_);
  return position > 0 ? position : 0;
}

double MusicWindow::Length() const {
  // A file's length does not change: asked once, since every question takes the mixer's lock.
  if (length_ < 0) {
    const double length = Mix_MusicDuration(music_);
    length_ = length > 0 ? length : 0;
  }
  return length_;
}

void MusicWindow::SetLevel(int level) { Mix_VolumeMusic(MusicLevelToMixerVolume(level, MIX_MAX_VOLUME)); }
