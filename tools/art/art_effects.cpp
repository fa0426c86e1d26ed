// The hit pictures ms_g000b.bmp .. ms_g033b.bmp laid over a monster that is
// struck: entry 0 a weapon, entry n spell n. Each entry of
// content/art/effects.txt names a kind of effect and its two colours.
#include "tools/art/art.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

namespace {

struct fx {
  image im = make_image(64, 64);
  rgb a, b;
  int size = 1;
  void dot(double x, double y, rgb c) { set_px(im, static_cast<int>(x), static_cast<int>(y), c); }
  void disc(double cx, double cy, double r, rgb c) {
    for (int y = static_cast<int>(cy - r); y <= cy + r; y++)
      for (int x = static_cast<int>(cx - r); x <= cx + r; x++)
        if ((x + 0.5 - cx) * (x + 0.5 - cx) + (y + 0.5 - cy) * (y + 0.5 - cy) <= r * r)
          dot(x, y, c);
  }
  void ring(double cx, double cy, double r, double w, rgb c) {
    for (int y = 0; y < 64; y++)
      for (int x = 0; x < 64; x++) {
        double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (std::abs(d - r) < w) dot(x, y, c);
      }
  }
  void stroke(double x0, double y0, double x1, double y1, double w, rgb c) {
    int n = static_cast<int>(std::hypot(x1 - x0, y1 - y0)) + 1;
    for (int i = 0; i <= n; i++) disc(x0 + (x1 - x0) * i / n, y0 + (y1 - y0) * i / n, w, c);
  }
};

double rnd(int i, int k) {
  return art_hash(i, k, 77) % 1000 / 1000.0;
}

void slash(fx& f) {
  for (int s = 0; s < f.size; s++) {
    double o = s * 10 - (f.size - 1) * 5;
    f.stroke(12 + o, 8, 52 + o, 56, 2.2, f.b), f.stroke(12 + o, 8, 52 + o, 56, 0.8, f.a);
  }
}

void fire(fx& f) {
  for (int i = 0; i < 9 * f.size; i++) {
    double x = 10 + rnd(i, 1) * 44, y = 18 + rnd(i, 2) * 38, r = 3 + rnd(i, 3) * 5;
    f.disc(x, y, r + 2, f.b), f.disc(x, y - 2, r, f.a), f.disc(x, y - 3, r * 0.4, {255, 250, 210});
  }
}

void water(fx& f) {
  for (int i = 0; i < 10 * f.size; i++) {
    double a = rnd(i, 1) * 6.283, r = 6 + rnd(i, 2) * 22;
    f.disc(32 + std::cos(a) * r, 34 + std::sin(a) * r * 0.7, 2 + rnd(i, 3) * 3, f.a);
    f.dot(31 + std::cos(a) * r, 33 + std::sin(a) * r * 0.7, f.b);
  }
  f.ring(32, 34, 20, 1.2, f.b);
}

void bolt(fx& f) {
  for (int s = 0; s < f.size; s++) {
    double x = 32 + (s - (f.size - 1) / 2.0) * 14, y = 0;
    while (y < 60) {
      double nx = x + (rnd(static_cast<int>(y), s) - 0.5) * 16, ny = y + 7;
      f.stroke(x, y, nx, ny, 2.0, f.b), f.stroke(x, y, nx, ny, 0.7, f.a);
      x = nx, y = ny;
    }
  }
}

void wind(fx& f) {
  for (int s = 0; s < 2 + f.size; s++)
    for (double t = 0; t < 5.5; t += 0.05) {
      double r = 4 + t * 4.5, cx = 32 + (s - 1) * 6, cy = 30 + (s - 1) * 5;
      f.disc(cx + std::cos(t * 2 + s) * r, cy + std::sin(t * 2 + s) * r * 0.6, 1.1,
             t > 4 ? f.b : f.a);
    }
}

void rings(fx& f) {
  for (int i = 0; i < 2 + f.size; i++) f.ring(32, 32, 8 + i * 8, 1.3, i % 2 ? f.b : f.a);
  f.disc(32, 32, 4, f.a);
}

void bubbles(fx& f) {
  for (int i = 0; i < 8 * f.size; i++) {
    double x = 10 + rnd(i, 4) * 44, y = 10 + rnd(i, 5) * 46, r = 2 + rnd(i, 6) * 4;
    f.ring(x, y, r, 0.9, f.a), f.dot(x - r / 2, y - r / 2, f.b);
  }
}

void gravity(fx& f) {
  for (int i = 0; i < 3 + f.size; i++)
    for (int x = 6; x < 58; x++)
      f.disc(x, 14 + i * 10 + std::sin(x * 0.25 + i) * 2, 0.9, i % 2 ? f.b : f.a);
  for (int x = 12; x < 56; x += 10) f.stroke(x, 10, x, 54, 0.6, f.b);
}

void sparkle(fx& f) {
  for (int i = 0; i < 6 * f.size; i++) {
    double x = 8 + rnd(i, 7) * 48, y = 8 + rnd(i, 8) * 48, r = 2 + rnd(i, 9) * 4;
    f.stroke(x - r, y, x + r, y, 0.6, f.a), f.stroke(x, y - r, x, y + r, 0.6, f.a),
        f.dot(x, y, f.b);
  }
}

void arrows(fx& f, int dir) {
  for (int i = 0; i < 3; i++) {
    double x = 14 + i * 18, y0 = dir < 0 ? 48 : 16, y1 = dir < 0 ? 16 : 48;
    f.stroke(x, y0, x, y1, 1.6, f.a);
    f.stroke(x, y1, x - 6, y1 - dir * 6, 1.6, f.b), f.stroke(x, y1, x + 6, y1 - dir * 6, 1.6, f.b);
  }
}

void halo(fx& f) {
  f.ring(32, 14, 10, 1.5, f.a);
  for (int i = 0; i < 16; i++)
    f.stroke(32, 30, 32 + std::cos(i * 0.39) * 28, 30 + std::sin(i * 0.39) * 28, 0.5, f.b);
}

void vortex(fx& f) {
  for (double t = 0; t < 12; t += 0.03) {
    double r = 28 - t * 2.2;
    if (r < 1) break;
    f.disc(32 + std::cos(t * 2) * r, 32 + std::sin(t * 2) * r, 1.2, t < 6 ? f.a : f.b);
  }
}

const std::map<std::string, std::function<void(fx&)>>& kinds() {
  static const std::map<std::string, std::function<void(fx&)>> k = {
      {"slash", slash},
      {"fire", fire},
      {"water", water},
      {"bolt", bolt},
      {"wind", wind},
      {"rings", rings},
      {"bubbles", bubbles},
      {"gravity", gravity},
      {"sparkle", sparkle},
      {"up", [](fx& f) { arrows(f, -1); }},
      {"down", [](fx& f) { arrows(f, 1); }},
      {"halo", halo},
      {"vortex", vortex}};
  return k;
}

} // namespace

