#include "tools/maps/place_gen.h"
#include "state/state.h"
#include "tools/maps/place_grow.h"
#include "tools/maps/source_lines.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <sstream>

namespace {

// Tiles of the landmarks inside the dungeons (content/tiles.txt).
constexpr u8 UNDERGROUND_WATER = 249, STONE_BRIDGE = 250, LAVA = 50, LAVA_BRIDGE = 251,
             RUBBLE = 252, IDOL = 253, ICE_FLOOR = 112;

struct style {
  u8 wall, floor, outer;
  // the chest, stairs and doors of the place, drawn on its floor and wall
  u8 chest = 38, door = 39, open = 40, down = 42, up = 43;
  // the river under the rock and its bridges (lava where the ground burns)
  u8 water = UNDERGROUND_WATER, bridge = STONE_BRIDGE;
};

// Where the ground burns, the river under the rock is lava.
style fiery(style s) {
  s.water = LAVA, s.bridge = LAVA_BRIDGE;
  return s;
}

// Each kind of place its own stone: caves of brown rock, the ice cave of
// Karaf, the fire cave of volcanic Sata, the jungle caves of Japi-Nesian
// overgrown, the desert ruins of sandstone, the old ruins mossy, the
// tunnels timbered, the shrines of blue marble, the fortress of black iron.
style dungeon_style(const std::string& kind, int area) {
  if (kind == "cave") {
    if (area == 36) return {113, 112, 113};
    if (area == 22) return fiery({115, 114, 115});
    if (area == 43 || area == 44) return {119, 118, 119};
    return {18, 29, 18};
  }
  if (kind == "tunnel") return {123, 122, 123};
  if (kind == "fortress") return fiery({117, 116, 117});
  if (kind == "shrine") return {125, 124, 125};
  if (area == 20 || area == 21 || area == 14) return {121, 120, 121};
  return {19, 30, 19};
}

// The tile named "BASE_on_GROUND" where the catalogue has one, else BASE.
u8 on_ground(const tile_catalogue& cat, u8 base, u8 ground) {
  for (int n = 0; n < 256; n++)
    if (cat.names[n] == cat.names[base] + "_on_" + cat.names[ground]) return static_cast<u8>(n);
  return base;
}

style place_style(const place_desc& d, const tile_catalogue& cat) {
  style s = dungeon_style(d.kind, d.area);
  s.chest = on_ground(cat, s.chest, s.floor), s.down = on_ground(cat, s.down, s.floor);
  s.up = on_ground(cat, s.up, s.floor);
  s.door = on_ground(cat, s.door, s.wall), s.open = on_ground(cat, s.open, s.wall);
  return s;
}

// ---- dungeons ----

int count_walls(canvas& c, int x, int y, u8 wall) {
  int n = 0;
  for (int dy = -1; dy <= 1; dy++)
    for (int dx = -1; dx <= 1; dx++) n += !c.inside(x + dx, y + dy) || c.at(x + dx, y + dy) == wall;
  return n;
}

void carve_cave(grown& g, const style& s) {
  canvas& c = g.c;
  for (auto& v : c.t) v = g.r.next(100) < 47 ? s.wall : s.floor;
  for (int pass = 0; pass < 5; pass++) {
    canvas next = c;
    for (int y = 0; y < c.h; y++)
      for (int x = 0; x < c.w; x++)
        next.at(x, y) = count_walls(c, x, y, s.wall) >= 5 ? s.wall : s.floor;
    c = next;
  }
}

// Ribs of solid rock across a cave, each pierced by two gaps, one in
// either half: the cave becomes a chain of chambers where the way on must
// be looked for, and the two gaps of a rib make a loop through the chambers
// beside it. Each gap is dug on until it meets open floor.
void cave_ribs(grown& g, const style& s) {
  canvas& c = g.c;
  constexpr int RIBS = 2, THICK = 2, GAP = 3, REACH = 6;
  for (int k = 1; k <= RIBS; k++) {
    int top = c.h * k / (RIBS + 1) - 1;
    c.rect(1, top, c.w - 2, THICK, s.wall);
    for (int half = 0; half < 2; half++) {
      int x0 = half == 0 ? 3 + g.r.next(c.w / 2 - 8) : c.w / 2 + 2 + g.r.next(c.w / 2 - 8);
      for (int x = x0; x < x0 + GAP; x++) {
        c.rect(x, top, 1, THICK, s.floor);
        for (int y = top - 1, n = 0; n < REACH && y > 0 && c.at(x, y) != s.floor; y--, n++)
          c.at(x, y) = s.floor;
        for (int y = top + THICK, n = 0; n < REACH && y < c.h - 1 && c.at(x, y) != s.floor;
             y++, n++)
          c.at(x, y) = s.floor;
      }
    }
  }
}

// From inside a room, a passage of up to `len` tiles straight out into the
// rock in direction `dir`, stopping before it would break into any other
// open space, so that it ends blind.
void dead_end(canvas& c, const style& s, std::pair<int, int> from, int dir, int len) {
  const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
  auto [x, y] = from;
  for (int k = 0; k < 40 && c.inside(x, y) && c.at(x, y) == s.floor; k++)
    x += dx[dir], y += dy[dir];
  auto solid = [&](int px, int py) {
    return px > 1 && py > 1 && px < c.w - 2 && py < c.h - 2 && c.at(px, py) == s.wall;
  };
  for (int k = 0; k < len; k++, x += dx[dir], y += dy[dir]) {
    // the tile and its neighbours ahead and to the sides must be rock
    int ax = x + dx[dir], ay = y + dy[dir], sx = dy[dir], sy = dx[dir];
    if (!solid(x, y) || !solid(ax, ay) || !solid(x + sx, y + sy) || !solid(x - sx, y - sy)) return;
    c.at(x, y) = s.floor;
  }
}

struct room {
  int x, y, w, h;
};

std::vector<room> carve_rooms(grown& g, const style& s) {
  canvas& c = g.c;
  std::vector<room> rooms;
  c.rect(0, 0, c.w, c.h, s.wall);
  int cols = std::max(2, (c.w - 2) / 9), rows = std::max(2, (c.h - 2) / 8);
  std::vector<std::pair<int, int>> centres;
  for (int j = 0; j < rows; j++)
    for (int i = 0; i < cols; i++) {
      int cw = (c.w - 2) / cols, ch = (c.h - 2) / rows;
      int rw = 3 + g.r.next(cw - 4), rh = 3 + g.r.next(ch - 4);
      int x = 1 + i * cw + g.r.next(cw - rw), y = 1 + j * ch + g.r.next(ch - rh);
      c.rect(x, y, rw, rh, s.floor);
      rooms.push_back({x, y, rw, rh});
      centres.push_back({x + rw / 2, y + rh / 2});
    }
  // corridors join each room to the next in a snake, and a few more loops
  auto corridor = [&](std::pair<int, int> a, std::pair<int, int> b) {
    for (int x = std::min(a.first, b.first); x <= std::max(a.first, b.first); x++)
      c.at(x, a.second) = s.floor;
    for (int y = std::min(a.second, b.second); y <= std::max(a.second, b.second); y++)
      c.at(b.first, y) = s.floor;
  };
  for (size_t i = 0; i + 1 < centres.size(); i++) corridor(centres[i], centres[i + 1]);
  int n = static_cast<int>(centres.size());
  for (int k = 0; k < 2 + n / 4; k++) corridor(centres[g.r.next(n)], centres[g.r.next(n)]);
  // dead-end passages, worth a look and leading nowhere
  for (int k = 0; k < n / 2; k++)
    dead_end(c, s, centres[g.r.next(n)], g.r.next(4), 4 + g.r.next(5));
  return rooms;
}

// ---- landmarks ----

std::pair<int, int> entrance_of(const canvas& c) {
  return {c.w / 2, c.h - 3};
}

bool open_tile(const style& s, u8 t) {
  return t == s.floor || t == s.bridge;
}

// An underground river from the top of the map to the bottom, two tiles
// wide and winding, off to one side of the way in. Where a hall or passage
// meets it from both banks it is bridged once, in the middle of that
// stretch; and two bridges that every layout gets are each reached by a
// passage dug from the nearest open floor, so the far bank is always a walk
// away and the bridges make loops of the ways across.
void lay_river(grown& g, const style& s) {
  canvas& c = g.c;
  constexpr int WIDTH = 2, SWAY = 2, REACH = 12;
  int home = g.r.next(2) ? c.w / 5 + g.r.next(c.w / 8) : 2 * c.w / 3 + g.r.next(c.w / 8);
  int b1 = c.h / 4 + g.r.next(3), b2 = c.h / 2 + g.r.next(3);
  std::vector<int> xs(static_cast<size_t>(c.h), home);
  std::vector<bool> banks(static_cast<size_t>(c.h), false);
  for (int y = 1, x = home; y < c.h - 1; y++) {
    if (g.r.next(4) == 0) x = std::clamp(x + g.r.next(3) - 1, home - SWAY, home + SWAY);
    xs[y] = x;
    banks[y] = open_tile(s, c.at(x - 1, y)) && open_tile(s, c.at(x + WIDTH, y));
  }
  for (int y : {b1, b2}) // dig to the nearest open floor on either bank
    for (int dir : {-1, 1}) {
      int from = dir < 0 ? xs[y] - 1 : xs[y] + WIDTH;
      for (int k = 0, px = from; k < REACH && px > 0 && px < c.w - 1; k++, px += dir) {
        if (k > 0 && c.at(px, y) == s.floor) break;
        c.at(px, y) = s.floor;
      }
    }
  for (int y = 1; y < c.h - 1; y++) {
    int top = y, end = y;
    while (end + 1 < c.h - 1 && banks[end + 1] && banks[y]) end++;
    for (int row = top; row <= end; row++) {
      bool bridge = row == b1 || row == b2 || (banks[y] && row == (top + end) / 2);
      for (int k = 0; k < WIDTH; k++) c.at(xs[row] + k, row) = bridge ? s.bridge : s.water;
    }
    y = end;
  }
}

// Columns in rows across a hall: every other tile, clear of its edge, so
// that the hall stays open all round each of them.
void pillar_hall(canvas& c, const room& r, u8 pillar) {
  for (int y = r.y + 1; y < r.y + r.h - 1; y += 2)
    for (int x = r.x + 1; x < r.x + r.w - 1; x += 2) c.at(x, y) = pillar;
}

bool rock_outside(canvas& c, const style& s, const room& r, int x, int y) {
  const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
  for (int k = 0; k < 4; k++) {
    int nx = x + dx[k], ny = y + dy[k];
    bool outside = nx < r.x || ny < r.y || nx >= r.x + r.w || ny >= r.y + r.h;
    if (outside && c.inside(nx, ny) && c.at(nx, ny) != s.wall) return false;
  }
  return true;
}

// A hall whose ceiling came down: stones heaped against its walls (never
// across a way in) and lying in its middle, with a clear ring between, so
// that every way through the hall is still open.
void collapsed_hall(grown& g, const style& s, const room& r) {
  canvas& c = g.c;
  for (int y = r.y; y < r.y + r.h; y++)
    for (int x = r.x; x < r.x + r.w; x++) {
      int edge = std::min({x - r.x, y - r.y, r.x + r.w - 1 - x, r.y + r.h - 1 - y});
      bool heap = edge == 0 ? g.r.next(2) == 0 && rock_outside(c, s, r, x, y)
                            : edge >= 2 && g.r.next(3) == 0;
      if (heap && c.at(x, y) == s.floor) c.at(x, y) = RUBBLE;
    }
}

// A shrine room: idols along its walls, facing the hall, every other tile.
void shrine_room(grown& g, const style& s, const room& r) {
  canvas& c = g.c;
  for (int x = r.x + 1; x < r.x + r.w - 1; x += 2)
    for (int y : {r.y, r.y + r.h - 1})
      if (rock_outside(c, s, r, x, y)) c.at(x, y) = IDOL;
}

// Columns of ice standing free in the open chambers of the ice cave: each
// on floor whose eight neighbours are floor, so none ever blocks a way.
void ice_columns(grown& g, const style& s) {
  canvas& c = g.c;
  constexpr int ONE_IN = 5;
  auto [ex, ey] = entrance_of(c);
  for (int y = 2; y < c.h - 2; y++)
    for (int x = 2; x < c.w - 2; x++) {
      if (std::abs(x - ex) <= 2 && y >= ey - 3) continue; // the landing stays clear
      bool open = true;
      for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) open = open && c.at(x + dx, y + dy) == s.floor;
      if (open && g.r.next(ONE_IN) == 0) c.at(x, y) = s.wall;
    }
}

