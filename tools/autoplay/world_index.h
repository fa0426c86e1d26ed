// What the finishing player knows of the whole world before it sets out:
// every map of the game folder read as the game reads it, and the ways
// between them (stairs and the edge exits of towns).
#pragma once
#include "state/state.h"

#include <string>
#include <vector>

struct map_link {
  int x = 0, y = 0; // the stair tile on this map
  int to_map = 0, to_x = 0, to_y = 0;
};

struct map_info {
  bool present = false;
  int max_x = 0, max_y = 0;
  int kind = 0; // 2: edge exit
  int return_map = 0, return_x = 0, return_y = 0;
  int area = 0;
  std::vector<u8> grid; // (max_x + 1) * (max_y + 1)
  std::vector<map_event> events;
  std::vector<npc> people;
  std::vector<map_link> links;
};

struct world_index {
  map_info maps[256];
  i8 classes[256]{};
};

extern world_index world_maps;

// Reads every map of the game folder (the working directory); 0 when the
// world map was among them.
int read_world_index();
