#pragma once
// Best-first search on the cost grid whose priority blends the cost so far with the
// Manhattan distance to the goal: f = g + weight x (h - g). Weight 0 is uniform-cost search,
// 0.5 orders like A*, 1 is greedy.

#include "path/planner.h"

class AStarPlanner : public Planner {
 public:
  // The neighbours in the order they are visited, as (dx, dy). The diagonal ones (both
  // offsets non-zero) are searched only when diagonals are allowed.
  static constexpr std::int32_t kNeighbourCount = 8;
  static constexpr std::int32_t kNeighbourDx[kNeighbourCount] = {-1, 0, 1, 1, -1, -1, 0, 1};
  static constexpr std::int32_t kNeighbourDy[kNeighbourCount] = {-1, -1, -1, 0, 0, 1, 1, 1};

  ~AStarPlanner() override = default;

  // The base reset, then the start node (g = 0, no parent) alone in the open list.
  void Reset() override;
  bool Search() override;

 private:
  // Puts the node into the open list in front of every node of the same or lower f, so the
  // back holds the lowest f and, among equal f, the node inserted first. The caller makes
  // sure the list has room.
  void InsertOpen(Node* node);
  // The position of a node known to be in the open list.
  std::int32_t OpenPosition(const Node* node) const;
  // The first position whose f is not greater than f (Size() when there is none).
  std::int32_t FirstPositionNotAbove(float f) const;
  // Ends a search that ran out of pool nodes or open-list room: no path.
  bool Abandon(Node* current);
};