// Each kind of place has its own landmarks, laid in its largest halls away
// from the way in: the caves a river (of lava in the fire cave) and the
// ice cave columns of ice besides, the tunnels a river and a fallen hall,
// the ruins a hall of pillars and a fallen hall, the fortress a hall of
// pillars and a moat of lava, the shrines a room of idols and a hall of
// pillars.
void lay_landmarks(const place_desc& d, grown& g, const style& s, std::vector<room> rooms) {
  canvas& c = g.c;
  constexpr int HALL = 5;
  const auto entrance = entrance_of(c); // a plain pair: the lambda below reads it
  const int ex = entrance.first, ey = entrance.second;
  std::erase_if(rooms, [&](const room& r) {
    bool by_the_way_in = r.x <= ex + 2 && ex - 2 < r.x + r.w && r.y + r.h > ey - 6;
    return r.w < HALL || r.h < HALL || by_the_way_in;
  });
  std::sort(rooms.begin(), rooms.end(),
            [](const room& a, const room& b) { return a.w * a.h > b.w * b.h; });
  auto hall = [&](size_t i) { return i < rooms.size() ? &rooms[i] : nullptr; };
  if (d.kind == "cave" || d.kind == "tunnel" || d.kind == "fortress") lay_river(g, s);
  if (d.kind == "cave" && s.floor == ICE_FLOOR) ice_columns(g, s);
  if ((d.kind == "ruin" || d.kind == "fortress" || d.kind == "shrine") && hall(0))
    pillar_hall(c, *hall(0), s.wall);
  if ((d.kind == "ruin" || d.kind == "tunnel") && hall(1)) collapsed_hall(g, s, *hall(1));
  if (d.kind == "shrine" && hall(1)) shrine_room(g, s, *hall(1));
}

