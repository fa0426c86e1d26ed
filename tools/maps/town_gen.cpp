// The towns of the default game, each grown from a plan of its own (a farming
// village, a walled city round its market, a castle town, a town on a river,
// a desert town round its oasis, a harbour, a snow town, a village hidden in
// the rocks) in the ground, woods and walls of its land. Every town is left
// by the gap in its south edge, where the party arrives.
#include "tools/maps/place_grow.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

namespace {

// Tile numbers of the catalogue that the plans build with.
constexpr u8 T_GRASS = 1, T_LAMUR_PLAIN = 5, T_FLAGSTONE = 2, T_PATH = 3, T_SAND = 4, T_BRIDGE = 7,
             T_BRICK = 16, T_STONE = 17, T_WOOD_WALL = 22, T_TREE = 23, T_FENCE = 24, T_WELL = 25,
             T_FLOWERS = 26, T_WOOD_FLOOR = 27, T_CARPET = 28, T_PILLAR = 31, T_INN = 32,
             T_ITEMS = 33, T_WEAPONS = 34, T_ARMOUR = 35, T_ALTAR = 36, T_DOORWAY = 40, T_POND = 48,
             T_TABLE = 53, T_BED = 54, T_BARREL = 55, T_POT = 56, T_BOOKS = 52, T_THRONE = 57,
             T_GRAVE = 60, T_CRYSTAL = 61, T_CLIFF = 79, T_ICE_FLOOR = 112, T_SAND_FLOOR = 120,
             T_IRON_WALL = 117, T_SAND_WALL = 121, T_CROPS = 171, T_LOG_WALL = 172, T_STALL = 173,
             T_SHIP = 174;

constexpr int INN_KEEPER = 80, SHOP_KEEPER = 56, PRIEST = 72;

struct building {
  int x, y, w, h;
};

// What a town is built of, by its land.
struct materials {
  u8 ground, path, edge, wall, floor;
  u8 fence = T_FENCE, grave = T_GRAVE, crystal = T_CRYSTAL, flowers = T_FLOWERS;
};

// The tile named "BASE_on_GROUND" where the catalogue has one, else BASE.
u8 on_ground(const tile_catalogue& cat, u8 base, u8 ground) {
  for (int n = 0; n < 256; n++)
    if (cat.names[n] == cat.names[base] + "_on_" + cat.names[ground]) return static_cast<u8>(n);
  return base;
}

// The land's own walls: wood in the green lands, brick in the republic and
// Bild, sand-brick in Ezi, stone in the hard south, logs in the snow.
constexpr u8 land_walls[12] = {T_WOOD_WALL, T_BRICK,     T_BRICK,     T_SAND_WALL,
                               T_SAND_WALL, T_WOOD_WALL, T_STONE,     T_WOOD_WALL,
                               T_LOG_WALL,  T_STONE,     T_WOOD_WALL, T_STONE};

materials materials_of(const place_desc& d, const tile_catalogue& cat) {
  materials m{static_cast<u8>(d.ground), T_PATH, T_TREE, T_WOOD_WALL, T_WOOD_FLOOR};
  for (int n = 0; n < 256; n++)
    if (!cat.names[d.woods].empty() && cat.names[n] == cat.names[d.woods] + "_edge")
      m.edge = static_cast<u8>(n);
  if (d.land >= 0 && d.land < 12) m.wall = land_walls[d.land];
  if (m.wall == T_SAND_WALL) m.path = T_SAND_FLOOR, m.floor = T_SAND_FLOOR;
  // fences, graves and crystals stand on the land's own ground; flowers
  // grow only in the green grass of Lamur
  m.fence = on_ground(cat, T_FENCE, m.ground), m.grave = on_ground(cat, T_GRAVE, m.ground);
  m.crystal = on_ground(cat, T_CRYSTAL, m.ground);
  if (m.ground != T_GRASS && m.ground != T_LAMUR_PLAIN) m.flowers = m.ground;
  return m;
}

struct town {
  const place_desc& d;
  grown& g;
  materials mat;
  std::vector<building> houses;
  canvas& c() { return g.c; }
  int w() const { return g.c.w; }
  int h() const { return g.c.h; }
  int rand(int n) { return g.r.next(n); }
};

bool is_open(const town& t, u8 v) {
  return v == t.mat.ground || v == T_FLOWERS;
}

// A building fits where every tile under it and round it is open ground and
// its door opens onto ground or a road.
bool fits(town& t, const building& b) {
  if (b.x < 2 || b.y < 2 || b.x + b.w > t.w() - 2 || b.y + b.h > t.h() - 3) return false;
  for (int y = b.y - 1; y <= b.y + b.h; y++)
    for (int x = b.x - 1; x <= b.x + b.w; x++) {
      u8 v = t.c().at(x, y);
      bool inner = x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h;
      if (inner ? !is_open(t, v) : !(is_open(t, v) || v == t.mat.path || v == T_FLAGSTONE))
        return false;
    }
  for (auto& o : t.houses)
    if (b.x < o.x + o.w + 1 && o.x < b.x + b.w + 1 && b.y < o.y + o.h + 1 && o.y < b.y + b.h + 1)
      return false;
  return true;
}

// Marks a building's ground as taken at once (with a placeholder wall), so
// that what is laid out after it keeps clear.
bool claim(town& t, const building& b) {
  if (!fits(t, b)) return false;
  t.houses.push_back(b);
  t.c().rect(b.x, b.y, b.w, b.h, t.mat.wall);
  return true;
}

// Houses at random within a region; services need rooms of at least 5 x 5.
void scatter_houses(town& t, int count, int x0, int y0, int x1, int y1) {
  for (int tries = 0; tries < 600 && count > 0; tries++) {
    building b{x0 + t.rand(std::max(1, x1 - x0)), y0 + t.rand(std::max(1, y1 - y0)), 5 + t.rand(3),
               5 + t.rand(2)};
    if (claim(t, b)) count--;
  }
}

// Houses packed in rows along the streets, as a planned city builds them.
void row_houses(town& t, int count, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1 && count > 0; y++)
    for (int x = x0; x < x1 && count > 0; x++) {
      building b{x, y, 5 + t.rand(3), 5 + t.rand(2)};
      if (t.rand(4) != 0 && claim(t, b)) count--, x += b.w;
    }
}

