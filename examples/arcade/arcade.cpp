// Rock Runner: a small vertical shooter that shows the 2D side of the engine.
//
// A starfield scrolls under the ship; rocks tumble down (rotated sprites), saucers sweep
// across (a four-frame animation); shots and crashes are tested pixel by pixel; each
// sound is panned to where it happens; the score is printed with a bitmap font; the best
// five scores live in a settings file next to the game. Arrow keys or a joystick steer,
// Space or the first joystick button fires, Escape ends the game.
//
// "--frames N" lets the ship fly itself for N frames, prints "Frames done" and then
// waits for a click (or Escape): the smoke test and the screenshot script use it.

#include <algorithm>
#include <array>
#include <string>

#include "../common/example_options.h"
#include "engine.h"

namespace {

// Sprite slots of the pictures; the archive appended to the executable holds them.
constexpr int kSpaceSlot = 1;
constexpr int kShipSlot = 2;
constexpr int kRockSlot = 3;
constexpr int kShotSlot = 4;
constexpr int kSaucerSlot = 10;  // 10 .. 13, one per animation frame
constexpr int kBlastSlot = 20;   // 20 .. 23
constexpr int kScoreFont = 1;
constexpr int kLaserSound = 0;
constexpr int kBoomSound = 1;
constexpr int kCrashSound = 2;

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int kTileSize = 128;
constexpr int kHighScoreCount = 5;
constexpr const char* kScoreFile = "arcade_scores.ini";

struct Rock {
  bool alive = false;
  double x = 0, y = 0, speedX = 0, speedY = 0, angle = 0, spin = 0;
};
struct Shot {
  bool alive = false;
  double x = 0, y = 0;
};
struct Blast {
  int age = -1;  // frames since it started; -1: none
  double x = 0, y = 0;
};
struct Saucer {
  bool alive = false;
  double x = 0, y = 0, speedX = 0;
};

struct HighScore {
  std::string name;
  int score = 0;
};

double Pan(double x) { return std::clamp((x - kScreenWidth / 2.0) / (kScreenWidth / 2.0), -1.0, 1.0); }

class Game {
 public:
  explicit Game(int autopilotFrames) : autopilotFrames_(autopilotFrames) {}

  int Run() {
    LoadAssets();
    LoadHighScores();
    NewGame();
    for (frame_ = 0; autopilotFrames_ == 0 || frame_ < autopilotFrames_; ++frame_) {
      if (lives_ > 0) {
        Update();
      } else if (!scoreRecorded_) {
        RecordScore();
      } else if (autopilotFrames_ == 0 && (GetKeyDown(key::kSpace) || AnyMouseButton())) {
        NewGame();
      }
      Draw();
      PresentFrame();
    }
    example::FinishAutopilot();
    return 0;
  }

 private:
  void LoadAssets() {
    // Everything comes out of the archive appended to this executable.
    SelectArchive("arcade", "");
    LoadSprite("space.bmp", kSpaceSlot);
    LoadSprite("ship.bmp", kShipSlot);
    LoadSprite("rock.bmp", kRockSlot);
    LoadSprite("shot.bmp", kShotSlot);
    for (int frame = 0; frame < 4; ++frame) {
      LoadSprite(BasicString("saucer") + frame + ".bmp", kSaucerSlot + frame);
      LoadSprite(BasicString("blast") + frame + ".bmp", kBlastSlot + frame);
    }
    LoadSoundSlot("laser.wav", kLaserSound, 4);
    LoadSoundSlot("boom.wav", kBoomSound, 4);
    LoadSoundSlot("crash.wav", kCrashSound, 1);
    LoadFont("score_font.bmp", kScoreFont);
    SelectArchive("", "");
  }

  void LoadHighScores() {
    // A missing file or key reads as "NO_DATA"; the table then starts with zeros.
    OpenSettingsFile(kScoreFile);
    for (int rank = 0; rank < kHighScoreCount; ++rank) {
      const BasicString name = GetSetting("HighScores", BasicString("Name") + (rank + 1));
      const BasicString score = GetSetting("HighScores", BasicString("Score") + (rank + 1));
      highScores_[rank].name = name == "NO_DATA" ? "NOBODY" : name.TextPointer();
      highScores_[rank].score = score == "NO_DATA" ? 0 : static_cast<int>(ToNumber(score));
    }
  }

  void SaveHighScores() {
    for (int rank = 0; rank < kHighScoreCount; ++rank) {
      PutSetting("HighScores", BasicString("Name") + (rank + 1), highScores_[rank].name.c_str());
      PutSetting("HighScores", BasicString("Score") + (rank + 1), BasicString(highScores_[rank].score));
    }
    // Opening the file again writes the changes back (the engine also does at the end).
    OpenSettingsFile(kScoreFile);
  }

