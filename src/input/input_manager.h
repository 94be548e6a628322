#pragma once
// The owner of every input device: the keyboard, the mouse and up to ten joysticks.
//
// Keyboard and mouse reach the engine as SDL events. The event pump hands them over
// (ApplyInputEvent) and the reads below take the ones still queued themselves, so a game
// that polls keys or the mouse in a loop of its own sees them too. The engine reads them
// in frames: RefreshKeyboard takes a keyboard snapshot and BeginMouseFrame makes the next
// mouse read measure the motion afresh; later reads in the same frame repeat that motion.
//
// Two mouse modes: captured (the engine owns the mouse, SDL's relative mode, motion moves
// the program's mouse position) and free (the system cursor is shown and the program's
// position follows it). Joysticks are SDL joysticks opened at start-up and read on demand.

#include <SDL2/SDL.h>

#include <array>
#include <cstdint>
#include <string>

#include "input/force_effect.h"
#include "input/joystick_state.h"
#include "input/keyboard_state.h"
#include "input/mouse_tracker.h"
#include "input/typed_key_queue.h"

// InitInput's status: 1, or the code of the first device that could not be had (the
// last one reported wins, as each later step overwrites it).
inline constexpr std::uint32_t kInputReady = 1;
inline constexpr std::uint32_t kNoInputLayer = 0x8000000A;        // "No DX_Input"
inline constexpr std::uint32_t kKeyboardNotAcquired = 0x8000000B;  // "No DX_KB"
inline constexpr std::uint32_t kMouseNotAcquired = 0x8000000C;     // "No DX_Mouse"

// Joystick names keep at most this many bytes (a 522-byte buffer with its terminator).
inline constexpr std::size_t kJoystickNameLimit = 521;

class InputManager {
 public:
  InputManager() = default;
  // Closes the devices still open (ShutdownInput normally has).
  ~InputManager();
  InputManager(const InputManager&) = delete;
  InputManager& operator=(const InputManager&) = delete;

  std::int32_t mouseX = 100;  // the program's mouse position in window pixels
  std::int32_t mouseY = 100;
  bool inputStarted = false;     // SDL's event and joystick subsystems are ours to stop
  bool hapticStarted = false;    // SDL's force-feedback subsystem is ours to stop
  bool keyboardAvailable = false;
  bool mouseAvailable = false;   // the engine may capture the mouse
  std::array<SDL_Joystick*, kMaxJoysticks> joysticks{};  // in SDL's order; null where absent
  std::array<SDL_Haptic*, kMaxJoysticks> haptics{};      // opened at a joystick's first force
  std::array<int, kMaxJoysticks> forceEffects{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
  std::array<std::string, kMaxJoysticks> joystickNames;
  KeyboardState keyboard;
  Uint32 windowId = 0;           // the game window by SDL id, so a destroyed one is never used
  std::uint8_t mouseFree = 0;    // 1: system cursor, absolute positions; 0: captured
  std::int32_t joystickCount = 0;
  std::uint8_t newMouseFrame = 1;  // 1: the next mouse read measures motion afresh
  std::int16_t cachedDx = 0;     // the motion measured in the current mouse frame
  std::int16_t cachedDy = 0;
  std::int16_t cachedWheel = 0;
  MouseTracker mouse;
  // What the idle wait saw of the mouse last time (x, y, left, right), 0 at start.
  double idleMouseX = 0;
  double idleMouseY = 0;
  double idleMouseLeft = 0;
  double idleMouseRight = 0;
  // The characters typed and not yet read (text entry).
  TypedKeyQueue typedKeys;
};

// Mouse position 100, 100, no devices, captured mode, a new mouse frame, no motion.
void ResetInput(InputManager& input);
// Starts SDL's input subsystems and takes the devices: the keyboard of window, the mouse
// (captured when useMouse is non-zero, else free), and every joystick up to ten. Devices
// that cannot be had are logged ("No DX_Input", "No DX_KB", "No DX_Mouse"); the program
// goes on without them. Returns kInputReady or the code of the device that failed.
std::uint32_t InitInput(InputManager& input, SDL_Window* window, int useMouse);
// Frees the mouse, then closes every joystick and stops the input subsystems.
void ShutdownInput(InputManager& input);
// The window the mouse is captured in and the cursor is placed on.
void SetInputWindow(InputManager& input, SDL_Window* window);
// The stored window, or null when there is none or it no longer exists.
SDL_Window* InputWindow(const InputManager& input);

// Free (true) or captured mode; nothing happens when the mode does not change. Becoming
// free puts the system cursor at the program's mouse position and shows it.
void SetMouseMode(InputManager& input, bool free);

// Hands one SDL event to the devices: key, text input and mouse events; others are
// ignored.
void ApplyInputEvent(InputManager& input, const SDL_Event& event);
// Takes the key and mouse events still queued in SDL and applies them.
void CollectInputEvents(InputManager& input);

// The frame loop's keyboard snapshot (PresentFrame, IdleWait): the keys held now and those
// pressed since the previous one.
void RefreshKeyboard(InputManager& input);
// A frame was presented: typed keys that waited unread too long are dropped.
void BeginTypingFrame(InputManager& input);
// A snapshot within the frame (GetKeyDown, text entry): the same keys, but a quick tap
// stays visible to the frame loop's next snapshot.
void RefreshKeyboardWithinFrame(InputManager& input);
// The next mouse read measures a new frame.
void BeginMouseFrame(InputManager& input);
// True when the key is down in the snapshot (low 8 bits of scanCode). Key 0 never is.
bool IsKeyDown(const InputManager& input, int scanCode);
// Fills state: the frame's motion (measured by the first read of a mouse frame, repeated
// by the later ones) and the buttons. Returns 1.
int ReadMouse(InputManager& input, MouseState& state);
// Clamps the program's mouse position to 0 .. width - 1 and 0 .. height - 1.
void ClampMousePosition(InputManager& input, int width, int height);
// Fills state from joystick index. Returns 1, or 0 with the absent record for an index
// without a joystick (and outside 0 .. 9).
int ReadJoystick(InputManager& input, int index, JoystickState& state);
// Plays force on joystick index when it has force feedback with constant forces; else
// does nothing. Stops the joystick's earlier effect first.
void PlayForce(InputManager& input, int index, const ConstantForce& force);
