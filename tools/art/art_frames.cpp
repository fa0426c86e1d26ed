// Window frame pieces (WAKU1), the 1-bit frame picture (WAKU0), the menu
// cursor (CURSOL) and the inn picture (YADOYA.bmp).
#include "tools/art/art.h"

namespace {

struct frame_colours {
  rgb inside, rim, rim_shadow, edge;
};

// One 8 x 8 piece: the border runs along the sides named by the piece.
image frame_piece(int k, const frame_colours& c) {
  // top-left, top-right, bottom-left, bottom-right, top, bottom, left, right, inside
  static const bool top[9] = {1, 1, 0, 0, 1, 0, 0, 0, 0}, bottom[9] = {0, 0, 1, 1, 0, 1, 0, 0, 0},
                    left[9] = {1, 0, 1, 0, 0, 0, 1, 0, 0}, right[9] = {0, 1, 0, 1, 0, 0, 0, 1, 0};
  image im = make_image(8, 8);
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) {
      // distance into the border from each framed side
      int d = 9;
      if (top[k]) d = std::min(d, y);
      if (bottom[k]) d = std::min(d, 7 - y);
      if (left[k]) d = std::min(d, x);
      if (right[k]) d = std::min(d, 7 - x);
      rgb v = d == 0 ? c.edge : d == 1 ? c.rim : d == 2 ? c.rim_shadow : d == 3 ? c.edge : c.inside;
      set_px(im, x, y, v);
    }
  // rounded outer corners
  int cx = left[k] ? 0 : 7, cy = top[k] ? 0 : 7;
  if ((top[k] || bottom[k]) && (left[k] || right[k])) set_px(im, cx, cy, c.edge);
  return im;
}

std::string colour(const palette& pal, const char* name, rgb& out) {
  auto it = pal.colours.find(name);
  if (it == pal.colours.end()) return std::string("palette: needs the colour ") + name;
  out = it->second;
  return "";
}

} // namespace

std::string make_window_pictures(const art_paths& p, const palette& pal) {
  frame_colours c;
  for (auto [n, v] : {std::pair{"window_inside", &c.inside},
                      {"window_rim", &c.rim},
                      {"window_rim_shadow", &c.rim_shadow},
                      {"window_edge", &c.edge}})
    if (auto e = colour(pal, n, *v); !e.empty()) return e;
  image waku1 = make_image(72, 8);
  for (int k = 0; k < 9; k++) blit(waku1, frame_piece(k, c), 8 * k, 0, false);
  // WAKU0: the frame drawn large in two colours; the game loads it and keeps it
  image waku0 = make_image(152, 72, {255, 255, 255});
  for (int y = 2; y < 70; y++)
    for (int x = 2; x < 150; x++)
      if (x < 5 || y < 5 || x > 146 || y > 66 ||
          ((x + y) % 4 == 0 && x > 8 && y > 8 && x < 143 && y < 63))
        set_px(waku0, x, y, CLEAR);
  picture_set pics;
  std::string path = p.content + "/art/pictures.art";
  if (auto e = draw_file(path, pal, 64, 64, pics); !e.empty()) return e;
  for (const char* n : {"cursor", "inn"})
    if (!pics.count(n)) return path + ": needs a picture " + n;
  if (pics["cursor"].w != 6 || pics["cursor"].h != 12) return path + ": the cursor is 6 x 12";
  for (auto e : {write_bmp24(waku1, p.resources + "/WAKU1.bmp"),
                 write_bmp1(waku0, p.resources + "/WAKU0.bmp", {0, 0, 0}, {255, 255, 255}),
                 write_bmp24(pics["cursor"], p.resources + "/CURSOL.bmp"),
                 write_bmp24(pics["inn"], p.game + "/YADOYA.bmp")})
    if (!e.empty()) return e;
  return "";
}
