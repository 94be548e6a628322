#include "path/find_path.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "base/engine_state.h"

#include "grid_search_support.h"

namespace {

NumberArray MapOf(const Grid& grid) {
  NumberArray map;
  DimArray(map, grid.width, grid.height);
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) ArrayElement(map, x, y) = grid.at(x, y);
  }
  return map;
}

CellPath Rows(const NumberArray& result) {
  CellPath rows;
  for (int row = 0; row < result.dim0; ++row) {
    rows.emplace_back(static_cast<int>(ArrayElement(result, row, 0)),
                      static_cast<int>(ArrayElement(result, row, 1)));
  }
  return rows;
}

// A result array that already holds an earlier path, so that emptying it shows.
NumberArray StaleResult() {
  NumberArray result;
  DimArray(result, 3, 2);
  ArrayElement(result, 2, 1) = 42;
  return result;
}

void ExpectEmptied(const NumberArray& result) {
  EXPECT_EQ(GetArrayBound(result, 0), 0);
  EXPECT_EQ(GetArrayBound(result, 1), 0);
  EXPECT_EQ(result.dimensionCount, 0);
}

TEST(FindPath, StraightPathHasFourRowsFromStartToGoal) {
  const NumberArray map = MapOf(UniformGrid(8, 8, 3));
  NumberArray result;
  EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 3, 0), 4);
  EXPECT_EQ(GetArrayBound(result, 0), 4);
  EXPECT_EQ(GetArrayBound(result, 1), 2);
  EXPECT_EQ(Rows(result), (CellPath{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
}

TEST(FindPath, NeverStepsDiagonallyAndBreaksTiesByInsertionOrder) {
  const NumberArray map = MapOf(UniformGrid(5, 5));
  NumberArray result;
  EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 1, 1), 3);
  EXPECT_EQ(Rows(result), (CellPath{{0, 0}, {1, 0}, {1, 1}}));
  EXPECT_EQ(FindPath(map, result, 0.5, 4, 4, 3, 3), 3);
  EXPECT_EQ(Rows(result), (CellPath{{4, 4}, {4, 3}, {3, 3}}));
}

TEST(FindPath, EveryFailureReturnsZeroAndEmptiesTheResult) {
  Grid open = UniformGrid(6, 6);
  Grid blockedGoal = open;
  blockedGoal.at(5, 5) = 0;
  Grid walled = open;
  for (int y = 0; y < 6; ++y) walled.at(3, y) = -2;
  const Grid allBlocked = UniformGrid(6, 6, 0);
  struct Case {
    const char* what;
    Grid grid;
    double startX, startY, goalX, goalY;
  };
  const Case cases[] = {
      {"all blocked", allBlocked, 0, 0, 5, 5},
      {"blocked goal", blockedGoal, 0, 0, 5, 5},
      {"unreachable goal", walled, 0, 0, 5, 5},
      {"start equals goal", open, 2, 2, 2, 2},
      {"start off the map", open, 6, 0, 5, 5},
      {"goal off the map", open, 0, 0, 5, -1},
      {"start NaN", open, std::nan(""), 0, 5, 5},
      {"goal huge", open, 0, 0, 1e12, 5},
  };
  for (const Case& test : cases) {
    const NumberArray map = MapOf(test.grid);
    NumberArray result = StaleResult();
    EXPECT_EQ(FindPath(map, result, 0.5, test.startX, test.startY, test.goalX, test.goalY), 0) << test.what;
    ExpectEmptied(result);
  }
}

TEST(FindPath, AMapThatIsNotTwoDimensionalHasNoPath) {
  NumberArray result = StaleResult();
  NumberArray never;
  EXPECT_EQ(FindPath(never, result, 0.5, 0, 0, 1, 0), 0);
  ExpectEmptied(result);
  NumberArray row;
  DimArray(row, 10);
  for (int x = 0; x < 10; ++x) ArrayElement(row, x) = 1;
  result = StaleResult();
  EXPECT_EQ(FindPath(row, result, 0.5, 0, 0, 9, 0), 0);  // no second dimension: height 0
  ExpectEmptied(result);
}

TEST(FindPath, ReadsTheFirstLayerOfAThreeDimensionalMap) {
  NumberArray map;
  DimArray(map, 3, 1, 2);
  for (int x = 0; x < 3; ++x) ArrayElement(map, x, 0, 1) = 1;  // only the second layer is open
  NumberArray result;
  EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 2, 0), 0);
  for (int x = 0; x < 3; ++x) ArrayElement(map, x, 0, 0) = 1;
  EXPECT_EQ(FindPath(map, result, 0.5, 0, 0, 2, 0), 3);
}

