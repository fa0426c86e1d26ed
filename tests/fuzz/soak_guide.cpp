#include "tests/fuzz/soak_guide.h"
#include "gfx/title_screens.h"

#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_map.h"
#include "message/message.h"
#include "shell/shell.h"
#include "tools/autoplay/path.h"
#include "tools/autoplay/world_index.h"

#include <algorithm>
#include <cstdlib>

namespace {

// Presses the walk waits for a person in the way before it gives up.
constexpr int PATIENCE = 48;

struct guide_walk {
  bool on = false;
  int map = 0;
  std::vector<int> steps;
  std::vector<int> xs, ys; // the place before each step, and after the last
  std::size_t at = 0;
  int waited = 0;
};
guide_walk g;
std::vector<int> town_gates; // world-map stairs into a place with counters, x | y << 8

// The counters the walk goes to: the inn, the shops, the church.
bool service_class(int k) {
  return k == 8 || k == 9 || k == 10 || k == 13 || k == 14;
}

// The counters of the live map or of a map of the world index.
std::vector<int> counters_of(const map_view& v) {
  std::vector<int> out;
  for (int i = 0; i < v.event_count; i++) {
    const map_event& e = v.events[i];
    if (e.x <= v.max_x && e.y <= v.max_y && service_class(v.classes[v.grid[e.y * v.stride + e.x]]))
      out.push_back(e.x | e.y << 8);
  }
  return out;
}

int distance_to(int tile) {
  return std::abs((tile & 255) - game.pos_x) + std::abs((tile >> 8) - game.pos_y);
}

bool walk_to(const path_goal& goal) {
  return find_path(goal, &g.steps, true) == 0 && !g.steps.empty();
}

// In a town: mostly a counter, now and then the way out. On the world map:
// one of the three nearest town gates, or the next nearest there is a way
// to. Anywhere else: the way to the world.
bool plan_walk(unsigned pick) {
  std::vector<int> counters = guide_counters();
  path_goal goal;
  if (!counters.empty()) {
    int c = counters[(pick / 4) % counters.size()];
    if (pick % 4 == 0 && game.edge_exit)
      goal.off_edge = 1;
    else
      goal.x = c & 255, goal.y = c >> 8;
    return walk_to(goal);
  }
  if (game.cur_map != WORLD_MAP) return plan_trip(WORLD_MAP, &goal) == 0 && walk_to(goal);
  std::vector<int> near = town_gates;
  std::sort(near.begin(), near.end(), [](int a, int b) {
    return distance_to(a) != distance_to(b) ? distance_to(a) < distance_to(b) : a < b;
  });
  std::size_t from = near.empty() ? 0 : pick % std::min<std::size_t>(3, near.size());
  for (std::size_t k = 0; k < near.size(); k++) {
    int c = near[(from + k) % near.size()];
    goal.x = c & 255, goal.y = c >> 8;
    if (walk_to(goal)) return true;
  }
  return false;
}

void end_walk() {
  g.on = false;
}

} // namespace

bool window_open() {
  return field_menu.cmd_menu != CMD_CLOSED || field_menu.system_win || field_menu.status_win ||
         field_menu.magic_win || field_menu.item_win || field_menu.equip_win ||
         battle.member_pick || battle.item_pick || services.shop_win || services.inn_win ||
         services.church_win;
}

bool free_to_walk() {
  bool messages = msg_window.msg_visible || msg_window.msg_wait_key || events.wait_answer;
  return title_screens.title_mode == 0 && field_map.transition == WIPE_NONE &&
         battle.battle_mode == BATTLE_NONE && battle.gameover_state == 0 &&
         field_map.world_map_view == 0 && !window_open() && !messages;
}

bool guide_open() {
  if (read_world_index() != 0) return false;
  town_gates.clear();
  for (const map_link& l : world_maps.maps[WORLD_MAP].links)
    if (world_maps.maps[l.to_map & 255].present && !counters_of(index_view(l.to_map)).empty())
      town_gates.push_back(l.x | l.y << 8);
  return true;
}

std::vector<int> guide_counters() {
  return counters_of(live_view());
}

bool guide_begin(unsigned pick) {
  end_walk();
  // during a step the party already stands where the step ends
  if (!free_to_walk() || !plan_walk(pick)) return false;
  g.map = game.cur_map, g.at = 0, g.waited = 0;
  g.xs.assign(1, game.pos_x), g.ys.assign(1, game.pos_y);
  for (int d : g.steps) {
    int x = g.xs.back(), y = g.ys.back();
    step_from(d, &x, &y);
    g.xs.push_back(x), g.ys.push_back(y);
  }
  return g.on = true;
}

int guide_key() {
  if (!g.on) return -1;
  if (!free_to_walk() || game.cur_map != g.map) return end_walk(), -1;
  if (field_map.step_dir != 0) return 0;
  if (game.pos_x == g.xs[g.at + 1] && game.pos_y == g.ys[g.at + 1]) g.at++, g.waited = 0;
  if (g.at >= g.steps.size()) return end_walk(), -1;
  // pushed off the way (an event moved the party), or waiting too long
  if (game.pos_x != g.xs[g.at] || game.pos_y != g.ys[g.at] || ++g.waited > PATIENCE)
    return end_walk(), -1;
  return dir_key(g.steps[g.at]);
}
