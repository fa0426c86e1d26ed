// zandrek-contact CONTENT RESOURCES GAME OUTDIR: contact sheets of the built
// art for people to look at: tiles.png (every tile of both sheets with its
// number and class), sprites.png (the character sheet) and monsters.png
// (the monster pictures, each beside its hit picture) and mapNNN.png (every
// map of the game, framed by what shows beyond its edge).
#include "tools/art/art.h"

#include "tools/maps/map_source.h"

#include <cstdio>
#include <fstream>

namespace {

image read_bmp24(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
  if (b.size() < 54 || b[0] != 'B' || b[28] != 24) return {};
  auto u32 = [&](int o) { return b[o] | b[o + 1] << 8 | b[o + 2] << 16 | b[o + 3] << 24; };
  int off = u32(10), w = u32(18), h = u32(22), row = (w * 3 + 3) & ~3;
  if (w <= 0 || h <= 0 || w > 4096 || h > 4096 ||
      b.size() < static_cast<std::size_t>(off + row * h))
    return {};
  image im = make_image(w, h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      const unsigned char* p = &b[off + (h - 1 - y) * row + x * 3];
      set_px(im, x, y, {p[2], p[1], p[0]});
    }
  return im;
}

// 3 x 5 digits, for labels under the pictures.
void label(image& im, int x, int y, const std::string& s, rgb c) {
  static const char* glyphs[10] = {"111101101101111", "010110010010111", "111001111100111",
                                   "111001111001111", "101101111001001", "111100111001111",
                                   "111100111101111", "111001001001001", "111101111101111",
                                   "111101111001111"};
  for (char ch : s) {
    if (ch >= '0' && ch <= '9')
      for (int i = 0; i < 15; i++)
        if (glyphs[ch - '0'][i] == '1') set_px(im, x + i % 3, y + i / 3, c);
    x += 4;
  }
}

void zoom(image& dst, const image& src, int sx, int sy, int w, int h, int dx, int dy, int z) {
  for (int y = 0; y < h * z; y++)
    for (int x = 0; x < w * z; x++) {
      rgb c = get_px(src, sx + x / z, sy + y / z);
      // transparency shows as a dark checker
      if (c == CLEAR) c = ((x / 4 + y / 4) & 1) ? rgb{40, 40, 48} : rgb{24, 24, 30};
      set_px(dst, dx + x, dy + y, c);
    }
}

std::string tiles_sheet(const art_paths& p, const std::string& out) {
  tile_catalogue cat;
  if (auto e = read_tile_catalogue(p.content + "/tiles.txt", cat); !e.empty()) return e;
  image pmap = read_bmp24(p.resources + "/PMAP.bmp"),
        dummy = read_bmp24(p.resources + "/DUMMY.bmp");
  if (pmap.w != 256 || dummy.w != 256) return "the tile sheets are not built";
  image sheet = make_image(16 * 40 * 2 + 20, 16 * 44, {60, 60, 70});
  for (int s = 0; s < 2; s++)
    for (int n = 0; n < 256; n++) {
      int x = s * (16 * 40 + 20) + (n % 16) * 40 + 4, y = (n / 16) * 44 + 2;
      zoom(sheet, s ? dummy : pmap, (n % 16) * 16, (n / 16) * 16, 16, 16, x, y, 2);
      label(sheet, x, y + 34, std::to_string(n), {255, 255, 255});
      if (!s) label(sheet, x + 20, y + 34, std::to_string(cat.classes[n]), {255, 220, 90});
    }
  return write_png(sheet, out + "/tiles.png");
}

std::string sprites_sheet(const art_paths& p, const std::string& out) {
  image plc = read_bmp24(p.resources + "/PLC.bmp");
  if (plc.w != 256) return "the character sheet is not built";
  image sheet = make_image(16 * 52, 16 * 58, {60, 60, 70});
  for (int n = 0; n < 256; n++) {
    int x = (n % 16) * 52 + 2, y = (n / 16) * 58 + 2;
    zoom(sheet, plc, (n % 16) * 16, (n / 16) * 16, 16, 16, x, y, 3);
    label(sheet, x, y + 50, std::to_string(n), {255, 255, 255});
  }
  return write_png(sheet, out + "/sprites.png");
}

std::string monsters_sheet(const art_paths& p, const std::string& out) {
  image sheet = make_image(6 * 140, 6 * 80, {60, 60, 70});
  for (int n = 0; n < 34; n++) {
    char a[48], b[48];
    std::snprintf(a, sizeof a, "/ms_g%03d.bmp", n), std::snprintf(b, sizeof b, "/ms_g%03db.bmp", n);
    image m = read_bmp24(p.game + a), h = read_bmp24(p.game + b);
    int x = (n % 6) * 140 + 4, y = (n / 6) * 80 + 2;
    zoom(sheet, m, 0, 0, 64, 64, x, y, 1), zoom(sheet, h, 0, 0, 64, 64, x + 68, y, 1);
    label(sheet, x, y + 68, std::to_string(n), {255, 255, 255});
  }
  image inn = read_bmp24(p.game + "/YADOYA.bmp");
  zoom(sheet, inn, 0, 0, 64, 64, 4 * 140 + 4, 5 * 80 + 2, 1);
  return write_png(sheet, out + "/monsters.png");
}

// Every map of the game as a player would see it from far above: each tile
// shrunk to SCALE pixels, framed by BORDER tiles of the map's border tile
// (what the field shows beyond the map's edge), one picture per map.
std::string maps_sheets(const art_paths& p, const std::string& out) {
  constexpr int BORDER = 8;
  image pmap = read_bmp24(p.resources + "/PMAP.bmp"),
        dummy = read_bmp24(p.resources + "/DUMMY.bmp");
  if (pmap.w != 256 || dummy.w != 256) return "the tile sheets are not built";
  for (int n = 0; n < 256; n++) {
    char name[48];
    std::snprintf(name, sizeof name, "/dmapdat%03d.mp", n);
    std::ifstream in(p.game + name, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() < 16) continue;
    int w = b[0] + 1, h = b[1] + 1, border = b[4];
    if (b.size() < static_cast<std::size_t>(16 + w * h)) return std::string(name + 1) + ": short";
    int scale = w > 128 ? 2 : 8, step = 16 / scale;
    image sheet = make_image((w + 2 * BORDER) * scale, (h + 2 * BORDER) * scale);
    for (int y = -BORDER; y < h + BORDER; y++)
      for (int x = -BORDER; x < w + BORDER; x++) {
        bool in_map = x >= 0 && y >= 0 && x < w && y < h;
        int t = in_map ? b[16 + y * w + x] : border;
        for (int j = 0; j < scale; j++)
          for (int i = 0; i < scale; i++) {
            int sx = (t % 16) * 16 + i * step, sy = (t / 16) * 16 + j * step;
            rgb c = get_px(in_map ? pmap : dummy, sx, sy);
            if (in_map && c == CLEAR)
              c = get_px(dummy, (border % 16) * 16 + i * step, (border / 16) * 16 + j * step);
            set_px(sheet, (x + BORDER) * scale + i, (y + BORDER) * scale + j, c);
          }
      }
    char png[48];
    std::snprintf(png, sizeof png, "/map%03d.png", n);
    if (auto e = write_png(sheet, out + png); !e.empty()) return e;
  }
  return "";
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: zandrek-contact CONTENT RESOURCES GAME OUTDIR\n");
    return 2;
  }
  art_paths p{argv[1], argv[2], argv[3]};
  for (auto f : {tiles_sheet, sprites_sheet, monsters_sheet, maps_sheets})
    if (auto e = f(p, argv[4]); !e.empty()) {
      std::fprintf(stderr, "zandrek-contact: %s\n", e.c_str());
      return 1;
    }
  return 0;
}
