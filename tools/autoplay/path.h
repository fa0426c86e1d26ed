// Finding the way on the current map for the finishing player: which tiles
// the party may walk over, as the collision test decides it, and the
// shortest run of steps to a tile or next to it.
#pragma once
#include "state/state.h"

#include <vector>

// Direction codes of a step: the facing values' keys.
enum : int { DIR_DOWN = 0, DIR_LEFT = 1, DIR_RIGHT = 2, DIR_UP = 3 };

// What the planner may pass: stairs and event tiles are never passed on the
// way, only reached as the goal itself.
struct path_goal {
  int x = 0, y = 0;
  int adjacent = 0;  // 1: end on a tile beside (x, y), facing it
  int off_edge = 0;  // 1: leave the map over any edge (edge-exit maps)
};

// 1 when the party standing on (x, y), on the ship or not, may step onto it
// on the way to somewhere else.
int passable(int x, int y, int ship);
// A tile where a present person or monster stands.
int npc_at(int x, int y);

// The steps (DIR_*) from the party's place to the goal, shortest first found;
// 0 and the steps, or 1 when there is no way.
int find_path(const path_goal& goal, std::vector<int>* steps);
// The key that makes a step in that direction.
int dir_key(int dir);
// The tile one step from (x, y).
void step_from(int dir, int* x, int* y);
