#pragma once
// The rules of music and movie playback that need no player: the volume scale, when
// music has ended, and where a movie is drawn in the window.

// Music volumes are given on a scale of 0 to 1000, 1000 being the file's own level.
inline constexpr int kNormalMusicLevel = 1000;

// The command's volume (1 is normal) on the 0..1000 scale: volume x 1000, truncated.
// NaN gives 0; values outside the int range are clamped.
int MusicVolumeToLevel(double volume);
// The mixer's music volume (0..maxMixerVolume) for a level on the 0..1000 scale,
// rounded to the nearest step; below 0 is silence, above 1000 is the file's own level
// (the mixer cannot amplify).
int MusicLevelToMixerVolume(int level, int maxMixerVolume);

// Whether music has reached its end: it no longer plays, or its position is at or past
// its length. A length that is unknown (0 or less) never ends by position.
bool MusicHasEnded(bool playing, double position, double length);

// A rectangle in window pixels, origin top left.
struct MovieRectangle {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The rectangle a picture of sourceWidth x sourceHeight fills in a window of
// windowWidth x windowHeight: scaled by the smaller of the two size ratios (the size
// truncated), then centred with integer division. An empty source or window gives an
// empty rectangle at 0, 0.
MovieRectangle FitMovieRectangle(int sourceWidth, int sourceHeight, int windowWidth, int windowHeight);