// Distances over open floor and bridges from (sx, sy); -1 where it cannot
// be reached.
std::vector<int> distances(canvas& c, const style& s, int sx, int sy) {
  std::vector<int> dist(c.t.size(), -1);
  std::deque<std::pair<int, int>> q{{sx, sy}};
  dist[static_cast<size_t>(sy) * c.w + sx] = 0;
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop_front();
    int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nx = x + dx[k], ny = y + dy[k];
      if (!c.inside(nx, ny) || !open_tile(s, c.at(nx, ny))) continue;
      int& dd = dist[static_cast<size_t>(ny) * c.w + nx];
      if (dd < 0) dd = dist[static_cast<size_t>(y) * c.w + x] + 1, q.push_back({nx, ny});
    }
  }
  return dist;
}

// The vault's walls may cut the way in off from the floor it was reached
// by: a passage is dug from just outside the way in, by the shortest way
// outside the vault, to the nearest floor the entrance still reaches.
void dig_way_out(canvas& c, const style& s, const std::vector<int>& dist, int fx, int fy, int sx,
                 int sy) {
  auto in_vault = [&](int x, int y) { return std::abs(x - fx) <= 2 && std::abs(y - fy) <= 2; };
  auto index = [&](int x, int y) { return static_cast<size_t>(y) * c.w + x; };
  if (sx < 1 || sy < 1 || sx >= c.w - 1 || sy >= c.h - 1) return; // never through the rim
  std::vector<int> back(c.t.size(), -1);
  std::deque<std::pair<int, int>> q{{sx, sy}};
  back[index(sx, sy)] = static_cast<int>(index(sx, sy));
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop_front();
    if (dist[index(x, y)] >= 0 && open_tile(s, c.at(x, y))) {
      for (int i = static_cast<int>(index(x, y)); i != static_cast<int>(index(sx, sy));
           i = back[static_cast<size_t>(i)])
        if (!open_tile(s, c.t[static_cast<size_t>(i)])) c.t[static_cast<size_t>(i)] = s.floor;
      c.at(sx, sy) = s.floor;
      return;
    }
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nx = x + dx[k], ny = y + dy[k];
      if (nx < 1 || ny < 1 || nx >= c.w - 1 || ny >= c.h - 1 || in_vault(nx, ny)) continue;
      if (back[index(nx, ny)] >= 0) continue;
      back[index(nx, ny)] = static_cast<int>(index(x, y));
      q.push_back({nx, ny});
    }
  }
}

