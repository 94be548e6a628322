#pragma once
// The process-wide run state of the engine and the one pointer to each subsystem object.
//
// Both records live for the whole process. StartEngine fills the subsystem pointers in
// a fixed order and ShutdownEngine releases them in a fixed order, each exactly once.

#include <cstdint>

#include "core/basic_string.h"

class OpenGLDiveduva;
class Diveduva3D;
class InputManager;
class SoundDevice;
class SoundBank;
class NetSession;
class MusicWindow;
class LibraryCache;
struct ArchiveSlot;
class GameFiles;

struct EngineState {
  void* mainWindow = nullptr;            // the game window (SDL_Window*); null after shutdown
  BasicString windowTitle;               // caption; " <pause>" is appended while paused
  std::uint8_t pauseWhenInactive = 0;    // set to 1 by start-up
  std::uint8_t paused = 0;               // 1 while the window is inactive and pausing applies
  std::int32_t useDirectInputMouse = 1;  // handed to the input start-up
  std::int32_t frameRate = 60;           // frames per second; 0 or less means no limit
  std::int32_t fullscreen = 0;
  std::int32_t debugMode = 0;            // non-zero: end-of-program block in the log, no pausing
  std::int32_t multisampleCount = 0;     // samples per pixel requested; 0 = off
  std::int32_t screenHeight = 480;
  std::int32_t screenWidth = 640;
  double errorLine = 0;                  // currentLine at the last SetErrorCode
  double errorCode = 0;                  // code of the last SetErrorCode
  double positionTag = 0;                // first value of the last SetSourcePosition
  double currentLine = 0;                // second value of the last SetSourcePosition
  BasicString commandLine;               // the program's argument text
  double frameTime = 0;                  // milliseconds, see the frame clock
  double previousFrameTime = 0;
  double startTime = 0;
  std::uint8_t escapeEndsProgram = 1;    // Escape ends the program at each frame and idle wait
};

struct EngineSubsystems {
  OpenGLDiveduva* renderer = nullptr;
  Diveduva3D* scene = nullptr;
  InputManager* input = nullptr;
  SoundDevice* soundDevice = nullptr;
  SoundBank* soundBank = nullptr;
  NetSession* network = nullptr;
  ArchiveSlot* primaryArchive = nullptr;
  ArchiveSlot* secondaryArchive = nullptr;
  MusicWindow* musicWindow = nullptr;
  GameFiles* gameFiles = nullptr;        // channels, line file, settings; created at first use
  LibraryCache* libraryCache = nullptr;  // created at the first library bind, kept to the end
  int currentFont = 0;
};

// The two process-wide records.
EngineState& Engine();
EngineSubsystems& Subsystems();
