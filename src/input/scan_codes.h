#pragma once
// Key numbers of the engine: the DirectInput scan-code numbering (the DIK_ values), which
// names the physical key, not the character the user's layout puts on it. Games, the
// frame loop and text entry all name keys by these numbers.
//
// SDL reports keys by its own positional scancodes (USB HID usage numbers); the table
// in scan_codes.cpp turns them into this numbering and back.

#include <SDL2/SDL_scancode.h>

#include <cstdint>

// Number of key numbers: a key state holds one entry for each of 0 .. 255.
inline constexpr int kKeyCount = 256;

// Key numbers the engine itself refers to. 0 is never a key.
namespace key {
inline constexpr int kNone = 0x00;
inline constexpr int kEscape = 0x01;
inline constexpr int k1 = 0x02;  // digits 1 .. 9 are 0x02 .. 0x0A, 0 is 0x0B
inline constexpr int k0 = 0x0B;
inline constexpr int kMinus = 0x0C;
inline constexpr int kEquals = 0x0D;
inline constexpr int kBackspace = 0x0E;
inline constexpr int kTab = 0x0F;
inline constexpr int kQ = 0x10;
inline constexpr int kW = 0x11;
inline constexpr int kE = 0x12;
inline constexpr int kR = 0x13;
inline constexpr int kT = 0x14;
inline constexpr int kY = 0x15;
inline constexpr int kU = 0x16;
inline constexpr int kI = 0x17;
inline constexpr int kO = 0x18;
inline constexpr int kP = 0x19;
inline constexpr int kLeftBracket = 0x1A;
inline constexpr int kRightBracket = 0x1B;
inline constexpr int kReturn = 0x1C;
inline constexpr int kLeftControl = 0x1D;
inline constexpr int kA = 0x1E;
inline constexpr int kS = 0x1F;
inline constexpr int kD = 0x20;
inline constexpr int kF = 0x21;
inline constexpr int kG = 0x22;
inline constexpr int kH = 0x23;
inline constexpr int kJ = 0x24;
inline constexpr int kK = 0x25;
inline constexpr int kL = 0x26;
inline constexpr int kSemicolon = 0x27;
inline constexpr int kApostrophe = 0x28;
inline constexpr int kGrave = 0x29;
inline constexpr int kLeftShift = 0x2A;
inline constexpr int kBackslash = 0x2B;
inline constexpr int kZ = 0x2C;
inline constexpr int kX = 0x2D;
inline constexpr int kC = 0x2E;
inline constexpr int kV = 0x2F;
inline constexpr int kB = 0x30;
inline constexpr int kN = 0x31;
inline constexpr int kM = 0x32;
inline constexpr int kComma = 0x33;
inline constexpr int kPeriod = 0x34;
inline constexpr int kSlash = 0x35;
inline constexpr int kRightShift = 0x36;
inline constexpr int kKeypadMultiply = 0x37;
inline constexpr int kLeftAlt = 0x38;
inline constexpr int kSpace = 0x39;
inline constexpr int kCapsLock = 0x3A;
inline constexpr int kF1 = 0x3B;  // F1 .. F10 are 0x3B .. 0x44
inline constexpr int kF4 = 0x3E;
inline constexpr int kF10 = 0x44;
inline constexpr int kNumLock = 0x45;
inline constexpr int kScrollLock = 0x46;
inline constexpr int kKeypad7 = 0x47;
inline constexpr int kKeypad8 = 0x48;
inline constexpr int kKeypad9 = 0x49;
inline constexpr int kKeypadMinus = 0x4A;
inline constexpr int kKeypad4 = 0x4B;
inline constexpr int kKeypad5 = 0x4C;
inline constexpr int kKeypad6 = 0x4D;
inline constexpr int kKeypadPlus = 0x4E;
inline constexpr int kKeypad1 = 0x4F;
inline constexpr int kKeypad2 = 0x50;
inline constexpr int kKeypad3 = 0x51;
inline constexpr int kKeypad0 = 0x52;
inline constexpr int kKeypadPeriod = 0x53;
inline constexpr int kLessGreater = 0x56;  // the extra key beside left Shift on 105-key boards
inline constexpr int kF11 = 0x57;
inline constexpr int kF12 = 0x58;
inline constexpr int kKeypadEnter = 0x9C;
inline constexpr int kRightControl = 0x9D;
inline constexpr int kKeypadDivide = 0xB5;
inline constexpr int kPrintScreen = 0xB7;
inline constexpr int kRightAlt = 0xB8;
inline constexpr int kPause = 0xC5;
inline constexpr int kHome = 0xC7;
inline constexpr int kUp = 0xC8;
inline constexpr int kPageUp = 0xC9;
inline constexpr int kLeft = 0xCB;
inline constexpr int kRight = 0xCD;
inline constexpr int kEnd = 0xCF;
inline constexpr int kDown = 0xD0;
inline constexpr int kPageDown = 0xD1;
inline constexpr int kInsert = 0xD2;
inline constexpr int kDelete = 0xD3;
inline constexpr int kLeftWindows = 0xDB;
inline constexpr int kRightWindows = 0xDC;
inline constexpr int kMenu = 0xDD;
// A second Escape code the frame loop also honours.
inline constexpr int kEscapeAlternate = 0x81;
}  // namespace key

// The engine's key number for an SDL scancode; key::kNone for keys without one.
int ScanCodeOfSdlKey(SDL_Scancode scancode);
// The SDL scancode of an engine key number; SDL_SCANCODE_UNKNOWN for numbers that name no
// key (and for numbers outside 0 .. 255).
SDL_Scancode SdlScancodeOfKey(int scanCode);