// The goal of a dungeon (its stairs down, or the event tile at its heart)
// stands in a small walled vault with one way in: a locked door when the
// place asks for a key, and the guardian on the step between way and goal.
void build_vault(const place_desc& d, grown& g, const style& s, const std::vector<int>& dist,
                 int fx, int fy) {
  canvas& c = g.c;
  int ox = fx, oy = fy + 2, best = 1 << 30;
  for (int dy = -2; dy <= 2; dy++)
    for (int dx = -2; dx <= 2; dx++) {
      if (std::max(std::abs(dx), std::abs(dy)) != 2 || (dx && dy))
        continue; // the four side middles
      int v = dist[static_cast<size_t>(fy + dy) * c.w + fx + dx];
      if (v >= 0 && v < best) best = v, ox = fx + dx, oy = fy + dy;
    }
  for (int dy = -2; dy <= 2; dy++)
    for (int dx = -2; dx <= 2; dx++)
      c.at(fx + dx, fy + dy) = std::max(std::abs(dx), std::abs(dy)) == 2 ? s.wall : s.floor;
  dig_way_out(c, s, dist, fx, fy, ox + (ox - fx) / 2, oy + (oy - fy) / 2);
  if (d.door_key >= 0) {
    c.at(ox, oy) = s.door;
    add_event(g.m, ox, oy, 0, d.door_key, 0);
  } else {
    c.at(ox, oy) = s.floor;
  }
  if (d.down_map != 255) {
    c.at(fx, fy) = s.down;
    add_event(g.m, fx, fy, d.down_map, d.down_x, d.down_y);
  } else {
    c.at(fx, fy) = 45;
    if (d.goal_event >= 0) add_event(g.m, fx, fy, d.goal_event, 0, 0);
  }
  if (d.guardian_group >= 0)
    add_person(g.m, d.guardian_sprite, (fx + ox) / 2, (fy + oy) / 2, 3, d.guardian_group, 0, 0);
}

