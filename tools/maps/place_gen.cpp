#include "tools/maps/place_gen.h"
#include "tools/maps/place_grow.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <sstream>

namespace {

struct style {
  u8 wall, floor, outer;
  // the chest, stairs and doors of the place, drawn on its floor and wall
  u8 chest = 38, door = 39, open = 40, down = 42, up = 43;
};

// Each kind of place its own stone: caves of brown rock, the ice cave of
// Karaf, the fire cave of volcanic Sata, the jungle caves of Japi-Nesian
// overgrown, the desert ruins of sandstone, the old ruins mossy, the
// tunnels timbered, the shrines of blue marble, the fortress of black iron.
style dungeon_style(const std::string& kind, int area) {
  if (kind == "cave") {
    if (area == 36) return {113, 112, 113};
    if (area == 22) return {115, 114, 115};
    if (area == 43 || area == 44) return {119, 118, 119};
    return {18, 29, 18};
  }
  if (kind == "tunnel") return {123, 122, 123};
  if (kind == "fortress") return {117, 116, 117};
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
  for (auto& v : c.t) v = g.r.next(100) < 44 ? s.wall : s.floor;
  for (int pass = 0; pass < 5; pass++) {
    canvas next = c;
    for (int y = 0; y < c.h; y++)
      for (int x = 0; x < c.w; x++)
        next.at(x, y) = count_walls(c, x, y, s.wall) >= 5 ? s.wall : s.floor;
    c = next;
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

void carve_rooms(grown& g, const style& s) {
  canvas& c = g.c;
  c.rect(0, 0, c.w, c.h, s.wall);
  int cols = std::max(2, (c.w - 2) / 9), rows = std::max(2, (c.h - 2) / 8);
  std::vector<std::pair<int, int>> centres;
  for (int j = 0; j < rows; j++)
    for (int i = 0; i < cols; i++) {
      int cw = (c.w - 2) / cols, ch = (c.h - 2) / rows;
      int rw = 3 + g.r.next(cw - 4), rh = 3 + g.r.next(ch - 4);
      int x = 1 + i * cw + g.r.next(cw - rw), y = 1 + j * ch + g.r.next(ch - rh);
      c.rect(x, y, rw, rh, s.floor);
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
}

// Distances over open floor from (sx, sy); -1 where it cannot be reached.
std::vector<int> distances(canvas& c, u8 floor, int sx, int sy) {
  std::vector<int> dist(c.t.size(), -1);
  std::deque<std::pair<int, int>> q{{sx, sy}};
  dist[static_cast<size_t>(sy) * c.w + sx] = 0;
  while (!q.empty()) {
    auto [x, y] = q.front();
    q.pop_front();
    int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nx = x + dx[k], ny = y + dy[k];
      if (!c.inside(nx, ny) || c.at(nx, ny) != floor) continue;
      int& dd = dist[static_cast<size_t>(ny) * c.w + nx];
      if (dd < 0) dd = dist[static_cast<size_t>(y) * c.w + x] + 1, q.push_back({nx, ny});
    }
  }
  return dist;
}

std::pair<int, int> entrance_of(const canvas& c) {
  return {c.w / 2, c.h - 3};
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
  // a short passage out from the way in, in case the vault cut it off
  int px = ox + (ox - fx) / 2, py = oy + (oy - fy) / 2;
  for (int k = 0; k < 3 && c.inside(px, py) && px > 0 && py > 0 && px < c.w - 1 && py < c.h - 1;
       k++) {
    c.at(px, py) = s.floor;
    px += (ox - fx) / 2, py += (oy - fy) / 2;
  }
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
  if (d.kind == "cave")
    carve_cave(g, s);
  else
    carve_rooms(g, s);
  auto [ex, ey] = entrance_of(c);
  c.rect(ex - 1, ey - 2, 3, 4, s.floor); // a landing at the way in
  // and a passage from it up into the rooms or caves above
  for (int y = ey - 3; y > 1 && c.at(ex, y) != s.floor; y--) c.at(ex, y) = s.floor;
  auto dist = distances(c, s.floor, ex, ey);
  // seal off what cannot be reached
  for (size_t i = 0; i < c.t.size(); i++)
    if (dist[i] < 0) c.t[i] = s.wall;
  for (int x = 0; x < c.w; x++) c.at(x, 0) = c.at(x, c.h - 1) = s.wall;
  for (int y = 0; y < c.h; y++) c.at(0, y) = c.at(c.w - 1, y) = s.wall;
  dist = distances(c, s.floor, ex, ey);
  size_t far = 0;
  for (size_t i = 0; i < dist.size(); i++) {
    int x = static_cast<int>(i) % c.w, y = static_cast<int>(i) / c.w;
    if (x >= 3 && y >= 3 && x < c.w - 3 && y < c.h - 5 && dist[i] > dist[far]) far = i;
  }
  if (dist[far] < 8) return "the layout left no room";
  int fx = static_cast<int>(far) % c.w, fy = static_cast<int>(far) / c.w;
  build_vault(d, g, s, dist, fx, fy);
  // seal what the vault cut off, counting its door as open
  std::vector<u8> kept = c.t;
  for (auto& v : c.t)
    if (v == s.door) v = s.floor;
  dist = distances(c, s.floor, ex, ey);
  c.t = kept;
  for (size_t i = 0; i < c.t.size(); i++)
    if (dist[i] < 0 && c.t[i] == s.floor) c.t[i] = s.wall;
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
  std::ifstream in(path);
  if (!in) return path + ": cannot be opened";
  int line_no = 0;
  for (std::string line; std::getline(in, line);) {
    line_no++;
    std::istringstream ws(line.substr(0, line.find('#')));
    std::vector<std::string> w;
    for (std::string s; ws >> s;) w.push_back(s);
    if (w.empty()) continue;
    auto fail = [&](const std::string& what) {
      return path + ":" + std::to_string(line_no) + ": " + what;
    };
    place_desc d;
    d.kind = w[0];
    if (d.kind != "town" && d.kind != "cave" && d.kind != "ruin" && d.kind != "tunnel" &&
        d.kind != "fortress" && d.kind != "shrine")
      return fail("a place is a town, cave, ruin, tunnel, fortress or shrine");
    if (w.size() < 2 || !int_of(w[1], 1, 254, d.map) || d.map == 4)
      return fail("a place needs its map number");
    // Monsters roam only on these maps; elsewhere a dungeon is a quiet place
    // where the guardian is the only fight.
    bool encounter_map = d.map >= 50 || d.map == 36 || d.map == 39 || d.map == 40;
    if (d.kind == "town" && encounter_map)
      return fail("a town's map number must not be one where monsters roam");
    for (size_t i = 2; i < w.size(); i++) {
      auto eq = w[i].find('=');
      if (eq == std::string::npos) return fail("'" + w[i] + "' is not key=value");
      std::string err = place_setting(w[i].substr(0, eq), w[i].substr(eq + 1), d);
      if (!err.empty()) return fail(err);
    }
    // Monster people fight the map's area, which only roaming maps fill.
    if (d.monsters > 0 && !encounter_map)
      return fail("monster people need a map number where monsters roam");
    for (auto& o : out)
      if (o.map == d.map) return fail("map " + w[1] + " is described twice");
    out.push_back(d);
  }
  return "";
}

std::string read_town_plans(const std::string& path, std::vector<place_desc>& places) {
  std::ifstream in(path);
  if (!in) return path + ": cannot be opened";
  int line_no = 0;
  for (std::string line; std::getline(in, line);) {
    line_no++;
    std::istringstream ws(line.substr(0, line.find('#')));
    std::vector<std::string> w;
    for (std::string s; ws >> s;) w.push_back(s);
    if (w.empty()) continue;
    auto fail = [&](const std::string& what) {
      return path + ":" + std::to_string(line_no) + ": " + what;
    };
    int map = 0;
    std::vector<int> size;
    if (w.size() != 3 || !int_of(w[0], 1, 254, map) || !int_list(w[2], 'x', size) ||
        size.size() != 2 || size[0] < 20 || size[1] < 18)
      return fail("a town's plan is MAP PLAN WIDTHxHEIGHT (at least 20x18)");
    place_desc* town = nullptr;
    for (auto& p : places)
      if (p.map == map && p.kind == "town") town = &p;
    if (!town) return fail("map " + w[0] + " is no town of the places");
    town->plan = w[1], town->width = size[0], town->height = size[1];
  }
  return "";
}
