#include "tools/autoplay/player.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_map.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/platform.h"
#include "platform/png.h"
#include "gfx/surfaces.h"
#include "shell/shell.h"
#include "tools/autoplay/drive.h"
#include "tools/autoplay/path.h"
#include "tools/autoplay/world_index.h"

#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

player_stats ps;

namespace {

constexpr int KEY_CONFIRM = 'D';
constexpr int KEY_CANCEL = 'C';
constexpr int KEY_YES = 'Y';
constexpr int KEY_NOTHING = 'Z'; // in no key table: only clears a wait

std::uint64_t budget = 0;

// Pictures of the run, when asked for: the first frames of battles and of
// every map visited.
void picture(const char* what, int n) {
  if (ps.pictures.empty() || ps.pictures_taken >= 200) return;
  char name[64];
  std::snprintf(name, sizeof name, "/%s_%03d.png", what, n);
  std::string why;
  if (write_png((ps.pictures + name).c_str(), gx.back_surface, &why) == 0) ps.pictures_taken++;
}

bool out_of_time() {
  return drv.quit || drv.ticks >= budget || ts.ending_shown == 1 || bt.gameover_state != 0;
}

bool party_choosing() {
  return bt.battle_mode == BATTLE_FIGHTING && !bt.monster_turn_pending && !bt.battle_wait_open &&
         !bt.battle_wait_turn && !mw.msg_wait_key;
}

bool alive_monster(int i) {
  return !(bt.monsters[i].status & STATUS_DEAD) && bt.monsters[i].hp > 0;
}

void move_cursor(i32& cursor, int want) {
  for (int n = 0; cursor != want && n < 8; n++) drive_key(cursor < want ? VK_DOWN : VK_UP);
}

// The member's spell entry (0..15) of the first spell it knows and can pay
// for that matches the test, or -1.
template <class Test> int known_spell(const member& m, Test test) {
  for (int e = 0; e < 16; e++) {
    int n = m.spells[e];
    if (!(m.spell_mask & (1u << e)) || n <= 0 || n >= 32) continue;
    const magic& s = st.magic_table[n];
    if (s.mp_cost <= m.mp && test(s)) return e;
  }
  return -1;
}

// The member whose HP is lowest against its maximum, while still alive; -1
// when nobody is below the given share.
int weakest_member(const save_block& sb, int percent) {
  int who = -1, worst = percent;
  for (int i = 0; i < 3; i++) {
    const member& m = sb.party[i];
    if ((m.status & STATUS_DEAD) || m.hp_max == 0) continue;
    int share = m.hp * 100 / m.hp_max;
    if (share < worst) who = i, worst = share;
  }
  return who;
}

int first_monster_standing() {
  int target = 0;
  while (target < bt.monster_count - 1 && !alive_monster(target)) target++;
  return target;
}

// Chooses spell entry e of the acting member, then its target.
void cast_in_battle(int e, int member_target) {
  move_cursor(bt.cmd_cursor, 1);
  drive_key(KEY_CONFIRM);
  if (bt.cmd_state != CMD_SPELL_LIST) return;
  for (int i = 0; bt.spell_cursor[0] != e / 4 && i < 4; i++)
    drive_key(bt.spell_cursor[0] < e / 4 ? VK_RIGHT : VK_LEFT);
  move_cursor(bt.spell_cursor[1], e % 4);
  drive_key(KEY_CONFIRM);
  if (bt.member_pick) {
    move_cursor(bt.spell_target_member, member_target);
    drive_key(KEY_CONFIRM);
  } else if (bt.cmd_state == CMD_SPELL_TARGET) {
    move_cursor(bt.magic_target_cursor, first_monster_standing());
    drive_key(KEY_CONFIRM);
  }
}

// One member's command: heal a member in danger, let a caster use its
// strongest attack spell while its MP lasts, otherwise attack.
void choose_command() {
  if (bt.cmd_state != CMD_LIST || bt.member_pick || bt.item_pick) {
    drive_key(KEY_CANCEL);
    return;
  }
  if (bt.first_key) drive_key(VK_UP); // the down key waits for a first confirm
  const member& me = bt.battle_copy.party[bt.actor];
  int hurt = weakest_member(bt.battle_copy, 40);
  int heal = known_spell(me, [](const magic& s) { return s.cls == 1; });
  if (hurt >= 0 && heal >= 0) return cast_in_battle(heal, hurt);
  int best = -1, power = 0;
  for (int e = 0; e < 16; e++) {
    int n = me.spells[e];
    if (!(me.spell_mask & (1u << e)) || n <= 0 || n >= 32) continue;
    const magic& s = st.magic_table[n];
    if (s.cls == 0 && s.mp_cost <= me.mp && s.power[0] > power) best = e, power = s.power[0];
  }
  if (best >= 0 && me.kind == 2 && me.mp * 3 > me.mp_max) return cast_in_battle(best, 0);
  move_cursor(bt.cmd_cursor, 0);
  drive_key(KEY_CONFIRM);
  if (bt.cmd_state != CMD_ATTACK_TARGET) return;
  move_cursor(bt.target_cursor, first_monster_standing());
  drive_key(KEY_CONFIRM);
}

// Keeps the game going until the field is idle: messages closed, battles
// fought, events answered, steps and wipes finished.
void settle() {
  static bool in_battle = false;
  for (int guard = 0; guard < 20000 && !out_of_time(); guard++) {
    if (sh.title_mode != 0) return;
    if (bt.battle_mode == BATTLE_FIGHTING && !in_battle) {
      for (int i = 0; i < 3; i++) drive_tick(); // the battle screen drawn
      picture("battle", ps.battles);
      ps.battles++;
      if (st.cur_map == WORLD_MAP) ps.battles_world[st.cur_area % 14]++;
      else ps.battles_place[st.cur_area & 63]++;
    }
    in_battle = bt.battle_mode == BATTLE_FIGHTING;
    if (mw.msg_wait_key) {
      drive_key(KEY_NOTHING);
    } else if (bt.battle_mode == BATTLE_FIGHTING) {
      if (bt.battle_wait_open || bt.battle_wait_turn) drive_key(KEY_NOTHING);
      else if (party_choosing()) choose_command();
      else drive_tick();
    } else if (bt.battle_mode != BATTLE_NONE) {
      drive_key(KEY_CONFIRM);
    } else if (ev.wait_answer) {
      drive_key(KEY_YES);
    } else if (fm.step_dir != 0 || sh.transition != 0 || mus.tune_playing) {
      drive_tick();
    } else if (sp.shop_win || sp.inn_win || sp.church_win) {
      drive_key(KEY_CANCEL);
    } else if (mw.msg_visible) {
      drive_key(KEY_CONFIRM);
    } else if (fmn.cmd_menu || fmn.system_win) {
      drive_key(KEY_CANCEL);
    } else {
      return;
    }
  }
}

// A step in one direction, followed to its end; 1 when the party moved.
int walk_one(int dir) {
  int x = st.pos_x, y = st.pos_y, map = st.cur_map;
  drive_key(dir_key(dir));
  bool moved = st.pos_x != x || st.pos_y != y || st.cur_map != map;
  while (fm.step_dir != 0 && !out_of_time()) drive_tick();
  if (moved) ps.steps++;
  settle();
  return moved;
}

// Walks towards the goal, planning again after every step (people wander,
// battles interrupt); 0 when the goal was reached.
int walk_to(const path_goal& goal) {
  int start_map = st.cur_map;
  for (int tries = 0; tries < 600 && !out_of_time(); tries++) {
    if (st.cur_map != start_map) return goal.off_edge ? 0 : 1;
    std::vector<int> steps;
    if (goal.adjacent && std::abs(st.pos_x - goal.x) + std::abs(st.pos_y - goal.y) == 1) return 0;
    if (!goal.adjacent && !goal.off_edge && st.pos_x == goal.x && st.pos_y == goal.y) return 0;
    if (find_path(goal, &steps) != 0 || steps.empty()) {
      drive_tick(); // someone may be standing in the way
      if (tries > 40) return 1;
      continue;
    }
    walk_one(steps[0]);
  }
  return 1;
}

int facing_dir(int x, int y) {
  if (y > st.pos_y) return DIR_DOWN;
  if (x < st.pos_x) return DIR_LEFT;
  if (x > st.pos_x) return DIR_RIGHT;
  return DIR_UP;
}

// Opens the command menu and carries out command n (row * 2 + column).
void command(int n) {
  drive_key(KEY_CONFIRM);
  if (fmn.cmd_menu != 1) return;
  move_cursor(fmn.cmd_row, n / 2);
  for (int i = 0; fmn.cmd_col != n % 2 && i < 2; i++)
    drive_key(fmn.cmd_col < n % 2 ? VK_RIGHT : VK_LEFT);
  drive_key(KEY_CONFIRM);
  settle();
}

// Walks up to (x, y) and talks across to it.
int talk_at(int x, int y) {
  if (walk_to({x, y, 1, 0}) != 0) return 1;
  drive_key(dir_key(facing_dir(x, y))); // turns to face it; the tile refuses the step
  settle();
  command(0);
  return 0;
}

// Walks into a tile that refuses the step (a counter, an event tile, a door).
int bump_into(int x, int y) {
  if (walk_to({x, y, 1, 0}) != 0) return 1;
  walk_one(facing_dir(x, y));
  return 0;
}

int search_at(int x, int y) {
  if (walk_to({x, y, 0, 0}) != 0) return 1;
  command(5);
  return 0;
}

int class_at(int x, int y) {
  return st.tile_class[st.map_grid[y & 255][x & 255]];
}

int member_hp_low() {
  for (int i = 0; i < 3; i++) {
    const member& m = st.sb.party[i];
    if (m.status & 1) return 1;
    if (m.hp_max > 0 && m.hp * 2 < m.hp_max) return 1;
  }
  return 0;
}

// ---- Places ----

std::set<int> talked; // people spoken to on this visit: map * 32 + index

void talk_to_people() {
  for (int i = 0; i < NPC_COUNT && !out_of_time(); i++) {
    const npc& n = st.npc_table[i];
    if (n.type != 2 || (n.state & 1) || st.sb.flags[n.b] != 0) continue;
    if (talked.count(st.cur_map * 32 + i)) continue;
    talked.insert(st.cur_map * 32 + i);
    talk_at(n.x, n.y);
  }
}

void fight_guardians() {
  for (int i = 0; i < NPC_COUNT && !out_of_time(); i++) {
    const npc& n = st.npc_table[i];
    if (n.type != 3 || (n.state & 1) || n.state == 255) continue;
    bump_into(n.x, n.y);
  }
}

void open_treasure() {
  for (int i = 0; i < st.map_event_count && !out_of_time(); i++) {
    map_event e = st.map_events[i];
    if (e.b != 128 || e.c == 0 || st.sb.flags[e.a] != 0) continue;
    if (class_at(e.x, e.y) == 1) continue;
    search_at(e.x, e.y);
  }
}

void visit_event_tiles() {
  for (int i = 0; i < st.map_event_count && !out_of_time(); i++) {
    map_event e = st.map_events[i];
    int k = class_at(e.x, e.y);
    bool event_tile = k == 5 || k == 12 || k == 15 || (k == 17 && e.a != 0);
    if (event_tile) bump_into(e.x, e.y);
    if (k == 17 && e.a == 0 && has_key(e.b)) bump_into(e.x, e.y);
  }
}

void explore_here() {
  talk_to_people();
  open_treasure();
  visit_event_tiles();
  fight_guardians();
  talk_to_people(); // people who appear once a goal is done
}

// Rests at the inn of the map when it has one.
int rest_here() {
  for (int y = 0; y <= st.map_max_y; y++)
    for (int x = 0; x <= st.map_max_x; x++) {
      if (class_at(x, y) != 8) continue;
      if (bump_into(x, y) != 0 || !sp.inn_win) continue;
      sp.inn_row == 0 ? drive_key(KEY_CONFIRM) : (drive_key(VK_UP), drive_key(KEY_CONFIRM));
      ps.rests++;
      settle();
      return 0;
    }
  return 1;
}

// Takes the party one map nearer along the route.
int take_link(int to) {
  const map_info& m = wi.maps[st.cur_map];
  for (const map_link& l : m.links)
    if (l.to_map == to) return walk_to({l.x, l.y, 0, 0});
  if (m.kind == 2 && m.return_map == to) return walk_to({0, 0, 0, 1});
  return 1;
}

int go_to_map(int target) {
  for (int hops = 0; st.cur_map != target && hops < 12 && !out_of_time(); hops++) {
    std::vector<int> route = map_route(st.cur_map, target);
    if (route.size() < 2) return 1;
    int before = st.cur_map;
    take_link(route[1]);
    settle();
    if (st.cur_map == before) return 1;
  }
  return st.cur_map == target ? 0 : 1;
}

// The nearest town with an inn, by map changes.
int nearest_inn() {
  int best = -1;
  std::size_t best_len = 1000;
  for (int n = 0; n < 256; n++) {
    const map_info& m = wi.maps[n];
    if (!m.present || n == WORLD_MAP) continue;
    bool inn = false;
    for (u8 t : m.grid) inn |= wi.classes[t] == 8;
    if (!inn) continue;
    std::vector<int> r = map_route(st.cur_map, n);
    if (!r.empty() && r.size() < best_len) best = n, best_len = r.size();
  }
  return best;
}

void recover() {
  if (!member_hp_low()) return;
  int inn = nearest_inn();
  int back = st.cur_map;
  if (inn < 0 || go_to_map(inn) != 0) return;
  talked.clear();
  rest_here();
  go_to_map(back);
}

void begin_new_game() {
  for (int n = 0; n < 20 && !drv.quit && sh.title_mode == 0; n++) drive_tick();
  while (sh.title_mode == 1 && !drv.quit && drv.ticks < budget) {
    drive_key(KEY_CONFIRM); // NEW GAME is under the cursor at start
    drive_tick();
  }
  for (int n = 0; n < 2000 && sh.title_mode == 2 && !drv.quit; n++) {
    if (!mw.msg_wait_key && n > 200) drive_key(KEY_CONFIRM);
    else if (mw.msg_wait_key) drive_key(KEY_NOTHING);
    drive_tick();
  }
  settle();
}

} // namespace

