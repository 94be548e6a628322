#pragma once
// One grid cell reached by the search, and the parameters a search is started with.

#include <cstdint>

// A cell the search has reached. Each cell owns at most one node per search; the parent
// chain from the goal node back to the start is the path.
struct Node {
  Node* parent;         // the cell this one was reached from; null for the start
  std::int32_t x;
  std::int32_t y;
  float f;              // the priority the open list is sorted by
  float g;              // the cost from the start
  Node* bucketNext;     // the next node in the same closed-set bucket
};

// What a search is asked to do. The path command fills one per call; the planner keeps a copy.
struct SearchParameters {
  std::int32_t startX = 0;
  std::int32_t startY = 0;
  std::int32_t goalX = 0;
  std::int32_t goalY = 0;
  std::uint8_t diagonalCost = 0;      // 1: a diagonal step costs the cell cost x kDiagonalFactor
  std::uint8_t diagonalsAllowed = 0;  // 0: only the four orthogonal neighbours are searched
  std::int32_t nodePoolCapacity = 0;  // 0 (or less): width x height
  std::int32_t openListCapacity = 0;  // 0 (or less): width x height
  std::int32_t closedSetExponent = 8; // the closed set has 2^exponent buckets
  float weight = 0;                   // 0: uniform cost, 0.5: A*, 1: greedy
  std::int32_t width = 0;
  std::int32_t height = 0;
  const double* cells = nullptr;      // cell (x, y) is cells[x + y * width]
};

// The single-precision value with bits 0x3FB504F4, one unit above the float nearest to the
// square root of two: the factor of a diagonal step when diagonal steps cost more.
inline constexpr float kDiagonalFactor = 1.4142137f;
