#pragma once
// The files a game works with through commands: the eight numbered channels, the cached
// line file and the open settings file. One object for the whole program, reached through
// Subsystems().gameFiles.

#include <array>

#include "files/file_channel.h"
#include "files/line_file_cache.h"
#include "files/settings_store.h"

class GameFiles {
 public:
  static constexpr int kChannelCount = 8;

  // Everything a command may have left unsaved goes to disk: open channels are closed,
  // the changed line file and the changed settings file are written back.
  void WriteBackAndCloseAll();

  std::array<FileChannel, kChannelCount> channels;
  LineFileCache lineFiles;
  SettingsStore settings;
};

// The program's GameFiles, created at the first use by a command (all channels empty,
// no line file, an empty settings store without a path).
GameFiles& ActiveGameFiles();
// Program end: WriteBackAndCloseAll, then the object is freed. Does nothing when no
// command ever used a file.
void ReleaseGameFiles();
