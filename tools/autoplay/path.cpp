#include "tools/autoplay/path.h"

#include "field/walk.h"
#include "platform/platform.h"

#include <algorithm>
#include <cstring>
#include <deque>

namespace {

constexpr int DX[4] = {0, -1, 1, 0};
constexpr int DY[4] = {1, 0, 0, -1};

bool inside(int x, int y) {
  return x >= 0 && y >= 0 && x <= st.map_max_x && y <= st.map_max_y;
}

int has_ship() {
  for (u8 e : st.sb.bag)
    if (e == 160) return 1;
  return 0;
}

// The door record on (x, y) opens for the party as it stands now.
int door_opens(int x, int y) {
  for (int i = 0; i < st.map_event_count; i++) {
    const map_event& e = st.map_events[i];
    if (e.x == x && e.y == y) return e.a == 0 && has_key(e.b);
  }
  return 0;
}

struct node {
  int x, y, ship;
};

int index_of(int x, int y, int ship) {
  return (ship * 256 + y) * 256 + x;
}

// The tile a step leads to; sailing wraps around the world's edges.
int next_tile(int x, int y, int dir, int ship, int* nx, int* ny) {
  *nx = x + DX[dir], *ny = y + DY[dir];
  if (inside(*nx, *ny)) return 1;
  if (!ship) return 0;
  if (*nx < 0) *nx = st.map_max_x;
  if (*nx > st.map_max_x) *nx = 0;
  if (*ny < 0) *ny = st.map_max_y;
  if (*ny > st.map_max_y) *ny = 0;
  return 1;
}

bool at_goal(const path_goal& g, int x, int y, int) {
  if (g.off_edge) return false;
  if (g.adjacent) return std::abs(x - g.x) + std::abs(y - g.y) == 1;
  return x == g.x && y == g.y;
}

// The ship on or off after entering (x, y).
int ship_after(int x, int y, int ship) {
  int t = st.map_grid[y][x];
  if (water_tile(t) && st.cur_map == WORLD_MAP) return 1;
  if (ship && st.tile_class[t] == 0) return 0;
  return ship;
}

} // namespace

int npc_at(int x, int y) {
  for (const npc& n : st.npc_table) {
    if (n.x != x || n.y != y || (n.state & 1) || n.state == 255) continue;
    if (n.type == 2 && st.sb.flags[n.b] != 0) continue;
    if (n.type == 0 && n.sprite == 0 && n.a == 0 && n.b == 0) continue; // an empty record
    return 1;
  }
  return 0;
}

int passable(int x, int y, int ship) {
  if (!inside(x, y) || npc_at(x, y)) return 0;
  int t = st.map_grid[y][x];
  if (st.cur_map == WORLD_MAP && water_tile(t) && !ship) return has_ship();
  int k = st.tile_class[t];
  switch (k) {
  case 0: case 4: case 6: case 7: case 11: return 1;
  case 17: return door_opens(x, y);
  default: return k < 0 || k > 17;
  }
}

int find_path(const path_goal& goal, std::vector<int>* steps) {
  steps->clear();
  node s{st.pos_x, st.pos_y, st.on_ship ? 1 : 0};
  if (!inside(s.x, s.y)) return 1;
  std::vector<int> parent(2 * 256 * 256, -1), dir(2 * 256 * 256, -1);
  std::deque<node> queue{s};
  int start = index_of(s.x, s.y, s.ship);
  parent[start] = start;
  int found = -1, last_dir = -1;
  while (!queue.empty() && found < 0) {
    node n = queue.front();
    queue.pop_front();
    int here = index_of(n.x, n.y, n.ship);
    if (at_goal(goal, n.x, n.y, 0)) found = here;
    for (int d = 0; d < 4 && found < 0; d++) {
      int nx, ny;
      if (!next_tile(n.x, n.y, d, n.ship, &nx, &ny)) {
        if (goal.off_edge && st.edge_exit) found = here, last_dir = d;
        continue;
      }
      bool is_target = !goal.adjacent && !goal.off_edge && nx == goal.x && ny == goal.y;
      if (!is_target && !passable(nx, ny, n.ship)) continue;
      int i = index_of(nx, ny, ship_after(nx, ny, n.ship));
      if (parent[i] >= 0) continue;
      parent[i] = here, dir[i] = d;
      queue.push_back({nx, ny, ship_after(nx, ny, n.ship)});
    }
  }
  if (found < 0) return 1;
  if (last_dir >= 0) steps->push_back(last_dir);
  for (int i = found; i != start; i = parent[i]) steps->push_back(dir[i]);
  std::reverse(steps->begin(), steps->end());
  return 0;
}

int dir_key(int dir) {
  static const int keys[4] = {VK_DOWN, VK_LEFT, VK_RIGHT, VK_UP};
  return keys[dir & 3];
}

void step_from(int dir, int* x, int* y) {
  *x += DX[dir & 3];
  *y += DY[dir & 3];
}
