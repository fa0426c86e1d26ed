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

namespace {

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
  make_field_surfaces();
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
