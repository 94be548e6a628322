// Path Finder: FindPath on a cost grid, searched again and drawn every frame.
//
// The map is a grid of terrain tiles, each with the cost of walking onto it: grass 1,
// sand 3, swamp 8; walls (cost 0) block. The left mouse button places the start flag,
// the right one the goal flag; holding 1, 2, 3 or 4 paints grass, sand, swamp or wall
// under the mouse; W switches between the cheapest path (weight 0.5) and the greedy
// search (weight 1). Escape ends the program.
//
// "--frames N" moves the goal round a fixed tour by itself for N frames, prints "Frames
// done" and then waits for a click (or Escape): the smoke test and the screenshot script
// use it.

#include <algorithm>
#include <cstdlib>

#include "../common/example_options.h"
#include "engine.h"

namespace {

constexpr int kColumns = 20;
constexpr int kRows = 14;
constexpr int kTileSize = 32;

enum Terrain { kGrass, kSand, kSwamp, kWall, kTerrainCount };
constexpr double kTerrainCost[kTerrainCount] = {1, 3, 8, 0};
constexpr const char* kTerrainName[kTerrainCount] = {"grass", "sand", "swamp", "wall"};
// Sprite slots: one per terrain, then the markers.
constexpr int kStartSlot = kTerrainCount;
constexpr int kGoalSlot = kTerrainCount + 1;
constexpr int kStepSlot = kTerrainCount + 2;

constexpr int kYellow = 255 + 220 * 256 + 40 * 65536;

class PathFinder {
 public:
  explicit PathFinder(int autopilotFrames) : autopilotFrames_(autopilotFrames) {}

  int Run() {
    SelectArchive("pathfinder", "");
    for (int terrain = 0; terrain < kTerrainCount; ++terrain) {
      LoadSprite(BasicString(kTerrainName[terrain]) + ".bmp", terrain);
    }
    LoadSprite("start.bmp", kStartSlot);
    LoadSprite("goal.bmp", kGoalSlot);
    LoadSprite("step.bmp", kStepSlot);
    SelectArchive("", "");
    SetMouseFree(1);  // the system cursor shows and the game follows it
    BuildMap();

    for (int frame = 0; autopilotFrames_ == 0 || frame < autopilotFrames_; ++frame) {
      if (autopilotFrames_ > 0) {
        Tour(frame);
      } else {
        HandleInput();
      }
      const int steps = static_cast<int>(FindPath(costs_, path_, weight_, startX_, startY_, goalX_, goalY_));
      Draw(steps);
      PresentFrame();
    }
    example::FinishAutopilot();
    return 0;
  }

 private:
  // A fixed map: a river of swamp, sandy banks and two walls with gaps.
  void BuildMap() {
    DimArray(costs_, kColumns, kRows);
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kColumns; ++x) {
        const int river = 9 + static_cast<int>(3 * SinDeg(y * 40.0));
        Terrain terrain = kGrass;
        if (std::abs(x - river) <= 1) terrain = kSwamp;
        else if (std::abs(x - river) == 2) terrain = kSand;
        if (x == 5 && y != 2 && y != 11) terrain = kWall;
        if (y == 6 && x > 12 && x != 16) terrain = kWall;
        SetTerrain(x, y, terrain);
      }
    }
  }

  void SetTerrain(int x, int y, Terrain terrain) {
    terrain_[y][x] = terrain;
    ArrayElement(costs_, x, y) = kTerrainCost[terrain];
  }

  void HandleInput() {
    double mouseX = 0, mouseY = 0, left = 0, right = 0;
    GetMouseState(mouseX, mouseY, left, right);
    const int cellX = static_cast<int>(mouseX) / kTileSize;
    const int cellY = static_cast<int>(mouseY) / kTileSize;
    if (cellX < 0 || cellX >= kColumns || cellY < 0 || cellY >= kRows) return;
    if (left) startX_ = cellX, startY_ = cellY;
    if (right) goalX_ = cellX, goalY_ = cellY;
    const int paintKeys[kTerrainCount] = {key::k1, key::k1 + 1, key::k1 + 2, key::k1 + 3};
    for (int terrain = 0; terrain < kTerrainCount; ++terrain) {
      if (GetKeyDown(paintKeys[terrain])) SetTerrain(cellX, cellY, static_cast<Terrain>(terrain));
    }
    // W switches on the press, not for as long as it is held.
    const bool weightKey = GetKeyDown(key::kW) != 0;
    if (weightKey && !weightKeyWasDown_) weight_ = weight_ == 0.5 ? 1.0 : 0.5;
    weightKeyWasDown_ = weightKey;
  }

  // The goal visits the corners of the map in turn, a new cell every 20 frames.
  void Tour(int frame) {
    static constexpr int kTour[][2] = {{17, 12}, {18, 2}, {10, 1}, {2, 12}, {15, 9}, {8, 7}};
    const int stop = (frame / 20) % static_cast<int>(std::size(kTour));
    goalX_ = kTour[stop][0];
    goalY_ = kTour[stop][1];
    weight_ = (frame / 120) % 2 == 0 ? 0.5 : 1.0;
  }

  void Draw(int steps) {
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kColumns; ++x) DrawSprite(terrain_[y][x], x * kTileSize, y * kTileSize);
    }
    // The path: a line through the cell centres with a marker on every cell. Row i of
    // the result holds the i-th cell, the start first.
    double cost = 0;
    for (int i = 0; i < steps; ++i) {
      const double x = ArrayElement(path_, i, 0);
      const double y = ArrayElement(path_, i, 1);
      if (i > 0) {
        const double fromX = ArrayElement(path_, i - 1, 0);
        const double fromY = ArrayElement(path_, i - 1, 1);
        DrawLine(fromX * kTileSize + 16, fromY * kTileSize + 16, x * kTileSize + 16, y * kTileSize + 16, kYellow);
        cost += ArrayElement(costs_, static_cast<int>(x), static_cast<int>(y));
      }
      DrawSprite(kStepSlot, x * kTileSize + 8, y * kTileSize + 8);
    }
    DrawSprite(kStartSlot, startX_ * kTileSize, startY_ * kTileSize);
    DrawSprite(kGoalSlot, goalX_ * kTileSize, goalY_ * kTileSize);

    DrawRect(0, kRows * kTileSize, kColumns * kTileSize - 1, kRows * kTileSize + 31, 0);
    const BasicString search = weight_ == 0.5 ? "cheapest" : "greedy";
    if (steps > 0) {
      PrintText(BasicString("Path: ") + steps + " cells, cost " + cost + " (" + search + ")", 8, kRows * kTileSize + 4);
    } else {
      PrintText(BasicString("No path (") + search + ")", 8, kRows * kTileSize + 4);
    }
    PrintText("Left: start  Right: goal  1-4: paint  W: search", 8, kRows * kTileSize + 18);
  }

  int autopilotFrames_;
  NumberArray costs_;
  NumberArray path_;
  int terrain_[kRows][kColumns] = {};
  int startX_ = 1, startY_ = 1;
  int goalX_ = 17, goalY_ = 12;
  double weight_ = 0.5;
  bool weightKeyWasDown_ = false;
};

}  // namespace

ProjectSettings GameProjectSettings() {
  ProjectSettings settings;
  settings.screenWidth = kColumns * kTileSize;
  settings.screenHeight = kRows * kTileSize + 32;
  settings.frameRate = 60;
  settings.useDirectInputMouse = 0;
  settings.title = "Path Finder";
  return settings;
}

int GameMain() { return PathFinder(example::AutopilotFrames(example::CommandLineWords())).Run(); }
