#include "input/input_system.h"

#include "base/engine_shutdown.h"
#include "base/engine_state.h"
#include "input/idle_activity.h"
#include "input/input_manager.h"
#include "video/renderer.h"

void CreateInput() {
  delete Subsystems().input;
  Subsystems().input = new InputManager();
  ResetInput(*Subsystems().input);
  SetReleaseStep(ReleaseStep::kInput, &ReleaseInput);
}

void StartInput(SDL_Window* window, int useMouse) {
  InputManager* input = Subsystems().input;
  if (input == nullptr) return;
  InitInput(*input, window, useMouse);
}

void SetInputWindow(SDL_Window* window) {
  if (InputManager* input = Subsystems().input) SetInputWindow(*input, window);
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
