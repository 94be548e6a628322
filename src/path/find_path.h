#pragma once
// The path-finding command: a path on a grid of costs kept in a two-dimensional number array.

#include "core/runtime_array.h"

// Finds a path from (startX, startY) to (goalX, goalY) on `map`, whose element (x, y) is the
// cost of entering cell (x, y); a cost of 0 or less blocks the cell. Only the ratios of the
// costs matter. Steps go to the four orthogonal neighbours. weight (clamped to 0..1) blends
// the cost so far with the Manhattan distance: 0 finds a cheapest path, 0.5 orders like A*
// and also finds a cheapest path, 1 is greedy. Coordinates are truncated toward zero.
//
// Returns the number of cells on the path, start and goal included, and dimensions `result`
// to [n][2]: element (i, 0) is x and (i, 1) is y of the i-th cell, row 0 the start. Returns
// 0 and leaves `result` with no elements when there is no path (start or goal off the map,
// start equal to goal, no open cell, goal unreachable). `map` and `result` may be the same
// array. Memory that cannot be had ends the program with error code 7.
double FindPath(const NumberArray& map, NumberArray& result, double weight, double startX, double startY,
                double goalX, double goalY);