std::string grow_dungeon(const place_desc& d, const tile_catalogue& cat, grown& g) {
  style s = place_style(d, cat);
  canvas& c = g.c;
  std::vector<room> rooms;
  if (d.kind == "cave")
    carve_cave(g, s), cave_ribs(g, s);
  else
    rooms = carve_rooms(g, s);
  auto [ex, ey] = entrance_of(c);
  c.rect(ex - 1, ey - 2, 3, 4, s.floor); // a landing at the way in
  // and a passage from it up into the rooms or caves above
  for (int y = ey - 3; y > 1 && c.at(ex, y) != s.floor; y--) c.at(ex, y) = s.floor;
  lay_landmarks(d, g, s, rooms);
  auto dist = distances(c, s, ex, ey);
  // seal off what cannot be reached (the river runs on beneath the rock)
  for (size_t i = 0; i < c.t.size(); i++)
    if (dist[i] < 0 && open_tile(s, c.t[i])) c.t[i] = s.wall;
  for (int x = 0; x < c.w; x++) c.at(x, 0) = c.at(x, c.h - 1) = s.wall;
  for (int y = 0; y < c.h; y++) c.at(0, y) = c.at(c.w - 1, y) = s.wall;
  dist = distances(c, s, ex, ey);
  size_t far = 0;
  for (size_t i = 0; i < dist.size(); i++) {
    int x = static_cast<int>(i) % c.w, y = static_cast<int>(i) / c.w;
    bool inner = x >= 3 && y >= 3 && x < c.w - 3 && y < c.h - 5;
    if (inner && c.t[i] == s.floor && dist[i] > dist[far]) far = i;
  }
  if (dist[far] < 8) return "the layout left no room";
  int fx = static_cast<int>(far) % c.w, fy = static_cast<int>(far) / c.w;
  build_vault(d, g, s, dist, fx, fy);
  // seal what the vault cut off, counting its door as open
  std::vector<u8> kept = c.t;
  for (auto& v : c.t)
    if (v == s.door) v = s.floor;
  dist = distances(c, s, ex, ey);
  c.t = kept;
  for (size_t i = 0; i < c.t.size(); i++)
    if (dist[i] < 0 && open_tile(s, c.t[i])) c.t[i] = s.wall;
  c.at(ex, ey + 1) = s.up; // the way back up
  add_event(g.m, ex, ey + 1, d.up_map != 255 ? d.up_map : d.exit_map,
            d.up_map != 255 ? d.up_x : d.exit_x, d.up_map != 255 ? d.up_y : d.exit_y);
  // chests in the far corners of side passages
  std::vector<size_t> nooks;
  for (int walls = 6; walls >= 3 && nooks.size() < d.chests.size(); walls--)
    for (size_t i = 0; i < c.t.size(); i++) {
      int x = static_cast<int>(i) % c.w, y = static_cast<int>(i) / c.w;
      if (c.t[i] == s.floor && count_walls(c, x, y, s.wall) == walls && dist[i] > 4)
        nooks.push_back(i);
    }
  for (size_t k = 0; k + 1 < d.chests.size(); k += 2) {
    if (nooks.empty()) return "no nook left for a chest";
    size_t pick = nooks[static_cast<size_t>(g.r.next(static_cast<int>(nooks.size())))];
    nooks.erase(std::remove(nooks.begin(), nooks.end(), pick), nooks.end());
    int x = static_cast<int>(pick) % c.w, y = static_cast<int>(pick) / c.w;
    c.t[pick] = s.chest;
    add_event(g.m, x, y, d.chests[k], 128, d.chests[k + 1]);
  }
  for (size_t i = 0; i < c.t.size(); i += 7)
    if (c.t[i] == s.floor && dist[i] > 6)
      g.spots.push_back({static_cast<int>(i) % c.w, static_cast<int>(i) / c.w});
  return "";
}

