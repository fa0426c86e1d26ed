// zandrek-newgame SOURCE OUT: writes the new-game record rpg.ini.
#include "tools/story/new_game.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zandrek-newgame SOURCE OUT\n");
    return 2;
  }
  save_block sb;
  std::string err = read_new_game_source(argv[1], sb);
  if (err.empty()) {
    std::FILE* f = std::fopen(argv[2], "wb");
    bool ok = f && std::fwrite(&sb, sizeof sb, 1, f) == 1;
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok) err = std::string(argv[2]) + ": cannot be written";
  }
  if (!err.empty()) {
    std::fprintf(stderr, "zandrek-newgame: %s\n", err.c_str());
    return 1;
  }
  return 0;
}
