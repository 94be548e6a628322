#pragma once
// The background picture repainted under every frame, and the 2D viewport.

#include "core/basic_string.h"

// Loads the picture into background set 0 and draws it once; on failure the background
// and the colour buffer are cleared.
void LoadBackground(const BasicString& fileName);
// Fades the new picture in over 1.5 seconds; false when it cannot be loaded.
double FadeInBackground(const BasicString& fileName);
// Removes the background picture and clears the screen.
void ClearBackground();
// Captures the screen as the background picture.
void GrabBackground();
// A width or height that is not positive selects the whole screen.
void SetViewport(double x, double y, double width, double height);
// The size of the drawing surface in pixels.
void GetScreenSize(double& width, double& height);
