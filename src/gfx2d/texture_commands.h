#pragma once
// Game commands of the texture store: loading, sizing, saving and grabbing sprites.

#include <GL/gl.h>

#include "core/basic_string.h"

void LoadSprite(const BasicString& fileName, double slot);
// As LoadSprite with the sprite key 0x8000FF and the picture turned into a normal map.
double LoadBumpMap(const BasicString& fileName, double slot);
// Sets the colour key of sprites and fonts alike; -1 turns keying off.
void SetTransparentColour(double colour);
void GetSpriteSize(double slot, double& width, double& height);
double SaveSprite(double slot, const BasicString& fileName);
double SaveScreen(const BasicString& fileName);
double GrabSprite(double slot, double x, double y, double width, double height);
GLuint GetSpriteTextureName(int slot);