void road(town& t, int x0, int y0, int x1, int y1, u8 v) {
  for (int y = std::min(y0, y1); y <= std::max(y0, y1); y++)
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); x++)
      if (t.c().inside(x, y) && is_open(t, t.c().at(x, y))) t.c().at(x, y) = v;
}

// A winding two-wide lane from the south gate up to row `top`.
void winding_lane(town& t, int top) {
  int x = t.w() / 2;
  for (int y = t.h() - 2; y >= top; y--) {
    road(t, x - 1, y, x, y, t.mat.path);
    if (y < t.h() - 4 && t.rand(4) == 0) {
      int nx = std::clamp(x + (t.rand(2) ? 1 : -1), 4, t.w() - 5);
      road(t, std::min(x, nx) - 1, y, std::max(x, nx), y, t.mat.path);
      x = nx;
    }
  }
}

void oval(town& t, int cx, int cy, int rx, int ry, u8 v, bool only_open) {
  for (int y = cy - ry; y <= cy + ry; y++)
    for (int x = cx - rx; x <= cx + rx; x++) {
      double dx = (x - cx) / (rx + 0.5), dy = (y - cy) / (ry + 0.5);
      if (dx * dx + dy * dy > 1 || x < 2 || y < 2 || x > t.w() - 3 || y > t.h() - 4) continue;
      if (!only_open || is_open(t, t.c().at(x, y))) t.c().at(x, y) = v;
    }
}

