#include "tests/shell/shell_fixture.h"
#include "gfx/title_screens.h"

#include "audio/music.h"
#include "gfx/surfaces.h"
#include "state/state.h"

#include <algorithm>

void ShellTest::SetUp() {
  headless_reset();
  reset_game();
  surface_create(gfx.back_surface, 256, 256);
  title_screens.title_mode = 0;
  shell.app_active = 1;
  music.field_music_on = 1;
  // a small town of open ground with nobody in it
  game.cur_map = 20;
  for (auto& row : game.map_grid)
    for (u8& t : row) t = 1;
  game.tile_class[1] = 0;
  game.map_max_x = game.map_max_y = 15;
  game.pos_x = game.pos_y = 8;
  game.view_x = game.view_y = -1;
  for (npc& n : game.npc_table) n.state = 255, n.x = n.y = 200;
}

void ShellTest::TearDown() {
  reset_game();
  headless_reset();
}

void ShellTest::key(int vk) {
  window_proc(plat_msg{MSG_KEYDOWN, static_cast<std::uint32_t>(vk), 0});
}

void ShellTest::command(unsigned id) {
  window_proc(plat_msg{MSG_COMMAND, id, 0});
}

std::string ShellTest::queued() {
  std::string kinds;
  plat_msg m;
  while (plat_peek_message(&m)) {
    if (!kinds.empty()) kinds += ",";
    kinds += m.kind == MSG_CLOSE     ? "close"
             : m.kind == MSG_QUIT    ? "quit"
             : m.kind == MSG_COMMAND ? "command " + std::to_string(m.wparam)
                                     : "kind " + std::to_string(m.kind);
  }
  return kinds;
}

void ShellTest::tick() {
  headless.clock_ms = shell.last_tick_ms + shell.frame_period_ms + 1;
  render_frame();
}

bool log_has(const std::string& line) {
  return std::find(headless.log.begin(), headless.log.end(), line) != headless.log.end();
}
