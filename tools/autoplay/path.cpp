#include "tools/autoplay/path.h"

#include "field/walk.h"
#include "platform/platform.h"
#include "tools/autoplay/world_index.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <queue>
#include <tuple>

namespace {

constexpr int DX[4] = {0, -1, 1, 0};
constexpr int DY[4] = {1, 0, 0, -1};
constexpr int CELLS = 2 * 256 * 256;

bool inside(const map_view& v, int x, int y) {
  return x >= 0 && y >= 0 && x <= v.max_x && y <= v.max_y;
}

int tile(const map_view& v, int x, int y) {
  return v.grid[y * v.stride + x];
}

int has_ship() {
  for (u8 e : game.sb.bag)
    if (e == 160) return 1;
  return 0;
}

// The door on (x, y) opens for the party as it stands now.
int door_opens(const map_view& v, int x, int y) {
  for (int i = 0; i < v.event_count; i++) {
    const map_event& e = v.events[i];
    if (e.x == x && e.y == y) return e.a == 0 && has_key(e.b);
  }
  return 0;
}

int index_of(int x, int y, int ship) {
  return (ship * 256 + y) * 256 + x;
}

// The tile a step leads to; sailing wraps around the world's edges.
int next_tile(const map_view& v, int x, int y, int dir, int ship, int* nx, int* ny) {
  *nx = x + DX[dir], *ny = y + DY[dir];
  if (inside(v, *nx, *ny)) return 1;
  if (!ship) return 0;
  *nx = *nx < 0 ? v.max_x : *nx > v.max_x ? 0 : *nx;
  *ny = *ny < 0 ? v.max_y : *ny > v.max_y ? 0 : *ny;
  return 1;
}

// The ship on or off after entering (x, y).
int ship_after(const map_view& v, int x, int y, int ship) {
  int t = tile(v, x, y);
  if (water_tile(t) && v.map == WORLD_MAP) return 1;
  if (ship && v.classes[t] == TILE_GROUND) return 0;
  return ship;
}

// Every tile reachable from (x, y): parent links and directions for the
// way back, the stair and edge tiles entered only as ends.
struct reach {
  std::vector<int> parent, dir;
  int start = 0;
  int edge_from = -1, edge_dir = -1; // a tile from which the map is left over its edge
};

void spread(const map_view& v, int x, int y, int ship, reach* r) {
  r->parent.assign(CELLS, -1);
  r->dir.assign(CELLS, -1);
  r->edge_from = r->edge_dir = -1;
  if (!inside(v, x, y)) x = y = 0; // an arrival place outside its map: plan from its corner
  r->start = index_of(x, y, ship);
  r->parent[r->start] = r->start;
  std::deque<int> queue{r->start};
  while (!queue.empty()) {
    int here = queue.front();
    queue.pop_front();
    int hx = here & 255, hy = (here >> 8) & 255, hs = here >> 16;
    bool passing = here == r->start || passable(v, hx, hy, hs);
    if (!passing) continue; // a stair or counter: reached, not crossed
    for (int d = 0; d < 4; d++) {
      int nx, ny;
      if (!next_tile(v, hx, hy, d, hs, &nx, &ny)) {
        if (v.edge_exit && r->edge_from < 0) r->edge_from = here, r->edge_dir = d;
        continue;
      }
      int k = v.classes[tile(v, nx, ny)];
      bool end_tile = k == TILE_STAIRS || k == TILE_DOORWAY;
      if (!end_tile && !passable(v, nx, ny, hs)) continue;
      int i = index_of(nx, ny, ship_after(v, nx, ny, hs));
      if (r->parent[i] >= 0) continue;
      r->parent[i] = here, r->dir[i] = d;
      queue.push_back(i);
    }
  }
}

int steps_to(const reach& r, int i) {
  int n = 0;
  for (; i != r.start && n < CELLS; i = r.parent[i]) n++;
  return n;
}

int reached(const reach& r, int x, int y) {
  for (int s = 0; s < 2; s++)
    if (r.parent[index_of(x, y, s)] >= 0) return index_of(x, y, s);
  return -1;
}

// Where leaving a town over its edge comes out: the world stair into it.
int edge_return(int map, int* x, int* y) {
  for (const map_link& l : world_maps.maps[WORLD_MAP].links)
    if (l.to_map == map) return *x = l.x, *y = l.y, 1;
  return 0;
}

} // namespace

map_view live_view() {
  map_view v;
  v.map = game.cur_map, v.max_x = game.map_max_x, v.max_y = game.map_max_y,
  v.edge_exit = game.edge_exit;
  v.grid = &game.map_grid[0][0], v.stride = 256, v.classes = game.tile_class;
  v.events = game.map_events, v.event_count = game.map_event_count, v.live = true;
  return v;
}

map_view index_view(int map) {
  const map_info& m = world_maps.maps[map & 255];
  map_view v;
  v.map = map, v.max_x = m.max_x, v.max_y = m.max_y, v.edge_exit = m.kind == 2;
  v.grid = m.grid.data(), v.stride = m.max_x + 1, v.classes = world_maps.classes;
  v.events = m.events.data(), v.event_count = static_cast<int>(m.events.size());
  return v;
}

