#include "field_fixture.h"

#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/walk.h"
#include "gfx/surfaces.h"
#include "platform/headless/headless.h"
#include "shell/shell.h"
#include "tests/common/test_files.h"

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

std::string numbered(const char* pattern, int map) {
  char name[32];
  std::snprintf(name, sizeof name, pattern, map);
  return name;
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
  const int classes[][2] = {{FLOOR, 0},   {WALL, 1},  {STAIRS, 2}, {DOOR, 17},
                            {COUNTER, 8}, {WATER, 0}, {0, 0}};
  for (auto [tile, cls] : classes) game.tile_class[tile] = static_cast<i8>(cls);
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
  std::vector<u8> mp;
  for (int b :
       {max_x, max_y, sx, sy, 0, 0, FLOOR, music, kind, ret_map, ret_x, ret_y, area, 0, 0, 0})
    mp.push_back(static_cast<u8>(b));
  for (int y = 0; y <= max_y; y++)
    mp.insert(mp.end(), game.map_grid[y], game.map_grid[y] + max_x + 1);
  write_file(numbered("dmapdat%03d.mp", map), mp);
  std::vector<u8> evt(1 + 5 * game.map_event_count, static_cast<u8>(game.map_event_count));
  std::memcpy(evt.data() + 1, game.map_events, evt.size() - 1);
  write_file(numbered("dmapevt%03d.meb", map), evt);
  write_file(numbered("dmapnpc%03d.npc", map), game.npc_table, sizeof(npc) * NPC_COUNT);
  write_file("rpgmappat.atr", game.tile_class, 256);
  write_file("eventdat.evt", events.table, sizeof(event_record) * EVENT_COUNT);
}

std::tuple<int, int, int> place() {
  return {game.cur_map, game.pos_x, game.pos_y};
}

void FieldTest::talk_command() {
  field_menu.cmd_menu = 1;
  talk();
  field_menu.cmd_menu = 0;
}
