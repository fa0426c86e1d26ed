// The journey: the finishing player walks, settles what the game asks, keeps
// the party whole, and goes from place to place in the order of the world's
// place list, training where the monsters are stronger than the party.
#include "tools/autoplay/player.h"
#include "tools/autoplay/player_parts.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/platform.h"
#include "platform/png.h"
#include "shell/shell.h"
#include "tools/autoplay/path.h"
#include "tools/autoplay/world_index.h"
#include "tools/replay/drive.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

player_stats player;

namespace autoplay {

std::uint64_t budget = 0; // the tick the run stops at

// Pictures of the run, when asked for: the first frame of every battle and
// of every map the journey enters, however many. The first picture that
// cannot be written is told on standard error.
void picture(const char* what, int n) {
  if (player.pictures.empty()) return;
  char name[64];
  std::snprintf(name, sizeof name, "/%s_%03d.png", what, n);
  std::string why;
  if (write_png((player.pictures + name).c_str(), gfx.back_surface, &why) == 0)
    player.pictures_taken++;
  else if (player.pictures_failed++ == 0)
    std::fprintf(stderr, "zandrek-autoplay: %s\n", why.c_str());
}

// With tracing on, every line the message window gets is written to
// standard error as it first appears.
void trace_messages() {
  static std::string shown[MSG_LINES];
  if (!player.trace) return;
  for (int i = 0; i < msg_window.msg_count && i < MSG_LINES; i++) {
    if (shown[i] == msg_window.msg_line[i]) continue;
    shown[i] = msg_window.msg_line[i];
    if (!shown[i].empty())
      std::fprintf(stderr, "[%llu] %s\n", static_cast<unsigned long long>(driver.ticks),
                   sjis_to_utf8(shown[i].c_str()).c_str());
  }
  for (int i = msg_window.msg_count; i < MSG_LINES && !shown[i].empty(); i++) shown[i].clear();
}

bool milestone() {
  return player.until_flag >= 0 && player.until_flag < 256 && game.sb.flags[player.until_flag] != 0;
}

bool out_of_time() {
  trace_messages();
  return driver.quit || driver.ticks >= budget || events.ending_shown == 1 ||
         battle.gameover_state != 0 || milestone();
}

int held_on_map = -1;

// Keeps the game going until the field is idle: messages closed, battles
// fought, events answered, steps and wipes finished.
void settle() {
  static bool in_battle = false;
  for (int guard = 0; guard < 20000 && !out_of_time(); guard++) {
    if (title_screens.title_mode != 0) return;
    if (battle.battle_mode == BATTLE_FIGHTING && !in_battle) {
      for (int i = 0; i < 3; i++) drive_tick(); // the battle screen drawn
      picture("battle", player.battles);
      player.battles++;
      if (game.cur_map == WORLD_MAP)
        player.battles_world[game.cur_area % 14]++;
      else
        player.battles_place[game.cur_area & 63]++;
    }
    in_battle = battle.battle_mode == BATTLE_FIGHTING;
    if (in_battle && battle.fixed_battle) held_on_map = game.cur_map; // a guardian met
    if (music.tune_playing && !music.music_failed && !music.music_muted) {
      drive_tick(); // a fanfare holds every key until it ends
    } else if (msg_window.msg_wait_key) {
      drive_key(KEY_NOTHING);
    } else if (battle.battle_mode == BATTLE_FIGHTING) {
      if (battle.battle_wait_open || battle.battle_wait_turn)
        drive_key(KEY_NOTHING);
      else if (party_choosing())
        choose_command();
      else
        drive_tick();
    } else if (battle.battle_mode != BATTLE_NONE) {
      drive_key(KEY_CONFIRM);
    } else if (events.wait_answer) {
      drive_key(KEY_YES);
    } else if (field_map.step_dir != 0 || field_map.transition != 0 || music.tune_playing) {
      drive_tick();
    } else if (services.shop_win || services.inn_win || services.church_win) {
      drive_key(KEY_CANCEL);
    } else if (field_menu.status_win || field_menu.magic_win || field_menu.item_win ||
               field_menu.item_action_win || field_menu.item_info_win || field_menu.equip_win ||
               field_menu.equip_list_win || battle.member_pick || battle.item_pick) {
      drive_key(KEY_CANCEL); // a field window: back out of it, the message first
    } else if (msg_window.msg_visible) {
      drive_key(KEY_CONFIRM);
    } else if (field_menu.cmd_menu || field_menu.system_win) {
      drive_key(KEY_CANCEL);
    } else {
      return;
    }
  }
}

// A step in one direction, followed to its end; 1 when the party moved.
int walk_one(int dir, bool then_settle = true) {
  if (player.detour && player.detour()) {
    settle();
    return 0;
  }
  int x = game.pos_x, y = game.pos_y, map = game.cur_map;
  drive_key(dir_key(dir));
  bool moved = game.pos_x != x || game.pos_y != y || game.cur_map != map;
  while (field_map.step_dir != 0 && !out_of_time()) drive_tick();
  if (moved) player.steps++;
  if (then_settle || !(services.shop_win || services.inn_win || services.church_win)) settle();
  return moved;
}

// Walks towards the goal, planning again after every step (people wander,
// battles interrupt); 0 when the goal was reached.
int walk_to(const path_goal& goal) {
  int start_map = game.cur_map;
  for (int tries = 0; tries < 600 && !out_of_time(); tries++) {
    if (game.cur_map != start_map) return goal.off_edge ? 0 : 1;
    std::vector<int> steps;
    if (goal.adjacent && std::abs(game.pos_x - goal.x) + std::abs(game.pos_y - goal.y) == 1)
      return 0;
    if (!goal.adjacent && !goal.off_edge && game.pos_x == goal.x && game.pos_y == goal.y) return 0;
    if ((find_path(goal, &steps) != 0 || steps.empty()) &&
        (find_path(goal, &steps, true) != 0 || steps.empty())) {
      if (player.trace && tries == 0)
        std::fprintf(stderr, "no way from (%d,%d) to (%d,%d) on map %d\n", game.pos_x, game.pos_y,
                     goal.x, goal.y, game.cur_map);
      return 1;
    }
    if (!walk_one(steps[0]))
      for (int i = 0; i < 8; i++) drive_tick(); // someone in the way: let them walk on
    if (member_hp_low()) look_after_party();
  }
  return 1;
}

int facing_dir(int x, int y) {
  if (y > game.pos_y) return DIR_DOWN;
  if (x < game.pos_x) return DIR_LEFT;
  if (x > game.pos_x) return DIR_RIGHT;
  return DIR_UP;
}

// Opens the command menu and carries out command n (row * 2 + column).
void command(int n) {
  drive_key(KEY_CONFIRM);
  if (field_menu.cmd_menu != 1) return;
  move_cursor(field_menu.cmd_row, n / 2);
  for (int i = 0; field_menu.cmd_col != n % 2 && i < 2; i++)
    drive_key(field_menu.cmd_col < n % 2 ? VK_RIGHT : VK_LEFT);
  drive_key(KEY_CONFIRM);
  settle();
}

// Walks up to (x, y) and talks across to it.
// Talks to person i, following it while it wanders; 0 once the party stood
// beside it, facing it, when it spoke.
int talk_to(int i) {
  for (int tries = 0; tries < 8 && !out_of_time(); tries++) {
    const npc& n = game.npc_table[i];
    if (walk_to({n.x, n.y, 1, 0}) != 0) continue;
    if (std::abs(game.pos_x - n.x) + std::abs(game.pos_y - n.y) != 1 || field_map.step_dir)
      continue;
    drive_key(dir_key(facing_dir(n.x, n.y)));
    if (std::abs(game.pos_x - n.x) + std::abs(game.pos_y - n.y) != 1) continue; // it walked on
    command(0);
    return 0;
  }
  return 1;
}

// A person (not a monster, not a guardian) standing on the tile.
bool someone_on(int x, int y) {
  for (const npc& n : game.npc_table)
    if (n.x == x && n.y == y && !(n.state & 1) && n.type != 1 && n.type != 3 &&
        !(n.type == 2 && game.sb.flags[n.b] != 0))
      return true;
  return false;
}

// Walks into a tile that refuses the step (a counter, an event tile, a
// door); a shop, inn or church window it opens stays open.
int bump_into(int x, int y) {
  for (int tries = 0; tries < 8 && !out_of_time(); tries++) {
    if (walk_to({x, y, 1, 0}) != 0) return 1;
    if (!someone_on(x, y)) break;
    for (int i = 0; i < 32; i++) drive_tick(); // someone stands there: let them walk on
  }
  walk_one(facing_dir(x, y), false);
  return 0;
}

int search_at(int x, int y) {
  if (walk_to({x, y, 0, 0}) != 0) return 1;
  command(5);
  return 0;
}

int class_at(int x, int y) {
  return game.tile_class[game.map_grid[y & 255][x & 255]];
}

// Someone dead that money can raise, or someone alive below three fifths of
// its HP that money can rest.
int member_hp_low() {
  for (int i = 0; i < 3; i++) {
    const member& m = game.sb.party[i];
    if (m.status & 1) {
      if (game.sb.gold >= 300) return 1;
      continue;
    }
    if ((m.status & STATUS_POISON) && game.sb.gold >= 50) return 1;
    if (game.sb.gold < 100) continue;
    if (m.hp_max > 0 && m.hp * 5 < m.hp_max * 3) return 1;
  }
  return 0;
}

// Standing on stairs takes the party nowhere (it came out onto them, or a
// battle met it there): one step off and back on.
void step_off_and_back() {
  for (int d = 0; d < 4; d++) {
    int x = game.pos_x, y = game.pos_y;
    step_from(d, &x, &y);
    if (!passable(x, y, game.on_ship)) continue;
    int map = game.cur_map;
    if (!walk_one(d) || game.cur_map != map) return;
    walk_one(3 - d); // the opposite direction: DOWN<->UP, LEFT<->RIGHT
    return;
  }
}

int go_to_map(int target) {
  for (int hops = 0; game.cur_map != target && hops < 16 && !out_of_time(); hops++) {
    path_goal leg;
    if (plan_trip(target, &leg) != 0) return 1;
    int before = game.cur_map;
    if (player.trace)
      std::fprintf(stderr, "[%llu] map %d (%d,%d): to (%d,%d)%s on the way to %d\n",
                   static_cast<unsigned long long>(driver.ticks), game.cur_map, game.pos_x,
                   game.pos_y, leg.x, leg.y, leg.off_edge ? " over the edge" : "", target);
    if (!leg.off_edge && game.pos_x == leg.x && game.pos_y == leg.y)
      step_off_and_back();
    else
      walk_to(leg);
    settle();
    // a battle on the stairs keeps the party on them: step off and on again
    bool on_stairs = !leg.off_edge && game.pos_x == leg.x && game.pos_y == leg.y;
    if (game.cur_map == before && !on_stairs) return 1;
  }
  return game.cur_map == target ? 0 : 1;
}

// The town with a counter of the class (TILE_INN or TILE_CHURCH) that is the
// shortest walk away.
int nearest_with(int counter) {
  int best = -1, best_steps = 1 << 30;
  for (int n = 0; n < 256; n++) {
    const map_info& m = world_maps.maps[n];
    if (!m.present || n == WORLD_MAP) continue;
    bool has = false;
    for (u8 t : m.grid) has |= world_maps.classes[t] == counter;
    if (!has) continue;
    if (n == game.cur_map) return n;
    path_goal leg;
    int steps = 0;
    if (plan_trip(n, &leg, &steps) == 0 && steps < best_steps) best = n, best_steps = steps;
  }
  return best;
}

int anyone_dead() {
  for (int i = 0; i < 3; i++)
    if (game.sb.party[i].status & STATUS_DEAD) return 1;
  return 0;
}

// After a battle: heal with spells, and go to an inn when that is not enough.
void look_after_party() {
  static bool busy = false;
  if (busy) return;
  busy = true;
  if (field_heal() != 0 || member_hp_low()) recover();
  busy = false;
}

// Someone down or below four fifths of HP, when money can mend it.
int not_whole() {
  for (int i = 0; i < 3; i++) {
    const member& m = game.sb.party[i];
    if ((m.status & STATUS_DEAD) ? game.sb.gold >= 300
                                 : m.hp * 5 < m.hp_max * 4 && game.sb.gold >= 100)
      return 1;
  }
  return 0;
}

void recover(bool before_a_fight) {
  static std::uint64_t quiet_until = 0; // after a trip that healed nothing
  if (held_on_map == game.cur_map) return;
  if (!(before_a_fight ? not_whole() : member_hp_low()) || driver.ticks < quiet_until) return;
  int back = game.cur_map;
  if ((anyone_dead() && game.sb.gold >= 300) || (anyone_poisoned() && game.sb.gold >= 50)) {
    int church = nearest_with(TILE_CHURCH);
    if (church >= 0 && go_to_map(church) == 0) revive_here();
  }
  if (game.sb.gold >= 100) {
    int inn = nearest_with(TILE_INN);
    if (inn >= 0 && go_to_map(inn) == 0) rest_here();
  }
  talked.clear();
  if (member_hp_low()) quiet_until = driver.ticks + 5000;
  go_to_map(back);
}

void begin_new_game() {
  for (int n = 0; n < 20 && !driver.quit && title_screens.title_mode == 0; n++) drive_tick();
  while (title_screens.title_mode == 1 && !driver.quit && driver.ticks < budget) {
    drive_key(KEY_CONFIRM); // NEW GAME is under the cursor at start
    drive_tick();
  }
  for (int n = 0; n < 2000 && title_screens.title_mode == 2 && !driver.quit; n++) {
    if (!msg_window.msg_wait_key && n > 200)
      drive_key(KEY_CONFIRM);
    else if (msg_window.msg_wait_key)
      drive_key(KEY_NOTHING);
    drive_tick();
  }
  settle();
}

} // namespace autoplay

