// A game that resolves file names through the engine's archive slots and reports what it
// got, so the tests can check start-up's selection and the clean-up at the end.
//
//   <archive or "-"> <name>...   selects the archive (primary and secondary) unless "-",
//                                then resolves each name and prints "<name> -> <path> <size>"
//                                or "<name> -> missing"; the last temporary file is left
//                                for the end of the program to delete.

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "files/archive.h"
#include "host/game_interface.h"
#include "host/program_commands.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "ArchiveProbe";
  return settings;
}

int GameMain() {
  std::istringstream words(GetCommandLine().TextPointer());
  std::string archive;
  words >> archive;
  if (archive != "-") SelectArchive(archive.c_str(), archive.c_str());
  std::string name;
  while (words >> name) {
    std::string path;
    if (ResolveLoaderPath(name.c_str(), path)) {
      std::error_code error;
      const auto size = std::filesystem::file_size(path, error);
      std::printf("%s -> %s %lld\n", name.c_str(), path.c_str(), error ? -1LL : static_cast<long long>(size));
    } else {
      std::printf("%s -> missing\n", name.c_str());
    }
  }
  std::fflush(stdout);
  return 0;
}
