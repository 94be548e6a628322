#pragma once
// The 16 font slots: font n lives in texture slot 65520 + n, loaded from a picture with
// the font colour key and nearest filtering, or generated as the built-in font when the
// picture cannot be had.

#include "gfx2d/font_grid.h"

class OpenGLDiveduva;

inline constexpr int kFontCount = 16;

// Truncates a font number toward zero and clamps it to 0 .. 15.
int ClampFontNumber(double number);
// The texture slot of font 0 .. 15.
int FontSlot(int font);

// Generates the built-in font into the font's slot (128 x 64, nearest filtering).
void UploadBuiltinFont(OpenGLDiveduva& renderer, int font);
// Resolves fileName through the archive lookup and loads the picture into the font's
// slot; when the name does not resolve or the picture does not load, the built-in font
// takes its place. Returns true when the picture itself was loaded.
bool LoadFontSlot(OpenGLDiveduva& renderer, int font, const char* fileName);

// The cell grid of the font as its slot holds it now (cells of size 0 when empty).
FontGrid FontGridOfSlot(const OpenGLDiveduva& renderer, int font);
