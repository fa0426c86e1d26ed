// Start-up: the window, the pictures the game draws from, the first map and
// the slot list, the sound bank and the first music. A failure shows its
// message in a "Zandrek" box and leaves no drawing object behind.
#include "audio/music.h"
#include "audio/sound.h"
#include "field/field_menu.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/title_screens.h"
#include "shell/shell.h"
#include "state/data_files.h"
#include "state/save_slots.h"
#include "state/state.h"

#include <cstdarg>
#include <cstdio>

namespace {

// A colour-fill value of a 24-bit surface (red in the high byte) as a GDI colour.
colorref fill_value(u32 v) {
  return ((v >> 16) & 255) | (v & 0xFF00) | (v & 255) << 16;
}

// The back buffer, dark at once so that the window shows a picture from the start.
int make_back_buffer() {
  surface_create(gfx.back_surface, 256, 256);
  fill_rect(gfx.back_surface, 0, 0, 256, 256, fill_value(0x10000));
  present();
  return 0;
}

void make_offscreen_pictures() {
  for (surface& s : gfx.map_surface) surface_create(s, 288, 288);
  for (surface& s : gfx.bg_surface) surface_create(s, 320, 320);
  surface_create(gfx.under_party_surface, 16, 16);
}

struct bitmap_row {
  const char* name;
  surface* dst;
  const char* failure;
};

int load_sheets() {
  const bitmap_row rows[] = {
      {"PMAP", &gfx.pmap_surface, "PMAPLoadBitmap FAILED"},
      {"PLC", &gfx.plc_surface, "PLCLoadBitmap FAILED"},
      {"WAKU0", &gfx.waku0_surface, "WAKU0LoadBitmap FAILED"},
      {"WAKU1", &gfx.waku1_surface, "WAKU1LoadBitmap FAILED"},
      {"CURSOL", &gfx.cursol_surface, "CURSOLLoadBitmap FAILED"},
      {"DUMMY", &gfx.dummy_surface, "DUMMYLoadBitmap FAILED"},
      {"YADOYA.bmp", &gfx.yadoya_surface, "YADOYALoadBitmap FAILED"},
  };
  for (const bitmap_row& r : rows)
    if (load_bitmap(*r.dst, r.name) != 0) return startup_fail(E_FAIL, "%s", r.failure);
  return 0;
}

// The monster pictures and their hit effects are files beside the program.
int load_monsters() {
  char name[32];
  for (int i = 0; i < MONSTER_PICTURES; i++) {
    std::snprintf(name, sizeof name, "ms_g%03d.bmp", i);
    if (load_bitmap(gfx.monster_surface[i], name) != 0)
      return startup_fail(E_FAIL, "MONSTERLoadBitmap FAILED");
    set_color_key(gfx.monster_surface[i], 0);
    std::snprintf(name, sizeof name, "ms_g%03db.bmp", i);
    if (load_bitmap(gfx.monster_surface_b[i], name) != 0)
      return startup_fail(E_FAIL, "MONSTERLoadBitmap2 FAILED");
    set_color_key(gfx.monster_surface_b[i], 0);
  }
  set_color_key(gfx.map_surface[0], 0);
  set_color_key(gfx.map_surface[1], 0);
  set_color_key(gfx.back_surface, 0);
  set_color_key(gfx.plc_surface, 0);
  return 0;
}

// The world map, the new-game record, the tables and the slot list.
void first_game_state() {
  game.cur_map = WORLD_MAP;
  field_menu.sys_state = SYS_MAIN;
  load_data(LOAD_START);
  game.cur_area = area_at(WORLD_MAP, game.pos_x, game.pos_y);
  for (save_block& s : game.slots) s.map = 0;
  read_slots();
  build_level_table();
  rebuild_map_pictures();
  field_map.map_surface_sel = 0;
  field_map.bg_select = 0;
}

} // namespace

void release_drawing_objects() {
  release_surfaces();
}

int startup_fail(int code, const char* fmt, ...) {
  char text[128];
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(text, sizeof text, fmt, ap);
  va_end(ap);
  release_drawing_objects();
  plat_message_box(text, "Zandrek");
  // destroying the window runs its WM_DESTROY, as a close does
  window_proc(plat_msg{MSG_DESTROY, 0, 0});
  plat_destroy_window();
  return code;
}

int startup() {
  install_hooks();
  if (plat_create_window("Zandrek") != 0) return E_FAIL;
  // the first command handled sizes the picture area to 256 x 256
  plat_post_message(MSG_COMMAND, CMD_SIZE_1X1);
  game.pos_x = 8, game.pos_y = 8;
  game.view_x = game.pos_x - 9, game.view_y = game.pos_y - 9;
  game.map_max_x = 15, game.map_max_y = 15;
  title_screens.title_mode = 1;
  music.field_music_on = 0;
  install_builtin_tables(); // items and spells: shops, menus and battles read them
  // There is no display driver, cooperative level, primary surface or clipper
  // to set up here: the platform window presents the back buffer itself.
  load_palette("PLC");
  make_back_buffer();
  make_offscreen_pictures();
  if (int r = load_sheets()) return r;
  if (int r = load_monsters()) return r;
  first_game_state();
  sound_init(); // without a sound device the game runs silent
  play_music_entry(0);
  return 0;
}
