// What the default game's frames and its heavier single jobs cost, each set
// up by the game's own start-up in the generated game folder and timed
// through the calls the main loop makes. Every figure is read against the
// first one, a plain copy of the back buffer's bytes measured in the same
// run: the ratio says how many back-buffer copies a job is worth, which
// stays comparable from one machine to the next.
//
// The folders' own benchmarks (field_bench, battle_bench, audio_bench,
// event_bench, gfx_bench) time their pieces on small made-up worlds; these
// time the real game.
#include "audio/music.h"
#include "battle/battle.h"
#include "event/scic.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"
#include "tests/common/test_files.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t BACK_BYTES = 256 * 256 * 3;

void drain() {
  int code = 0;
  while (headless_pending() > 0) loop_pass(&code);
}

void key(int vk) {
  plat_post_message(MSG_KEYDOWN, static_cast<std::uint32_t>(vk));
  drain();
}

// One tick, as the loop runs it once the clock says one is due.
void frame() {
  headless.clock_ms = shell.last_tick_ms + shell.frame_period_ms + 1;
  render_frame();
}

// The game as the program starts it, in the default game's folder, on its
// title screen with the window active.
bool start_game() {
  static const bool in_game_dir = chdir(ZK_GAME_DIR) == 0;
  release_drawing_objects();
  reset_game();
  headless_reset();
  if (!in_game_dir || startup() != 0) return false;
  plat_post_message(MSG_ACTIVATEAPP, 1);
  drain();
  return true;
}

// A new game, its opening skipped, and the ticks of the wipe: the party
// stands on the world map as a player first sees it.
bool start_field() {
  if (!start_game()) return false;
  key('D');
  key('D');
  for (int i = 0; i < 400 && (title_screens.title_mode != 0 || field_map.transition != WIPE_NONE);
       i++)
    frame();
  return title_screens.title_mode == 0 && field_map.transition == WIPE_NONE &&
         battle.battle_mode == BATTLE_NONE;
}

bool ready(benchmark::State& state, bool ok) {
  if (!ok) state.SkipWithError("the default game did not start (is the game folder built?)");
  return ok;
}

void BM_memcpy_back_buffer(benchmark::State& state) {
  std::vector<std::uint8_t> from(BACK_BYTES, 0x5A), to(BACK_BYTES);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), BACK_BYTES);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * BACK_BYTES));
}
BENCHMARK(BM_memcpy_back_buffer);

void BM_title_frame(benchmark::State& state) {
  if (!ready(state, start_game())) return;
  for (auto _ : state) frame();
}
BENCHMARK(BM_title_frame);

void BM_field_standing(benchmark::State& state) {
  if (!ready(state, start_field())) return;
  for (auto _ : state) frame();
}
BENCHMARK(BM_field_standing);