  void NewGame() {
    score_ = 0;
    lives_ = 3;
    shipX_ = kScreenWidth / 2 - 16;
    shipY_ = kScreenHeight - 60;
    safeFrames_ = 90;
    scoreRecorded_ = false;
    rocks_ = {};
    shots_ = {};
    blasts_ = {};
    saucer_ = {};
  }

  void Steer(double& moveX, double& moveY, bool& fire) {
    if (autopilotFrames_ > 0) {
      // Fly under the lowest rock and keep firing.
      const Rock* target = nullptr;
      for (const Rock& rock : rocks_) {
        if (rock.alive && (target == nullptr || rock.y > target->y)) target = &rock;
      }
      if (target != nullptr) moveX = std::clamp((target->x + 8 - shipX_) / 20, -1.0, 1.0);
      fire = true;
      return;
    }
    moveX = GetKeyDown(key::kRight) - GetKeyDown(key::kLeft) + GetJoystickX(0);
    moveY = GetKeyDown(key::kDown) - GetKeyDown(key::kUp) + GetJoystickY(0);
    fire = GetKeyDown(key::kSpace) || GetJoystickButton(0, 0);
  }

  void Update() {
    double moveX = 0, moveY = 0;
    bool fire = false;
    Steer(moveX, moveY, fire);
    shipX_ = std::clamp(shipX_ + 5 * std::clamp(moveX, -1.0, 1.0), 0.0, kScreenWidth - 32.0);
    shipY_ = std::clamp(shipY_ + 4 * std::clamp(moveY, -1.0, 1.0), kScreenHeight / 2.0, kScreenHeight - 32.0);
    if (safeFrames_ > 0) --safeFrames_;

    if (fire && reload_ == 0) FireShot();
    if (reload_ > 0) --reload_;
    MoveShots();
    MoveRocks();
    MoveSaucer();
    for (Blast& blast : blasts_) {
      if (blast.age >= 0 && ++blast.age >= 16) blast.age = -1;
    }
    scroll_ = (scroll_ + 2) % kTileSize;
  }

  void FireShot() {
    for (Shot& shot : shots_) {
      if (shot.alive) continue;
      shot = {true, shipX_ + 14, shipY_ - 10};
      StartSound(kLaserSound, Pan(shot.x), 0.6);
      reload_ = 8;
      return;
    }
  }

  void MoveShots() {
    for (Shot& shot : shots_) {
      if (!shot.alive) continue;
      shot.y -= 9;
      if (shot.y < -12) shot.alive = false;
      for (Rock& rock : rocks_) {
        // Pixel-exact: the shot must touch the rock's opaque pixels, not just its box.
        if (shot.alive && rock.alive && SpriteCollision(kShotSlot, shot.x, shot.y, kRockSlot, rock.x, rock.y)) {
          shot.alive = rock.alive = false;
          Explode(rock.x, rock.y, kBoomSound);
          score_ += 10;
        }
      }
      if (shot.alive && saucer_.alive &&
          SpriteCollision(kShotSlot, shot.x, shot.y, kSaucerSlot + SaucerFrame(), saucer_.x, saucer_.y)) {
        shot.alive = saucer_.alive = false;
        Explode(saucer_.x - 4, saucer_.y - 12, kBoomSound);
        score_ += 50;
      }
    }
  }

  void MoveRocks() {
    if (frame_ % 25 == 0) {
      for (Rock& rock : rocks_) {
        if (rock.alive) continue;
        rock = {true, RandomInt(kScreenWidth - 48), -48, (RandomInt(20) - 10) / 10.0, 1.5 + RandomInt(20) / 10.0,
                RandomInt(359), RandomInt(8) - 4.0};
        break;
      }
    }
    for (Rock& rock : rocks_) {
      if (!rock.alive) continue;
      rock.x += rock.speedX;
      rock.y += rock.speedY;
      rock.angle += rock.spin;
      if (rock.y > kScreenHeight || rock.x < -48 || rock.x > kScreenWidth) rock.alive = false;
      if (rock.alive && safeFrames_ == 0 && SpriteCollision(kShipSlot, shipX_, shipY_, kRockSlot, rock.x, rock.y)) {
        rock.alive = false;
        Explode(shipX_ - 8, shipY_ - 8, kCrashSound);
        --lives_;
        safeFrames_ = 90;
      }
    }
  }

