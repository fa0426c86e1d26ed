// The cost of the field's full rebuild of its pictures after a map change.
// A standing frame and a step on the default world are timed by
// tests/bench/frame_costs (field_standing, field_scrolling).
#include "field_sheets.h"
#include "shell/shell.h"

#include <benchmark/benchmark.h>

namespace {

void field_setup() {
  reset_game();
  make_field_surfaces();
  game.cur_map = WORLD_MAP;
  game.map_max_x = game.map_max_y = 255;
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) game.map_grid[y][x] = static_cast<u8>(x ^ y);
  game.pos_x = game.pos_y = 128;
  game.view_x = game.view_y = 119;
  for (int i = 0; i < NPC_COUNT; i++) game.npc_table[i].x = static_cast<u8>(120 + i % 16);
  rebuild_map_pictures();
}

void BM_Rebuild(benchmark::State& state) {
  field_setup();
  for (auto _ : state) rebuild_map_pictures();
}
BENCHMARK(BM_Rebuild);

} // namespace
