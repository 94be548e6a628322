// The playback rules that need no player: volume scale, music end, movie rectangle.

#include <gtest/gtest.h>

#include <cmath>

#include "sound/media_rules.h"

namespace {

TEST(MediaRules, VolumesAreTakenTimesAThousandTruncatedAndMappedOntoTheMixersSteps) {
  struct Case {
    double volume;
    int level;
    int mixer;
  };
  for (const Case& c : {Case{1, 1000, 128}, Case{0.5, 500, 64}, Case{0.25, 250, 32}, Case{0.0019, 1, 0},
                        Case{0, 0, 0}, Case{-0.5, -500, 0}, Case{2, 2000, 128}, Case{NAN, 0, 0}}) {
    EXPECT_EQ(MusicVolumeToLevel(c.volume), c.level) << c.volume;
    EXPECT_EQ(MusicLevelToMixerVolume(MusicVolumeToLevel(c.volume), 128), c.mixer) << c.volume;
  }
  EXPECT_EQ(MusicVolumeToLevel(1e300), 2147483647);
}

TEST(MediaRules, MusicEndsWhenItStopsOrItsPositionReachesAKnownLength) {
  EXPECT_TRUE(MusicHasEnded(false, 0, 10));
  EXPECT_TRUE(MusicHasEnded(true, 10, 10));
  EXPECT_TRUE(MusicHasEnded(true, 10.5, 10));
  EXPECT_FALSE(MusicHasEnded(true, 9.99, 10));
  EXPECT_FALSE(MusicHasEnded(true, 1000, 0));  // a length the format cannot tell
}

TEST(MediaRules, MoviesFitTheWindowKeepingTheirShapeAndAreCentred) {
  struct Case {
    int sourceWidth, sourceHeight, windowWidth, windowHeight;
    MovieRectangle expected;
  };
  for (const Case& c : {
           Case{320, 200, 640, 480, {0, 40, 640, 400}},
           Case{640, 480, 640, 480, {0, 0, 640, 480}},
           Case{100, 100, 640, 480, {80, 0, 480, 480}},
           Case{1920, 1080, 640, 480, {0, 60, 640, 360}},
           Case{3, 1, 10, 10, {0, 3, 10, 3}},    // 3.33 high, truncated to 3
           Case{7, 3, 800, 600, {0, 129, 800, 342}},  // (600 - 342) / 2
           Case{0, 200, 640, 480, {0, 0, 0, 0}},
           Case{320, 200, 0, 480, {0, 0, 0, 0}},
       }) {
    const MovieRectangle r = FitMovieRectangle(c.sourceWidth, c.sourceHeight, c.windowWidth, c.windowHeight);
    EXPECT_EQ(r.x, c.expected.x) << c.sourceWidth << "x" << c.sourceHeight;
    EXPECT_EQ(r.y, c.expected.y) << c.sourceWidth << "x" << c.sourceHeight;
    EXPECT_EQ(r.width, c.expected.width) << c.sourceWidth << "x" << c.sourceHeight;
    EXPECT_EQ(r.height, c.expected.height) << c.sourceWidth << "x" << c.sourceHeight;
  }
}

}  // namespace
