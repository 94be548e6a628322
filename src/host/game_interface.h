#pragma once
// What a compiled game supplies to the engine: its entry point and its project settings.
// The engine supplies main(); a game is one source folder that links the engine.

struct ProjectSettings {
  int screenWidth = 640;
  int screenHeight = 480;
  int frameRate = 60;
  int fullscreen = 0;
  int multisampleCount = 0;
  int debugMode = 0;
  int useDirectInputMouse = 1;
  const char* title = "";
};

// The game's program. Returns 0; the engine ends the program when it returns.
int GameMain();
// The settings the game was compiled with.
ProjectSettings GameProjectSettings();
