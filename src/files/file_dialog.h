#pragma once
// The system's open and save dialogs for the game.

#include "core/basic_string.h"

// Shows the desktop's file chooser: an open dialog when forOpening is not 0, else a save
// dialog, starting in the current directory, with the filter's "|"-separated pairs of
// description and patterns as its filter list. The game window leaves fullscreen and is
// hidden meanwhile; afterwards the current directory is what it was before and the
// display is restored (fullscreen again when the game runs fullscreen). Returns the
// chosen path with "/" separators, or "NO_FILE" when nothing was chosen or no chooser
// is installed.
BasicString FileDialog(double forOpening, const BasicString& filter);