// A fenced plot (a field of crops, a graveyard) with its gate on the south.
bool fenced_plot(town& t, int x, int y, int w, int h, u8 inside) {
  building b{x, y, w, h};
  if (!fits(t, b)) return false;
  t.c().rect(x, y, w, h, t.mat.fence);
  t.c().rect(x + 1, y + 1, w - 2, h - 2, inside);
  if (inside == T_GRAVE) {
    t.c().rect(x + 1, y + 1, w - 2, h - 2, t.mat.ground);
    for (int gy = y + 1; gy < y + h - 1; gy += 2)
      for (int gx = x + 1; gx < x + w - 1; gx += 2) t.c().at(gx, gy) = t.mat.grave;
    t.c().at(x + w / 2, y + h - 1) = t.mat.ground;
  }
  t.houses.push_back(b);
  return true;
}

void try_plots(town& t, int count, int w, int h, u8 inside) {
  for (int tries = 0; tries < 300 && count > 0; tries++)
    if (fenced_plot(t, 2 + t.rand(t.w() - 4), 2 + t.rand(t.h() - 5), w + t.rand(3), h + t.rand(2),
                    inside))
      count--;
}

// Trees, flowers and the like on open ground that keeps its neighbours open.
void sprinkle(town& t, int count, u8 v) {
  for (int tries = 0; tries < count * 8 && count > 0; tries++) {
    int x = 2 + t.rand(t.w() - 4), y = 2 + t.rand(t.h() - 5);
    bool clear = true;
    for (int dy = -1; dy <= 1; dy++)
      for (int dx = -1; dx <= 1; dx++) clear = clear && is_open(t, t.c().at(x + dx, y + dy));
    if (clear) t.c().at(x, y) = v, count--;
  }
}

int services(const place_desc& d) {
  return 1 + static_cast<int>(d.shops.size()) + (d.church >= 0);
}

// ---- the plans ----

void plan_village(town& t) {
  winding_lane(t, t.h() / 3);
  oval(t, t.w() / 2, t.h() / 3, 3, 2, t.mat.flowers, false);
  t.c().at(t.w() / 2, t.h() / 3 - 1) = T_WELL;
  oval(t, 3 + t.rand(t.w() - 8), 3 + t.rand(t.h() - 8), 2, 1, T_POND, true);
  scatter_houses(t, services(t.d) + 2 + t.rand(3), 2, 2, t.w() - 8, t.h() - 8);
  try_plots(t, 2 + t.rand(2), 6, 4, T_CROPS);
  sprinkle(t, t.w() * t.h() / 40, t.mat.edge);
  sprinkle(t, t.w() * t.h() / 50, t.mat.flowers);
}

void plan_city(town& t) {
  int w = t.w(), h = t.h(), cx = w / 2, cy = h / 3 + t.rand(h / 3);
  // the town walls: timber in Lamur, the republic's stone, Bild's brick
  constexpr u8 town_walls[12] = {T_WOOD_WALL, T_STONE,     T_BRICK,     T_SAND_WALL,
                                 T_SAND_WALL, T_WOOD_WALL, T_STONE,     T_WOOD_WALL,
                                 T_LOG_WALL,  T_IRON_WALL, T_WOOD_WALL, T_STONE};
  u8 walls = t.d.land >= 0 && t.d.land < 12 ? town_walls[t.d.land] : T_STONE;
  for (int x = 1; x < w - 1; x++) t.c().at(x, 1) = t.c().at(x, h - 2) = walls;
  for (int y = 1; y < h - 1; y++) t.c().at(1, y) = t.c().at(w - 2, y) = walls;
  road(t, cx - 1, 2, cx + 1, h - 3, T_FLAGSTONE);
  road(t, 2, cy, w - 3, cy + 1, T_FLAGSTONE);
  t.c().rect(cx - 5, cy - 2, 11, 6, T_FLAGSTONE); // the market square
  for (int dx : {-4, 4})
    for (int dy : {-1, 2}) t.c().at(cx + dx, cy + dy) = T_STALL;
  t.c().at(cx, cy) = T_WELL;
  int tx = t.rand(2) ? 2 : w - 5; // the watchtower in a corner of the walls
  t.c().rect(tx, 2, 3, 3, T_STONE);
  t.c().at(tx + 1, 3) = T_PILLAR;
  row_houses(t, services(t.d) + 8, 2 + t.rand(2), 2 + t.rand(2), w - 2, h - 3);
  sprinkle(t, w * h / 60, t.mat.edge);
}

