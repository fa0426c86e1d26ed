// zandrek-mapc TILES OUTDIR SOURCE...: compiles readable map sources into the
// game's map, map-event and people files.
#include "tools/maps/map_source.h"

#include <cstdio>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zandrek-mapc TILES OUTDIR SOURCE...\n");
    return 2;
  }
  tile_catalogue tiles;
  std::string err = read_tile_catalogue(argv[1], tiles);
  for (int i = 3; err.empty() && i < argc; i++) {
    std::ifstream in(argv[i]);
    if (!in) {
      err = std::string(argv[i]) + ": cannot be opened";
      break;
    }
    std::stringstream text;
    text << in.rdbuf();
    map_source m;
    err = parse_map_source(argv[i], text.str(), tiles, m);
    if (err.empty()) err = write_map_files(m, argv[2]);
  }
  if (!err.empty()) {
    std::fprintf(stderr, "zandrek-mapc: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
