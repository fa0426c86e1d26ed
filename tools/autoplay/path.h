// Finding the way for the finishing player: which tiles the party may walk
// over as the collision test decides it, the shortest run of steps on one
// map, and the trip over several maps through stairs and town edges.
#pragma once
#include "state/state.h"

#include <vector>

// Direction codes of a step.
enum : int { DIR_DOWN = 0, DIR_LEFT = 1, DIR_RIGHT = 2, DIR_UP = 3 };

// Stairs and event tiles are never passed on the way, only reached as the
// goal itself.
struct path_goal {
  int x = 0, y = 0;
  int adjacent = 0; // 1: end on a tile beside (x, y)
  int off_edge = 0; // 1: leave the map over any edge (edge-exit maps)
};

// One map as the planner sees it: the live map of the game, or one read
// from the game folder.
struct map_view {
  int map = 0, max_x = 0, max_y = 0, edge_exit = 0;
  const u8* grid = nullptr;
  int stride = 256;
  const i8* classes = nullptr;
  const map_event* events = nullptr;
  int event_count = 0;
  bool live = false; // the people of npc_table stand in the way
};

map_view live_view();
map_view index_view(int map); // from the world index (tools/autoplay/world_index.h)

// A tile where a present person or monster stands (the live map).
int npc_at(int x, int y);
// 1 when the party, on the ship or not, may step onto (x, y) on its way.
int passable(const map_view& v, int x, int y, int ship);
int passable(int x, int y, int ship); // on the live map

// The steps (DIR_*) from the party's place to the goal on the live map;
// 0 and the steps, or 1 when there is no way. Through people: as if the
// people wandering about had stepped aside.
int find_path(const path_goal& goal, std::vector<int>* steps, bool through_people = false);
// The first leg of the shortest trip to any place on map `target`: a goal on
// the current map (a stair tile, or off the edge). 0, or 1 when the maps
// known do not connect. steps, when given, receives the length of the trip.
int plan_trip(int target, path_goal* first_leg, int* steps = nullptr);

int dir_key(int dir);
void step_from(int dir, int* x, int* y);
