#include "base/temp_directory.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

std::string PreparePrivateDirectory(const std::string& base) {
  std::string directory = base;
  if (directory.empty()) directory = "/tmp";
  if (directory.back() != '/') directory += '/';
  directory += "trovane-" + std::to_string(getuid());

  if (mkdir(directory.c_str(), 0700) != 0 && errno != EEXIST) return "";
  struct stat info {};
  if (lstat(directory.c_str(), &info) != 0) return "";
  if (!S_ISDIR(info.st_mode) || info.st_uid != getuid()) return "";
  if ((info.st_mode & 077) != 0 && chmod(directory.c_str(), 0700) != 0) return "";
  return directory + '/';
}

const std::string& EngineTempDirectory() {
  static const std::string directory = [] {
    const char* base = std::getenv("TMPDIR");
    return PreparePrivateDirectory(base && *base ? base : "/tmp");
  }();
  return directory;
}
