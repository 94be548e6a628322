#include "path/astar_planner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <limits>
#include <memory>

#include "grid_search_support.h"

namespace {

SearchParameters ParametersFor(const Grid& grid, Cell start, Cell goal, float weight = 0.5f) {
  SearchParameters parameters;
  parameters.startX = start.first;
  parameters.startY = start.second;
  parameters.goalX = goal.first;
  parameters.goalY = goal.second;
  parameters.diagonalCost = 1;
  parameters.weight = weight;
  parameters.width = grid.width;
  parameters.height = grid.height;
  parameters.cells = grid.cells.data();
  return parameters;
}

// ---- Setup ----

TEST(PlannerSetup, RejectsStartOrGoalOutsideTheGridAndStartEqualToGoal) {
  const Grid grid = UniformGrid(4, 3);
  const Cell inside{1, 1};
  for (Cell outside : {Cell{-1, 0}, Cell{4, 0}, Cell{0, -1}, Cell{0, 3}}) {
    AStarPlanner planner;
    EXPECT_EQ(planner.Setup(ParametersFor(grid, outside, inside)), PlannerSetup::kRejected);
    EXPECT_EQ(planner.Setup(ParametersFor(grid, inside, outside)), PlannerSetup::kRejected);
    EXPECT_FALSE(planner.Prepared());
  }
  AStarPlanner planner;
  EXPECT_EQ(planner.Setup(ParametersFor(grid, inside, inside)), PlannerSetup::kRejected);
  EXPECT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {3, 2})), PlannerSetup::kReady);
  EXPECT_TRUE(planner.Prepared());
}

TEST(PlannerSetup, RejectsAGridWithoutAnOpenCell) {
  Grid grid = UniformGrid(3, 3, 0);
  grid.at(1, 1) = -5;
  grid.at(2, 2) = std::nan("");
  AStarPlanner planner;
  EXPECT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {2, 2})), PlannerSetup::kRejected);
  // Positive doubles too small for a float round to zero and count as blocked.
  std::fill(grid.cells.begin(), grid.cells.end(), 1e-60);
  EXPECT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {2, 2})), PlannerSetup::kRejected);
}

TEST(PlannerSetup, RejectsAnEmptyGridOrMissingCells) {
  AStarPlanner planner;
  Grid empty;
  EXPECT_EQ(planner.Setup(ParametersFor(empty, {0, 0}, {0, 0})), PlannerSetup::kRejected);
  SearchParameters parameters = ParametersFor(UniformGrid(2, 2), {0, 0}, {1, 1});
  parameters.cells = nullptr;
  EXPECT_EQ(planner.Setup(parameters), PlannerSetup::kRejected);
}

TEST(PlannerSetup, NormalisesCostsToTheMaximumPlusOne) {
  Grid grid = UniformGrid(3, 2);
  grid.cells = {4, 2, 1, 0, -3, 8};
  AStarPlanner planner;
  ASSERT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {2, 0})), PlannerSetup::kReady);
  EXPECT_FLOAT_EQ(planner.CellCost(0, 0), 1.5f);
  EXPECT_FLOAT_EQ(planner.CellCost(1, 0), 1.25f);
  EXPECT_FLOAT_EQ(planner.CellCost(2, 0), 1.125f);
  EXPECT_EQ(planner.CellCost(0, 1), Planner::kBlocked);
  EXPECT_EQ(planner.CellCost(1, 1), Planner::kBlocked);
  EXPECT_FLOAT_EQ(planner.CellCost(2, 1), 2.0f);
}

TEST(PlannerSetup, NanIsBlockedAndHugeOrInfiniteCostsStayFinite) {
  Grid grid = UniformGrid(4, 1);
  grid.cells = {1, std::nan(""), 1e300, std::numeric_limits<double>::infinity()};
  AStarPlanner planner;
  ASSERT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {3, 0})), PlannerSetup::kReady);
  EXPECT_EQ(planner.CellCost(1, 0), Planner::kBlocked);
  EXPECT_FLOAT_EQ(planner.CellCost(2, 0), 2.0f);
  EXPECT_FLOAT_EQ(planner.CellCost(3, 0), 2.0f);
  EXPECT_GE(planner.CellCost(0, 0), 1.0f);
  EXPECT_TRUE(std::isfinite(planner.CellCost(0, 0)));
}

