#pragma once
// The keys that end the program from the frame and idle waits: Escape, and Alt+F4.
// They read the keyboard state the event pump keeps, so they see what was down at the
// last pump.

bool IsEscapeDown();
// Left Alt and F4 held together.
bool IsAltF4Down();
