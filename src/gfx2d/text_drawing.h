#pragma once
// Text from the bitmap fonts: one textured quad per character, each advancing by the
// cell width, drawn with the current colour (so the alpha mode fades or brightens it)
// and the alpha test dropping the font's transparent pixels. Text ends at its first zero
// byte; every other byte, control characters included, draws its cell.

// Draws text with font 0 .. 15 in 2D coordinates: the top-left of the first cell at
// (x, y) rounded up to whole pixels, at depth z. Nothing is drawn for other font numbers
// or without a GL context.
void DrawText(int font, const char* text, double x, double y, double z);

// Text in a 3D scene, from the current model-view and projection matrices. With a scale
// other than 0 the text stands in the scene facing the camera: square cells of
// scale x cell width scene units, centred on (x, y, z) along the camera's right
// direction, the point at their bottom edge. With scale 0 the point is projected to the
// screen and the text is drawn in screen pixels, centred on it horizontally and standing
// on it. Face culling is off during the call.
void DrawTextInScene(int font, const char* text, double x, double y, double z, double scale);
