#pragma once
// A whole program running in a child process while the test talks to it: the test reads
// its output as it comes, acts on its window, then collects its exit code.

#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  // Starts program with arguments; extraEnvironment entries are "NAME=value" and win
  // over the inherited environment. Standard output and error share one pipe.
  ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
               const std::vector<std::string>& extraEnvironment = {}, const std::string& workingDirectory = "");
  // Kills the program when it is still running.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Reads output until text has appeared (true) or timeoutMs has passed (false).
  bool WaitForOutput(const std::string& text, int timeoutMs);
  // Reads output for about durationMs.
  void ReadFor(int durationMs);
  // Everything the program wrote so far (as read by the calls above).
  const std::string& Output() const { return output_; }
  // Waits for the program to end: its exit code (128 + signal when killed), or -1 when
  // it is still running after timeoutMs.
  int Wait(int timeoutMs);
  bool Running();
  pid_t Pid() const { return pid_; }

 private:
  // Reads what the pipe holds, waiting at most waitMs for the first bytes.
  void ReadAvailable(int waitMs);
  bool Reap(bool block);

  pid_t pid_ = -1;
  int pipe_ = -1;
  bool exited_ = false;
  int exitCode_ = -1;
  std::string output_;
};
