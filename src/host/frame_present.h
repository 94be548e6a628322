#pragma once
// The end of every frame and the bounded wait of the waiting commands. The engine has no
// frame loop of its own: the game draws, then calls PresentFrame.

class OpenGLDiveduva;

// Shows the frame and prepares the next one: frame clock, pause while the window is
// inactive, the end-of-program keys (Escape when escapeEndsProgram is set, Alt+F4
// always), buffer swap with pacing to the frame grid, then the drawing state of a fresh
// frame (blending off, alpha and colour opaque white, 2D viewport on the whole surface).
void PresentFrame();

// Swaps the buffers, clears colour and depth, then busy-waits with the event pump
// running until the next frame slot. Returns the milliseconds spent waiting plus 1.
double SwapAndPace(OpenGLDiveduva& renderer);

// Resets what a frame may have changed: blending off, current alpha 1, colour opaque
// white, the 2D viewport on the whole surface.
void ResetFrameDrawingState(OpenGLDiveduva& renderer);

// One bounded wait for user activity, used by the commands that wait for input: up to 8
// passes of event pump, end-of-program key check and a 5 ms sleep. True when activity
// ended it before its last pass.
bool IdleWait();