TEST(PlannerSetup, ClampsTheWeightAndTreatsNanAsZero) {
  const Grid grid = UniformGrid(2, 2);
  const std::pair<float, float> cases[] = {
      {-1.0f, 0.0f}, {0.25f, 0.25f}, {7.0f, 1.0f}, {std::nanf(""), 0.0f}};
  for (const auto& [given, used] : cases) {
    AStarPlanner planner;
    ASSERT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {1, 1}, given)), PlannerSetup::kReady);
    EXPECT_EQ(planner.Parameters().weight, used) << given;
  }
}

TEST(PlannerSetup, RefusesAGridOfMoreCellsThanItCanCount) {
  // 2^32 cells: more than a 32-bit cell index reaches; nothing is read or allocated.
  Grid grid = UniformGrid(2, 2);
  SearchParameters parameters = ParametersFor(grid, {0, 0}, {1, 1});
  parameters.width = 65536;
  parameters.height = 65536;
  AStarPlanner planner;
  EXPECT_EQ(planner.Setup(parameters), PlannerSetup::kOutOfMemory);
  EXPECT_FALSE(planner.Prepared());
  planner.Reset();
  EXPECT_FALSE(planner.Search());
}

// ---- Search: paths, visiting order, diagonal steps and blocked cells ----

TEST(AStarSearch, StraightPathAlongARow) {
  const CellPath path = PlannerPath(UniformGrid(6, 6), {{0, 0}, {3, 0}, 0.5f});
  EXPECT_EQ(path, (CellPath{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
}

TEST(AStarSearch, AmongEqualPrioritiesTheFirstInsertedIsExpandedFirst) {
  // From (0, 0) the right neighbour (1, 0) is inserted before the lower one (0, 1), both with
  // the same f. Expanding (1, 0) first reaches (1, 1) through it; the reverse order would
  // reach it through (0, 1).
  EXPECT_EQ(PlannerPath(UniformGrid(4, 4), {{0, 0}, {1, 1}, 0.5f}),
            (CellPath{{0, 0}, {1, 0}, {1, 1}}));
  // Visiting order up, right, left, down: from (1, 1) to (0, 0) the up neighbour comes first.
  EXPECT_EQ(PlannerPath(UniformGrid(4, 4), {{1, 1}, {0, 0}, 0.5f}),
            (CellPath{{1, 1}, {1, 0}, {0, 0}}));
  EXPECT_EQ(PlannerPath(UniformGrid(4, 4), {{0, 1}, {1, 0}, 0.5f}),
            (CellPath{{0, 1}, {0, 0}, {1, 0}}));
  // Uniform-cost search fans out in insertion order too: on a 3 x 3 open grid from the
  // centre to a corner, up is visited before right, so the path goes up first.
  EXPECT_EQ(PlannerPath(UniformGrid(3, 3), {{1, 1}, {2, 0}, 0.0f}),
            (CellPath{{1, 1}, {1, 0}, {2, 0}}));
}

TEST(AStarSearch, NoDiagonalStepsUnlessAllowed) {
  EXPECT_EQ(PlannerPath(UniformGrid(5, 5), {{0, 0}, {1, 1}, 0.5f}).size(), 3u);
  SearchRequest request{{0, 0}, {1, 1}, 0.5f, true};
  EXPECT_EQ(PlannerPath(UniformGrid(5, 5), request), (CellPath{{0, 0}, {1, 1}}));
}

TEST(AStarSearch, DiagonalStepsCostTheFactorOnlyWhenAsked) {
  const Grid grid = UniformGrid(3, 3);  // every open cell costs 2
  for (bool diagonalCost : {true, false}) {
    SearchParameters parameters = ParametersFor(grid, {0, 0}, {1, 1}, 0.0f);
    parameters.diagonalsAllowed = 1;
    parameters.diagonalCost = diagonalCost;
    AStarPlanner planner;
    ASSERT_EQ(planner.Setup(parameters), PlannerSetup::kReady);
    planner.Reset();
    ASSERT_TRUE(planner.Search());
    EXPECT_EQ(planner.Result()->parent->x, 0);  // one diagonal step
    EXPECT_EQ(planner.Result()->g, diagonalCost ? 2 * kDiagonalFactor : 2.0f);
  }
  // Through the middle cell on two diagonal steps or round it on four orthogonal ones: with
  // the factor the diagonal route costs 4 x 1.414 = 5.66 against 8, without it 4 against 8.
  SearchRequest request{{0, 0}, {2, 2}, 0.0f, true, true};
  EXPECT_EQ(PlannerPath(grid, request), (CellPath{{0, 0}, {1, 1}, {2, 2}}));
}

TEST(AStarSearch, BlockedGoalOrWalledOffGoalIsNeverReached) {
  Grid grid = UniformGrid(5, 5);
  grid.at(4, 4) = 0;
  EXPECT_TRUE(PlannerPath(grid, {{0, 0}, {4, 4}, 0.5f}).empty());
  grid = UniformGrid(5, 5);
  for (int y = 0; y < 5; ++y) grid.at(2, y) = -1;
  EXPECT_TRUE(PlannerPath(grid, {{0, 0}, {4, 0}, 0.5f}).empty());
  EXPECT_TRUE(PlannerPath(grid, {{0, 0}, {4, 0}, 1.0f}).empty());
}

TEST(AStarSearch, ABlockedStartCellStillLeavesIt) {
  Grid grid = UniformGrid(3, 1);
  grid.at(0, 0) = 0;
  EXPECT_EQ(PlannerPath(grid, {{0, 0}, {2, 0}, 0.5f}), (CellPath{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(AStarSearch, CostsAreRelative) {
  const Grid grid = RandomGrid(3, 24, 24, 0.25, {1, 2, 3, 5, 8});
  Grid scaled = grid;
  for (double& cell : scaled.cells) cell *= 10;
  for (float weight : {0.0f, 0.5f, 1.0f}) {
    const SearchRequest request{{0, 0}, {23, 23}, weight};
    const CellPath path = PlannerPath(grid, request);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(PlannerPath(scaled, request), path) << weight;
  }
}

TEST(AStarSearch, PathGoesAroundAWall) {
  Grid grid = UniformGrid(5, 5);
  for (int y = 0; y < 4; ++y) grid.at(2, y) = 0;
  const CellPath path = PlannerPath(grid, {{0, 0}, {4, 0}, 0.5f});
  EXPECT_TRUE(IsConnectedOpenPath(grid, path, {0, 0}, {4, 0}, false));
  EXPECT_EQ(path.size(), 13u);  // down 4, across 4, up 4
}

// ---- Optimality against Dijkstra ----

// Weight 0 orders by the cost so far alone and 0.5 by cost plus the Manhattan distance, which
// never overestimates because every step costs at least 1: both find a least-cost path.
TEST(AStarSearch, FindsALeastCostPathWithWeightZeroAndAHalf) {
  int searched = 0, found = 0;
  for (std::uint32_t seed = 1; seed <= 60; ++seed) {
    std::mt19937 random(seed);
    const int width = 5 + static_cast<int>(random() % 40);
    const int height = 5 + static_cast<int>(random() % 40);
    const Grid grid = seed % 3 == 0 ? RandomGrid(seed, width, height, 0.3, {1, 2, 3})
                                    : RandomGrid(seed, width, height, 0.3, {0.5, 1, 7.25, 20, 100});
    const Cell start{static_cast<int>(random() % width), static_cast<int>(random() % height)};
    const Cell goal{static_cast<int>(random() % width), static_cast<int>(random() % height)};
    if (start == goal) continue;
    const double shortest = ShortestPathCost(grid, start, goal, false);
    for (float weight : {0.0f, 0.5f}) {
      ++searched;
      const CellPath path = PlannerPath(grid, {start, goal, weight});
      if (shortest < 0) {
        EXPECT_TRUE(path.empty()) << "seed " << seed;
        continue;
      }
      ++found;
      ASSERT_TRUE(IsConnectedOpenPath(grid, path, start, goal, false)) << "seed " << seed;
      EXPECT_NEAR(PathCost(grid, path), shortest, 1e-4 * shortest) << "seed " << seed << " weight " << weight;
    }
  }
  EXPECT_GT(found, searched / 2);  // the grids are mostly connected, so the check has teeth
}

TEST(AStarSearch, UniformCostSearchWithDiagonalsFindsALeastCostPath) {
  for (std::uint32_t seed = 100; seed < 130; ++seed) {
    const Grid grid = RandomGrid(seed, 30, 20, 0.35, {1, 2, 4, 9});
    const Cell start{0, 0}, goal{29, 19};
    const double shortest = ShortestPathCost(grid, start, goal, true);
    const CellPath path = PlannerPath(grid, {start, goal, 0.0f, true, true});
    if (shortest < 0) {
      EXPECT_TRUE(path.empty());
      continue;
    }
    ASSERT_TRUE(IsConnectedOpenPath(grid, path, start, goal, true)) << "seed " << seed;
    EXPECT_NEAR(PathCost(grid, path), shortest, 1e-4 * shortest) << "seed " << seed;
  }
}

// ---- The exact expansion order, against a plain transcription of the search ----

// The search written out as plainly as possible: the open list is a vector searched linearly,
// a neighbour's open node is found by scanning from the back, the closed set is a list. Any
// shortcut the planner takes (binary search, the cell index, the bucketed closed set, moving
// elements in place) must give the very same paths and reach the very same cells.
struct PlainResult {
  CellPath path;
  int nodesUsed = 0;
};

PlainResult PlainSearch(const Grid& grid, const SearchRequest& request) {
  struct PlainNode {
    PlainNode* parent;
    int x, y;
    float f, g;
  };
  std::vector<float> costs(grid.cells.size());
  float maximum = 0;
  for (std::size_t i = 0; i < costs.size(); ++i) {
    const double value = grid.cells[i];
    costs[i] = value > 0 ? static_cast<float>(value) : -1;
    if (!(costs[i] > 0)) costs[i] = -1;
    maximum = std::max(maximum, costs[i]);
  }
  for (float& cost : costs) {
    if (cost > 0) cost = cost / maximum + 1;
  }
  std::deque<PlainNode> nodes;
  std::vector<PlainNode*> open;  // front: highest f; back: lowest
  std::vector<PlainNode*> closed;
  auto insert = [&](PlainNode* node) {
    std::size_t position = 0;
    while (position < open.size() && open[position]->f > node->f) ++position;
    open.insert(open.begin() + position, node);
  };
  nodes.push_back({nullptr, request.start.first, request.start.second, 0, 0});
  open.push_back(&nodes.back());
  const int dxs[] = {-1, 0, 1, 1, -1, -1, 0, 1};
  const int dys[] = {-1, -1, -1, 0, 0, 1, 1, 1};
  while (!open.empty()) {
    PlainNode* current = open.back();
    open.pop_back();
    if (current->x == request.goal.first && current->y == request.goal.second) {
      PlainResult result;
      for (PlainNode* node = current; node; node = node->parent) result.path.emplace_back(node->x, node->y);
      std::reverse(result.path.begin(), result.path.end());
      result.nodesUsed = static_cast<int>(nodes.size());
      return result;
    }
    for (int k = 0; k < 8; ++k) {
      const bool diagonal = dxs[k] != 0 && dys[k] != 0;
      if (diagonal && !request.diagonalsAllowed) continue;
      const int x = current->x + dxs[k], y = current->y + dys[k];
      if (x < 0 || x >= grid.width || y < 0 || y >= grid.height) continue;
      const float cost = costs[x + y * grid.width];
      if (cost == -1) continue;
      const float g = current->g + (diagonal && request.diagonalCost ? cost * 1.4142137f : cost);
      const int h = std::abs(request.goal.first - x) + std::abs(request.goal.second - y);
      const float f = g + request.weight * (static_cast<float>(h) - g);
      auto inClosed = std::find_if(closed.begin(), closed.end(),
                                   [&](PlainNode* node) { return node->x == x && node->y == y; });
      if (inClosed != closed.end()) {
        PlainNode* node = *inClosed;
        if (g < node->g) {
          closed.erase(inClosed);
          *node = {current, x, y, f, g};
          insert(node);
        }
        continue;
      }
      int found = -1;
      for (int position = static_cast<int>(open.size()) - 1; position >= 0; --position) {
        if (open[position]->x == x && open[position]->y == y) {
          found = position;
          break;
        }
      }
      if (found >= 0) {
        PlainNode* node = open[found];
        if (g < node->g) {
          open.erase(open.begin() + found);
          *node = {current, x, y, f, g};
          insert(node);
        }
        continue;
      }
      nodes.push_back({current, x, y, f, g});
      insert(&nodes.back());
    }
    closed.push_back(current);
  }
  return PlainResult{{}, static_cast<int>(nodes.size())};
}

TEST(AStarSearch, ExpandsInExactlyThePlainOrderOnRandomGrids) {
  const float weights[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
  int compared = 0;
  for (std::uint32_t seed = 1; seed <= 80; ++seed) {
    std::mt19937 random(seed * 7919);
    const int width = 3 + static_cast<int>(random() % 30);
    const int height = 3 + static_cast<int>(random() % 30);
    const Grid grid = seed % 2 ? RandomGrid(seed, width, height, 0.25, {1})
                               : RandomGrid(seed, width, height, 0.3, {1, 2, 3});
    SearchRequest request;
    request.start = {static_cast<int>(random() % width), static_cast<int>(random() % height)};
    request.goal = {static_cast<int>(random() % width), static_cast<int>(random() % height)};
    if (request.start == request.goal) continue;
    request.weight = weights[seed % 5];
    request.diagonalsAllowed = seed % 4 == 1;
    request.diagonalCost = seed % 8 != 1;

    const PlainResult plain = PlainSearch(grid, request);
    SearchParameters parameters = ParametersFor(grid, request.start, request.goal, request.weight);
    parameters.diagonalsAllowed = request.diagonalsAllowed;
    parameters.diagonalCost = request.diagonalCost;
    AStarPlanner planner;
    ASSERT_EQ(planner.Setup(parameters), PlannerSetup::kReady);
    planner.Reset();
    const bool found = planner.Search();
    EXPECT_EQ(found, !plain.path.empty()) << "seed " << seed;
    EXPECT_EQ(planner.Nodes().HandedOut(), plain.nodesUsed) << "seed " << seed;
    EXPECT_EQ(PlannerPath(grid, request), plain.path) << "seed " << seed;
    ++compared;
  }
  EXPECT_GT(compared, 70);
}

// ---- Lifecycle ----

TEST(PlannerLifecycle, ClearGivesEveryNodeBackAndAResetSearchesAgain) {
  const Grid grid = RandomGrid(9, 20, 20, 0.2, {1, 2});
  AStarPlanner planner;
  ASSERT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {19, 19})), PlannerSetup::kReady);
  EXPECT_TRUE(planner.Done());
  planner.Reset();
  EXPECT_FALSE(planner.Done());
  const bool found = planner.Search();
  EXPECT_TRUE(planner.Done());
  const int used = planner.Nodes().HandedOut();
  CellPath first;
  for (const Node* node = planner.Result(); node; node = node->parent) first.emplace_back(node->x, node->y);
  EXPECT_EQ(found, !first.empty());

  planner.Clear();
  EXPECT_EQ(planner.Nodes().HandedOut(), 0);
  EXPECT_TRUE(planner.OpenList().Empty());
  EXPECT_EQ(planner.Result(), nullptr);

  planner.Reset();
  EXPECT_EQ(planner.Search(), found);
  EXPECT_EQ(planner.Nodes().HandedOut(), used);
  CellPath second;
  for (const Node* node = planner.Result(); node; node = node->parent) second.emplace_back(node->x, node->y);
  EXPECT_EQ(second, first);
}

TEST(PlannerLifecycle, ResetWithoutClearStartsAfresh) {
  const Grid grid = UniformGrid(8, 8);
  AStarPlanner planner;
  ASSERT_EQ(planner.Setup(ParametersFor(grid, {0, 0}, {7, 7})), PlannerSetup::kReady);
  planner.Reset();
  ASSERT_TRUE(planner.Search());
  const int used = planner.Nodes().HandedOut();
  planner.Reset();
  EXPECT_EQ(planner.OpenList().Size(), 1);
  ASSERT_TRUE(planner.Search());
  EXPECT_EQ(planner.Nodes().HandedOut(), used);
}

TEST(PlannerLifecycle, AnUnpreparedPlannerDoesNothing) {
  AStarPlanner planner;
  planner.Reset();
  EXPECT_FALSE(planner.Search());
  EXPECT_EQ(planner.Result(), nullptr);
  planner.Clear();
}

TEST(PlannerLifecycle, SmallPoolOrOpenListEndsTheSearchWithoutAPath) {
  const Grid grid = UniformGrid(30, 30);
  for (bool smallPool : {true, false}) {
    SearchParameters parameters = ParametersFor(grid, {0, 0}, {29, 29}, 0.0f);
    (smallPool ? parameters.nodePoolCapacity : parameters.openListCapacity) = 5;
    AStarPlanner planner;
    ASSERT_EQ(planner.Setup(parameters), PlannerSetup::kReady);
    planner.Reset();
    EXPECT_FALSE(planner.Search());
    EXPECT_TRUE(planner.Done());
    EXPECT_EQ(planner.Result(), nullptr);
    planner.Clear();
    EXPECT_EQ(planner.Nodes().HandedOut(), 0) << smallPool;
    // Enough room for a short search still works after the failed one.
    parameters.goalX = 1;
    parameters.goalY = 0;
    ASSERT_EQ(planner.Setup(parameters), PlannerSetup::kReady);
    planner.Reset();
    EXPECT_TRUE(planner.Search());
  }
}

}  // namespace
