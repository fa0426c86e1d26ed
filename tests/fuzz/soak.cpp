// zandrek-soak GAME_DIR SEED TICKS [--reach-shop] [--maps N] [--trace]: the
// game on the headless platform, as zandrek-replay runs it, played for TICKS
// frame ticks by the finishing player (tools/autoplay) on its journey
// through the whole world, with detours drawn from a seeded stream before
// its steps: the command menu and its windows, the system menu's saves,
// loads and event items, the town counters, the ship, the whole-map view,
// the music and speed keys, strides of its own. After every tick and every
// key the state must lie inside its ranges; the first value outside them
// stops the run with the tick, the check and the last keys. After the
// ending or a wipe-out for good the game starts again. The game runs in a
// copy of GAME_DIR, so that its saves go there. --reach-shop fails a run
// that never stood in a shop, --maps N one that visited fewer than N maps.
#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "gfx/text.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "state/state.h"
#include "tests/fuzz/soak_guide.h"
#include "tools/autoplay/path.h"
#include "tools/autoplay/player.h"
#include "tools/replay/drive.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct soak_run {
  u32 rand = 1;
  long ticks_before = 0; // ticks of the games before this one
  int keys[32]{};        // the last keys, for the report
  int key_count = 0;
  int detours = 0;
};
soak_run run;

// One detour in this many steps of the journey.
constexpr u32 DETOUR_ODDS = 24;
// Keys of a burst in a window or a service: the arrows more often than the
// rest; never Escape or F12, which quit, and never Y, which sells.
const int burst_keys[] = {VK_LEFT,  VK_UP,   VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP,
                          VK_RIGHT, VK_DOWN, VK_SPACE, 'D',     'C',     VK_RETURN};
constexpr int KEY_NO_ANSWER = 'N';
constexpr int KEY_NOTHING = 'Z'; // in no key table: only clears a wait
constexpr int SHIP_ITEM = 160;
constexpr int SEA_REACH = 10; // tiles around the party searched for the sea

u32 next() {
  run.rand = run.rand * 1103515245u + 12345u;
  return run.rand >> 16 & 0x7FFF;
}

long tick_no() {
  return run.ticks_before + static_cast<long>(driver.ticks);
}

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "zandrek-soak: tick %ld: %s\nlast keys:", tick_no(), what);
  int n = run.key_count < 32 ? run.key_count : 32;
  for (int i = run.key_count - n; i < run.key_count; i++)
    std::fprintf(stderr, " 0x%02X", run.keys[i % 32]);
  std::fprintf(stderr, "\n");
  std::exit(1);
}

