#include "tools/maps/world_gen.h"

#include "tools/maps/source_lines.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

namespace {

// Smooth value noise in -1..1, the same for every build.
double lattice(unsigned seed, int x, int y) {
  unsigned h = seed * 374761393u + static_cast<unsigned>(x) * 668265263u +
               static_cast<unsigned>(y) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xFFFF) / 32767.5 - 1.0;
}

double noise(unsigned seed, double x, double y) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  double fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx), fy = fy * fy * (3 - 2 * fy);
  double a = lattice(seed, x0, y0), b = lattice(seed, x0 + 1, y0);
  double c = lattice(seed, x0, y0 + 1), d = lattice(seed, x0 + 1, y0 + 1);
  return (a + (b - a) * fx) * (1 - fy) + (c + (d - c) * fx) * fy;
}

double fractal(unsigned seed, double x, double y) {
  return 0.6 * noise(seed, x / 11, y / 11) + 0.3 * noise(seed + 1, x / 5, y / 5) +
         0.1 * noise(seed + 2, x / 2.5, y / 2.5);
}

bool is_sea(int t) {
  return t == 0 || (t >= 64 && t <= 75);
}

struct grid_ref {
  map_source& m;
  u8& at(int x, int y) {
    x = (x % m.width + m.width) % m.width;
    y = (y % m.height + m.height) % m.height;
    return m.grid[static_cast<size_t>(y) * m.width + x];
  }
};

// Whether land li's warped ellipses cover (x, y).
bool inside_land(const world_desc& d, const world_land& l, int x, int y) {
  for (size_t b = 0; b + 3 < l.blobs.size(); b += 4) {
    // A warped distance gives bays, capes and peninsulas instead of ovals.
    double wx = x + 6 * noise(d.seed + 11, x / 9.0, y / 9.0);
    double wy = y + 6 * noise(d.seed + 12, x / 9.0, y / 9.0);
    double dx = (wx - l.blobs[b]) / static_cast<double>(l.blobs[b + 2]);
    double dy = (wy - l.blobs[b + 1]) / static_cast<double>(l.blobs[b + 3]);
    if (dx * dx + dy * dy < 1.0 + 0.7 * fractal(d.seed, x, y)) return true;
  }
  return false;
}

int owner_at(const world_desc& d, int x, int y) {
  x = (x % d.width + d.width) % d.width, y = (y % d.height + d.height) % d.height;
  for (size_t li = 0; li < d.lands.size(); li++)
    if (inside_land(d, d.lands[li], x, y)) return static_cast<int>(li);
  return -1;
}

void grow_lands(const world_desc& d, grid_ref g, std::vector<int>& owner) {
  for (int y = 0; y < d.height; y++)
    for (int x = 0; x < d.width; x++) {
      int li = owner_at(d, x, y);
      if (li < 0) continue;
      const world_land& l = d.lands[static_cast<size_t>(li)];
      bool wood = (fractal(d.seed + 7, x, y) + 1) * 50 < l.forest_pct;
      g.at(x, y) = static_cast<u8>(wood ? l.forest : l.ground);
      owner[static_cast<size_t>(y) * d.width + x] = li;
    }
}

// Walls of the world: mountains, hills, cliffs, peaks and the pictures of
// the places that stand behind their gates.
bool is_wall(int t) {
  return t == 8 || t == 9 || (t >= 10 && t <= 15) || t == 78 || t == 79 || (t >= 90 && t <= 95) ||
         (t >= 106 && t <= 111);
}

