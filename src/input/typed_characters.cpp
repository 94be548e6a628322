#include "input/typed_characters.h"

#include <SDL2/SDL_keyboard.h>

#include "base/engine_state.h"
#include "input/input_manager.h"
#include "input/scan_codes.h"

namespace {

constexpr int kLastScannedKey = 254;
constexpr int kFirstPrintable = 32;
constexpr int kDeleteChar = 127;
constexpr int kLargestByte = 255;

}  // namespace

int CharacterOfKeycode(SDL_Keycode keycode) {
  switch (keycode) {
    case SDLK_KP_MULTIPLY:
      return '*';
    case SDLK_KP_MINUS:
      return '-';
    case SDLK_KP_PLUS:
      return '+';
    default:
      break;
  }
  if (keycode == kBackspaceChar || keycode == kLineFeedChar) return keycode;
  // Keys without a character of their own have the scancode bit set and fall out here.
  if (keycode < kFirstPrintable || keycode == kDeleteChar || keycode > kLargestByte) return 0;
  return keycode;
}

int ScanCodeToChar(int scanCode) {
  switch (scanCode) {
    case key::kBackspace:
      return kBackspaceChar;
    case key::kReturn:
    case key::kKeypadEnter:
      return kLineFeedChar;
    case key::kLeftControl:
    case key::kLeftShift:
    case key::kRightShift:
    case key::kLeftAlt:
    case key::kCapsLock:
    case key::kNumLock:
    case key::kMenu:
      return 0;
    default:
      break;
  }
  const SDL_Scancode scancode = SdlScancodeOfKey(scanCode);
  if (scancode == SDL_SCANCODE_UNKNOWN) return 0;
  return CharacterOfKeycode(SDL_GetKeyFromScancode(scancode));
}

int TypedCharacterOf(const KeyboardState& keyboard) {
  for (int scanCode = 0; scanCode <= kLastScannedKey; ++scanCode) {
    if (!keyboard.IsDown(scanCode)) continue;
    const int character = ScanCodeToChar(scanCode);
    if (character == 0) continue;
    const bool shift = keyboard.IsDown(key::kLeftShift) || keyboard.IsDown(key::kRightShift);
    if (shift && character >= 'a' && character <= 'z') return character - ('a' - 'A');
    return character;
  }
  return 0;
}

int ReadTypedChar(InputManager& input) {
  // A snapshot within the frame: a key the read sees is still seen by the frame loop's
  // Escape check.
  RefreshKeyboardWithinFrame(input);
  const int character = TypedCharacterOf(input.keyboard);
  if (character == input.lastTypedChar) return 0;
  input.lastTypedChar = static_cast<std::uint8_t>(character);
  return character;
}

int ReadTypedChar() {
  InputManager* input = Subsystems().input;
  return input != nullptr ? ReadTypedChar(*input) : 0;
}

int AnyKeyTyped() { return ReadTypedChar() != 0 ? 1 : 0; }
