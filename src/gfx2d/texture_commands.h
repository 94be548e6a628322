#pragma once
// Game commands of the texture store: loading, sizing, saving and grabbing sprites.

#include <GL/gl.h>

#include "core/basic_string.h"

// Loads a BMP or PNG picture (resolved through the archive) into sprite slot 0 .. 65519;
// pixels in the transparent colour (0x8000FF unless changed) become transparent.
void LoadSprite(const BasicString& fileName, double slot);
// As LoadSprite with the sprite key 0x8000FF and the picture turned into a normal map.
double LoadBumpMap(const BasicString& fileName, double slot);
// Sets the colour key of sprites and fonts alike; -1 turns keying off.
void SetTransparentColour(double colour);
// The picture size of the sprite in slot (0, 0 for an empty slot).
void GetSpriteSize(double slot, double& width, double& height);
// Writes the sprite's picture as BMP, or as PNG when the name ends in ".PNG"; 1 when
// written, else 0.
double SaveSprite(double slot, const BasicString& fileName);
// Writes the last presented frame as a picture file, as SaveSprite does; 1 or 0.
double SaveScreen(const BasicString& fileName);
// Copies a rectangle of the screen (pixels, y down) into the sprite slot; 1.
double GrabSprite(double slot, double x, double y, double width, double height);
// The slot's GL texture name, for a game's own GL calls; the pending 2D batch is drawn
// first, so the game's calls land after everything drawn before them.
GLuint GetSpriteTextureName(int slot);