// The woods belong to no land, so a party stepping ashore onto one would
// meet no land's monsters: near any water they give way to the land's plain.
void clear_shore_woods(const world_desc& d, grid_ref g, const std::vector<int>& owner) {
  std::vector<u8> orig = g.m.grid;
  auto water_near = [&](int x, int y) {
    for (int dy = -2; dy <= 2; dy++)
      for (int dx = -2; dx <= 2; dx++) {
        int xx = (x + dx + d.width) % d.width, yy = (y + dy + d.height) % d.height;
        if (is_sea(orig[static_cast<size_t>(yy) * d.width + xx])) return true;
      }
    return false;
  };
  for (int y = 0; y < d.height; y++)
    for (int x = 0; x < d.width; x++) {
      int li = owner[static_cast<size_t>(y) * d.width + x];
      if (li < 0 || g.at(x, y) != d.lands[static_cast<size_t>(li)].forest || !water_near(x, y))
        continue;
      g.at(x, y) = static_cast<u8>(d.lands[static_cast<size_t>(li)].ground);
    }
}

// Draws a polyline; `only_land` keeps rivers and ridges off the sea.
template <class F> void walk_line(const world_line& l, F&& plot) {
  for (size_t i = 0; i + 1 < l.pts.size(); i++) {
    world_point a = l.pts[i], b = l.pts[i + 1];
    int n = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
    for (int s = 0; s <= n; s++) {
      int x = a.x + (n ? (b.x - a.x) * s / n : 0), y = a.y + (n ? (b.y - a.y) * s / n : 0);
      for (int oy = 0; oy < l.width; oy++)
        for (int ox = 0; ox < l.width; ox++) plot(x + ox, y + oy);
    }
  }
}

// Picture `pic` as drawn on land li's ground, where the catalogue has one.
int on_ground(const world_desc& d, int pic, int li) {
  auto it = d.on_ground.find({pic, d.lands[static_cast<size_t>(li)].ground});
  return it == d.on_ground.end() ? pic : it->second;
}

void draw_features(const world_desc& d, grid_ref g, const std::vector<int>& owner) {
  for (auto& r : d.ridges)
    walk_line(r, [&](int x, int y) {
      if (is_sea(g.at(x, y))) return;
      int li =
          owner[static_cast<size_t>((y + d.height) % d.height) * d.width + (x + d.width) % d.width];
      // the tall white-capped peaks rise only among green mountains
      bool high = noise(d.seed + 3, x / 3.0, y / 3.0) > 0.2;
      int t = r.tile ? r.tile : li < 0 ? 9 : on_ground(d, d.lands[li].mountain, li);
      g.at(x, y) = static_cast<u8>(high && t == 8 ? 9 : t);
    });
  for (auto& r : d.rivers)
    walk_line(r, [&](int x, int y) { g.at(x, y) = static_cast<u8>(r.tile); });
  for (auto& r : d.roads)
    walk_line(r, [&](int x, int y) {
      u8& t = g.at(x, y);
      if (t == 74)
        t = 77; // a ford where a road meets a river
      else if (!is_sea(t))
        t = static_cast<u8>(r.tile);
    });
}

// Sand-edged water along every coast, lighter shallows beyond it, waves and
// reefs in the open sea.
void dress_coasts(const world_desc& d, grid_ref g) {
  std::vector<u8> orig = g.m.grid;
  auto land = [&](int x, int y) {
    x = (x + d.width) % d.width, y = (y + d.height) % d.height;
    return !is_sea(orig[static_cast<size_t>(y) * d.width + x]);
  };
  for (int y = 0; y < d.height; y++)
    for (int x = 0; x < d.width; x++) {
      u8& t = g.at(x, y);
      if (t != 0) continue;
      if (land(x, y - 1))
        t = 66;
      else if (land(x, y + 1))
        t = 67;
      else if (land(x - 1, y))
        t = 68;
      else if (land(x + 1, y))
        t = 69;
      else if (land(x - 1, y - 1))
        t = 70;
      else if (land(x + 1, y - 1))
        t = 71;
      else if (land(x - 1, y + 1))
        t = 72;
      else if (land(x + 1, y + 1))
        t = 73;
      else if (land(x, y - 2) || land(x, y + 2) || land(x - 2, y) || land(x + 2, y))
        t = 64;
      else {
        double n = lattice(d.seed + 9, x, y);
        t = n > 0.93 ? 75 : n > 0.8 ? 65 : 0;
      }
    }
}

} // namespace

