#include "base/error_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "base/temp_directory.h"

std::string ErrorLogPath() {
  const std::string& directory = EngineTempDirectory();
  return directory.empty() ? std::string() : directory + kErrorLogName;
}

void LogError(const char* text) {
  const std::string path = ErrorLogPath();
  if (path.empty()) return;
  const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (file < 0) return;
  std::string line = text ? text : "";
  line += "\r\n";
  const char* bytes = line.data();
  std::size_t left = line.size();
  while (left > 0) {
    const ssize_t written = write(file, bytes, left);
    if (written <= 0) break;
    bytes += written;
    left -= static_cast<std::size_t>(written);
  }
  close(file);
}

void DeleteErrorLog() {
  const std::string path = ErrorLogPath();
  if (!path.empty()) unlink(path.c_str());
}
