// zandrek-art CONTENT RESOURCES GAME: paints, synthesises and composes the
// default game's pictures, sounds and music from the readable sources.
#include "tools/art/art.h"

#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: zandrek-art CONTENT RESOURCES GAME\n");
    return 2;
  }
  art_paths p{argv[1], argv[2], argv[3]};
  std::vector<src_line> lines;
  palette pal;
  std::string e = read_source(p.content + "/art/palette.txt", lines);
  if (e.empty()) e = read_palette(lines, pal);
  using maker = std::string (*)(const art_paths&, const palette&);
  for (maker m :
       {make_tile_sheets, make_characters, make_window_pictures, make_monsters, make_hit_effects})
    if (e.empty()) e = m(p, pal);
  if (e.empty()) e = make_sounds(p);
  if (e.empty()) e = make_music(p);
  if (!e.empty()) {
    std::fprintf(stderr, "zandrek-art: %s\n", e.c_str());
    return 1;
  }
  return 0;
}
