// The process entry of every game: rebuilds the command line from the arguments, skips
// the program's own name and hands the rest to the game entry.

#include <string>
#include <vector>

#include "host/command_line.h"
#include "host/game_entry.h"

#if defined(__SANITIZE_ADDRESS__)
// For the leak checker of the sanitizer build: memory that system libraries keep on
// purpose or lose on their own. D-Bus, which SDL opens on X11 for the screen saver and
// input methods, keeps its connection data until the process ends; Mesa's software
// rasteriser loses the sample buffers of a multisampled window when it is destroyed.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\nleak:swrast_dri.so\n"; }
#endif

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv, argv + argc);
  const std::string commandLine = JoinCommandLine(arguments);
  RunGame(SkipProgramName(commandLine.c_str()));
}