void plan_castle(town& t) {
  int w = t.w(), half = std::min(5 + t.rand(4), w / 2 - 5), cx = w / 2 - 3 + t.rand(7);
  building keep{cx - half, 2, 2 * half + 1, 7 + t.rand(3)};
  t.c().rect(keep.x - 1, keep.y - 1, keep.w + 2, keep.h + 2, T_POND); // the moat
  t.c().rect(keep.x, keep.y, keep.w, keep.h, t.mat.wall == T_WOOD_WALL ? T_STONE : t.mat.wall);
  t.c().rect(keep.x + 1, keep.y + 1, keep.w - 2, keep.h - 2, T_CARPET);
  for (int x = keep.x + 2; x < keep.x + keep.w - 2; x += 3)
    t.c().at(x, keep.y + 2) = t.c().at(x, keep.y + 5) = T_PILLAR;
  t.c().at(cx, keep.y + 1) = T_THRONE;
  t.c().at(cx, keep.y + keep.h - 1) = T_DOORWAY;
  t.c().at(cx, keep.y + keep.h) = T_BRIDGE;
  road(t, cx - 1, keep.y + keep.h + 1, cx + 1, t.h() - 2, T_FLAGSTONE);
  scatter_houses(t, services(t.d) + 4, 2, keep.y + keep.h + 2, w - 8, t.h() - 8);
  try_plots(t, 1, 5, 4,
            t.mat.flowers == T_FLOWERS ? T_FLOWERS : T_GRAVE); // a garden or a graveyard
  sprinkle(t, w * t.h() / 50, t.mat.edge);
}

void plan_river(town& t) {
  int w = t.w(), h = t.h(), cx = w / 2, ry = h / 2 - 1 + t.rand(3);
  for (int x = 1, y = ry; x < w - 1; x++) {
    t.c().rect(x, y, 1, 2, T_POND);
    if (x % 4 == 0 && t.rand(3) == 0) y = std::clamp(y + (t.rand(2) ? 1 : -1), ry - 2, ry + 2);
  }
  winding_lane(t, 3);
  // the bridge carries the lane over the river
  for (int y = 2; y < h - 1; y++)
    for (int x = cx - 6; x <= cx + 6; x++) {
      u8 above = t.c().at(x, y - 1);
      if (t.c().at(x, y) == T_POND && (above == t.mat.path || above == T_BRIDGE))
        t.c().at(x, y) = T_BRIDGE;
    }
  try_plots(t, 1, 7, 5, T_GRAVE);
  scatter_houses(t, services(t.d) + 3, 2, 2, w - 8, h - 8);
  sprinkle(t, w * h / 40, t.mat.edge);
}

void plan_oasis(town& t) {
  int w = t.w(), h = t.h(), cx = w / 2, cy = h / 2 - 1;
  road(t, cx - 1, cy + 3, cx, h - 2, t.mat.path);
  oval(t, cx, cy, 5, 4, t.mat.path, true);
  oval(t, cx, cy, 3, 2, T_POND, false);
  t.c().at(cx, cy) = T_WELL;
  for (int dx : {-4, 4})
    for (int dy : {-2, 2}) t.c().at(cx + dx, cy + dy) = t.mat.edge; // palms round the water
  scatter_houses(t, services(t.d) + 4, 2, 2, w - 8, h - 8);
  sprinkle(t, w * h / 70, t.mat.edge);
}