void place_people(const place_desc& d, grown& g) {
  size_t spot = 0;
  auto next_spot = [&](int* x, int* y) {
    if (g.spots.empty()) return false;
    auto p = g.spots[spot++ % g.spots.size()];
    *x = p.first, *y = p.second;
    return true;
  };
  int x, y;
  for (auto& p : d.people)
    if (next_spot(&x, &y)) add_person(g.m, p.sprite, x, y, p.type, p.a, p.b, p.wanders);
  // Every town has a man, a woman, a child and one of its old folk; the rest
  // are men, women, the old, children, a guard, a cat or a dog, and sailors
  // only where there is a harbour or a beach.
  const int MAN = 16, WOMAN = 24, OLD_MAN = 32, CHILD = 40, GUARD = 48, SAILOR = 104, CAT = 184,
            DOG = 192, OLD_WOMAN = 200;
  int first[] = {MAN, WOMAN, CHILD, g.r.next(2) ? OLD_MAN : OLD_WOMAN};
  int kinds[] = {MAN, WOMAN, OLD_MAN, OLD_WOMAN, CHILD, GUARD, CAT, DOG, SAILOR};
  bool waterside = d.plan == "harbour" || d.plan == "beach";
  int folk = d.kind == "town" ? d.villagers : 0; // no townsfolk down a dungeon
  for (int i = 0; i < folk && next_spot(&x, &y); i++) {
    int who = i < 4 ? first[i] : kinds[g.r.next(waterside ? 9 : 8)];
    add_person(g.m, who, x, y, 0, 0, 0, 1);
  }
  int beasts[] = {128, 136, 144, 176, 240};
  for (int i = 0; i < d.monsters && next_spot(&x, &y); i++)
    add_person(g.m, beasts[g.r.next(5)], x, y, 1, 0, 0, 1);
}

} // namespace

