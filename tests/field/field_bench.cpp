// Costs of the field: a standing frame, a whole step (16 scrolling frames and
// the advance of the pictures) and a full rebuild after a map change.
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "shell/shell.h"

#include <benchmark/benchmark.h>

namespace {

void field_setup() {
  reset_game();
  surface_create(gx.back_surface, 256, 256);
  for (surface& m : gx.map_surface) surface_create(m, 288, 288), set_color_key(m, 0);
  for (surface& b : gx.bg_surface) surface_create(b, 320, 320);
  surface_create(gx.under_party_surface, 16, 16);
  surface_create(gx.pmap_surface, 256, 256);
  surface_create(gx.dummy_surface, 256, 256);
  surface_create(gx.plc_surface, 256, 256);
  fill_rect(gx.pmap_surface, 0, 0, 256, 256, 0x204080);
  set_color_key(gx.plc_surface, 0);
  st.cur_map = WORLD_MAP;
  st.map_max_x = st.map_max_y = 255;
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) st.map_grid[y][x] = static_cast<u8>(x ^ y);
  st.pos_x = st.pos_y = 128;
  st.view_x = st.view_y = 119;
  for (int i = 0; i < NPC_COUNT; i++) st.npc_table[i].x = static_cast<u8>(120 + i % 16);
  rebuild_map_pictures();
}

void BM_StandingFrame(benchmark::State& state) {
  field_setup();
  for (auto _ : state) {
    draw_field_map();
    draw_party();
    move_npcs();
    draw_npcs();
  }
}
BENCHMARK(BM_StandingFrame);

void BM_WholeStep(benchmark::State& state) {
  field_setup();
  for (auto _ : state) {
    fm.step_dir = STEP_RIGHT;
    fm.step_off_x = 0;
    while (fm.step_dir != STEP_ARRIVED) draw_field_map();
    fm.step_dir = 0;
    if (st.view_x > 200) st.view_x = 0;
  }
}
BENCHMARK(BM_WholeStep);

void BM_Rebuild(benchmark::State& state) {
  field_setup();
  for (auto _ : state) rebuild_map_pictures();
}
BENCHMARK(BM_Rebuild);

} // namespace
