// The process entry of every game: rebuilds the command line from the arguments, skips
// the program's own name and hands the rest to the game entry.

#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/engine_startup.h"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv, argv + argc);
  const std::string commandLine = JoinCommandLine(arguments);
  RunGame(SkipProgramName(commandLine.c_str()));
}
