#pragma once
// Game commands of the bitmap fonts. Font numbers are truncated and clamped to 0 .. 15;
// the current font (initially 0) is the one the print commands use.

#include "core/basic_string.h"

// Makes the font current and loads the picture into it with the font colour key; a name
// that does not resolve or a picture that does not load gives the built-in 8 x 8 font.
void LoadFont(const BasicString& fileName, double font);
// Makes the font current (never loaded: text draws with an empty slot).
void SetFont(double font);
// The cell size of the current font (0, 0 for a font never loaded).
void GetFontSize(double& width, double& height);
// Prints with the current font, the top-left of the first cell at (x, y).
void PrintText(const BasicString& text, double x, double y);
// Prints the number as the runtime converts it to text.
void PrintNumber(double number, double x, double y);
