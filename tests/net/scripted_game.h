#pragma once
// Drives the network test game (programs/net_game.cpp) in a child process: one command line
// in, one result line out, so a test can run hosts and clients as separate processes.

#include <sys/types.h>

#include <string>

class ScriptedGame {
 public:
  // Starts the game headless (offscreen video, dummy audio) with its temp folder in tempDir.
  explicit ScriptedGame(const std::string& tempDir);
  // Ends the game if it is still running.
  ~ScriptedGame();
  ScriptedGame(const ScriptedGame&) = delete;
  ScriptedGame& operator=(const ScriptedGame&) = delete;

  // Sends one command (fields separated by tabs) and returns its result, or "<no answer>".
  std::string Call(const std::string& line, int timeoutMs = 20000);
  // Sends "end" and waits for the program to exit: its exit code, -1 when it did not end.
  int End(int timeoutMs = 20000);
  // Everything the game wrote so far.
  const std::string& Output() const { return output_; }
  // Waits until the output holds text (lines written by the game's own threads arrive
  // in their own time); false after timeoutMs.
  bool WaitForOutput(const std::string& text, int timeoutMs = 5000);

 private:
  bool ReadLine(std::string& line, int timeoutMs);
  // Appends what the game wrote within timeoutMs to the output; false when nothing came.
  bool ReadMore(int timeoutMs);

  pid_t pid_ = -1;
  int input_ = -1;
  int output_pipe_ = -1;
  std::string output_;
  std::size_t consumed_ = 0;
  bool exited_ = false;
};