int read_places(const char* path, std::vector<place_entry>* out, std::string* why) {
  std::ifstream in(path);
  if (!in) {
    *why = std::string("cannot read ") + path;
    return 1;
  }
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    place_entry p;
    if (!(words >> p.kind) || p.kind[0] == '#') continue;
    if (!(words >> p.map)) continue;
    out->push_back(p);
  }
  if (out->empty()) {
    *why = std::string("no places in ") + path;
    return 1;
  }
  return 0;
}

namespace autoplay {

// The level of the monsters a map meets: the average of its area's
// encounter row, rounded up (0 on maps where none roam).
int row_level(const u8 (&row)[8]) {
  int sum = 0;
  for (u8 sp_no : row) sum += species_table[sp_no].level;
  return (sum + 7) / 8;
}

// The land a place opens onto: the world area of its gate (for a lower
// floor, of the floor above it).
int land_level(int map, int depth = 0) {
  for (const map_link& l : world_maps.maps[WORLD_MAP].links)
    if (l.to_map == map) {
      const map_info& w = world_maps.maps[WORLD_MAP];
      int area = world_area_of_tile(w.grid[static_cast<std::size_t>(l.y) * (w.max_x + 1) + l.x]);
      return area < 12 ? row_level(world_encounters[area]) : 0;
    }
  for (int n = 0; n < 256 && depth < 4; n++)
    for (const map_link& l : world_maps.maps[n].links)
      if (l.to_map == map && n != WORLD_MAP && n != map) return land_level(n, depth + 1);
  return 0;
}

int monster_level(int map) {
  const map_info& m = world_maps.maps[map & 255];
  bool roams = map != WORLD_MAP && encounter_map(map);
  int top = land_level(map);
  if (m.present && roams) top = std::max(top, row_level(dungeon_encounters[m.area & 63]));
  return top;
}

int heading_to = 0;      // the place the journey is bound for
int extra_levels[256]{}; // more levels wanted at a place that wiped the party out

// The strongest guardian waiting on a map, by level.
int guardian_level(int map) {
  int top = 0;
  for (const npc& n : world_maps.maps[map & 255].people)
    if (n.type == 3) top = std::max<int>(top, species_table[n.a].level);
  return top;
}

// The level to reach before setting out for a place: a little above the
// monsters that roam there and its guardian.
int wanted_level(int map) {
  return std::max(monster_level(map), guardian_level(map)) + 2 + extra_levels[map & 255];
}

// The level of the last guardian (the one of the highest level). Places
// whose monsters outrank it by more than 15 levels are left for after the
// ending, as a player leaves them.
int last_guardian_level(const std::vector<place_entry>& places) {
  int last = 0;
  for (const place_entry& p : places) last = std::max(last, guardian_level(p.map));
  return last;
}

int party_level() {
  int sum = 0;
  for (int i = 0; i < 3; i++) sum += game.sb.party[i].level;
  return sum / 3;
}

// Walks up and down the world map until the party's level reaches the
// wanted one, resting when it must, as a player does before a hard place.
void train_until(int level) {
  if (party_level() >= level || go_to_map(WORLD_MAP) != 0) return;
  int home_x = game.pos_x, home_y = game.pos_y;
  for (int n = 0; n < 30000 && party_level() < level && !out_of_time(); n++) {
    if (game.cur_map != WORLD_MAP && go_to_map(WORLD_MAP) != 0) return;
    look_after_party();
    if (game.cur_map != WORLD_MAP) continue;
    static unsigned wander = 12345; // the player's own dice: the game's draws stay the game's
    wander = wander * 1103515245u + 12345u;
    int dir = (wander >> 16) & 3;
    int x = game.pos_x, y = game.pos_y;
    step_from(dir, &x, &y);
    bool near = std::abs(x - home_x) + std::abs(y - home_y) <= 6;
    if (near && passable(x, y, game.on_ship) && !water_tile(game.map_grid[y & 255][x & 255]))
      walk_one(dir);
  }
}

// The game started again after a wipe-out, as a player closes the window,
// runs it once more and continues from the last save; 0 when the party
// stands on the field again.
int restart_from_save() {
  std::uint64_t ticks = driver.ticks;
  held_on_map = -1;
  drive_post(MSG_COMMAND, CMD_CLOSE);
  release_drawing_objects();
  reset_game();
  if (drive_start(true) != 0) return 1;
  driver.ticks = ticks;
  for (int n = 0; n < 20 && title_screens.title_mode == 0; n++) drive_tick();
  if (title_screens.title_mode != TITLE_MENU || game.slots[0].map == 0) return 1;
  move_cursor(title_screens.title_cursor, 1); // "CONTINUE"
  drive_key(KEY_CONFIRM);
  move_cursor(title_screens.title_slot, 0);
  drive_key(KEY_CONFIRM);
  for (int n = 0; n < 40 && !out_of_time(); n++) drive_tick();
  settle();
  return title_screens.title_mode == TITLE_PLAY ? 0 : 1;
}

// A story count: the flags set and the items held in the bag.
int progress() {
  int n = 0;
  for (u8 f : game.sb.flags) n += f != 0;
  for (u8 b : game.sb.bag) n += b != 0;
  return n;
}

// Rounds of the whole journey, as long as each one moves the story on. A
// place left with the story where it stands now has nothing new to give.
void journey(const std::vector<place_entry>& places, std::vector<int>& left_at) {
  int last = last_guardian_level(places);
  for (int round = 0, before = -1; round < 12 && !out_of_time() && progress() != before; round++) {
    before = progress();
    for (const place_entry& p : places) {
      if (out_of_time()) break;
      if (left_at[p.map & 255] == progress() || monster_level(p.map) > last + 15) continue;
      recover();
      path_goal leg;
      if (game.cur_map != p.map && plan_trip(p.map, &leg) != 0) {
        if (player.trace)
          std::fprintf(stderr, "no trip from map %d (%d,%d) to %d\n", game.cur_map, game.pos_x,
                       game.pos_y, p.map);
        continue;
      }
      heading_to = p.map;
      train_until(wanted_level(p.map));
      if (go_to_map(p.map) != 0) continue;
      talked.clear();
      picture("map", game.cur_map);
      explore_here();
      left_at[p.map & 255] = progress();
      recover();
    }
    if (!out_of_time()) go_to_map(WORLD_MAP);
  }
}

} // namespace autoplay