TEST(FindPath, CoordinatesAreTruncatedTowardZero) {
  const NumberArray map = MapOf(UniformGrid(5, 5));
  NumberArray result;
  EXPECT_EQ(FindPath(map, result, 0.5, -0.9, 0.99, 3.7, 0.2), 4);
  EXPECT_EQ(Rows(result), (CellPath{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
}

TEST(FindPath, CostsAreRelative) {
  const Grid grid = RandomGrid(78, 30, 30, 0.2, {1, 2, 3, 6});
  Grid scaled = grid;
  for (double& cell : scaled.cells) cell *= 10;
  const NumberArray map = MapOf(grid), scaledMap = MapOf(scaled);
  NumberArray result, scaledResult;
  const double count = FindPath(map, result, 0.5, 0, 0, 29, 29);
  ASSERT_GT(count, 0);
  EXPECT_EQ(FindPath(scaledMap, scaledResult, 0.5, 0, 0, 29, 29), count);
  EXPECT_EQ(Rows(scaledResult), Rows(result));
}

TEST(FindPath, WeightIsClampedToZeroToOne) {
  const Grid grid = RandomGrid(5, 25, 25, 0.2, {1, 4, 9});
  const NumberArray map = MapOf(grid);
  for (const auto& [given, clamped] : {std::pair{-3.0, 0.0}, std::pair{5.0, 1.0}, std::pair{std::nan(""), 0.0}}) {
    NumberArray a, b;
    const double count = FindPath(map, a, given, 0, 0, 24, 24);
    EXPECT_EQ(FindPath(map, b, clamped, 0, 0, 24, 24), count) << given;
    EXPECT_EQ(Rows(a), Rows(b)) << given;
  }
}

TEST(FindPath, ReturnsTheSearchesLeastCostPathRowByRow) {
  int found = 0;
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    const Grid grid = RandomGrid(seed, 40, 30, 0.2, {1, 2, 5});
    const NumberArray map = MapOf(grid);
    NumberArray result;
    const double count = FindPath(map, result, 0.5, 0, 0, 39, 29);
    const CellPath expected = PlannerPath(grid, {{0, 0}, {39, 29}, 0.5f});
    EXPECT_EQ(count, static_cast<double>(expected.size())) << seed;
    EXPECT_EQ(Rows(result), expected) << seed;
    const double shortest = ShortestPathCost(grid, {0, 0}, {39, 29}, false);
    if (shortest >= 0) {
      ++found;
      EXPECT_NEAR(PathCost(grid, Rows(result)), shortest, 1e-4 * shortest) << seed;
    }
  }
  EXPECT_GE(found, 5);
}

TEST(FindPath, TheMapMayAlsoReceiveTheResult) {
  NumberArray array = MapOf(UniformGrid(4, 4));
  EXPECT_EQ(FindPath(array, array, 0.5, 0, 0, 0, 3), 4);
  EXPECT_EQ(Rows(array), (CellPath{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));
  EXPECT_EQ(FindPath(array, array, 0.5, 0, 0, 1, 0), 0);  // now 4 x 2 holding the path: the goal's cell is 0
  ExpectEmptied(array);
}

// A 2048 x 2048 map: four million cells, a node for nearly each of them. A wall with one gap at
// the far end makes even the A* search cover most of the grid; uniform-cost search covers all
// of it.
TEST(FindPath, LargeGridRuns) {
  const int side = 2048;
  Grid grid = RandomGrid(2048, side, side, 0.2, {1, 2, 3});
  for (int y = 0; y < side - 1; ++y) grid.at(side / 2, y) = 0;
  for (int x = side / 2 - 1; x <= side / 2 + 1; ++x) grid.at(x, side - 1) = 1;
  for (Cell open : {Cell{0, 0}, Cell{1, 0}, Cell{0, 1}, Cell{side - 2, 0}, Cell{side - 1, 0}, Cell{side - 1, 1}}) {
    grid.at(open.first, open.second) = 1;
  }
  const NumberArray map = MapOf(grid);
  grid.cells.clear();
  grid.cells.shrink_to_fit();
  for (double weight : {0.5, 0.0}) {
    NumberArray result;
    const double count = FindPath(map, result, weight, 0, 0, side - 1, 0);
    ASSERT_GE(count, 3 * side) << weight;  // down to the gap, across, and up again
    EXPECT_EQ(GetArrayBound(result, 0), count);
    EXPECT_EQ(Rows(result).front(), Cell(0, 0));
    EXPECT_EQ(Rows(result).back(), Cell(side - 1, 0));
  }
}

// Caps the process's address space at `extra` bytes above what it uses now (read from
// /proc/self/status). False when that cannot be done. Unused under the address sanitizer.
[[maybe_unused]] bool CapAddressSpaceAbove(long long extra) {
  std::ifstream status("/proc/self/status");
  std::string key;
  long long kilobytes = -1;
  while (status >> key) {
    if (key == "VmSize:") {
      status >> kilobytes;
      break;
    }
    status.ignore(1 << 12, '\n');
  }
  if (kilobytes < 0) return false;
  const auto limit = static_cast<rlim_t>(kilobytes * 1024 + extra);
  const rlimit cap{limit, limit};
  return setrlimit(RLIMIT_AS, &cap) == 0;
}

// With the address space capped just above what the map needs, the planner's pool cannot be
// allocated: the command ends the program with error code 7 instead of crashing.
TEST(FindPath, MemoryThatCannotBeHadEndsTheProgramWithCode7) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than any cap allows";
#else
  const NumberArray map = MapOf(UniformGrid(1024, 1024));
  EXPECT_EXIT(
      {
        std::atexit([] { std::fprintf(stderr, "error code %g\n", Engine().errorCode); });
        if (!CapAddressSpaceAbove(16 << 20)) std::exit(3);
        NumberArray result;
        FindPath(map, result, 0.5, 0, 0, 1023, 1023);
        std::exit(4);  // not reached: the pool of a million nodes does not fit
      },
      ::testing::ExitedWithCode(0), "error code 7\n");
#endif
}

}  // namespace
