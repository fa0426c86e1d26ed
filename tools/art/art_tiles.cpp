// The map tile sheet PMAP, the second sheet DUMMY (outside, borders,
// backdrops), the tile classes and the backdrop grids.
#include "tools/art/art.h"

#include "tools/maps/map_source.h"

#include <cstdio>

namespace {

// Backdrops repeat every 32 pixels: the field's backdrop window jumps back
// by 32 when it has scrolled one tile past its start, so a 2 x 2 tile
// pattern keeps it seamless. Frame k of backdrop b is DUMMY tiles
// BACKDROP_FIRST + 16 b + 4 k .. + 3. The map tiles below BACKDROP_FIRST
// (the woods and every land's own ground among them) repeat on the second
// sheet, so any of them can be a map's border.
constexpr int BACKDROP_FIRST = 192;
const char* const backdrop_names[] = {"stars", "sky", "sea"};

std::string tile_pictures(const art_paths& p, const palette& pal, const tile_catalogue& cat,
                          picture_set& pics, image& sheet) {
  std::string path = p.content + "/art/tiles.art";
  if (auto e = draw_file(path, pal, 16, 16, pics); !e.empty()) return e;
  sheet = make_image(256, 256);
  for (int n = 0; n < 256; n++) {
    std::string name = cat.names[n].empty() ? "unused" : cat.names[n];
    auto it = pics.find(name);
    if (it == pics.end())
      return path + ": no picture for tile " + std::to_string(n) + " (" + name + ")";
    if (it->second.w != 16 || it->second.h != 16)
      return path + ": picture " + name + " is not 16 x 16";
    blit(sheet, it->second, (n % 16) * 16, (n / 16) * 16, false);
  }
  return "";
}

std::string dummy_sheet(const art_paths& p, const palette& pal, const image& pmap, image& sheet) {
  // The map tiles repeat, so that a map's border number shows the tile of
  // the same number.
  sheet = make_image(256, 256);
  blit_part(sheet, 0, 0, pmap, 0, 0, 256, BACKDROP_FIRST);
  std::string path = p.content + "/art/backdrops.art";
  picture_set pics;
  if (auto e = draw_file(path, pal, 32, 32, pics); !e.empty()) return e;
  for (int b = 0; b < 3; b++)
    for (int k = 0; k < 3; k++) {
      std::string name = std::string(backdrop_names[b]) + std::to_string(k);
      auto it = pics.find(name);
      if (it == pics.end() || it->second.w != 32 || it->second.h != 32)
        return path + ": needs a 32 x 32 picture " + name;
      for (int q = 0; q < 4; q++) {
        int n = BACKDROP_FIRST + 16 * b + 4 * k + q;
        blit_part(sheet, (n % 16) * 16, (n / 16) * 16, it->second, (q % 2) * 16, (q / 2) * 16, 16,
                  16);
      }
    }
  auto out = pics.find("outside");
  if (out == pics.end() || out->second.w != 16 || out->second.h != 16)
    return path + ": needs a 16 x 16 picture outside";
  blit(sheet, out->second, 240, 240, false);
  return "";
}

// The three 20 x 20 grids of the starfield, one per animation frame.
std::vector<unsigned char> backdrop_grids() {
  std::vector<unsigned char> g;
  for (int k = 0; k < 3; k++)
    for (int r = 0; r < 20; r++)
      for (int c = 0; c < 20; c++) g.push_back(BACKDROP_FIRST + 4 * k + (r % 2) * 2 + c % 2);
  return g;
}

} // namespace

std::string make_tile_sheets(const art_paths& p, const palette& pal) {
  tile_catalogue cat;
  if (auto e = read_tile_catalogue(p.content + "/tiles.txt", cat); !e.empty()) return e;
  picture_set pics;
  image pmap, dummy;
  if (auto e = tile_pictures(p, pal, cat, pics, pmap); !e.empty()) return e;
  if (auto e = dummy_sheet(p, pal, pmap, dummy); !e.empty()) return e;
  signed char classes[256];
  for (int n = 0; n < 256; n++) classes[n] = static_cast<signed char>(cat.classes[n]);
  auto grids = backdrop_grids();
  for (auto e : {write_bmp24(pmap, p.resources + "/PMAP.bmp"),
                 write_bmp24(dummy, p.resources + "/DUMMY.bmp"),
                 write_file(p.game + "/rpgmappat.atr", classes, sizeof classes),
                 write_file(p.game + "/dmapdmy.mp", grids.data(), grids.size())})
    if (!e.empty()) return e;
  return "";
}

std::string draw_file(const std::string& path, const palette& pal, int w, int h, picture_set& out) {
  std::vector<src_line> lines;
  if (auto e = read_source(path, lines); !e.empty()) return e;
  return draw_pictures(lines, pal, w, h, out);
}

std::string write_file(const std::string& path, const void* data, std::size_t size) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path + ": cannot be written";
  bool ok = std::fwrite(data, 1, size, f) == size;
  ok = std::fclose(f) == 0 && ok;
  return ok ? "" : path + ": write failed";
}