using namespace autoplay;

int play_to_the_end(const std::vector<place_entry>& places, std::uint64_t tick_budget) {
  budget = tick_budget;
  player_stats asked = player;
  player = player_stats{};
  player.pictures = asked.pictures, player.trace = asked.trace,
  player.until_flag = asked.until_flag;
  player.detour = asked.detour, player.go_on = asked.go_on;
  if (!player.go_on) {
    begin_new_game();
    save_game();
  }
  std::vector<int> left_at(256, -1);
  for (;;) {
    journey(places, left_at);
    if (battle.gameover_state == 0 || player.wipeouts >= 40 || driver.ticks >= budget) break;
    // the place the party was bound for wants more levels next time
    player.wipeouts++;
    extra_levels[heading_to & 255] += 2;
    if (player.trace)
      std::fprintf(stderr, "[%llu] wiped out on the way to map %d: again from the save\n",
                   static_cast<unsigned long long>(driver.ticks), heading_to);
    if (restart_from_save() != 0) break;
    std::fill(left_at.begin(), left_at.end(), -1);
  }
  player.lost = battle.gameover_state != 0;
  if (events.ending_shown == 1 || milestone()) return 0;
  if (player.lost)
    player.stuck = "the party was wiped out";
  else if (driver.ticks >= budget)
    player.stuck = "out of time";
  else if (driver.quit)
    player.stuck = "the game ended";
  else
    player.stuck = "every place visited, no ending";
  return 1;
}
