// The demo game, as the compiler translates it: its project settings and its program.

#include "files/archive.h"
#include "host/frame_present.h"
#include "host/game_interface.h"

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
  PresentFrame();
  // The player ends the demo with Escape or by closing its window.
  for (;;) IdleWait();
}
