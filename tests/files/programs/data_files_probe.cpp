// A game that drives the channel, line-file and settings commands from its command line,
// so the tests can watch fatal errors and the write-backs at program end from outside.
// Runs in debug mode: the end of the error log tells how the program ended.
//
//   readlines <file>          prints each line of the file read with ReadLine as [text],
//                             reading on past the end
//   readbyte <channel>        ReadByte on that channel (nothing opened)
//   writebyte                 WriteByte on channel 0, which is empty
//   keep <dir>                puts a setting, a file line and channel bytes into files in
//                             dir and returns without saving or closing anything
//   keepthenfail <dir>        the same, then a read from channel 9

#include <cstdio>
#include <string>

#include "base/program_end.h"
#include "core/basic_string.h"
#include "files/file_channel_commands.h"
#include "files/line_file_commands.h"
#include "files/settings_commands.h"
#include "host/game_interface.h"
#include "host/program_commands.h"

namespace {

void KeepUnsavedData(const std::string& folder) {
  OpenSettingsFile((folder + "/game.ini").c_str());
  PutSetting("Player", "name", "Ada");
  PutFileLine((folder + "/lines.txt").c_str(), 2, "third");
  OpenFileChannel(3, (folder + "/channel.bin").c_str(), 0);
  WriteLine(3, "open channel");
}

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.debugMode = 1;
  settings.title = "DataFilesProbe";
  return settings;
}

int GameMain() {
  const std::string line = GetCommandLine().TextPointer();
  const std::size_t blank = line.find(' ');
  const std::string action = line.substr(0, blank);
  const std::string rest = blank == std::string::npos ? "" : line.substr(blank + 1);
  SetSourcePosition(1, 20);

  if (action == "readlines") {
    OpenFileChannel(0, rest.c_str(), 1);
    for (;;) {
      BasicString text;
      ReadLine(0, text);
      std::printf("[%s]\n", text.TextPointer());
      std::fflush(stdout);
    }
  }
  if (action == "readbyte") {
    double value = 0;
    ReadByte(std::stod(rest), value);
  }
  if (action == "writebyte") WriteByte(0, 1);
  if (action == "keep" || action == "keepthenfail") KeepUnsavedData(rest);
  if (action == "keepthenfail") {
    double value = 0;
    ReadByte(9, value);
  }
  std::printf("GameMain returned\n");
  return 0;
}
