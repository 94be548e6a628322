// Start-up, shutdown, the window and the mouse mode of the input manager.

#include "input/input_manager.h"

#include <cstring>

#include "host/error_log.h"

namespace {

// The subsystems the input manager starts: events (keyboard and mouse come as events)
// and joysticks. Force feedback is started separately: it is optional.
constexpr Uint32 kInputSubsystems = SDL_INIT_EVENTS | SDL_INIT_JOYSTICK;

// The system cursor's position in the window's coordinates; the window's own idea of it
// when the system cannot tell.
void ReadCursorPosition(InputManager& input, SDL_Window* window) {
  int x = 0;
  int y = 0;
  if (window != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0) {
    int windowX = 0;
    int windowY = 0;
    SDL_GetGlobalMouseState(&x, &y);
    SDL_GetWindowPosition(window, &windowX, &windowY);
    x -= windowX;
    y -= windowY;
  }
  input.mouseX = x;
  input.mouseY = y;
  input.mouse.SetCursor(x, y);
}

// The video drivers without a screen (the offscreen renderer of the tests, the dummy
// driver) have no pointer to capture: their mouse is the events handed in, nothing more.
bool VideoDriverHasPointer() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver != nullptr && std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0;
}

// Captured mode for the engine's mouse: SDL's relative mode, where the cursor is hidden
// and kept in the window and every motion arrives as relative motion.
bool CaptureMouse() { return !VideoDriverHasPointer() || SDL_SetRelativeMouseMode(SDL_TRUE) == 0; }

std::string JoystickDisplayName(SDL_Joystick* joystick) {
  // The classic display name is the device's instance name, ", ", its product name; SDL
  // knows one name per device, which serves as both.
  const char* name = SDL_JoystickName(joystick);
  const std::string device = name != nullptr ? name : "";
  std::string display = device + ", " + device;
  if (display.size() > kJoystickNameLimit) display.resize(kJoystickNameLimit);
  return display;
}

void OpenJoysticks(InputManager& input) {
  // Joysticks are read on demand (ReadJoystick updates them); their events would only
  // pile up in the queue.
  SDL_JoystickEventState(SDL_IGNORE);
  const int available = SDL_NumJoysticks();
  for (int device = 0; device < available && input.joystickCount < kMaxJoysticks; ++device) {
    SDL_Joystick* joystick = SDL_JoystickOpen(device);
    if (joystick == nullptr) continue;
    const auto slot = static_cast<std::size_t>(input.joystickCount);
    input.joysticks[slot] = joystick;
    input.joystickNames[slot] = JoystickDisplayName(joystick);
    ++input.joystickCount;
  }
  input.hapticStarted = SDL_InitSubSystem(SDL_INIT_HAPTIC) == 0;
}

void CloseDevices(InputManager& input) {
  for (std::size_t i = 0; i < input.haptics.size(); ++i) {
    if (input.haptics[i] != nullptr) SDL_HapticClose(input.haptics[i]);
    input.haptics[i] = nullptr;
    input.forceEffects[i] = -1;
  }
  for (SDL_Joystick*& joystick : input.joysticks) {
    if (joystick != nullptr) SDL_JoystickClose(joystick);
    joystick = nullptr;
  }
  for (std::string& name : input.joystickNames) name.clear();
  input.joystickCount = 0;
  input.keyboardAvailable = false;
  input.mouseAvailable = false;
  if (input.hapticStarted) SDL_QuitSubSystem(SDL_INIT_HAPTIC);
  input.hapticStarted = false;
  if (input.inputStarted) SDL_QuitSubSystem(kInputSubsystems);
  input.inputStarted = false;
}

}  // namespace

InputManager::~InputManager() { CloseDevices(*this); }

void ResetInput(InputManager& input) {
  CloseDevices(input);
  input.mouseX = 100;
  input.mouseY = 100;
  input.mouseFree = 0;
  input.newMouseFrame = 1;
  input.cachedDx = 0;
  input.cachedDy = 0;
  input.cachedWheel = 0;
  input.mouse.DiscardMotion();
}

std::uint32_t InitInput(InputManager& input, SDL_Window* window, int useMouse) {
  std::uint32_t status = kInputReady;
  input.inputStarted = SDL_InitSubSystem(kInputSubsystems) == 0;
  if (!input.inputStarted) {
    LogError("No DX_Input");
    status = kNoInputLayer;
  }
  SetInputWindow(input, window);
  ReadCursorPosition(input, window);
  if (!input.inputStarted) return status;

  // Key and mouse events come only to a window of the video subsystem.
  const bool haveWindow = window != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0;
  input.keyboardAvailable = haveWindow;
  if (!input.keyboardAvailable) {
    LogError("No DX_KB");
    status = kKeyboardNotAcquired;
  } else {
    // Typed characters come as text input events, which the window system makes from
    // key presses with the user's layout and modifiers.
    SDL_StartTextInput();
  }

  input.mouseFree = 0;
  if (useMouse != 0) {
    // The mouse is captured in a window. Without relative mode the motion still arrives,
    // as the cursor's relative motion, but the cursor stops at the screen's edges.
    input.mouseAvailable = haveWindow;
    if (!input.mouseAvailable || !CaptureMouse()) {
      LogError("No DX_Mouse");
      status = kMouseNotAcquired;
    }
  } else {
    input.mouseFree = 1;
  }

  OpenJoysticks(input);
  return status;
}

void ShutdownInput(InputManager& input) {
  SetMouseMode(input, true);
  CloseDevices(input);
}

void SetInputWindow(InputManager& input, SDL_Window* window) {
  input.windowId = window != nullptr ? SDL_GetWindowID(window) : 0;
}

SDL_Window* InputWindow(const InputManager& input) {
  if (input.windowId == 0 || SDL_WasInit(SDL_INIT_VIDEO) == 0) return nullptr;
  return SDL_GetWindowFromID(input.windowId);
}

void SetMouseMode(InputManager& input, bool free) {
  const std::uint8_t mode = free ? 1 : 0;
  if (input.mouseFree == mode) return;
  input.mouseFree = mode;
  // Without a mouse of its own the engine never captured it; after the window system
  // has gone (at shutdown) there is nothing left to release.
  if (!input.mouseAvailable || SDL_WasInit(SDL_INIT_VIDEO) == 0) return;
  if (free) {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    if (SDL_Window* window = InputWindow(input)) SDL_WarpMouseInWindow(window, input.mouseX, input.mouseY);
    input.mouse.SetCursor(input.mouseX, input.mouseY);
    SDL_SetCursor(SDL_GetDefaultCursor());
    SDL_ShowCursor(SDL_ENABLE);
  } else {
    SDL_ShowCursor(SDL_DISABLE);
    CaptureMouse();
    // Motion made while the mouse was free must not move the captured position.
    input.mouse.DiscardMotion();
  }
}