// The water on one side of the town: a harbour's quay of stone with its
// piers and the ship at its berth, or a beach of sand with one jetty.
void waterside(town& t, bool west, bool harbour) {
  int w = t.w(), h = t.h(), width = w / 3, shore = west ? width : w - width - 1,
      out = west ? -1 : 1;
  t.c().rect(west ? 1 : shore + 1, 1, width - 1, h - 3, T_POND);
  road(t, shore, 2, shore + (harbour ? 0 : -out), h - 3, harbour ? T_FLAGSTONE : T_SAND);
  int piers[3] = {h / 4, h / 2, 3 * h / 4};
  for (int i = harbour ? 0 : 1; i < (harbour ? 3 : 2); i++) {
    int len = 3 + t.rand(width - 5);
    for (int k = 1; k <= len; k++) t.c().at(shore + out * k, piers[i]) = T_BRIDGE;
    if (harbour && i == 1) // the ship at its berth beside the middle pier
      t.c().at(shore + out * 2, piers[i] - 1) = t.c().at(shore + out * 3, piers[i] - 1) = T_SHIP;
  }
  if (harbour)
    for (int y = 3; y < h - 4; y += 5) t.c().at(shore - out, y) = T_BARREL;
  winding_lane(t, h / 2);
  road(t, w / 2, h / 2, shore - out * (harbour ? 1 : 2), h / 2 + 1, t.mat.path);
  int x0 = west ? shore + 3 : 2, x1 = west ? w - 7 : shore - 7;
  scatter_houses(t, services(t.d) + 3, x0, 2, x1, h - 8);
  sprinkle(t, w * h / 60, t.mat.edge);
}

void plan_harbour(town& t) {
  waterside(t, false, true);
}

void plan_beach(town& t) {
  waterside(t, true, false);
}

void plan_snow(town& t) {
  winding_lane(t, t.h() / 4);
  oval(t, t.w() / 4 + t.rand(t.w() / 2), t.h() / 3 + t.rand(t.h() / 4), 4, 2, T_ICE_FLOOR, true);
  scatter_houses(t, services(t.d) + 3, 2, 2, t.w() - 8, t.h() - 8);
  sprinkle(t, t.w() * t.h() / 25, t.mat.edge);
}

void plan_hidden(town& t) {
  int w = t.w(), h = t.h();
  t.c().rect(1, 1, w - 2, h - 2, t.d.mountain);
  // a rounded clearing with a ragged rim
  for (int y = 2; y < h - 4; y++)
    for (int x = 2; x < w - 2; x++) {
      double dx = (x - (w - 1) / 2.0) / (w / 2.0 - 2), dy = (y - (h - 3) / 2.0) / (h / 2.0 - 3);
      double rim = 0.8 + 0.2 * ((x * 7 + y * 13 + t.d.seed) % 5) / 4.0;
      if (dx * dx * dx * dx + dy * dy * dy * dy < rim) t.c().at(x, y) = t.mat.ground;
    }
  road(t, w / 2 - 1, h - 2, w / 2, h - 2, t.mat.path);
  for (int y = h - 3; y >= h / 2; y--) t.c().rect(w / 2 - 1, y, 2, 1, t.mat.path); // the pass
  t.c().at(w / 2, 4) = t.mat.crystal;
  scatter_houses(t, services(t.d) + 2, 2, 2, w - 7, h - 8);
  sprinkle(t, w * h / 60, t.mat.grave);
}

struct plan {
  const char* name;
  void (*lay)(town&);
};
constexpr plan plans[] = {
    {"village", plan_village}, {"city", plan_city},   {"castle", plan_castle},
    {"river", plan_river},     {"oasis", plan_oasis}, {"harbour", plan_harbour},
    {"beach", plan_beach},     {"snow", plan_snow},   {"hidden", plan_hidden}};

// ---- the buildings ----

void build_house(town& t, const building& b, u8 wall, u8 floor) {
  t.c().rect(b.x, b.y, b.w, b.h, wall);
  t.c().rect(b.x + 1, b.y + 1, b.w - 2, b.h - 2, floor);
  t.c().at(b.x + b.w / 2, b.y + b.h - 1) = T_DOORWAY;
}

