// zandrek-soak GAME_DIR SEED TICKS [--reach-shop]: the game on the headless
// platform, as zandrek-replay runs it, played by a seeded random stream of
// keys for TICKS frame ticks. After every tick the state must lie inside its
// ranges; the first value outside them stops the run with the tick, the
// check and the last keys. The game runs in a copy of GAME_DIR, so that its
// saves go there. With --reach-shop a run that never stood in a shop fails.
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "platform/headless/sound_headless.h"
#include "platform/platform.h"
#include "shell/shell.h"
#include "state/state.h"
#include "tests/fuzz/soak_guide.h"
#include "tools/replay/drive.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

struct soak_run {
  u32 rand = 1;
  long tick_no = 0;
  int keys[32]{}; // the last keys, for the report
  int key_count = 0;
  bool guide = false; // the maps are known, so the guide can find its way
};
soak_run run;

// Keys a player uses, the arrows more often; never Escape or F12, which quit.
const int soak_keys[] = {VK_LEFT, VK_UP,    VK_RIGHT, VK_DOWN, VK_LEFT, VK_UP,    VK_RIGHT,
                         VK_DOWN, VK_SPACE, 'D',      'C',     'C',     'Q',      'F',
                         'R',     'M',      'N',      'P',     'K',     VK_RETURN};

constexpr int JOURNEY_WALKS = 4;

u32 next() {
  run.rand = run.rand * 1103515245u + 12345u;
  return run.rand >> 16 & 0x7FFF;
}

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "zandrek-soak: tick %ld: %s\nlast keys:", run.tick_no, what);
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

void check_ranges() {
  SOAK_CHECK(st.map_max_x >= 0 && st.map_max_x <= 255 && st.map_max_y >= 0 && st.map_max_y <= 255);
  SOAK_CHECK(st.pos_x >= 0 && st.pos_x <= 255 && st.pos_y >= 0 && st.pos_y <= 255);
  SOAK_CHECK(st.facing >= 0 && st.facing <= 8 && st.facing % 2 == 0);
  SOAK_CHECK(st.sb.gold >= 0);
  for (const member& m : st.sb.party) {
    SOAK_CHECK(m.hp <= m.hp_max);
    SOAK_CHECK(m.mp <= m.mp_max);
  }
  for (const npc& p : st.npc_table)
    if (p.wanders) SOAK_CHECK(p.x <= st.map_max_x && p.y <= st.map_max_y);
  SOAK_CHECK(mw.msg_count >= 0 && mw.msg_count <= MSG_LINES);
  SOAK_CHECK(mw.msg_reveal_line >= 0 && mw.msg_reveal_line <= MSG_LINES);
  SOAK_CHECK(mw.msg_top_line >= 0 && mw.msg_top_line <= MSG_LINES);
  SOAK_CHECK(mw.msg_reveal_col >= 0 && mw.msg_reveal_col < MSG_LINE_SIZE);
  SOAK_CHECK(ev.event_no >= 0 && ev.event_no < EVENT_COUNT);
  SOAK_CHECK(ev.event_pc >= 0 && ev.event_pc <= 255);
  SOAK_CHECK(sh.frame_period_ms <= FRAME_PERIOD_SLOWEST || sh.frame_period_ms == FRAME_STOPPED);
  SOAK_CHECK(headless.log.size() < 2000000);
}

// What the run has been through, for its last line.
struct soak_reach {
  bool maps[256]{};
  int battles = 0, shops = 0, inns = 0, churches = 0, menus = 0;
  bool in_battle = false, in_shop = false, in_inn = false, in_church = false, in_menu = false;
};
soak_reach seen;

void note_reach() {
  seen.maps[st.cur_map & 255] = true;
  auto count = [](bool now, bool& was, int& n) {
    if (now && !was) n++;
    was = now;
  };
  count(bt.battle_mode != 0, seen.in_battle, seen.battles);
  count(sp.shop_win != 0, seen.in_shop, seen.shops);
  count(sp.inn_win != 0, seen.in_inn, seen.inns);
  count(sp.church_win != 0, seen.in_church, seen.churches);
  count(fmn.cmd_menu != 0 || fmn.system_win != 0, seen.in_menu, seen.menus);
}

