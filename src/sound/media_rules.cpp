#include "sound/media_rules.h"

#include <algorithm>
#include <cmath>
#include <limits>

int MusicVolumeToLevel(double volume) {
  const double level = volume * kNormalMusicLevel;
  if (std::isnan(level)) return 0;
  if (level <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  if (level >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  return static_cast<int>(level);
}

int MusicLevelToMixerVolume(int level, int maxMixerVolume) {
  const int clamped = std::clamp(level, 0, kNormalMusicLevel);
  return (clamped * maxMixerVolume + kNormalMusicLevel / 2) / kNormalMusicLevel;
}

bool MusicHasEnded(bool playing, double position, double length) {
  if (!playing) return true;
  return length > 0 && position >= length;
}

MovieRectangle FitMovieRectangle(int sourceWidth, int sourceHeight, int windowWidth, int windowHeight) {
  MovieRectangle rectangle;
  if (sourceWidth <= 0 || sourceHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) return rectangle;
  const double scale = std::min(static_cast<double>(windowHeight) / sourceHeight,
                                static_cast<double>(windowWidth) / sourceWidth);
  // Truncation may leave the size a pixel short; it never grows past the window.
  rectangle.width = std::min(static_cast<int>(scale * sourceWidth), windowWidth);
  rectangle.height = std::min(static_cast<int>(scale * sourceHeight), windowHeight);
  rectangle.x = (windowWidth - rectangle.width) / 2;
  rectangle.y = (windowHeight - rectangle.height) / 2;
  return rectangle;
}
