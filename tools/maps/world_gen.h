// The world map of the default game is grown from a short description:
// lands as groups of ellipses with a ragged coast, mountain ridges, rivers,
// roads and hand-placed sites (towns, caves, ruins) with their stairs.
#pragma once
#include "tools/maps/map_source.h"

#include <map>
#include <string>
#include <vector>

struct world_point {
  int x, y;
};

struct world_land {
  int ground = 0, forest = 0, mountain = 8;
  int gate = 0;           // the land's entrance tile: every site of the land stands on it
  std::vector<int> blobs; // cx, cy, rx, ry, ...
  int forest_pct = 35;
};

struct world_line {
  int tile;
  int width;
  std::vector<world_point> pts;
};

struct world_site {
  int tile, x, y;
  int map, tx, ty; // stairs target; map 255 = no stairs (a landmark only)
  // 255: the site keeps `tile`. Else the site becomes the gate of the land
  // it stands in, with this picture of the place (a wall) just north of it.
  int landmark = 255;
};

struct world_desc {
  unsigned seed = 1;
  int width = 256, height = 256;
  int start_x = 0, start_y = 0, music = 1;
  std::vector<world_land> lands;
  std::vector<world_line> ridges, rivers, roads;
  std::vector<world_site> sites;
  std::vector<std::vector<int>> seas;  // x1, y1, x2, y2: open water, before the coasts
  std::vector<std::vector<int>> fixes; // x, y, tile: set last
  // (picture, ground) -> the same picture drawn on that ground, from the
  // catalogue's "PICTURE_on_GROUND" tiles: a mountain or a place's picture
  // stands on its own land's ground, never on a square of another.
  std::map<std::pair<int, int>, int> on_ground;
};

// Reads content/world/world.txt; "" or "file:line: what".
std::string read_world_desc(const std::string& path, const tile_catalogue& tiles, world_desc& out);
// Grows the map into a map source of map 4; "" or a site that stands where
// no one can walk up to it, or in no land.
std::string grow_world(const world_desc& d, map_source& out);
// The land (index into d.lands) that owns the tile nearest (x, y) within a
// few steps, or -1; the grown world's own ownership, for tests and tools.
int land_of(const world_desc& d, int x, int y);