void place_arrival(const place_desc& d, int* x, int* y) {
  *x = d.width / 2;
  *y = d.kind == "town" ? d.height - 2 : d.height - 4;
}

std::string grow_place(const place_desc& d, const tile_catalogue& tiles, map_source& m) {
  m = map_source{};
  m.number = d.map;
  m.width = d.width, m.height = d.height;
  grown g{m,
          canvas{d.width, d.height, std::vector<u8>(static_cast<size_t>(d.width) * d.height, 0)},
          rng{static_cast<unsigned>(d.seed) * 2654435761u + static_cast<unsigned>(d.map)},
          {}};
  std::string err = d.kind == "town" ? grow_town(d, tiles, g) : grow_dungeon(d, tiles, g);
  if (!err.empty()) return err;
  place_people(d, g);
  m.grid = g.c.t;
  int ax, ay;
  place_arrival(d, &ax, &ay);
  // Beyond the map's edge the field shows the border tile: a town's woods,
  // a dungeon's rock, so that the screen is never half empty.
  style look = place_style(d, tiles);
  u8 border = static_cast<u8>(d.kind == "town" ? d.woods : look.outer);
  u8 open_door = d.kind == "town" ? 40 : look.open;
  u8 h[16] = {static_cast<u8>(d.width - 1),
              static_cast<u8>(d.height - 1),
              static_cast<u8>(ax),
              static_cast<u8>(ay),
              border,
              0,
              open_door,
              static_cast<u8>(d.music),
              static_cast<u8>(d.kind == "town" ? 2
                              : d.backdrop     ? 1
                                               : 0),
              static_cast<u8>(d.exit_map),
              static_cast<u8>(d.exit_x),
              static_cast<u8>(d.exit_y),
              static_cast<u8>(d.area)};
  std::copy(h, h + 16, m.header);
  for (int i = m.npc_count; i < NPC_COUNT; i++) m.npcs[i].state = 1;
  return "";
}

