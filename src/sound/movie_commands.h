#pragma once
// The movie commands of the game language: a movie plays over the whole game window,
// scaled to fit and centred, and blocks the game until it ends or the player presses a
// key or a mouse button. The window keeps handling its events meanwhile (closing it
// ends the program).

#include <functional>

#include "core/basic_string.h"

class MoviePlayer;

// Plays the movie file (resolved through the archive) once. A name that does not
// resolve, a file that is not a movie or is damaged, or a movie of unknown or zero
// length ends the command at once.
void PlayMovie(const BasicString& fileName);
// The same, but the movie starts again from its beginning each time it ends, until a
// key or a mouse button.
void PlayMovieLooped(const BasicString& fileName);

// Both commands: returns how many times the movie started (0 when it never played).
// frameDrawn, when set, is called with every movie frame drawn, before it is shown.
int PlayMovieFile(const BasicString& fileName, bool looped,
                  const std::function<void(MoviePlayer&)>& frameDrawn = nullptr);
