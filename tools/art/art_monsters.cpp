// The 34 monster pictures ms_g000.bmp .. ms_g033.bmp, one per family,
// painted from content/art/monsters.art (64 x 64, black is transparent).
#include "tools/art/art.h"

#include <cstdio>

std::string make_monsters(const art_paths& p, const palette& pal) {
  picture_set pics;
  std::string path = p.content + "/art/monsters.art";
  if (auto e = draw_file(path, pal, 64, 64, pics); !e.empty()) return e;
  for (int n = 0; n < 34; n++) {
    char name[16], file[32];
    std::snprintf(name, sizeof name, "m%02d", n);
    std::snprintf(file, sizeof file, "/ms_g%03d.bmp", n);
    auto it = pics.find(name);
    if (it == pics.end()) return path + ": no picture " + name;
    if (it->second.w != 64 || it->second.h != 64)
      return path + ": picture " + name + " is not 64 x 64";
    if (auto e = write_bmp24(it->second, p.game + file); !e.empty()) return e;
  }
  return "";
}
