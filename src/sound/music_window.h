#pragma once
// The background music (the engine state's music window): one file streamed by the
// mixer's music player on the output the sound device opened; it has no window of its
// own. The sound bank's channels stay its own; music is mixed under them.
//
// The mixer plays one music stream at a time, so one MusicWindow exists at most
// (Subsystems().musicWindow). The mixer reads the file while it plays: the file stays open,
// which keeps an archive member's temporary file readable after the next lookup has
// deleted its name.

#include <string>

struct _Mix_Music;

class MusicWindow {
 public:
  // Takes an opened music file; the stream frees it.
  explicit MusicWindow(_Mix_Music* music) : music_(music) {}
  // Stops the music and frees it.
  ~MusicWindow();
  MusicWindow(const MusicWindow&) = delete;
  MusicWindow& operator=(const MusicWindow&) = delete;

  // Opens the regular file at path as music (every format the mixer reads). Null when it
  // is not a regular file, not music the mixer knows or damaged; the mixer's reason is
  // in error.
  static MusicWindow* Open(const std::string& path, std::string& error);

  // Plays from the beginning, once. False when the mixer refused.
  bool Play();
  void Stop();
  bool IsPlaying() const;
  // Seconds from the beginning; 0 when the format cannot tell.
  double Position() const;
  // Seconds; 0 when the format cannot tell.
  double Length() const;
  // Sets the level on the 0..1000 scale (1000 = the file's own level).
  void SetLevel(int level);

 private:
  _Mix_Music* music_;
  mutable double length_ = -1;  // seconds, once asked; -1 before
};
