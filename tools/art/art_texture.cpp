#include "tools/art/art_texture.h"

#include "tools/art/art_draw.h"

#include <cmath>
#include <functional>
#include <map>

namespace {

using painter = std::function<rgb(int x, int y, int seed, rgb d, rgb m, rgb l)>;

unsigned h16(int x, int y, int seed) {
  return art_hash(x & 15, y & 15, seed);
}

rgb noise(int x, int y, int s, rgb d, rgb m, rgb l) {
  unsigned v = h16(x, y, s) % 100;
  return v < 14 ? d : v > 88 ? l : m;
}

rgb grass(int x, int y, int s, rgb d, rgb m, rgb l) {
  // blades: a light tip over a dark root at scattered places
  for (int k = 0; k < 7; k++) {
    unsigned h = art_hash(k, 7, s);
    int bx = h % 16, by = (h >> 8) % 16;
    if ((x & 15) == bx && (y & 15) == by) return l;
    if ((x & 15) == bx && (y & 15) == ((by + 1) & 15)) return d;
  }
  unsigned v = h16(x, y, s + 11) % 100;
  return v < 8 ? shade(m, -10) : v > 93 ? shade(m, 8) : m;
}

rgb sand(int x, int y, int s, rgb d, rgb m, rgb l) {
  int wave = static_cast<int>(std::lround(1.5 * std::sin((x & 15) * 3.14159 / 8)));
  int r = ((y & 15) + wave + s) & 7;
  if (r == 0) return l;
  if (r == 1 && h16(x, y, s) % 3 == 0) return shade(m, -8);
  return h16(x, y, s + 3) % 100 < 6 ? d : m;
}

rgb water(int x, int y, int s, rgb d, rgb m, rgb l) {
  // short wave crests in staggered rows, a darker trough under each
  int row = (y & 15) / 4, off = (row * 6 + s * 3) & 15, cx = ((x & 15) - off) & 15;
  if ((y & 3) == 1 && cx < 4) return l;
  if ((y & 3) == 2 && cx >= 1 && cx < 5) return d;
  return h16(x, y, s) % 100 < 5 ? shade(m, 10) : m;
}

rgb bricks(int x, int y, int, rgb d, rgb m, rgb l) {
  int row = (y & 15) / 4, bx = ((x & 15) + (row & 1) * 4) & 7;
  if ((y & 3) == 3 || bx == 7) return d;
  if ((y & 3) == 0 || bx == 0) return l;
  return m;
}

rgb blocks(int x, int y, int s, rgb d, rgb m, rgb l) {
  int row = (y & 15) / 8, bx = ((x & 15) + row * 4) & 7, by = y & 7;
  if (by == 7 || bx == 7) return d;
  if (by == 0 || bx == 0) return l;
  return h16(x, y, s) % 100 < 10 ? shade(m, -10) : m;
}

// Irregular stones: the nearest of a few points on the 16-pixel torus.
rgb rock(int x, int y, int s, rgb d, rgb m, rgb l) {
  int best = 999, second = 999, bi = 0;
  for (int k = 0; k < 5; k++) {
    unsigned h = art_hash(k, 3, s);
    int px = h % 16, py = (h >> 8) % 16;
    int dx = std::abs((x & 15) - px), dy = std::abs((y & 15) - py);
    dx = std::min(dx, 16 - dx), dy = std::min(dy, 16 - dy);
    int dd = dx * dx + dy * dy;
    if (dd < best)
      second = best, best = dd, bi = k;
    else if (dd < second)
      second = dd;
  }
  if (second - best < 5) return d;
  if (second - best < 12 && bi % 2) return shade(m, -12);
  return (bi % 3 == 0) ? shade(m, 10) : (h16(x, y, s) % 100 < 8 ? l : m);
}

rgb boards(int x, int y, int s, rgb d, rgb m, rgb l) {
  int bx = (x & 15) % 4, plank = (x & 15) / 4;
  int joint = (plank * 5 + s) & 15;
  if (bx == 3) return d;
  if ((y & 15) == joint) return d;
  if (bx == 0) return l;
  return h16(x / 4, y, s) % 100 < 20 ? shade(m, -8) : m;
}

rgb roof(int x, int y, int, rgb d, rgb m, rgb l) {
  int row = (y & 15) / 4, bx = ((x & 15) + (row & 1) * 2) & 3, by = y & 3;
  if (by == 3) return d;
  if (bx == 3) return shade(m, -18);
  if (by == 0) return l;
  return m;
}

rgb checker(int x, int y, int, rgb d, rgb m, rgb l) {
  bool a = (((x & 15) / 8) + ((y & 15) / 8)) & 1;
  if ((x & 7) == 0 || (y & 7) == 0) return a ? shade(l, -10) : l;
  return a ? d : m;
}

rgb floor_tiles(int x, int y, int s, rgb d, rgb m, rgb l) {
  if ((x & 7) == 7 || (y & 7) == 7) return d;
  if ((x & 7) == 0 || (y & 7) == 0) return l;
  return h16(x, y, s) % 100 < 7 ? shade(m, -8) : m;
}

rgb marble(int x, int y, int s, rgb d, rgb m, rgb l) {
  double v = std::sin(((x & 15) + (y & 15)) * 0.785 + std::sin((y & 15) * 0.785) * 1.5 + s);
  if ((x & 7) == 7 || (y & 7) == 7) return d;
  return v > 0.85 ? l : v < -0.9 ? shade(m, -8) : m;
}

rgb lava(int x, int y, int s, rgb d, rgb m, rgb l) {
  rgb c = rock(x, y, s, l, d, m);
  return c == l ? l : (h16(x, y, s + 1) % 100 < 20 ? m : d);
}

rgb snow(int x, int y, int s, rgb d, rgb m, rgb l) {
  unsigned v = h16(x, y, s) % 100;
  int drift = ((y & 15) + static_cast<int>(2 * std::sin((x & 15) * 0.785))) & 15;
  if (drift == 5 && v < 60) return d;
  return v > 94 ? l : m;
}

rgb swamp(int x, int y, int s, rgb d, rgb m, rgb l) {
  int dx = (x & 15) - 5, dy = (y & 15) - 10, ex = (x & 15) - 12, ey = (y & 15) - 4;
  if (dx * dx + dy * dy * 2 < 10 || ex * ex + ey * ey * 2 < 6)
    return (x + y) & 3 ? d : shade(d, 20);
  return noise(x, y, s, shade(m, -12), m, l);
}

rgb stars(int x, int y, int s, rgb d, rgb m, rgb l) {
  unsigned v = h16(x, y, s) % 1000;
  return v < 12 ? l : v < 30 ? m : d;
}

const std::map<std::string, painter>& painters() {
  static const std::map<std::string, painter> p = {
      {"plain", [](int, int, int, rgb, rgb m, rgb) { return m; }},
      {"noise", noise},
      {"grass", grass},
      {"sand", sand},
      {"water", water},
      {"bricks", bricks},
      {"blocks", blocks},
      {"rock", rock},
      {"boards", boards},
      {"roof", roof},
      {"checker", checker},
      {"tiles", floor_tiles},
      {"marble", marble},
      {"lava", lava},
      {"snow", snow},
      {"swamp", swamp},
      {"stars", stars}};
  return p;
}

} // namespace

bool paint_texture(image& im, const std::string& kind, rgb d, rgb m, rgb l, int seed) {
  auto it = painters().find(kind);
  if (it == painters().end()) return false;
  for (int y = 0; y < im.h; y++)
    for (int x = 0; x < im.w; x++) set_px(im, x, y, it->second(x, y, seed, d, m, l));
  return true;
}
