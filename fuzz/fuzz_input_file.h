#pragma once
// Loaders that open a path get the fuzz input through one file in a private folder that
// lives as long as the process: in memory (/dev/shm) where there is one, else in /tmp.

#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class FuzzInputFile {
 public:
  explicit FuzzInputFile(const char* name) {
    char memoryPattern[] = "/dev/shm/engine-fuzz-XXXXXX";
    char diskPattern[] = "/tmp/engine-fuzz-XXXXXX";
    const char* pattern = mkdtemp(memoryPattern);
    if (pattern == nullptr) pattern = mkdtemp(diskPattern);
    if (pattern == nullptr) std::abort();
    folder_ = pattern;
    path_ = folder_ + "/" + name;
  }
  ~FuzzInputFile() {
    unlink(path_.c_str());
    rmdir(folder_.c_str());
  }

  // Replaces the file's contents by the input; the path to open.
  const char* Write(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path_.c_str();
  }

 private:
  std::string folder_, path_;
};
