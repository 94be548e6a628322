#pragma once
// A fresh, private temporary directory for one test, removed with everything in it.

#include <string>

// A fresh, private temporary directory for one test, removed by the destructor.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::string& Path() const { return path_; }
  // The engine's private temporary directory when TMPDIR is this directory.
  std::string EngineTempPath() const;
  std::string ReadFile(const std::string& relativePath) const;
  void WriteFile(const std::string& relativePath, const std::string& contents) const;
  bool Exists(const std::string& relativePath) const;

 private:
  std::string path_;
};