std::string grow_world(const world_desc& d, map_source& m) {
  m = map_source{};
  m.number = WORLD_MAP;
  m.width = d.width, m.height = d.height;
  m.grid.assign(static_cast<size_t>(d.width) * d.height, 0);
  std::vector<int> owner(m.grid.size(), -1);
  grid_ref g{m};
  grow_lands(d, g, owner);
  draw_features(d, g, owner);
  for (auto& r : d.seas)
    for (int y = r[1]; y <= r[3]; y++)
      for (int x = r[0]; x <= r[2]; x++) g.at(x, y) = 0;
  dress_coasts(d, g);
  std::vector<world_site> sites = d.sites;
  for (auto& s : sites) {
    if (s.landmark != 255) {
      int li = land_of(d, s.x, s.y);
      if (li < 0)
        return "the site at " + std::to_string(s.x) + "," + std::to_string(s.y) +
               " stands in no land";
      s.tile = d.lands[static_cast<size_t>(li)].gate;
      g.at(s.x, s.y - 1) = static_cast<u8>(on_ground(d, s.landmark, li));
    }
    g.at(s.x, s.y) = static_cast<u8>(s.tile);
    if (s.map != 255)
      m.events.push_back({static_cast<u8>(s.x), static_cast<u8>(s.y), static_cast<u8>(s.map),
                          static_cast<u8>(s.tx), static_cast<u8>(s.ty)});
  }
  for (auto& f : d.fixes) g.at(f[0], f[1]) = static_cast<u8>(f[2]);
  clear_shore_woods(d, g, owner);
  for (auto& s : sites) {
    std::string at = std::to_string(s.x) + "," + std::to_string(s.y);
    if (g.at(s.x, s.y) != s.tile)
      return "the site at " + at + " is covered by another site or a fix";
    bool reachable = false;
    int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int t = g.at(s.x + dx[k], s.y + dy[k]);
      reachable |= !is_sea(t) && !is_wall(t);
    }
    if (!reachable) return "the site at " + at + " has no land beside it";
  }
  m.header[0] = static_cast<u8>(d.width - 1), m.header[1] = static_cast<u8>(d.height - 1);
  m.header[2] = static_cast<u8>(d.start_x), m.header[3] = static_cast<u8>(d.start_y);
  m.header[4] = 0, m.header[6] = 40, m.header[7] = static_cast<u8>(d.music);
  for (auto& n : m.npcs) n.state = 1;
  return "";
}

int land_of(const world_desc& d, int x, int y) {
  for (int r = 0; r <= 6; r++)
    for (int dy = -r; dy <= r; dy++)
      for (int dx = -r; dx <= r; dx++) {
        if (std::max(std::abs(dx), std::abs(dy)) != r) continue;
        int li = owner_at(d, x + dx, y + dy);
        if (li >= 0) return li;
      }
  return -1;
}

namespace {

bool num(const std::string& s, int lo, int hi, int& out) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end || v < lo || v > hi) return false;
  return out = static_cast<int>(v), true;
}

bool tile_named(const tile_catalogue& t, const std::string& s, int& out) {
  if (num(s, 0, 255, out)) return true;
  for (int i = 0; i < 256; i++)
    if (t.names[i] == s) return out = i, true;
  return false;
}

bool points(const std::vector<std::string>& w, size_t from, std::vector<world_point>& pts) {
  if ((w.size() - from) % 2 || w.size() - from < 4) return false;
  for (size_t i = from; i < w.size(); i += 2) {
    world_point p{};
    if (!num(w[i], 0, 255, p.x) || !num(w[i + 1], 0, 255, p.y)) return false;
    pts.push_back(p);
  }
  return true;
}

