#pragma once
// Runs a whole program in a child process and collects what it did: its exit code, its
// standard output and the engine's temporary directory it used.

#include <string>
#include <vector>

struct ProcessResult {
  int exitCode = -1;       // exit code, or 128 + signal when it was killed
  std::string output;      // standard output and standard error, in order
};

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

// Path of a program built next to the tests (test programs, the demo, tools).
std::string ProgramPath(const std::string& name);

// Runs program with arguments; extraEnvironment entries are "NAME=value". The child
// is killed after timeoutSeconds.
ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& extraEnvironment = {}, int timeoutSeconds = 60,
                         const std::string& workingDirectory = "");