int read_places(const char* path, std::vector<place_entry>* out, std::string* why) {
  std::ifstream in(path);
  if (!in) return *why = std::string("cannot read ") + path, 1;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream words(line);
    place_entry p;
    if (!(words >> p.kind) || p.kind[0] == '#') continue;
    if (!(words >> p.map)) continue;
    out->push_back(p);
  }
  if (out->empty()) return *why = std::string("no places in ") + path, 1;
  return 0;
}

int play_to_the_end(const std::vector<place_entry>& places, std::uint64_t tick_budget) {
  budget = tick_budget;
  std::string pictures = ps.pictures;
  ps = player_stats{};
  ps.pictures = pictures;
  begin_new_game();
  for (int round = 0; round < 4 && !out_of_time(); round++) {
    for (const place_entry& p : places) {
      if (out_of_time()) break;
      recover();
      if (go_to_map(p.map) != 0) continue;
      talked.clear();
      picture("map", st.cur_map);
      explore_here();
      recover();
    }
    if (!out_of_time()) go_to_map(WORLD_MAP);
  }
  ps.lost = bt.gameover_state != 0;
  if (ts.ending_shown == 1) return 0;
  if (ps.lost) ps.stuck = "the party was wiped out";
  else if (drv.ticks >= budget) ps.stuck = "out of time";
  else ps.stuck = "every place visited, no ending";
  return 1;
}
