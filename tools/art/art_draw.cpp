#include "tools/art/art_draw.h"

#include "tools/art/art_texture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

unsigned art_hash(int x, int y, int seed) {
  unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
               static_cast<unsigned>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

int bayer4(int x, int y) {
  static const int m[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  return m[y & 3][x & 3];
}

namespace {

struct canvas {
  const palette* pal = nullptr;
  picture_set* out = nullptr;
  std::string name;
  image base, layer;
  bool in_layer = false;
  image& target() { return in_layer ? layer : base; }
};

// Shade bands of a lit surface: light 0..1 picks highlight, base or shadow,
// dithered at the band edges like hand-placed pixels.
rgb lit(rgb c, double light, int x, int y) {
  double t = light * 4.0 + (bayer4(x, y) - 7.5) / 24.0;
  if (t > 3.2) return shade(c, 32);
  if (t > 2.3) return shade(c, 15);
  if (t > 1.2) return c;
  if (t > 0.5) return shade(c, -18);
  return shade(c, -36);
}

void draw_oval(canvas& cv, double cx, double cy, double rx, double ry, rgb c, bool flat) {
  image& im = cv.target();
  for (int y = static_cast<int>(cy - ry - 1); y <= cy + ry + 1; y++)
    for (int x = static_cast<int>(cx - rx - 1); x <= cx + rx + 1; x++) {
      double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry, d = nx * nx + ny * ny;
      if (d > 1.0) continue;
      double nz = std::sqrt(1.0 - d);
      double light = std::clamp(0.55 * nz - 0.45 * nx - 0.55 * ny + 0.3, 0.0, 1.0);
      set_px(im, x, y, flat ? c : lit(c, light, x, y));
    }
}

void draw_poly(canvas& cv, const std::vector<double>& p, rgb c, bool flat) {
  image& im = cv.target();
  double y0 = 1e9, y1 = -1e9, x0 = 1e9, x1 = -1e9;
  for (std::size_t i = 0; i < p.size(); i += 2)
    x0 = std::min(x0, p[i]), x1 = std::max(x1, p[i]), y0 = std::min(y0, p[i + 1]),
    y1 = std::max(y1, p[i + 1]);
  std::size_t n = p.size() / 2;
  for (int y = static_cast<int>(y0); y <= y1; y++)
    for (int x = static_cast<int>(x0); x <= x1; x++) {
      double px = x + 0.5, py = y + 0.5;
      bool in = false;
      for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        double xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
        if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
      }
      if (!in) continue;
      double tx = (px - x0) / std::max(1.0, x1 - x0), ty = (py - y0) / std::max(1.0, y1 - y0);
      set_px(im, x, y, flat ? c : lit(c, std::clamp(1.05 - 0.75 * ty - 0.35 * tx, 0.0, 1.0), x, y));
    }
}

void draw_line(image& im, int x0, int y0, int x1, int y1, rgb c) {
  int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0), sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  for (int err = dx + dy;;) {
    set_px(im, x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

void draw_box(image& im, int x, int y, int w, int h, rgb c) {
  for (int j = 0; j < h; j++)
    for (int i = 0; i < w; i++) {
      rgb v = c;
      if (i == 0 || j == 0 || i == w - 1 || j == h - 1)
        v = shade(c, -60);
      else if (i == 1 || j == 1)
        v = shade(c, 30);
      else if (i == w - 2 || j == h - 2)
        v = shade(c, -25);
      set_px(im, x + i, y + j, v);
    }
}

void end_layer(canvas& cv, bool outline, rgb ink) {
  image& L = cv.layer;
  fill_pinholes(L);
  if (outline)
    for (int y = 0; y < L.h; y++)
      for (int x = 0; x < L.w; x++) {
        if (!(get_px(L, x, y) == CLEAR)) continue;
        bool edge = false;
        for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          int nx = x + dx, ny = y + dy;
          if (nx >= 0 && ny >= 0 && nx < L.w && ny < L.h && !(get_px(L, nx, ny) == CLEAR))
            edge = true;
        }
        if (edge) set_px(cv.base, x, y, ink);
      }
  blit(cv.base, L, 0, 0, true);
  cv.in_layer = false;
}

void mirror_layer(image& L) {
  for (int y = 0; y < L.h; y++)
    for (int x = 0; x < L.w / 2; x++) set_px(L, L.w - 1 - x, y, get_px(L, x, y));
}

void finish(canvas& cv) {
  if (cv.name.empty()) return;
  if (cv.in_layer) end_layer(cv, true, INK);
  fill_pinholes(cv.base);
  (*cv.out)[cv.name] = cv.base;
  cv.name.clear();
}

// Reads n integers from word `first` on; fault text when they do not fit.
std::string ints(const src_line& l, std::size_t first, std::size_t n, std::vector<int>& v) {
  if (l.words.size() < first + n) return fault(l, l.words[0] + ": too few numbers");
  v.assign(n, 0);
  for (std::size_t i = 0; i < n; i++)
    if (!int_of(l.words[first + i], -256, 512, v[i]))
      return fault(l, "bad number " + l.words[first + i]);
  return "";
}

std::string colour_at(canvas& cv, const src_line& l, std::size_t i, rgb& c) {
  if (l.words.size() <= i) return fault(l, l.words[0] + ": colour missing");
  return colour_of(*cv.pal, l, l.words[i], c);
}

std::string shape_line(canvas& cv, const src_line& l) {
  const std::string& k = l.words[0];
  bool flat = k.back() == '!';
  std::string op = flat ? k.substr(0, k.size() - 1) : k;
  std::vector<int> v;
  rgb c;
  std::string e;
  if (op == "oval" || op == "rect" || op == "box") {
    if (!(e = ints(l, 1, 4, v)).empty() || !(e = colour_at(cv, l, 5, c)).empty()) return e;
    if (op == "oval")
      draw_oval(cv, v[0], v[1], v[2], v[3], c, flat);
    else if (op == "box")
      draw_box(cv.target(), v[0], v[1], v[2], v[3], c);
    else
      for (int y = 0; y < v[3]; y++)
        for (int x = 0; x < v[2]; x++) set_px(cv.target(), v[0] + x, v[1] + y, c);
    return "";
  }
  if (op == "line" || op == "dot") {
    std::size_t n = op == "line" ? 4 : 2;
    if (!(e = ints(l, 1, n, v)).empty() || !(e = colour_at(cv, l, n + 1, c)).empty()) return e;
    if (n == 2)
      set_px(cv.target(), v[0], v[1], c);
    else
      draw_line(cv.target(), v[0], v[1], v[2], v[3], c);
    return "";
  }
  if (op == "poly") {
    std::size_t n = l.words.size() - 2;
    if (n < 6 || n % 2) return fault(l, "poly: a colour and at least three X Y corners");
    if (!(e = colour_at(cv, l, 1, c)).empty() || !(e = ints(l, 2, n, v)).empty()) return e;
    draw_poly(cv, std::vector<double>(v.begin(), v.end()), c, flat);
    return "";
  }
  return fault(l, "unknown drawing word " + k);
}

std::string spots_line(canvas& cv, const src_line& l) {
  std::vector<int> v;
  rgb c;
  std::string e;
  if (!(e = colour_at(cv, l, 1, c)).empty() || !(e = ints(l, 2, 1, v)).empty()) return e;
  auto o = options_of(l, 3);
  int seed = 1, ax = 0, ay = 0, aw = cv.base.w, ah = cv.base.h;
  if (o.count("seed") && !int_of(o["seed"], 0, 99999, seed)) return fault(l, "bad seed");
  if (o.count("area") && std::sscanf(o["area"].c_str(), "%d,%d,%d,%d", &ax, &ay, &aw, &ah) != 4)
    return fault(l, "area=X,Y,W,H");
  for (int i = 0; i < v[0]; i++) {
    unsigned h = art_hash(i, v[0], seed);
    set_px(cv.target(), ax + static_cast<int>(h % std::max(1, aw)),
           ay + static_cast<int>((h >> 12) % std::max(1, ah)), c);
  }
  return "";
}

std::string texture_line(canvas& cv, const src_line& l) {
  if (l.words.size() < 5) return fault(l, "texture KIND DARK MID LIGHT [seed=N]");
  rgb c[3];
  for (int i = 0; i < 3; i++)
    if (auto e = colour_at(cv, l, 2 + i, c[i]); !e.empty()) return e;
  auto o = options_of(l, 5);
  int seed = 0;
  if (o.count("seed") && !int_of(o["seed"], 0, 99999, seed)) return fault(l, "bad seed");
  if (!paint_texture(cv.target(), l.words[1], c[0], c[1], c[2], seed))
    return fault(l, "unknown texture " + l.words[1]);
  return "";
}

std::string picture_line(canvas& cv, const src_line& l, int w, int h) {
  finish(cv);
  if (l.words.size() != 2 && l.words.size() != 4) return fault(l, "picture NAME [WIDTH HEIGHT]");
  std::vector<int> v{w, h};
  if (l.words.size() == 4)
    if (auto e = ints(l, 2, 2, v); !e.empty()) return e;
  if (v[0] < 1 || v[1] < 1 || v[0] > 256 || v[1] > 256) return fault(l, "picture size 1..256");
  if (cv.out->count(l.words[1])) return fault(l, "picture " + l.words[1] + " is drawn twice");
  cv.name = l.words[1];
  cv.base = make_image(v[0], v[1]);
  return "";
}

std::string layer_line(canvas& cv, const src_line& l) {
  const std::string& k = l.words[0];
  if (k == "layer") {
    if (cv.in_layer) end_layer(cv, true, INK);
    cv.layer = make_image(cv.base.w, cv.base.h), cv.in_layer = true;
    return "";
  }
  if (!cv.in_layer) return fault(l, k + " outside a layer");
  if (k == "mirror") return mirror_layer(cv.layer), "";
  rgb ink = INK;
  bool outline = true;
  if (l.words.size() > 1) {
    if (l.words[1] == "none")
      outline = false;
    else if (auto e = colour_of(*cv.pal, l, l.words[1], ink); !e.empty())
      return e;
  }
  end_layer(cv, outline, ink);
  return "";
}

std::string from_line(canvas& cv, const src_line& l) {
  if (l.words.size() != 2) return fault(l, "from NAME");
  auto it = cv.out->find(l.words[1]);
  if (it == cv.out->end()) return fault(l, "no picture " + l.words[1] + " drawn before");
  blit(cv.base, it->second, 0, 0, false);
  return "";
}

// Lays an earlier picture over this one, its pure black see-through: a
// shape drawn once on nothing stands on many grounds.
std::string put_line(canvas& cv, const src_line& l) {
  if (l.words.size() != 2) return fault(l, "put NAME");
  auto it = cv.out->find(l.words[1]);
  if (it == cv.out->end()) return fault(l, "no picture " + l.words[1] + " drawn before");
  blit(cv.base, it->second, 0, 0, true);
  return "";
}

} // namespace

std::string draw_pictures(const std::vector<src_line>& lines, const palette& pal, int w, int h,
                          picture_set& out) {
  canvas cv;
  cv.pal = &pal, cv.out = &out;
  for (const auto& l : lines) {
    const std::string& k = l.words[0];
    std::string e;
    if (k == "picture")
      e = picture_line(cv, l, w, h);
    else if (cv.name.empty())
      e = fault(l, "drawing before the first picture line");
    else if (k == "texture")
      e = texture_line(cv, l);
    else if (k == "layer" || k == "end" || k == "mirror")
      e = layer_line(cv, l);
    else if (k == "from")
      e = from_line(cv, l);
    else if (k == "put")
      e = put_line(cv, l);
    else if (k == "spots")
      e = spots_line(cv, l);
    else
      e = shape_line(cv, l);
    if (!e.empty()) return e;
  }
  finish(cv);
  return "";
}
