#include "path/astar_planner.h"

#include <cstdlib>

void AStarPlanner::Reset() {
  Planner::Reset();
  if (!prepared_) return;
  Node* start = nodes_.TakeNode();
  if (!start) return;
  start->parent = nullptr;
  start->x = parameters_.startX;
  start->y = parameters_.startY;
  start->g = 0;
  cellNodes_[CellIndex(start->x, start->y)] = start;
  openList_.PushBack(start);
}

bool AStarPlanner::Search() {
  if (!prepared_ || done_) return result_ != nullptr;
  const std::int32_t goalX = parameters_.goalX;
  const std::int32_t goalY = parameters_.goalY;
  const float weight = parameters_.weight;
  const bool diagonalsAllowed = parameters_.diagonalsAllowed != 0;
  const bool diagonalCost = parameters_.diagonalCost != 0;

  while (!openList_.Empty()) {
    Node* current = openList_.Back();
    openList_.PopBack();
    if (current->x == goalX && current->y == goalY) {
      closedSet_.Insert(current);
      done_ = true;
      result_ = current;
      return true;
    }

    for (std::int32_t neighbour = 0; neighbour < kNeighbourCount; ++neighbour) {
      const bool diagonal = kNeighbourDx[neighbour] != 0 && kNeighbourDy[neighbour] != 0;
      if (diagonal && !diagonalsAllowed) continue;
      const std::int32_t x = current->x + kNeighbourDx[neighbour];
      const std::int32_t y = current->y + kNeighbourDy[neighbour];
      if (x < 0 || x >= width_ || y < 0 || y >= height_) continue;
      const std::int32_t cell = CellIndex(x, y);
      const float cost = costs_[cell];
      if (cost < 0) continue;

      const float g = current->g + (diagonal && diagonalCost ? cost * kDiagonalFactor : cost);
      const std::int32_t h = std::abs(goalX - x) + std::abs(goalY - y);
      const float f = g + weight * (static_cast<float>(h) - g);

      // A cell that owns a node has it either in the closed set or in the open list; in
      // both cases only a lower g changes anything, so the lists are searched only then.
      if (Node* known = cellNodes_[cell]) {
        if (g < known->g) {
          if (closedSet_.Find(x, y) == known) {
            if (openList_.Full()) return Abandon(current);
            closedSet_.UnlinkFound();
          } else {
            openList_.Erase(OpenPosition(known));
          }
          known->parent = current;
          known->g = g;
          known->f = f;
          InsertOpen(known);
        }
        continue;
      }
      if (openList_.Full()) return Abandon(current);
      Node* fresh = nodes_.TakeNode();
      if (!fresh) return Abandon(current);
      fresh->x = x;
      fresh->y = y;
      fresh->parent = current;
      fresh->g = g;
      fresh->f = f;
      cellNodes_[cell] = fresh;
      InsertOpen(fresh);
    }
    closedSet_.Insert(current);
  }
  done_ = true;
  return false;
}

void AStarPlanner::InsertOpen(Node* node) {
  openList_.Insert(FirstPositionNotAbove(node->f), node);
}

std::int32_t AStarPlanner::FirstPositionNotAbove(float f) const {
  // The list runs from the highest f at the front to the lowest at the back.
  std::int32_t low = 0;
  std::int32_t high = openList_.Size();
  while (low < high) {
    const std::int32_t middle = low + (high - low) / 2;
    if (openList_.At(middle)->f > f) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  return low;
}

std::int32_t AStarPlanner::OpenPosition(const Node* node) const {
  // Nodes of equal f sit together; the node is somewhere in its run.
  const std::int32_t size = openList_.Size();
  std::int32_t position = FirstPositionNotAbove(node->f);
  while (position < size && openList_.At(position) != node) ++position;
  return position;
}

bool AStarPlanner::Abandon(Node* current) {
  // The expanded node goes to the closed set so that Clear finds every node handed out.
  closedSet_.Insert(current);
  done_ = true;
  return false;
}
