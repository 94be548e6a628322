#include "input/scan_codes.h"

#include <array>

namespace {

struct KeyPair {
  SDL_Scancode sdl;
  std::uint8_t scanCode;
};

// SDL's positional scancode and the engine's key number of each key: the whole 105-key
// board, then the Japanese and Brazilian extra keys and the media keys that have a
// number. Where two SDL scancodes name the same physical key (the ISO key left of Return,
// the two mute codes) both are listed and the first one is the key's SDL name.
constexpr KeyPair kKeyPairs[] = {
    {SDL_SCANCODE_ESCAPE, key::kEscape},
    {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},
    {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},
    {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},
    {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},
    {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, key::k0},
    {SDL_SCANCODE_MINUS, key::kMinus},
    {SDL_SCANCODE_EQUALS, key::kEquals},
    {SDL_SCANCODE_BACKSPACE, key::kBackspace},
    {SDL_SCANCODE_TAB, key::kTab},
    {SDL_SCANCODE_Q, key::kQ},
    {SDL_SCANCODE_W, key::kW},
    {SDL_SCANCODE_E, key::kE},
    {SDL_SCANCODE_R, key::kR},
    {SDL_SCANCODE_T, key::kT},
    {SDL_SCANCODE_Y, key::kY},
    {SDL_SCANCODE_U, key::kU},
    {SDL_SCANCODE_I, key::kI},
    {SDL_SCANCODE_O, key::kO},
    {SDL_SCANCODE_P, key::kP},
    {SDL_SCANCODE_LEFTBRACKET, key::kLeftBracket},
    {SDL_SCANCODE_RIGHTBRACKET, key::kRightBracket},
    {SDL_SCANCODE_RETURN, key::kReturn},
    {SDL_SCANCODE_LCTRL, key::kLeftControl},
    {SDL_SCANCODE_A, key::kA},
    {SDL_SCANCODE_S, key::kS},
    {SDL_SCANCODE_D, key::kD},
    {SDL_SCANCODE_F, key::kF},
    {SDL_SCANCODE_G, key::kG},
    {SDL_SCANCODE_H, key::kH},
    {SDL_SCANCODE_J, key::kJ},
    {SDL_SCANCODE_K, key::kK},
    {SDL_SCANCODE_L, key::kL},
    {SDL_SCANCODE_SEMICOLON, key::kSemicolon},
    {SDL_SCANCODE_APOSTROPHE, key::kApostrophe},
    {SDL_SCANCODE_GRAVE, key::kGrave},
    {SDL_SCANCODE_LSHIFT, key::kLeftShift},
    {SDL_SCANCODE_BACKSLASH, key::kBackslash},
    {SDL_SCANCODE_NONUSHASH, key::kBackslash},
    {SDL_SCANCODE_Z, key::kZ},
    {SDL_SCANCODE_X, key::kX},
    {SDL_SCANCODE_C, key::kC},
    {SDL_SCANCODE_V, key::kV},
    {SDL_SCANCODE_B, key::kB},
    {SDL_SCANCODE_N, key::kN},
    {SDL_SCANCODE_M, key::kM},
    {SDL_SCANCODE_COMMA, key::kComma},
    {SDL_SCANCODE_PERIOD, key::kPeriod},
    {SDL_SCANCODE_SLASH, key::kSlash},
    {SDL_SCANCODE_RSHIFT, key::kRightShift},
    {SDL_SCANCODE_KP_MULTIPLY, key::kKeypadMultiply},
    {SDL_SCANCODE_LALT, key::kLeftAlt},
    {SDL_SCANCODE_SPACE, key::kSpace},
    {SDL_SCANCODE_CAPSLOCK, key::kCapsLock},
    {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},
    {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, key::kF4},
    {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},
    {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},
    {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, key::kF10},
    {SDL_SCANCODE_NUMLOCKCLEAR, key::kNumLock},
    {SDL_SCANCODE_SCROLLLOCK, key::kScrollLock},
    {SDL_SCANCODE_KP_7, key::kKeypad7},
    {SDL_SCANCODE_KP_8, key::kKeypad8},
    {SDL_SCANCODE_KP_9, key::kKeypad9},
    {SDL_SCANCODE_KP_MINUS, key::kKeypadMinus},
    {SDL_SCANCODE_KP_4, key::kKeypad4},
    {SDL_SCANCODE_KP_5, key::kKeypad5},
    {SDL_SCANCODE_KP_6, key::kKeypad6},
    {SDL_SCANCODE_KP_PLUS, key::kKeypadPlus},
    {SDL_SCANCODE_KP_1, key::kKeypad1},
    {SDL_SCANCODE_KP_2, key::kKeypad2},
    {SDL_SCANCODE_KP_3, key::kKeypad3},
    {SDL_SCANCODE_KP_0, key::kKeypad0},
    {SDL_SCANCODE_KP_PERIOD, key::kKeypadPeriod},
    {SDL_SCANCODE_NONUSBACKSLASH, key::kLessGreater},
    {SDL_SCANCODE_F11, key::kF11},
    {SDL_SCANCODE_F12, key::kF12},
    {SDL_SCANCODE_KP_ENTER, key::kKeypadEnter},
    {SDL_SCANCODE_RCTRL, key::kRightControl},
    {SDL_SCANCODE_KP_DIVIDE, key::kKeypadDivide},
    {SDL_SCANCODE_PRINTSCREEN, key::kPrintScreen},
    {SDL_SCANCODE_SYSREQ, key::kPrintScreen},
    {SDL_SCANCODE_RALT, key::kRightAlt},
    {SDL_SCANCODE_PAUSE, key::kPause},
    {SDL_SCANCODE_HOME, key::kHome},
    {SDL_SCANCODE_UP, key::kUp},
    {SDL_SCANCODE_PAGEUP, key::kPageUp},
    {SDL_SCANCODE_LEFT, key::kLeft},
    {SDL_SCANCODE_RIGHT, key::kRight},
    {SDL_SCANCODE_END, key::kEnd},
    {SDL_SCANCODE_DOWN, key::kDown},
    {SDL_SCANCODE_PAGEDOWN, key::kPageDown},
    {SDL_SCANCODE_INSERT, key::kInsert},
    {SDL_SCANCODE_DELETE, key::kDelete},
    {SDL_SCANCODE_LGUI, key::kLeftWindows},
    {SDL_SCANCODE_RGUI, key::kRightWindows},
    {SDL_SCANCODE_APPLICATION, key::kMenu},
    // Beyond the 105-key board.
    {SDL_SCANCODE_F13, 0x64},
    {SDL_SCANCODE_F14, 0x65},
    {SDL_SCANCODE_F15, 0x66},
    {SDL_SCANCODE_INTERNATIONAL2, 0x70},  // Katakana/Hiragana
    {SDL_SCANCODE_INTERNATIONAL1, 0x73},  // Ro, and the Brazilian /? key
    {SDL_SCANCODE_INTERNATIONAL4, 0x79},  // Henkan (convert)
    {SDL_SCANCODE_INTERNATIONAL5, 0x7B},  // Muhenkan (no convert)
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D},  // Yen
    {SDL_SCANCODE_KP_EQUALS, 0x8D},
    {SDL_SCANCODE_AUDIOPREV, 0x90},
    {SDL_SCANCODE_AUDIONEXT, 0x99},
    {SDL_SCANCODE_AUDIOMUTE, 0xA0},
    {SDL_SCANCODE_MUTE, 0xA0},
    {SDL_SCANCODE_CALCULATOR, 0xA1},
    {SDL_SCANCODE_AUDIOPLAY, 0xA2},
    {SDL_SCANCODE_AUDIOSTOP, 0xA4},
    {SDL_SCANCODE_VOLUMEDOWN, 0xAE},
    {SDL_SCANCODE_VOLUMEUP, 0xB0},
    {SDL_SCANCODE_AC_HOME, 0xB2},
    {SDL_SCANCODE_KP_COMMA, 0xB3},
    {SDL_SCANCODE_POWER, 0xDE},
    {SDL_SCANCODE_SLEEP, 0xDF},
    {SDL_SCANCODE_AC_SEARCH, 0xE5},
    {SDL_SCANCODE_AC_BOOKMARKS, 0xE6},
    {SDL_SCANCODE_AC_REFRESH, 0xE7},
    {SDL_SCANCODE_AC_STOP, 0xE8},
    {SDL_SCANCODE_AC_FORWARD, 0xE9},
    {SDL_SCANCODE_AC_BACK, 0xEA},
    {SDL_SCANCODE_COMPUTER, 0xEB},
    {SDL_SCANCODE_MAIL, 0xEC},
    {SDL_SCANCODE_MEDIASELECT, 0xED},
};

struct KeyTables {
  std::array<std::uint8_t, SDL_NUM_SCANCODES> scanCodeOfSdl{};
  std::array<SDL_Scancode, kKeyCount> sdlOfScanCode{};
};

constexpr KeyTables BuildTables() {
  KeyTables tables;
  for (SDL_Scancode& sdl : tables.sdlOfScanCode) sdl = SDL_SCANCODE_UNKNOWN;
  for (const KeyPair& pair : kKeyPairs) {
    tables.scanCodeOfSdl[pair.sdl] = pair.scanCode;
    if (tables.sdlOfScanCode[pair.scanCode] == SDL_SCANCODE_UNKNOWN) tables.sdlOfScanCode[pair.scanCode] = pair.sdl;
  }
  return tables;
}

constexpr KeyTables kTables = BuildTables();

}  // namespace

int ScanCodeOfSdlKey(SDL_Scancode scancode) {
  if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return key::kNone;
  return kTables.scanCodeOfSdl[scancode];
}

SDL_Scancode SdlScancodeOfKey(int scanCode) {
  if (scanCode < 0 || scanCode >= kKeyCount) return SDL_SCANCODE_UNKNOWN;
  return kTables.sdlOfScanCode[static_cast<std::size_t>(scanCode)];
}
