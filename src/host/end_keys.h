#pragma once
// The keys that end the program from the frame and idle waits: Escape, and Alt+F4.
// They read the keyboard snapshot of the input manager, so they see what was down at the
// last RefreshKeyboard; without an input manager no key is down.

bool IsEscapeDown();
// Left Alt and F4 held together.
bool IsAltF4Down();
