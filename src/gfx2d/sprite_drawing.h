#pragma once
// Sprite commands: textured quads of a texture slot at screen positions (pixels, origin
// at the viewport's top left, y down; angles in degrees, counter-clockwise on screen).

void DrawSprite(double slot, double x, double y);
// Negative sizes mirror the sprite; both negative turn it by 180 degrees.
void DrawSpriteStretched(double slot, double x, double y, double width, double height);
void DrawSpriteZoomed(double slot, double x, double y, double scaleX, double scaleY);
void DrawSpriteRotated(double slot, double x, double y, double angle);
void DrawSpriteRotoZoom(double slot, double x, double y, double angle, double zoom);
// A sprite standing on its bottom edge at a 3D position, facing the camera.
void DrawSpriteBillboard(double slot, double x, double y, double z, double scale);