namespace {

bool int_of(const std::string& s, int lo, int hi, int& out) {
  char* end = nullptr;
  long v = std::strtol(s.c_str(), &end, 10);
  if (s.empty() || *end || v < lo || v > hi) return false;
  return out = static_cast<int>(v), true;
}

// Splits "a:b:c" or "a,b" into numbers within 0..255.
bool int_list(const std::string& s, char sep, std::vector<int>& out) {
  std::stringstream in(s);
  for (std::string part; std::getline(in, part, sep);) {
    int v;
    if (!int_of(part, 0, 255, v)) return false;
    out.push_back(v);
  }
  return !out.empty();
}

std::string place_setting(const std::string& k, const std::string& v, place_desc& d) {
  std::vector<int> n;
  bool ok = true;
  if (k == "area" || k == "music" || k == "seed" || k == "inn" || k == "church" ||
      k == "villagers" || k == "monsters" || k == "from" || k == "backdrop" || k == "door" ||
      k == "goal") {
    int x = 0;
    ok = int_of(v, 0, 255, x);
    int* dst[] = {&d.area,     &d.music,  &d.seed,     &d.inn,      &d.church,    &d.villagers,
                  &d.monsters, &d.up_map, &d.backdrop, &d.door_key, &d.goal_event};
    const char* names[] = {"area",     "music", "seed",     "inn",  "church", "villagers",
                           "monsters", "from",  "backdrop", "door", "goal"};
    for (int i = 0; i < 11; i++)
      if (k == names[i]) *dst[i] = x;
  } else if (k == "size") {
    ok = int_list(v, 'x', n) && n.size() == 2 && n[0] >= 12 && n[1] >= 12;
    if (ok) d.width = n[0], d.height = n[1];
  } else if (k == "at") {
    ok = int_list(v, ',', n) && n.size() == 2;
    if (ok) d.exit_map = 4, d.exit_x = n[0], d.exit_y = n[1];
  } else if (k == "to") {
    ok = int_list(v, ',', n) && n.size() == 2;
    if (ok) d.to_x = n[0], d.to_y = n[1], d.down_map = 4, d.down_x = n[0], d.down_y = n[1];
  } else if (k == "shops") {
    ok = int_list(v, ',', n) && n.size() <= 3;
    for (int s : n) ok = ok && s < 23;
    d.shops = n;
  } else if (k == "chests") {
    std::stringstream in(v);
    for (std::string part; ok && std::getline(in, part, ',');) {
      std::vector<int> fi;
      ok = int_list(part, ':', fi) && fi.size() == 2;
      if (ok) d.chests.insert(d.chests.end(), fi.begin(), fi.end());
    }
  } else if (k == "guardian") {
    ok = int_list(v, ':', n) && n.size() <= 2;
    if (ok) d.guardian_group = n[0], d.guardian_sprite = n.size() > 1 ? n[1] : GUARDIAN_SPRITE;
  } else if (k == "person") {
    ok = int_list(v, ':', n) && n.size() >= 4 && n.size() <= 5 && n[1] <= 3;
    if (ok) d.people.push_back({n[0], n[1], n[2], n[3], n.size() > 4 ? n[4] : 0});
  } else if (k == "tile" || k == "name") {
  } else {
    return "unknown setting '" + k + "'";
  }
  return ok ? "" : "bad value for '" + k + "': " + v;
}

} // namespace

std::string read_place_descs(const std::string& path, std::vector<place_desc>& out) {
  return read_source_lines(path, [&](const std::vector<std::string>& w) -> std::string {
    place_desc d;
    d.kind = w[0];
    if (d.kind != "town" && d.kind != "cave" && d.kind != "ruin" && d.kind != "tunnel" &&
        d.kind != "fortress" && d.kind != "shrine")
      return "a place is a town, cave, ruin, tunnel, fortress or shrine";
    if (w.size() < 2 || !int_of(w[1], 1, 254, d.map) || d.map == 4)
      return "a place needs its map number";
    // Monsters roam only on these maps; elsewhere a dungeon is a quiet place
    // where the guardian is the only fight.
    bool roaming = encounter_map(d.map);
    if (d.kind == "town" && roaming)
      return "a town's map number must not be one where monsters roam";
    for (size_t i = 2; i < w.size(); i++) {
      auto eq = w[i].find('=');
      if (eq == std::string::npos) return "'" + w[i] + "' is not key=value";
      std::string err = place_setting(w[i].substr(0, eq), w[i].substr(eq + 1), d);
      if (!err.empty()) return err;
    }
    // Monster people fight the map's area, which only roaming maps fill.
    if (d.monsters > 0 && !roaming) return "monster people need a map number where monsters roam";
    for (auto& o : out)
      if (o.map == d.map) return "map " + w[1] + " is described twice";
    out.push_back(d);
    return "";
  });
}

std::string read_town_plans(const std::string& path, std::vector<place_desc>& places) {
  return read_source_lines(path, [&](const std::vector<std::string>& w) -> std::string {
    int map = 0;
    std::vector<int> size;
    if (w.size() != 3 || !int_of(w[0], 1, 254, map) || !int_list(w[2], 'x', size) ||
        size.size() != 2 || size[0] < 20 || size[1] < 18)
      return "a town's plan is MAP PLAN WIDTHxHEIGHT (at least 20x18)";
    place_desc* town = nullptr;
    for (auto& p : places)
      if (p.map == map && p.kind == "town") town = &p;
    if (!town) return "map " + w[0] + " is no town of the places";
    town->plan = w[1], town->width = size[0], town->height = size[1];
    return "";
  });
}