// A counter across the room with its keeper behind it and the map event the
// counter needs; the counter's class decides the service.
void build_counter(town& t, const building& b, u8 counter, int a, int keeper) {
  int cx = b.x + b.w / 2, cy = b.y + 2;
  for (int x = b.x + 1; x < b.x + b.w - 1; x++) t.c().at(x, cy) = x == cx ? counter : T_TABLE;
  add_event(t.g.m, cx, cy, a, 0, 0);
  add_person(t.g.m, keeper, cx, cy - 1, 0, 0, 0, 0);
}

void furnish(town& t, const building& b) {
  const u8 things[] = {T_BED, T_TABLE, T_BOOKS, T_BARREL, T_POT};
  for (int i = 0; i < 2; i++) {
    int x = b.x + 1 + t.rand(b.w - 2);
    if (x != b.x + b.w / 2) t.c().at(x, b.y + 1) = things[t.rand(5)];
  }
}

std::string raise_buildings(town& t) {
  int need = services(t.d);
  std::vector<building> rooms;
  for (auto& b : t.houses)
    if (t.c().at(b.x, b.y) == t.mat.wall) rooms.push_back(b); // not the fenced plots
  if (static_cast<int>(rooms.size()) < need) return "too small for its inn, shops and church";
  // the services nearest the gate, where a traveller looks first
  std::stable_sort(rooms.begin(), rooms.end(), [&](const building& a, const building& b) {
    auto far = [&](const building& r) {
      return std::abs(r.x + r.w / 2 - t.w() / 2) + (t.h() - r.y) / 2;
    };
    return far(a) < far(b);
  });
  size_t k = 0;
  build_house(t, rooms[k], t.mat.wall, t.mat.floor);
  build_counter(t, rooms[k++], T_INN, t.d.inn, INN_KEEPER);
  for (int shop : t.d.shops) {
    build_house(t, rooms[k], t.mat.wall, t.mat.floor);
    build_counter(t, rooms[k++],
                  shop % 3 == 0   ? T_ITEMS
                  : shop % 3 == 1 ? T_WEAPONS
                                  : T_ARMOUR,
                  shop, SHOP_KEEPER);
  }
  if (t.d.church >= 0) {
    build_house(t, rooms[k], T_STONE, T_CARPET);
    build_counter(t, rooms[k++], T_ALTAR, t.d.church, PRIEST);
  }
  for (; k < rooms.size(); k++) {
    build_house(t, rooms[k], t.mat.wall, t.mat.floor);
    furnish(t, rooms[k]);
  }
  return "";
}

// ---- ways and people ----

bool walkable(const tile_catalogue& cat, u8 v) {
  return cat.classes[v] != 1 && cat.classes[v] != 8 && cat.classes[v] != 9 &&
         cat.classes[v] != 10 && cat.classes[v] != 13 && cat.classes[v] != 14 &&
         cat.classes[v] != 15 && cat.classes[v] != 12 && cat.classes[v] != 5 &&
         cat.classes[v] != 16;
}

std::vector<int> reach(town& t, const tile_catalogue& cat, int sx, int sy) {
  std::vector<int> dist(t.c().t.size(), -1);
  std::deque<std::pair<int, int>> q{{sx, sy}};
  dist[static_cast<size_t>(sy) * t.w() + sx] = 0;
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop_front();
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nx = x + dx[k], ny = y + dy[k];
      if (!t.c().inside(nx, ny) || !walkable(cat, t.c().at(nx, ny))) continue;
      int& dd = dist[static_cast<size_t>(ny) * t.w() + nx];
      if (dd < 0) dd = dist[static_cast<size_t>(y) * t.w() + x] + 1, q.push_back({nx, ny});
    }
  }
  return dist;
}