void send(int k) {
  run.keys[run.key_count++ % 32] = k;
  drive_key(k);
}

// A player walks in strides: a direction key is held for a while, so that
// the party gets away from where it started, into towns and fights. One
// stride in three that starts on open field walks on purpose instead, where
// the guide finds a way: to a counter of the town, out of it, to a town's
// gate or out of a cave. Having set out, the player keeps to it for a few
// walks, through the fights that break them off and into the town it
// reaches.
void press() {
  static int held = 0, held_key = 0;
  static bool guided = false;
  static int journey = 0; // walks still to make once the player has set out
  if (guided) {
    int k = guide_key();
    if (k > 0) return send(k);
    if (k == 0) return; // a key during a step is lost: wait for its end
    guided = false;
  }
  int k = soak_keys[next() % (sizeof soak_keys / sizeof soak_keys[0])];
  if (held > 0) {
    k = held_key, held--;
  } else if (k == VK_LEFT || k == VK_UP || k == VK_RIGHT || k == VK_DOWN) {
    bool set_out = run.guide && free_to_walk() && (journey > 0 || next() % 3 == 0);
    if (set_out && guide_begin(next())) {
      journey = journey > 0 ? journey - 1 : JOURNEY_WALKS;
      guided = true;
      return press();
    }
    held = static_cast<int>(next() % 24), held_key = k;
  }
  send(k);
}

} // namespace

int main(int argc, char** argv) {
  bool want_shop = argc == 5 && std::strcmp(argv[4], "--reach-shop") == 0;
  if (argc != 4 && !want_shop) {
    std::fprintf(stderr, "usage: zandrek-soak GAME_DIR SEED TICKS [--reach-shop]\n");
    return 2;
  }
  run.rand = static_cast<u32>(std::strtoul(argv[2], nullptr, 10));
  long ticks = std::strtol(argv[3], nullptr, 10);
  char dir[] = "soak.XXXXXX";
  if (!mkdtemp(dir)) return 2;
  std::string copy = std::string("cp -a '") + argv[1] + "/.' " + dir;
  if (std::system(copy.c_str()) != 0 || chdir(dir) != 0) {
    std::fprintf(stderr, "zandrek-soak: cannot copy %s\n", argv[1]);
    return 2;
  }
  run.guide = guide_open();
  if (!run.guide) std::fprintf(stderr, "zandrek-soak: no world map here, no guided walks\n");
  if (drive_start(true) != 0) fail("start-up failed");
  int restarts = 0;
  for (run.tick_no = 0; run.tick_no < ticks; run.tick_no++) {
    // about one key every four ticks, as a quick player
    if (next() % 4 == 0) press();
    drive_tick();
    check_ranges();
    note_reach();
    if (run.tick_no % 4096 == 0) headless.log.clear(); // nobody reads it; keep memory flat
    if (drv.quit) { // the system menu's exit: the player starts the game again
      restarts++;
      release_drawing_objects();
      reset_game();
      if (drive_start(true) != 0) fail("start-up failed after an exit");
    }
  }
  int maps = 0;
  for (bool m : seen.maps) maps += m;
  std::printf("zandrek-soak: %ld ticks, seed %s, %d restarts, map %d at (%d, %d)\n", ticks, argv[2],
              restarts, st.cur_map, st.pos_x, st.pos_y);
  std::printf("zandrek-soak: %d maps, %d battles, %d shops, %d inns, %d churches, %d menus\n", maps,
              seen.battles, seen.shops, seen.inns, seen.churches, seen.menus);
  // the copy of the game folder goes with the run
  if (chdir("..") == 0 && std::system((std::string("rm -rf '") + dir + "'").c_str()) != 0)
    std::fprintf(stderr, "zandrek-soak: %s is left behind\n", dir);
  if (want_shop && seen.shops == 0) {
    std::fprintf(stderr, "zandrek-soak: no shop was reached\n");
    return 1;
  }
  return 0;
}