// One statement of the description; "" or what is wrong with it.
std::string world_statement(const std::vector<std::string>& w, const tile_catalogue& t,
                            world_desc& d) {
  const std::string& k = w[0];
  int a = 0, b = 0, c = 0;
  auto n = [&](size_t i, int hi, int& o) { return i < w.size() && num(w[i], 0, hi, o); };
  if (k == "seed" && n(1, 1 << 30, a))
    d.seed = static_cast<unsigned>(a);
  else if (k == "size" && n(1, 256, d.width) && n(2, 256, d.height)) {
  } else if (k == "start" && n(1, 255, d.start_x) && n(2, 255, d.start_y)) {
  } else if (k == "music" && n(1, 23, d.music)) {
  } else if (k == "land" && w.size() == 6) {
    world_land l;
    if (!tile_named(t, w[1], l.ground) || !tile_named(t, w[2], l.forest) ||
        !tile_named(t, w[3], l.mountain) || !num(w[4], 0, 100, l.forest_pct) ||
        !tile_named(t, w[5], l.gate))
      return "land takes GROUND FOREST MOUNTAIN FOREST_PERCENT GATE";
    d.lands.push_back(l);
  } else if (k == "blob" && w.size() == 5) {
    if (d.lands.empty()) return "blob before any land";
    for (size_t i = 1; i < 5; i++) {
      if (!n(i, 255, a) || (i > 2 && a == 0)) return "blob takes CX CY RX RY (radii above 0)";
      d.lands.back().blobs.push_back(a);
    }
  } else if (k == "ridge" || k == "river" || k == "road") {
    world_line l{k == "river" ? 74 : k == "road" ? 76 : 0, 1, {}};
    size_t from = 1;
    if (k != "road") {
      if (k == "ridge" && w.size() > 1 && w[1] != "auto" && !tile_named(t, w[1], l.tile))
        return "ridge takes a mountain tile or 'auto'";
      if (k == "ridge") from = 2;
      if (!n(from, 3, l.width) || l.width == 0) return k + " takes a width of 1..3";
      from++;
    }
    if (!points(w, from, l.pts)) return k + " takes two or more points X Y";
    (k == "ridge" ? d.ridges : k == "river" ? d.rivers : d.roads).push_back(l);
  } else if (k == "site" && (w.size() == 7 || w.size() == 5)) {
    world_site s{};
    if (!tile_named(t, w[1], s.tile) || !n(2, 255, s.x) || !n(3, 255, s.y))
      return "site takes TILE X Y and MAP TX TY or -";
    s.map = 255;
    if (w.size() == 7 && !(n(4, 254, s.map) && n(5, 255, s.tx) && n(6, 255, s.ty)))
      return "site takes TILE X Y and MAP TX TY or -";
    d.sites.push_back(s);
  } else if (k == "sea" && n(1, 255, a) && n(2, 255, b) && n(3, 255, c) && w.size() == 5) {
    int e = 0;
    if (!n(4, 255, e) || c < a || e < b) return "sea takes X1 Y1 X2 Y2";
    d.seas.push_back({a, b, c, e});
  } else if (k == "fix" && n(1, 255, a) && n(2, 255, b) && w.size() == 4 &&
             tile_named(t, w[3], c)) {
    d.fixes.push_back({a, b, c});
  } else {
    return "bad statement '" + k + "'";
  }
  return "";
}

} // namespace

std::string read_world_desc(const std::string& path, const tile_catalogue& tiles, world_desc& d) {
  std::string err = read_source_lines(
      path, [&](const std::vector<std::string>& w) { return world_statement(w, tiles, d); });
  if (!err.empty()) return err;
  if (d.lands.empty()) return path + ": no land";
  for (int n = 0; n < 256; n++) {
    auto on = tiles.names[n].find("_on_");
    int pic, ground;
    if (on != std::string::npos && tile_named(tiles, tiles.names[n].substr(0, on), pic) &&
        tile_named(tiles, tiles.names[n].substr(on + 4), ground))
      d.on_ground[{pic, ground}] = n;
  }
  return "";
}
