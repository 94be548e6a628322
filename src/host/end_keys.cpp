#include "host/end_keys.h"

#include "input/input_system.h"
#include "input/scan_codes.h"

bool IsEscapeDown() { return IsKeyDown(key::kEscapeAlternate) || IsKeyDown(key::kEscape); }

bool IsAltF4Down() { return IsKeyDown(key::kLeftAlt) && IsKeyDown(key::kF4); }