int npc_at(int x, int y) {
  for (const npc& n : game.npc_table) {
    if (n.x != x || n.y != y || (n.state & 1) || n.state == 255) continue;
    if (n.type == 2 && game.sb.flags[n.b] != 0) continue;
    if (n.type == 0 && n.sprite == 0 && n.a == 0 && n.b == 0) continue; // an empty record
    return 1;
  }
  return 0;
}

int passable(const map_view& v, int x, int y, int ship) {
  if (!inside(v, x, y) || (v.live && npc_at(x, y))) return 0;
  int t = tile(v, x, y);
  if (v.map == WORLD_MAP && water_tile(t) && !ship) return has_ship();
  int k = v.classes[t];
  switch (k) {
  case TILE_GROUND:
  case 4: // plain ground too
  case 6:
  case 7:
  case TILE_CHEST:
    return 1;
  case TILE_DOOR:
    return door_opens(v, x, y);
  default:
    return k < 0 || k > TILE_DOOR;
  }
}

int passable(int x, int y, int ship) {
  return passable(live_view(), x, y, ship);
}

int find_path(const path_goal& goal, std::vector<int>* steps, bool through_people) {
  steps->clear();
  map_view v = live_view();
  v.live = !through_people;
  if (!inside(v, game.pos_x, game.pos_y)) return 1;
  int start = index_of(game.pos_x, game.pos_y, game.on_ship ? 1 : 0);
  std::vector<int> parent(CELLS, -1), dir(CELLS, -1);
  std::deque<int> queue{start};
  parent[start] = start;
  int found = -1, last_dir = -1;
  while (!queue.empty() && found < 0) {
    int here = queue.front();
    queue.pop_front();
    int hx = here & 255, hy = (here >> 8) & 255, hs = here >> 16;
    if (!goal.off_edge && (goal.adjacent ? std::abs(hx - goal.x) + std::abs(hy - goal.y) == 1
                                         : hx == goal.x && hy == goal.y)) {
      found = here;
      break;
    }
    for (int d = 0; d < 4 && found < 0; d++) {
      int nx, ny;
      if (!next_tile(v, hx, hy, d, hs, &nx, &ny)) {
        if (goal.off_edge && v.edge_exit) found = here, last_dir = d;
        continue;
      }
      bool target = !goal.adjacent && !goal.off_edge && nx == goal.x && ny == goal.y;
      if (!target && !passable(v, nx, ny, hs)) continue;
      int i = index_of(nx, ny, ship_after(v, nx, ny, hs));
      if (parent[i] >= 0) continue;
      parent[i] = here, dir[i] = d;
      queue.push_back(i);
    }
  }
  if (found < 0) return 1;
  if (last_dir >= 0) steps->push_back(last_dir);
  for (int i = found; i != start; i = parent[i]) steps->push_back(dir[i]);
  std::reverse(steps->begin(), steps->end());
  return 0;
}

int plan_trip(int target, path_goal* first_leg, int* steps_out) {
  using place = std::tuple<int, int, int, int>;    // map, x, y, ship
  std::map<place, std::pair<int, path_goal>> best; // steps so far, the first leg
  std::priority_queue<std::pair<int, place>, std::vector<std::pair<int, place>>, std::greater<>>
      open;
  // off the map (the step that leaves a town over its edge): no plan yet
  if (!inside(live_view(), game.pos_x, game.pos_y)) return 1;
  place start{game.cur_map, game.pos_x, game.pos_y, game.on_ship ? 1 : 0};
  best[start] = {0, path_goal{}};
  open.push({0, start});
  reach r;
  while (!open.empty()) {
    auto [cost, at] = open.top();
    open.pop();
    auto [map, x, y, ship] = at;
    if (best[at].first < cost) continue;
    if (map == target && at != start) {
      if (steps_out) *steps_out = cost;
      return *first_leg = best[at].second, 0;
    }
    bool first = at == start;
    map_view v = first ? live_view() : index_view(map);
    v.live = false; // people wander off; walking waits for them
    if (!world_maps.maps[map & 255].present && !first) continue;
    spread(v, x, y, ship, &r);
    auto offer = [&](place next, int steps, const path_goal& leg) {
      auto it = best.find(next);
      if (it != best.end() && it->second.first <= cost + steps) return;
      best[next] = {cost + steps, first ? leg : best[at].second};
      open.push({cost + steps, next});
    };
    for (const map_link& l : world_maps.maps[map & 255].links) {
      int i = reached(r, l.x, l.y);
      if (i >= 0) offer({l.to_map, l.to_x, l.to_y, i >> 16}, steps_to(r, i) + 20, {l.x, l.y, 0, 0});
    }
    int rx, ry;
    if (r.edge_from >= 0 && edge_return(map, &rx, &ry))
      offer({WORLD_MAP, rx, ry, 0}, steps_to(r, r.edge_from) + 21, {0, 0, 0, 1});
  }
  return 1;
}

int dir_key(int dir) {
  static const int keys[4] = {VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP};
  return keys[dir & 3];
}

void step_from(int dir, int* x, int* y) {
  *x += DX[dir & 3];
  *y += DY[dir & 3];
}
