// Reading the devices: key and mouse events, the keyboard snapshot, mouse frames,
// joystick records and force effects.

#include <algorithm>
#include <limits>
#include <string_view>

#include "input/input_manager.h"
#include "input/scan_codes.h"

namespace {

std::int16_t ClampToInt16(std::int64_t value) {
  return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int16_t>::min(),
                                                            std::numeric_limits<std::int16_t>::max()));
}

std::int32_t AddClamped(std::int32_t position, std::int64_t motion) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      position + motion, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int16_t SignOf(std::int64_t value) { return value > 0 ? 1 : (value < 0 ? -1 : 0); }

// Takes every queued event of the types first .. last and applies it.
void TakeQueuedEvents(InputManager& input, Uint32 first, Uint32 last) {
  SDL_Event events[32];
  for (;;) {
    const int count = SDL_PeepEvents(events, 32, SDL_GETEVENT, first, last);
    for (int i = 0; i < count; ++i) ApplyInputEvent(input, events[i]);
    if (count < 32) return;
  }
}

void MeasureMouseFrame(InputManager& input) {
  const MouseTracker::Motion motion = input.mouse.TakeMotion();
  std::int64_t dx = motion.dx;
  std::int64_t dy = motion.dy;
  if (input.mouseFree) {
    dx = static_cast<std::int64_t>(input.mouse.CursorX()) - input.mouseX;
    dy = static_cast<std::int64_t>(input.mouse.CursorY()) - input.mouseY;
  }
  input.cachedDx = ClampToInt16(dx);
  input.cachedDy = ClampToInt16(dy);
  input.cachedWheel = SignOf(motion.wheel);
  if (input.mouseFree) {
    input.mouseX = input.mouse.CursorX();
    input.mouseY = input.mouse.CursorY();
  } else {
    input.mouseX = AddClamped(input.mouseX, input.cachedDx);
    input.mouseY = AddClamped(input.mouseY, input.cachedDy);
  }
}

}  // namespace

void ApplyInputEvent(InputManager& input, const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      const int scanCode = ScanCodeOfSdlKey(event.key.keysym.scancode);
      input.keyboard.ApplyKey(scanCode, event.type == SDL_KEYDOWN);
      if (event.type == SDL_KEYDOWN) input.typedKeys.KeyDown(scanCode, event.key.repeat != 0);
      break;
    }
    case SDL_TEXTINPUT: {
      // The text is at most a fixed-size buffer; it need not end in a zero byte there.
      const char* text = event.text.text;
      const auto length = static_cast<std::size_t>(std::find(text, text + sizeof event.text.text, '\0') - text);
      const bool shiftHeld = input.keyboard.IsHeld(key::kLeftShift) || input.keyboard.IsHeld(key::kRightShift);
      input.typedKeys.Text(std::string_view(text, length), shiftHeld);
      break;
    }
    case SDL_MOUSEMOTION:
      input.mouse.ApplyMotion(event.motion.x, event.motion.y, event.motion.xrel, event.motion.yrel);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      input.mouse.ApplyButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEWHEEL:
      input.mouse.ApplyWheel(event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y);
      break;
    default:
      break;
  }
}

void CollectInputEvents(InputManager& input) {
  if (SDL_WasInit(SDL_INIT_EVENTS) == 0) return;
  SDL_PumpEvents();
  // Only key, text and mouse events: window events stay queued for the event pump.
  // Key presses and their text are taken together, in the order they came. Taking the
  // mouse events here also keeps a game that polls the keyboard in a loop of its own
  // from filling the queue with motion.
  TakeQueuedEvents(input, SDL_KEYDOWN, SDL_TEXTINPUT);
  TakeQueuedEvents(input, SDL_MOUSEMOTION, SDL_MOUSEWHEEL);
}

void RefreshKeyboard(InputManager& input) {
  CollectInputEvents(input);
  input.keyboard.TakeFrameSnapshot();
}

void BeginTypingFrame(InputManager& input) { input.typedKeys.FrameBoundary(); }

