#include "field_fixture.h"

#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/walk.h"
#include "gfx/surfaces.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"

#include "field/field_menu.h"
#include "field/shop.h"
#include "message/message.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bgr map_tile_color(int n) {
  return {n, 0x10, 0x20};
}
bgr outside_tile_color(int n) {
  return {n, 0x30, 0x40};
}
bgr char_pixel(int n, int i, int j) {
  return {n, i + 1, j + 1};
}

bgr pixel(const surface& s, int x, int y) {
  const u8* p = s.px.data() + (static_cast<size_t>(y) * s.w + x) * 3;
  return {p[0], p[1], p[2]};
}

namespace {

void fill_sheet(surface& s, bgr (*color)(int)) {
  surface_create(s, 256, 256);
  for (int n = 0; n < 256; n++) {
    bgr c = color(n);
    fill_rect(s, tile_sx(n), tile_sy(n), 16, 16, static_cast<colorref>(c.r | c.g << 8 | c.b << 16));
  }
}

void make_surfaces() {
  surface_create(gfx.back_surface, 256, 256);
  for (surface& m : gfx.map_surface) surface_create(m, 288, 288), set_color_key(m, 0);
  for (surface& b : gfx.bg_surface) surface_create(b, 320, 320);
  surface_create(gfx.under_party_surface, 16, 16);
  fill_sheet(gfx.pmap_surface, map_tile_color);
  fill_sheet(gfx.dummy_surface, outside_tile_color);
  surface_create(gfx.plc_surface, 256, 256);
  for (int n = 0; n < 256; n++)
    for (int j = 0; j < 16; j++)
      for (int i = 0; i < 16; i++) {
        u8* p = surface_pixel(gfx.plc_surface, tile_sx(n) + i, tile_sy(n) + j);
        bgr c = char_pixel(n, i, j);
        p[0] = static_cast<u8>(c.b), p[1] = static_cast<u8>(c.g), p[2] = static_cast<u8>(c.r);
      }
  set_color_key(gfx.plc_surface, 0);
}

void put_u8s(std::FILE* f, std::initializer_list<int> v) {
  for (int b : v) std::fputc(b, f);
}

} // namespace

void FieldTest::SetUp() {
  reset_game();
  headless_reset();
  seed_rand(369);
  const char* names[3] = {"ALAN            ", "BETH            ", "CORA            "};
  for (int i = 0; i < 3; i++) std::memcpy(game.sb.party[i].name, names[i], 16);
  make_surfaces();
  sound_init();
  std::snprintf(game.music_list[2], 40, "battle.mid");
  std::snprintf(game.music_list[7], 40, "fanfare.mid");
  game.tile_class[FLOOR] = 0;
  game.tile_class[WALL] = 1;
  game.tile_class[STAIRS] = 2;
  game.tile_class[DOOR] = 17;
  game.tile_class[COUNTER] = 8;
  game.tile_class[WATER] = 0;
  game.tile_class[0] = 0;
  for (int k = 0; k < 18; k++) game.tile_class[100 + k] = static_cast<i8>(k);
}

void FieldTest::make_map(int map, int max_x, int max_y, int px, int py) {
  game.cur_map = map;
  game.map_max_x = max_x;
  game.map_max_y = max_y;
  for (auto& row : game.map_grid)
    for (u8& t : row) t = FLOOR;
  game.pos_x = px, game.pos_y = py;
  game.view_x = px - 9, game.view_y = py - 9;
  for (npc& n : game.npc_table) n = npc{}, n.state = 1;
  game.map_event_count = 0;
}

void FieldTest::add_event(int x, int y, int a, int b, int c) {
  game.map_events[game.map_event_count++] = {static_cast<u8>(x), static_cast<u8>(y),
                                             static_cast<u8>(a), static_cast<u8>(b),
                                             static_cast<u8>(c)};
}

std::vector<std::string> FieldTest::texts() const {
  std::vector<std::string> out;
  for (int i = 0; i < msg_window.msg_count; i++) out.push_back(msg_window.msg_line[i]);
  return out;
}

void FieldTest::forget_messages() {
  reset_message_state();
  reset_shop_state();
}

int FieldTest::log_count(const std::string& line) const {
  return static_cast<int>(std::count(headless.log.begin(), headless.log.end(), line));
}

void FieldTest::write_map_files(int map, int max_x, int max_y, int sx, int sy, int music, int kind,
                                int ret_map, int ret_x, int ret_y, int area) {
  char name[32];
  std::snprintf(name, sizeof name, "dmapdat%03d.mp", map);
  std::FILE* f = std::fopen(name, "wb");
  put_u8s(f,
          {max_x, max_y, sx, sy, 0, 0, FLOOR, music, kind, ret_map, ret_x, ret_y, area, 0, 0, 0});
  for (int y = 0; y <= max_y; y++) std::fwrite(game.map_grid[y], 1, max_x + 1, f);
  std::fclose(f);
  std::snprintf(name, sizeof name, "dmapevt%03d.meb", map);
  f = std::fopen(name, "wb");
  std::fputc(game.map_event_count, f);
  std::fwrite(game.map_events, 5, game.map_event_count, f);
  std::fclose(f);
  std::snprintf(name, sizeof name, "dmapnpc%03d.npc", map);
  f = std::fopen(name, "wb");
  std::fwrite(game.npc_table, sizeof(npc), NPC_COUNT, f);
  std::fclose(f);
  f = std::fopen("rpgmappat.atr", "wb");
  std::fwrite(game.tile_class, 1, 256, f);
  std::fclose(f);
  f = std::fopen("eventdat.evt", "wb");
  std::fwrite(events.table, sizeof(event_record), EVENT_COUNT, f);
  std::fclose(f);
}

void FieldTest::talk_command() {
  field_menu.cmd_menu = 1;
  talk();
  field_menu.cmd_menu = 0;
}