std::string make_hit_effects(const art_paths& p, const palette& pal) {
  std::vector<src_line> lines;
  std::string path = p.content + "/art/effects.txt";
  if (auto e = read_source(path, lines); !e.empty()) return e;
  bool done[34] = {};
  for (const auto& l : lines) {
    int n, size;
    if (l.words.size() != 5 || !int_of(l.words[0], 0, 33, n) || !int_of(l.words[4], 1, 4, size))
      return fault(l, "expected: ENTRY(0..33) KIND COLOUR COLOUR SIZE(1..4)");
    auto k = kinds().find(l.words[1]);
    if (k == kinds().end()) return fault(l, "unknown effect kind " + l.words[1]);
    if (done[n]) return fault(l, "entry " + l.words[0] + " is given twice");
    fx f;
    f.size = size;
    if (auto e = colour_of(pal, l, l.words[2], f.a); !e.empty()) return e;
    if (auto e = colour_of(pal, l, l.words[3], f.b); !e.empty()) return e;
    k->second(f);
    char file[32];
    std::snprintf(file, sizeof file, "/ms_g%03db.bmp", n);
    if (auto e = write_bmp24(f.im, p.game + file); !e.empty()) return e;
    done[n] = true;
  }
  for (int n = 0; n < 34; n++)
    if (!done[n]) return path + ": no effect for entry " + std::to_string(n);
  return "";
}
