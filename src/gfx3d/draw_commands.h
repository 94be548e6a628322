#pragma once
// The game's commands for drawing objects, sprites and text in the 3D scene and for the
// textures and cel ramp objects are drawn with. Every command does nothing before
// start-up.

#include "core/basic_string.h"
#include "core/runtime_array.h"

// Draws every object of the slot blended between frameA and frameB by blend;
// interpolate counts when not 0.
void DrawObject(double slot, double frameA, double frameB, double blend, double interpolate);
void DrawObjectFrame(double slot, double frame);
// The mipmap choice SetObjectTextures passes on (reset every frame).
void SetTextureMipmapping(double value);
// The textures the next objects are drawn with; a negative number means none.
void SetObjectTextures(double textureA, double textureB);
// The numbers, each taken as a byte, become the cel ramp (an empty array gives {255}).
void SetCelRamp(const NumberArray& ramp);
// A sprite standing in the scene facing the camera.
void DrawSprite3D(double sprite, double x, double y, double z, double scale);
// Text in the scene with the current font.
void DrawText3D(const BasicString& text, double x, double y, double z, double d);