// Lays a path from a door to the nearest tile the gate reaches, through
// open ground and the town's scenery (never through a building or water).
bool path_to_door(town& t, const tile_catalogue& cat, int fx, int fy) {
  auto from_gate = reach(t, cat, t.w() / 2, t.h() - 2);
  if (from_gate[static_cast<size_t>(fy) * t.w() + fx] >= 0) return true;
  std::vector<int> back(t.c().t.size(), -1);
  std::deque<std::pair<int, int>> q{{fx, fy}};
  back[static_cast<size_t>(fy) * t.w() + fx] = static_cast<int>(fy * t.w() + fx);
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop_front();
    size_t i = static_cast<size_t>(y) * t.w() + x;
    if (from_gate[i] >= 0) {
      for (size_t j = i; static_cast<int>(j) != back[j]; j = static_cast<size_t>(back[j]))
        if (!walkable(cat, t.c().t[j])) t.c().t[j] = t.mat.path;
      return true;
    }
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nx = x + dx[k], ny = y + dy[k];
      if (nx < 1 || ny < 1 || nx > t.w() - 2 || ny > t.h() - 2) continue;
      u8 v = t.c().at(nx, ny);
      bool soft = walkable(cat, v) || v == t.mat.edge || v == t.d.mountain || v == t.mat.grave;
      size_t ni = static_cast<size_t>(ny) * t.w() + nx;
      if (soft && back[ni] < 0) back[ni] = static_cast<int>(i), q.push_back({nx, ny});
    }
  }
  return false;
}

std::string open_ways(town& t, const tile_catalogue& cat) {
  for (auto& b : t.houses) {
    if (t.c().at(b.x + b.w / 2, b.y + b.h - 1) != T_DOORWAY) continue;
    if (!path_to_door(t, cat, b.x + b.w / 2, b.y + b.h))
      return "no way to the door at " + std::to_string(b.x + b.w / 2) + "," +
             std::to_string(b.y + b.h - 1);
  }
  return "";
}

// Open places out of the way for the town's people: reachable from the gate,
// open on all four sides, off the lanes and streets, never in front of a door; nearest the heart of
// the town first, so that the story people stand where a traveller passes.
void find_spots(town& t, const tile_catalogue& cat) {
  auto dist = reach(t, cat, t.w() / 2, t.h() - 2);
  std::vector<std::pair<int, std::pair<int, int>>> spots;
  for (int y = 2; y < t.h() - 3; y++)
    for (int x = 2; x < t.w() - 2; x++) {
      if (dist[static_cast<size_t>(y) * t.w() + x] < 3) continue;
      bool open = t.c().at(x, y - 1) != T_DOORWAY && t.c().at(x, y + 1) != T_DOORWAY;
      for (int k = 0; k < 4; k++) {
        const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
        open = open && walkable(cat, t.c().at(x + dx[k], y + dy[k]));
      }
      u8 v = t.c().at(x, y);
      if (!open || !walkable(cat, v) || v == T_BRIDGE || v == t.mat.path || v == T_FLAGSTONE)
        continue;
      int heart = std::abs(x - t.w() / 2) + std::abs(y - t.h() / 2);
      spots.push_back({heart * 4 + t.rand(12), {x, y}});
    }
  std::sort(spots.begin(), spots.end());
  for (size_t i = 0; i < spots.size(); i += 3) t.g.spots.push_back(spots[i].second);
}

} // namespace

std::string grow_town(const place_desc& d, const tile_catalogue& cat, grown& g) {
  town t{d, g, materials_of(d, cat), {}};
  int w = t.w(), h = t.h();
  t.c().rect(0, 0, w, h, t.mat.ground);
  for (int x = 0; x < w; x++) t.c().at(x, 0) = t.c().at(x, h - 1) = t.mat.edge;
  for (int y = 0; y < h; y++) t.c().at(0, y) = t.c().at(w - 1, y) = t.mat.edge;
  const plan* p = nullptr;
  for (const plan& each : plans)
    if (d.plan == each.name || (d.plan.empty() && &each == plans)) p = &each;
  if (!p) return "no town plan '" + d.plan + "'";
  p->lay(t);
  // the way out: a gap in the south edge, and the lane up from it
  t.c().rect(w / 2 - 1, h - 3, 3, 3, t.mat.path);
  if (auto e = raise_buildings(t); !e.empty()) return e;
  if (auto e = open_ways(t, cat); !e.empty()) return e;
  find_spots(t, cat);
  if (t.g.spots.size() < d.people.size() + 1) return "no room for its people";
  return "";
}
