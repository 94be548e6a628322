#include "input/input_system.h"

#include "host/engine_state.h"
#include "host/renderer.h"
#include "input/idle_activity.h"
#include "input/input_manager.h"

void CreateInput() {
  delete Subsystems().input;
  Subsystems().input = new InputManager();
  ResetInput(*Subsystems().input);
}

void StartInput(void* window, int useMouse) {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return;
  InitInput(*input, static_cast<SDL_Window*>(window), useMouse);
}

void SetInputWindow(void* window) {
  if (InputManager* input = Subsystems().input) SetInputWindow(*input, static_cast<SDL_Window*>(window));
}

void ReleaseInput() {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return;
  ShutdownInput(*input);
  delete input;
  Subsystems().input = nullptr;
}

void RefreshKeyboard() {
  if (InputManager* input = Subsystems().input) RefreshKeyboard(*input);
}

void BeginTypingFrame() {
  if (InputManager* input = Subsystems().input) BeginTypingFrame(*input);
}

void BeginMouseFrame() {
  if (InputManager* input = Subsystems().input) BeginMouseFrame(*input);
}

bool IsKeyDown(int scanCode) {
  const InputManager* input = Subsystems().input;
  return input != nullptr && IsKeyDown(*input, scanCode);
}

void HandleInputEvent(const SDL_Event& event) {
  if (InputManager* input = Subsystems().input) ApplyInputEvent(*input, event);
}

bool InputActivityEndsIdleWait() {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return false;
  int width = 0;
  int height = 0;
  GetMouseArea(width, height);
  return InputEndsIdleWait(*input, width, height);
}

void GetMouseArea(int& width, int& height) {
  const OpenGLDiveduva* renderer = Subsystems().renderer;
  if (renderer != nullptr && renderer->surfaceWidth > 0) {
    width = renderer->surfaceWidth;
    height = renderer->surfaceHeight;
  } else {
    width = Engine().screenWidth;
    height = Engine().screenHeight;
  }
}