void RefreshKeyboardWithinFrame(InputManager& input) {
  CollectInputEvents(input);
  input.keyboard.TakeSnapshot();
}

void BeginMouseFrame(InputManager& input) { input.newMouseFrame = 1; }

bool IsKeyDown(const InputManager& input, int scanCode) { return input.keyboard.IsDown(scanCode); }

int ReadMouse(InputManager& input, MouseState& state) {
  CollectInputEvents(input);
  const bool newFrame = input.newMouseFrame != 0;
  if (newFrame) {
    input.newMouseFrame = 0;
    MeasureMouseFrame(input);
  }
  state.dx = input.cachedDx;
  state.dy = input.cachedDy;
  state.wheel = input.cachedWheel;
  const std::uint8_t buttons = input.mouse.ReadButtons(newFrame);
  state.left = (buttons & kLeftButtonBit) ? kMouseButtonDown : 0;
  state.right = (buttons & kRightButtonBit) ? kMouseButtonDown : 0;
  state.middle = (buttons & kMiddleButtonBit) ? kMouseButtonDown : 0;
  return 1;
}

void ClampMousePosition(InputManager& input, int width, int height) {
  input.mouseX = std::max(0, std::min(input.mouseX, width - 1));
  input.mouseY = std::max(0, std::min(input.mouseY, height - 1));
}

int ReadJoystick(InputManager& input, int index, JoystickState& state) {
  state = AbsentJoystickState();
  if (index < 0 || index >= kMaxJoysticks) return 0;
  SDL_Joystick* joystick = input.joysticks[static_cast<std::size_t>(index)];
  if (joystick == nullptr) return 0;
  SDL_JoystickUpdate();

  std::int32_t* const axes[kJoystickAxes + kJoystickSliders] = {
      &state.lX, &state.lY, &state.lZ, &state.lRx, &state.lRy, &state.lRz, &state.sliders[0], &state.sliders[1]};
  const int axisCount = std::min(SDL_JoystickNumAxes(joystick), kJoystickAxes + kJoystickSliders);
  for (int axis = 0; axis < axisCount; ++axis) *axes[axis] = SDL_JoystickGetAxis(joystick, axis);

  const int hatCount = std::min(SDL_JoystickNumHats(joystick), kJoystickHats);
  for (int hat = 0; hat < hatCount; ++hat) state.pointOfView[hat] = PointOfViewOfHat(SDL_JoystickGetHat(joystick, hat));

  const int buttonCount = std::min(SDL_JoystickNumButtons(joystick), kJoystickButtons);
  for (int button = 0; button < buttonCount; ++button) {
    state.buttons[button] = SDL_JoystickGetButton(joystick, button) ? kJoystickButtonDown : 0;
  }
  return 1;
}

void PlayForce(InputManager& input, int index, const ConstantForce& force) {
  if (index < 0 || index >= kMaxJoysticks || !input.hapticStarted) return;
  const auto slot = static_cast<std::size_t>(index);
  SDL_Joystick* joystick = input.joysticks[slot];
  if (joystick == nullptr) return;
  SDL_Haptic*& haptic = input.haptics[slot];
  if (haptic == nullptr) {
    if (SDL_JoystickIsHaptic(joystick) != 1) return;
    haptic = SDL_HapticOpenFromJoystick(joystick);
    if (haptic == nullptr) return;
  }
  const unsigned int features = SDL_HapticQuery(haptic);
  if ((features & SDL_HAPTIC_CONSTANT) == 0) return;

  // A new force replaces the joystick's earlier one.
  SDL_HapticStopAll(haptic);
  int& effectId = input.forceEffects[slot];
  if (effectId >= 0) SDL_HapticDestroyEffect(haptic, effectId);
  effectId = -1;
  if (features & SDL_HAPTIC_GAIN) SDL_HapticSetGain(haptic, 100);

  SDL_HapticEffect effect = ConstantForceEffect(force);
  effectId = SDL_HapticNewEffect(haptic, &effect);
  if (effectId >= 0) SDL_HapticRunEffect(haptic, effectId, 1);
}
