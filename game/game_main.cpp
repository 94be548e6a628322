// The demo game, as the compiler translates it: its project settings and its program.

#include "engine.h"

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.screenWidth = 640;
  settings.screenHeight = 480;
  settings.frameRate = 60;
  settings.fullscreen = 0;
  settings.multisampleCount = 0;
  settings.debugMode = 0;
  settings.useDirectInputMouse = 1;
  settings.title = "SetVantrel";
  return settings;
}

int GameMain() {
  // The stand-alone archive first, then the executable itself with its appended archive.
  SelectArchive("Vantrel.vtl", "");
  SelectArchive("RizareZaz.exe", "");
  // Both pictures come out of the archive: the folders in the names do not matter.
  LoadBackground("blah/blah/Vantrel_file.bmp");
  LoadSprite("x/y/vt2.bmp", 0);
  DrawSprite(0, 0, 0);
  PresentFrame();
  // A click ends the demo (Escape and closing the window end it too).
  WaitForMouseButton();
  return 0;
}