// Walking to and fro on the road where the game starts: 16 scrolling frames
// and the arrival, then the way back. The countdown to a random encounter is
// kept from running out so that the walk stays on the field.
void BM_field_scrolling(benchmark::State& state) {
  if (!ready(state, start_field())) return;
  int dir = VK_RIGHT;
  int64_t scrolled = 0;
  for (auto _ : state) {
    if (field_map.step_dir == 0) {
      game.encounter_steps = 100;
      key(dir);
      dir = dir == VK_RIGHT ? VK_LEFT : VK_RIGHT;
    }
    if (field_map.step_dir != 0 && field_map.step_dir != STEP_ARRIVED) scrolled++;
    frame();
  }
  if (scrolled * 2 < state.iterations()) state.SkipWithError("the party did not walk");
  state.counters["scrolling"] =
      benchmark::Counter(static_cast<double>(scrolled) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_field_scrolling);

// Every window of the field at once, as no player can open them, over a full
// message window: the most a field frame ever draws.
void open_every_window() {
  field_menu.cmd_menu = CMD_EQUIP;
  field_menu.status_win = 2;
  field_menu.magic_win = field_menu.member_win = field_menu.item_win = field_menu.item_action_win =
      1;
  field_menu.item_info_win = field_menu.equip_win = field_menu.equip_list_win = 1;
  battle.member_pick = battle.item_pick = 1;
  services.inn_win = services.church_win = services.shop_win = 1;
  services.shop_sub = 1;
  services.shop_row = SHOP_SELL;
  services.shop_sell_list = 1;
  services.shop_pick = services.church_pick = 1;
  field_menu.system_win = 1;
  field_menu.sys_state = SYS_YES_NO;
  field_map.area_label_on = 1;
  msg_print(PRINT_NEW, "すべての窓がひらいている。");
  for (int i = 0; i < 8; i++) msg_print(PRINT_ADD, "@NAME0は　@ITEM001を　みつけた！");
  msg_window.msg_visible = 1;
}

void BM_field_every_window(benchmark::State& state) {
  if (!ready(state, start_field())) return;
  open_every_window();
  for (auto _ : state) frame();
}
BENCHMARK(BM_field_every_window);

void BM_battle_frame(benchmark::State& state) {
  if (!ready(state, start_field())) return;
  start_set_battle(32);
  for (auto _ : state) frame();
  if (battle.battle_mode == BATTLE_NONE) state.SkipWithError("no battle on screen");
}
BENCHMARK(BM_battle_frame);

// The F view's first picture: a pixel for each of the world's 65536 tiles.
void BM_world_map_first_drawing(benchmark::State& state) {
  if (!ready(state, start_field())) return;
  field_map.world_map_view = 1;
  for (auto _ : state) {
    field_map.world_map_drawn = 0;
    draw_world_map_view();
  }
}
BENCHMARK(BM_world_map_first_drawing);

// A new report at the printer's full length: 160 bytes once the names are in.
void BM_msg_print_long_report(benchmark::State& state) {
  if (!ready(state, start_field())) return;
  const char* text = "@NAME0は　@MAGIC01を　となえた！　@WMSD000に　@ITEM001の　ちからが"
                     "　おそいかかる！　@NAME1と　@NAME2も　つづいて　こうげきした。"
                     "　まものたちは　たおれた！　ゴールドを　てにいれた！";
  char out[MSG_EXPAND_SIZE + 1];
  state.counters["bytes"] = benchmark::Counter(msg_expand(text, out));
  for (auto _ : state) {
    msg_print(PRINT_NEW, text);
    benchmark::DoNotOptimize(msg_window.msg_count);
  }
}
BENCHMARK(BM_msg_print_long_report);

// The default game's whole story, as zandrek-scic compiles it; the compiler
// writes its files into a scratch folder, never over the game's own.
void BM_compile_default_events(benchmark::State& state) {
  std::string src = read_text(ZK_GAME_DIR "/event.sci");
  char dir[] = "/tmp/zk_frame_costs.XXXXXX";
  if (src.empty() || !mkdtemp(dir) || chdir(dir) != 0) {
    state.SkipWithError("no event.sci in the game folder");
    return;
  }
  int rc = SCIC_OK;
  for (auto _ : state) {
    reset_scic_state();
    rc = scic_compile_source(src.data(), src.size());
  }
  if (rc != SCIC_OK) state.SkipWithError("the default events did not compile");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * src.size()));
  std::system((std::string("rm -rf '") + dir + "'").c_str());
  if (chdir(ZK_GAME_DIR) != 0) state.SkipWithError("cannot go back to the game folder");
}
BENCHMARK(BM_compile_default_events)->Unit(benchmark::kMillisecond);

// One 1024-byte stream buffer of the field's music, as the stream's thread
// refills it; at the end of the piece the converter starts it again.
void BM_convert_midi_buffer(benchmark::State& state) {
  if (!ready(state, start_game())) return;
  music_stop();
  if (midi_open_file("field.mid") != 0) {
    state.SkipWithError("field.mid cannot be read");
    return;
  }
  music.first_event = 1;
  stream_buffer b{};
  int first = 1;
  int64_t bytes = 0;
  for (auto _ : state) {
    b.start = 0;
    b.max_length = MUSIC_BUFFER_BYTES;
    b.tick = 0;
    b.times_up = 0;
    if (midi_convert(first, &b) != CONVERT_OK) {
      state.SkipWithError("the piece did not convert");
      break;
    }
    first = 0;
    bytes += b.recorded;
  }
  midi_close_file();
  midi_free_tracks();
  state.SetBytesProcessed(bytes);
  state.counters["bytes_per_buffer"] =
      benchmark::Counter(static_cast<double>(bytes) / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_convert_midi_buffer);

} // namespace