#define SOAK_CHECK(cond)                                                                           \
  do {                                                                                             \
    if (!(cond)) fail(#cond);                                                                      \
  } while (0)

bool within(long v, long lo, long hi) {
  return v >= lo && v <= hi;
}

void check_field() {
  SOAK_CHECK(within(title_screens.title_mode, 0, 3) && within(game.cur_map, 0, 255));
  SOAK_CHECK(within(game.map_max_x, 0, 255) && within(game.map_max_y, 0, 255));
  SOAK_CHECK(within(game.pos_x, 0, 255) && within(game.pos_y, 0, 255));
  SOAK_CHECK(game.facing >= 0 && game.facing <= 8 && game.facing % 2 == 0);
  SOAK_CHECK(within(game.on_ship, 0, 1) && (game.on_ship == 0 || game.cur_map == WORLD_MAP));
  SOAK_CHECK(field_map.step_dir == 0 || field_map.step_dir == STEP_ARRIVED ||
             within(field_map.step_dir, STEP_LEFT, STEP_DOWN));
  SOAK_CHECK(within(field_map.step_off_x, -16, 16) && within(field_map.step_off_y, -16, 16));
  SOAK_CHECK(within(field_map.transition, WIPE_NONE, WIPE_OPENING));
  for (const npc& p : game.npc_table) {
    if (p.wanders) SOAK_CHECK(p.x <= game.map_max_x && p.y <= game.map_max_y);
    SOAK_CHECK(p.move_px <= 16);
  }
  SOAK_CHECK(shell.frame_period_ms <= FRAME_PERIOD_SLOWEST ||
             shell.frame_period_ms == FRAME_STOPPED);
}

void check_party(const save_block& sb) {
  SOAK_CHECK(sb.gold >= 0);
  for (int i = 0; i < 3; i++) {
    const member& m = sb.party[i];
    SOAK_CHECK(m.hp <= m.hp_max && m.mp <= m.mp_max);
    for (u8 e : {m.eq_head, m.eq_right, m.eq_left, m.eq_body, m.eq_acc1, m.eq_acc2, m.eq_acc3})
      SOAK_CHECK(e < 16 || e == NO_EQUIP);
  }
}

// Every window's cursor stays on a row the window has.
void check_windows() {
  SOAK_CHECK(within(field_menu.cmd_menu, CMD_CLOSED, CMD_EQUIP) &&
             within(field_menu.cmd_row, 0, 2));
  SOAK_CHECK(within(field_menu.cmd_col, 0, 1) && within(field_menu.sel_member, 0, 2));
  SOAK_CHECK(within(field_menu.status_win, 0, 2) && within(field_menu.magic_col, 0, 1));
  SOAK_CHECK(within(field_menu.magic_row, 0, 7) && within(field_menu.item_page, 0, 1));
  SOAK_CHECK(within(field_menu.item_row, 0, 7) &&
             within(field_menu.item_action_row, ACT_USE, ACT_LOOK));
  SOAK_CHECK(within(field_menu.equip_row, 0, 6) && within(field_menu.equip_list_page, 0, 1));
  SOAK_CHECK(within(field_menu.equip_list_row, 0, 7) &&
             within(field_menu.sys_state, SYS_MAIN, SYS_BAG));
  SOAK_CHECK(within(field_menu.sys_row, 0, 3) && within(field_menu.yes_no, 0, 1));
  SOAK_CHECK(within(field_menu.bag_page, 0, 1) && within(field_menu.save_cursor, 0, 7));
  SOAK_CHECK(within(field_menu.load_cursor, 0, 7) && within(battle.spell_target_member, 0, 2));
  SOAK_CHECK(within(battle.item_target_member, 0, 2) && within(services.inn_row, 0, 1));
  SOAK_CHECK(within(services.church_row, CHURCH_REVIVE, CHURCH_LEAVE));
  SOAK_CHECK(within(services.church_member, 0, 2) &&
             within(services.shop_row, SHOP_BUY, SHOP_LEAVE));
  SOAK_CHECK(within(services.shop_list_row, 0, SHOP_WARES - 1) &&
             within(services.shop_member, 0, 2));
  SOAK_CHECK(within(title_screens.title_cursor, 0, 1) && within(title_screens.title_slot, 0, 7));
}

void check_battle() {
  if (battle.battle_mode == BATTLE_NONE) return;
  SOAK_CHECK(within(battle.monster_count, 1, 3) && within(battle.actor, 0, 2));
  SOAK_CHECK(within(battle.cmd_state, 0, 5) && within(battle.cmd_cursor, 0, 4));
  SOAK_CHECK(within(battle.target_cursor, 0, battle.monster_count - 1));
  SOAK_CHECK(within(battle.magic_target_cursor, 0, battle.monster_count - 1));
  for (int i = 0; i < 2; i++)
    SOAK_CHECK(within(battle.spell_cursor[i], 0, 3) && within(battle.item_cursor[i], 0, 3));
  for (int i = 0; i < battle.monster_count; i++)
    SOAK_CHECK(battle.monsters[i].hp <= battle.monsters[i].hp_max);
  check_party(battle.battle_copy);
}

void check_ranges() {
  check_field();
  check_party(game.sb);
  check_windows();
  check_battle();
  SOAK_CHECK(within(msg_window.msg_count, 0, MSG_LINES - 1) &&
             within(msg_window.msg_reveal_line, 0, MSG_LINES));
  SOAK_CHECK(within(msg_window.msg_top_line, 0, MSG_LINES) &&
             msg_window.msg_top_line <= msg_window.msg_reveal_line);
  SOAK_CHECK(msg_window.msg_reveal_col >= 0 && msg_window.msg_reveal_col < MSG_LINE_SIZE);
  SOAK_CHECK(events.event_no >= 0 && events.event_no < EVENT_COUNT);
  SOAK_CHECK(events.event_pc >= 0 && events.event_pc <= 255);
  SOAK_CHECK(headless.log.size() < 2000000);
  SOAK_CHECK(text_drawing.layer_bypasses == 0);
}

// What the run has been through, for its last lines.
struct soak_reach {
  bool maps[256]{};
  int battles = 0, shops = 0, inns = 0, churches = 0, menus = 0, saves = 0, loads = 0;
  int voyages = 0, endings = 0, restarts = 0;
  bool in_battle = false, in_shop = false, in_inn = false, in_church = false, in_menu = false;
  bool ended = false;
};
soak_reach seen;

void note_reach() {
  if (title_screens.title_mode == TITLE_PLAY) seen.maps[game.cur_map & 255] = true;
  auto count = [](bool now, bool& was, int& n) {
    if (now && !was) n++;
    was = now;
  };
  count(battle.battle_mode != 0, seen.in_battle, seen.battles);
  count(services.shop_win != 0, seen.in_shop, seen.shops);
  count(services.inn_win != 0, seen.in_inn, seen.inns);
  count(services.church_win != 0, seen.in_church, seen.churches);
  count(field_menu.cmd_menu != 0 || field_menu.system_win != 0, seen.in_menu, seen.menus);
  count(events.ending_shown == 1, seen.ended, seen.endings);
}

void after_tick() {
  check_ranges();
  note_reach();
  if (driver.ticks % 4096 == 0) headless.log.clear(); // nobody reads it; keep memory flat
}

void after_key(int key) {
  run.keys[run.key_count++ % 32] = key;
  check_ranges();
}

// ---- Detours ----

long budget = 0; // ticks of the whole run

bool detour_over() {
  return driver.quit || tick_no() >= budget || title_screens.title_mode != TITLE_PLAY ||
         battle.battle_mode != BATTLE_NONE || battle.gameover_state != 0 ||
         events.ending_shown == 1;
}

// One step's key, followed to the step's end; true when the party moved.
bool step(int dir) {
  int x = game.pos_x, y = game.pos_y, map = game.cur_map;
  drive_key(dir_key(dir));
  for (int n = 0; n < 64 && field_map.step_dir != 0 && !driver.quit; n++) drive_tick();
  return game.pos_x != x || game.pos_y != y || game.cur_map != map;
}

bool confirm_key(int k) {
  return k == VK_SPACE || k == 'D' || k == VK_RETURN;
}

// A key of the burst, turned into a cancel where it would undo the journey
// for good: the system menu's exit, and dropping an item.
int safe_key(int k) {
  if (!confirm_key(k)) return k;
  bool exit_row =
      field_menu.system_win && field_menu.sys_state == SYS_MAIN && field_menu.sys_row == 3;
  bool drop =
      field_menu.item_action_win && field_menu.item_action_row == ACT_DROP && !battle.item_pick;
  return exit_row || drop ? 'C' : k;
}

// Random keys inside whatever is open, a few ticks after each.
void burst(int keys) {
  for (int n = 0; n < keys && !detour_over(); n++) {
    drive_key(safe_key(burst_keys[next() % (sizeof burst_keys / sizeof burst_keys[0])]));
    for (u32 t = next() % 4; t > 0; t--) drive_tick();
  }
}

// Backs out of every window the detour opened, saying no to a question, so
// that the player's own settling never confirms inside the system menu.
void leave_windows() {
  for (int n = 0; n < 48 && !driver.quit && battle.battle_mode == BATTLE_NONE; n++) {
    if (events.wait_answer)
      drive_key(KEY_NO_ANSWER);
    else if (msg_window.msg_wait_key)
      drive_key(KEY_NOTHING);
    else if (field_map.world_map_view)
      drive_key('F');
    else if (window_open() || msg_window.msg_visible)
      drive_key('C');
    else
      break;
    drive_tick();
  }
}

// The command menu on a random command, then keys inside its windows.
void menu_detour() {
  drive_key('D');
  burst(4 + static_cast<int>(next() % 16));
}

// In the system menu's main list, the row's command with the cursor on slot
// k of its list, answered yes; 0 when it was carried out.
int slot_command(int row, int k) {
  for (int n = 0; n < 3 && field_menu.sys_row != row; n++)
    drive_key(field_menu.sys_row < row ? VK_DOWN : VK_UP);
  drive_key('D');
  i32& cursor = row == 0 ? field_menu.save_cursor : field_menu.load_cursor;
  for (int n = 0; n < 8 && cursor != k; n++) drive_key(cursor < k ? VK_DOWN : VK_UP);
  drive_key('D'); // the question
  if (field_menu.yes_no != 0) drive_key(VK_UP);
  drive_key('D');
  return field_menu.sys_state == SYS_MAIN ? 0 : 1;
}

// The system menu: a save into a random slot (never the player's own, 0)
// and, half the time, that slot loaded at once, which must give back the
// party and the place just saved; or a look at the event items.
void system_detour() {
  drive_key('Q');
  if (!field_menu.system_win) return;
  u32 what = next() % 3;
  if (what == 2) {
    for (int n = 0; n < 2; n++) drive_key(VK_DOWN);
    drive_key('D');
    return burst(static_cast<int>(next() % 6));
  }
  int k = 1 + static_cast<int>(next() % 7);
  save_block was = game.sb;
  int map = game.cur_map, x = game.pos_x, y = game.pos_y;
  if (slot_command(0, k) != 0) return; // a tile that allows no saving
  seen.saves++;
  if (what == 0) return;
  slot_command(1, k);
  seen.loads++;
  SOAK_CHECK(game.cur_map == map && game.pos_x == x && game.pos_y == y && !field_menu.system_win);
  SOAK_CHECK(std::memcmp(&game.sb.gold, &was.gold, sizeof was - offsetof(save_block, gold)) == 0);
}

// To a counter of the town (or a town's gate, or out of a cave) on the
// guide's walk, then keys at whatever it opened.
void counter_detour() {
  if (!guide_begin(next())) return;
  for (int n = 0; n < 4000 && !detour_over(); n++) {
    int k = guide_key();
    if (k < 0) break;
    if (k == 0)
      drive_tick();
    else
      drive_key(k);
  }
  while (field_map.step_dir != 0 && !driver.quit) drive_tick();
  if (services.shop_win || services.inn_win || services.church_win)
    burst(4 + static_cast<int>(next() % 20));
}

bool has_ship() {
  for (u8 e : game.sb.bag)
    if (e == SHIP_ITEM) return true;
  return false;
}

// A stride: one direction held while the way is open.
void stride(int dir, int steps) {
  for (int n = 0; n < steps && !detour_over() && free_to_walk(); n++) {
    int x = game.pos_x, y = game.pos_y;
    step_from(dir, &x, &y);
    if (!passable(x, y, game.on_ship) || !step(dir)) break;
  }
}

// Out to a near sea tile of the world map and a few strides over the sea.
void ship_detour() {
  if (game.cur_map != WORLD_MAP || !has_ship()) return stride(static_cast<int>(next() % 4), 8);
  if (!game.on_ship) {
    std::vector<int> sea;
    for (int dy = -SEA_REACH; dy <= SEA_REACH; dy++)
      for (int dx = -SEA_REACH; dx <= SEA_REACH; dx++) {
        int x = game.pos_x + dx, y = game.pos_y + dy;
        if (within(x, 0, game.map_max_x) && within(y, 0, game.map_max_y) &&
            water_tile(game.map_grid[y][x]))
          sea.push_back(x | y << 8);
      }
    std::vector<int> steps;
    int goal = sea.empty() ? -1 : sea[next() % sea.size()];
    if (goal < 0 || find_path({goal & 255, goal >> 8, 0, 0}, &steps) != 0) return;
    for (int d : steps)
      if (detour_over() || !free_to_walk() || !step(d)) return;
  }
  if (game.on_ship) seen.voyages++;
  for (int n = 0; n < 4 && game.on_ship; n++)
    stride(static_cast<int>(next() % 4), 2 + static_cast<int>(next() % 10));
}

// Music keys: the next tune, music off and on, the fanfare.
void music_detour() {
  const int keys[] = {'M', 'N', 'P', 'M'};
  for (u32 n = 1 + next() % 4; n > 0 && !detour_over(); n--) {
    drive_key(keys[next() % 4]);
    for (u32 t = next() % 30; t > 0; t--) drive_tick();
  }
}

// The speed: K and the menu's "&Fast", "Slo&w" and "&Stop"; a stopped game
// is started again before the player goes on, as a player would.
void speed_detour() {
  const std::uint32_t commands[] = {CMD_SLOWER, CMD_FASTER, CMD_STOP, CMD_SIZE_1X1, CMD_SIZE_3X3};
  for (u32 n = 1 + next() % 4; n > 0 && !detour_over(); n--) {
    if (next() % 2)
      drive_key('K');
    else
      drive_post(MSG_COMMAND, commands[next() % 5]);
    for (u32 t = next() % 20; t > 0; t--) drive_tick();
  }
  if (shell.frame_period_ms == FRAME_STOPPED) drive_post(MSG_COMMAND, CMD_SLOWER);
}

// The field's own keys: the whole-map view, the area label, a look around.
void field_keys_detour() {
  const int keys[] = {'F', 'R', 'F', 'D'};
  drive_key(keys[next() % 4]);
  for (u32 t = next() % 40; t > 0; t--) drive_tick();
}

// A stride of its own in a random direction.
void stride_detour() {
  stride(static_cast<int>(next() % 4), 4 + static_cast<int>(next() % 16));
}

// The detours by their odds: the menus twice as often as the rest.
void (*const detours[])() = {menu_detour,    menu_detour,       system_detour,
                             counter_detour, ship_detour,       music_detour,
                             speed_detour,   field_keys_detour, stride_detour};

bool detour() {
  if (!free_to_walk() || next() % DETOUR_ODDS != 0) return false;
  run.detours++;
  // in a town, the counters half the time
  if (!guide_counters().empty() && next() % 2 == 0)
    counter_detour();
  else
    detours[next() % (sizeof detours / sizeof detours[0])]();
  leave_windows();
  return true;
}

// The ending screen for a while, under random keys of every kind.
void after_the_ending() {
  for (int n = 0; n < 64 && !driver.quit && tick_no() < budget; n++) {
    drive_key(burst_keys[next() % (sizeof burst_keys / sizeof burst_keys[0])]);
    for (u32 t = next() % 8; t > 0; t--) drive_tick();
  }
}

int usage() {
  std::fprintf(stderr,
               "usage: zandrek-soak GAME_DIR SEED TICKS [--reach-shop] [--maps N] [--trace]\n");
  return 2;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  bool want_shop = false;
  int want_maps = 0;
  for (int i = 4; i < argc; i++) {
    if (std::strcmp(argv[i], "--reach-shop") == 0)
      want_shop = true;
    else if (std::strcmp(argv[i], "--trace") == 0)
      player.trace = true;
    else if (std::strcmp(argv[i], "--maps") == 0 && i + 1 < argc)
      want_maps = std::atoi(argv[++i]);
    else
      return usage();
  }
  run.rand = static_cast<u32>(std::strtoul(argv[2], nullptr, 10));
  budget = std::strtol(argv[3], nullptr, 10);
  std::vector<place_entry> places;
  std::string why;
  if (read_places(ZK_SOURCE_DIR "/content/world/places.txt", &places, &why) != 0) {
    std::fprintf(stderr, "zandrek-soak: %s\n", why.c_str());
    return 2;
  }
  char dir[] = "soak.XXXXXX";
  if (!mkdtemp(dir)) return 2;
  std::string copy = std::string("cp -a '") + argv[1] + "/.' " + dir;
  if (std::system(copy.c_str()) != 0 || chdir(dir) != 0) {
    std::fprintf(stderr, "zandrek-soak: cannot copy %s\n", argv[1]);
    return 2;
  }
  if (!guide_open()) {
    std::fprintf(stderr, "zandrek-soak: no world map (dmapdat004.mp) in %s\n", argv[1]);
    return 2;
  }
  drive_after_key = after_key;
  drive_after_tick = after_tick;
  player.detour = detour;
  for (bool fresh = true;;) {
    if (fresh && drive_start(true) != 0) fail("start-up failed");
    std::uint64_t before = fresh ? 0 : driver.ticks;
    player.go_on = !fresh;
    play_to_the_end(places, static_cast<std::uint64_t>(budget - run.ticks_before));
    if (events.ending_shown == 1) after_the_ending();
    if (tick_no() >= budget) break;
    // A journey that ran out of places (a load took the story back) goes on
    // in the same game; the ending, a wipe-out for good or the exit start
    // the game again.
    fresh = driver.quit || events.ending_shown == 1 || battle.gameover_state != 0 ||
            driver.ticks == before;
    std::printf("zandrek-soak: tick %ld: %s (%s)\n", tick_no(),
                fresh ? "the game again" : "the journey again",
                player.stuck.empty() ? "the ending" : player.stuck.c_str());
    if (!fresh) continue;
    if (driver.ticks == 0) fail("the journey did not start");
    run.ticks_before += static_cast<long>(driver.ticks);
    seen.restarts++;
    release_drawing_objects();
    reset_game();
  }
  int maps = 0;
  for (bool m : seen.maps) maps += m;
  std::printf("zandrek-soak: %ld ticks, seed %s, %d restarts, %d detours, map %d at (%d, %d)\n",
              tick_no(), argv[2], seen.restarts, run.detours, game.cur_map, game.pos_x, game.pos_y);
  std::printf("zandrek-soak: %d maps, %d battles, %d shops, %d inns, %d churches, %d menus, "
              "%d saves, %d loads, %d voyages, %d endings\n",
              maps, seen.battles, seen.shops, seen.inns, seen.churches, seen.menus, seen.saves,
              seen.loads, seen.voyages, seen.endings);
  // the copy of the game folder goes with the run
  if (chdir("..") == 0 && std::system((std::string("rm -rf '") + dir + "'").c_str()) != 0)
    std::fprintf(stderr, "zandrek-soak: %s is left behind\n", dir);
  if (want_shop && seen.shops == 0) {
    std::fprintf(stderr, "zandrek-soak: no shop was reached\n");
    return 1;
  }
  if (maps < want_maps) {
    std::fprintf(stderr, "zandrek-soak: %d maps visited, fewer than %d\n", maps, want_maps);
    return 1;
  }
  return 0;
}
