// zandrek-worldgen TILES WORLD OUTDIR: grows the world map (map 4) of the
// default game from its description and writes its map files.
#include "tools/maps/world_gen.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zandrek-worldgen TILES WORLD OUTDIR\n");
    return 2;
  }
  tile_catalogue tiles;
  world_desc d;
  std::string err = read_tile_catalogue(argv[1], tiles);
  if (err.empty()) err = read_world_desc(argv[2], tiles, d);
  map_source m;
  if (err.empty()) grow_world(d, m), err = write_map_files(m, argv[3]);
  if (!err.empty()) {
    std::fprintf(stderr, "zandrek-worldgen: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
