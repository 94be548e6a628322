#pragma once
// Blending, pixels, lines, rectangles and reading pixels back.

// value < 0: alpha blending; value > 0: additive; 0: blending off (alpha 1). The
// current alpha becomes |value| (at most 1) and scales everything drawn afterwards.
void SetAlphaMode(double value);
// Sets one pixel; colours are red + green * 256 + blue * 65536.
void SetPixel(double x, double y, double colour);
// A line including both end pixels.
void DrawLine(double x1, double y1, double x2, double y2, double colour);
// A filled rectangle covering both corner pixels; the corners may come in any order.
void DrawRect(double x1, double y1, double x2, double y2, double colour);
// The colour of a pixel of the last presented frame, packed red + green*256 + blue*65536.
double GetPixel(double x, double y);
