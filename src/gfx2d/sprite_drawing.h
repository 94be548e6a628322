#pragma once
// Sprite commands: textured quads of a texture slot at screen positions (pixels, origin
// at the viewport's top left, y down; angles in degrees, counter-clockwise on screen).

// Draws the sprite at its picture size, x and y rounded up to whole pixels.
void DrawSprite(double slot, double x, double y);
// Stretched to width x height; negative sizes mirror the sprite, both negative turn it
// by 180 degrees.
void DrawSpriteStretched(double slot, double x, double y, double width, double height);
// Scaled about the sprite's centre by scaleX and scaleY.
void DrawSpriteZoomed(double slot, double x, double y, double scaleX, double scaleY);
// Turned about the centre of the sprite's rectangle at (x, y).
void DrawSpriteRotated(double slot, double x, double y, double angle);
// Turned and scaled about the centre of the sprite's rectangle at (x, y).
void DrawSpriteRotoZoom(double slot, double x, double y, double angle, double zoom);
// A sprite standing on its bottom edge at a 3D position, facing the camera.
void DrawSpriteBillboard(double slot, double x, double y, double z, double scale);
