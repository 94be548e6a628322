// A game that reads a line and then a number from the keyboard with the text entry
// commands, for a test that types into its window. It prints "ready" when the line input
// is about to start, then "typed [<line>]" and "number <value>".

#include <cstdio>

#include "core/number_text.h"
#include "gfx2d/font_commands.h"
#include "host/game_interface.h"
#include "input/text_entry.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.title = "Text entry probe";
  return settings;
}

int GameMain() {
  PrintText("Your name:", 10, 10);
  std::printf("ready\n");
  std::fflush(stdout);
  BasicString line;
  InputText(line, 10, 30);
  std::printf("typed [%s]\n", line.TextPointer());
  std::fflush(stdout);

  double number = 0;
  InputNumber(number, 10, 50);
  std::printf("number %s\n", NumberToText(number).TextPointer());
  std::fflush(stdout);
  return 0;
}
