// zandrek-worldgen TILES WORLD PLACES TOWNS OUTDIR: grows the world map and every
// town and dungeon of the default game, joins them with stairs, and writes
// their map files.
#include "tools/maps/world_build.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: zandrek-worldgen TILES WORLD PLACES TOWNS OUTDIR\n");
    return 2;
  }
  tile_catalogue tiles;
  world_desc world;
  std::vector<place_desc> places;
  std::string err = read_tile_catalogue(argv[1], tiles);
  if (err.empty()) err = read_world_desc(argv[2], tiles, world);
  if (err.empty()) err = read_place_descs(argv[3], places);
  if (err.empty()) err = read_town_plans(argv[4], places);
  map_source m;
  if (err.empty()) err = build_world(tiles, world, places, argv[5], m);
  if (!err.empty()) {
    std::fprintf(stderr, "zandrek-worldgen: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