  void MoveSaucer() {
    if (!saucer_.alive && frame_ % 300 == 150) {
      const bool fromLeft = RandomInt(1) == 0;
      saucer_ = {true, fromLeft ? -40.0 : kScreenWidth, 40, fromLeft ? 3.0 : -3.0};
    }
    if (!saucer_.alive) return;
    saucer_.x += saucer_.speedX;
    saucer_.y = 40 + 25 * SinDeg(saucer_.x * 2);
    if (saucer_.x < -40 || saucer_.x > kScreenWidth) saucer_.alive = false;
  }

  int SaucerFrame() const { return (frame_ / 6) % 4; }

  void Explode(double x, double y, int sound) {
    StartSound(sound, Pan(x + 24), 1.0);
    for (Blast& blast : blasts_) {
      if (blast.age < 0) {
        blast = {0, x, y};
        return;
      }
    }
  }

  void RecordScore() {
    scoreRecorded_ = true;
    int rank = kHighScoreCount;
    while (rank > 0 && score_ > highScores_[rank - 1].score) --rank;
    if (rank == kHighScoreCount) return;
    BasicString name = "AUTO";
    if (autopilotFrames_ == 0) {
      Draw();
      PrintText("NEW HIGH SCORE! YOUR NAME:", 100, 300);
      // Line input over the frozen screen; Return ends it.
      name = "";
      InputText(name, 100, 330);
      if (name.IsEmpty()) name = "ANONYMOUS";
    }
    for (int later = kHighScoreCount - 1; later > rank; --later) highScores_[later] = highScores_[later - 1];
    highScores_[rank] = {name.TextPointer(), score_};
    SaveHighScores();
  }

  void Draw() {
    // The background scrolls by drawing its tile over the screen, shifted down each frame.
    for (int y = -kTileSize; y < kScreenHeight; y += kTileSize) {
      for (int x = 0; x < kScreenWidth; x += kTileSize) DrawSprite(kSpaceSlot, x, y + scroll_);
    }
    for (const Rock& rock : rocks_) {
      if (rock.alive) DrawSpriteRotated(kRockSlot, rock.x, rock.y, rock.angle);
    }
    if (saucer_.alive) DrawSprite(kSaucerSlot + SaucerFrame(), saucer_.x, saucer_.y);
    for (const Shot& shot : shots_) {
      if (shot.alive) DrawSprite(kShotSlot, shot.x, shot.y);
    }
    // The ship blinks while it is safe after a crash.
    if (lives_ > 0 && (safeFrames_ / 5) % 2 == 0) DrawSprite(kShipSlot, shipX_, shipY_);
    SetAlphaMode(0.9);  // additive: the fire lights up what is under it
    for (const Blast& blast : blasts_) {
      if (blast.age >= 0) DrawSpriteZoomed(kBlastSlot + blast.age / 4, blast.x, blast.y, 1.5, 1.5);
    }
    SetAlphaMode(0);

    SetFont(kScoreFont);
    PrintText(BasicString("SCORE ") + score_, 10, 8);
    PrintText(BasicString("LIVES ") + lives_, kScreenWidth - 130, 8);
    if (lives_ <= 0) DrawHighScores();
  }

  void DrawHighScores() {
    PrintText("GAME OVER", 248, 120);
    PrintText("BEST ROCK RUNNERS", 184, 170);
    for (int rank = 0; rank < kHighScoreCount; ++rank) {
      const double y = 200 + rank * 22;
      PrintNumber(rank + 1, 170, y);
      PrintText(highScores_[rank].name.c_str(), 210, y);
      PrintNumber(highScores_[rank].score, 420, y);
    }
    if (autopilotFrames_ == 0) PrintText("SPACE OR CLICK: PLAY AGAIN", 112, 360);
  }

  int autopilotFrames_;
  int frame_ = 0;
  int score_ = 0;
  int lives_ = 0;
  int safeFrames_ = 0;
  int reload_ = 0;
  int scroll_ = 0;
  bool scoreRecorded_ = false;
  double shipX_ = 0, shipY_ = 0;
  std::array<Rock, 12> rocks_;
  std::array<Shot, 8> shots_;
  std::array<Blast, 8> blasts_;
  Saucer saucer_;
  std::array<HighScore, kHighScoreCount> highScores_;
};

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.screenWidth = kScreenWidth;
  settings.screenHeight = kScreenHeight;
  settings.frameRate = 60;
  settings.title = "Rock Runner";
  return settings;
}

int GameMain() { return Game(example::AutopilotFrames(example::CommandLineWords())).Run(); }
