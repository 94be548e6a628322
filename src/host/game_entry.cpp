// The bridge between the engine and the compiled game: the game's settings and its
// program are only known when a game is linked, so this lives beside main().

#include "base/engine_state.h"
#include "base/program_end.h"
#include "host/engine_startup.h"
#include "host/game_entry.h"
#include "host/game_interface.h"

void ResetProjectDefaults() {
  const ProjectSettings settings = GameProjectSettings();
  EngineState& engine = Engine();
  engine.screenWidth = settings.screenWidth;
  engine.screenHeight = settings.screenHeight;
  engine.frameRate = settings.frameRate;
  engine.fullscreen = settings.fullscreen;
  engine.multisampleCount = settings.multisampleCount;
  engine.debugMode = settings.debugMode;
  engine.useDirectInputMouse = settings.useDirectInputMouse;
}

void RunGame(const char* argumentText) {
  EngineState& engine = Engine();
  engine.commandLine = argumentText;
  ResetProjectDefaults();
  if (!StartEngine(GameProjectSettings().title)) {
    // Every command relies on the window and the subsystems; without them the game
    // cannot run, so it ends here as any other way out does.
    EndProgram();
  }
  engine.errorLine = 0;
  engine.errorCode = 0;
  engine.currentLine = 0;
  GameMain();
  EndProgram();
}
