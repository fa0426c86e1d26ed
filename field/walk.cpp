// The party's steps: the collision test, the people met on the way, the
// arrival at the end of a step and the map change.
#include "field/walk.h"

#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "gfx/field_map.h"
#include "gfx/text.h"
#include "message/message.h"
#include "state/data_files.h"

#include <cstdio>

bool water_tile(int t) {
  return t == 0 || (t >= 64 && t <= 75);
}

namespace {

constexpr int SHIP_ITEM = 160;
constexpr int SHIP_SPRITE = 64;
constexpr int BATTLE_MUSIC = 2;

void battle_music() {
  music_stop();
  play_music_entry(BATTLE_MUSIC);
}

// The countdown of an arrival on an encounter map; 1 when it ran out and a
// battle began in place of whatever the tile holds.
int count_down_encounter() {
  if (game.encounter_steps == 0) {
    battle_music();
    msg_print(PRINT_NEW, "敵だ！");
    start_group_battle(0);
    int r = next_rand();
    game.encounter_steps = game.cur_map == WORLD_MAP ? (r & 24) | 7 : (r & 7) + 7;
    return 1;
  }
  if (game.encounters_on == 1 && game.no_monster_turn == 0) game.encounter_steps--;
  poison_step();
  return 0;
}

bool has_ship() {
  for (u8 e : game.sb.bag)
    if (e == SHIP_ITEM) return true;
  return false;
}

// Boarding and leaving the ship; -1 when the tile goes on to its class.
int ship_test(int t, int k, int x, int y) {
  if (!water_tile(t)) {
    if (game.on_ship == 1 && k == 0) {
      game.on_ship = 0;
      game.ship_sprite = 0;
      game.cur_area = area_at(game.cur_map, x, y);
    }
    return -1;
  }
  if (game.on_ship != 0 || game.cur_map != WORLD_MAP) return -1;
  if (!has_ship()) {
    game.ship_sprite = 0;
    return 1;
  }
  game.ship_sprite = SHIP_SPRITE;
  game.on_ship = 1;
  game.cur_area = area_at(WORLD_MAP, x, y);
  return 0;
}

bool on_map(int x, int y) {
  return x >= 0 && y >= 0 && x <= game.map_max_x && y <= game.map_max_y && x < 256 && y < 256;
}

// Entering or arriving, by the tile's class.
int step_by_class(int k, int x, int y, int mode) {
  switch (k) {
  case TILE_WALL:
    play_wallstop();
    return 1;
  case TILE_STAIRS:
  case TILE_DOORWAY:
    if (mode == STEP_ARRIVE) tile_event(k, x, y, STEP_ENTER);
    return 0;
  case TILE_EVENT:
  case TILE_INN:
  case TILE_SHOP:
  case TILE_SHOP_B:
  case TILE_EVENT_B:
  case TILE_CHURCH:
  case TILE_SHOP_C:
  case TILE_EVENT_C:
  case TILE_GREETING:
    tile_event(k, x, y, STEP_ENTER);
    return 1;
  case TILE_DOOR:
    return tile_event(TILE_DOOR, x, y, STEP_ENTER);
  default:
    return 0;
  }
}

int fight_npc(int i, const npc& n) {
  battle_music();
  msg_print(PRINT_NEW, "敵だ！");
  if (n.type == 1) {
    start_group_battle(i);
  } else {
    battle.figure = i;
    start_set_battle(n.a);
  }
  return 1;
}

// The steps of a map change up to the load of the new map.
void leave_for(int map) {
  // Every map change lands on stairs or a return point, never on the sea:
  // a party that sailed straight onto a stair goes on foot from there.
  game.on_ship = 0;
  game.ship_sprite = 0;
  game.cur_map = map;
  play_kaidan();
  game.playing_music = game.cur_music;
  start_closing_wipe();
  load_data(LOAD_MAP);
}

// The arrival place on the loaded map, its music and its pictures.
void arrive_at(int x, int y) {
  game.pos_x = x;
  game.pos_y = y;
  game.view_x = x - 9;
  game.view_y = y - 9;
  game.cur_area = area_at(game.cur_map, x, y);
  if (game.cur_music != game.playing_music) {
    game.playing_music = game.cur_music;
    music_stop();
    play_music_entry(game.cur_music);
  }
  rebuild_map_pictures();
}

} // namespace

int try_step(int x, int y, int mode) {
  if (mode == STEP_ARRIVE && encounter_map(game.cur_map) && count_down_encounter()) return 1;
  if (mode == STEP_ENTER) {
    int r = npc_contact(x, y);
    if (r != 0) return r;
  }
  if (!on_map(game.pos_x, game.pos_y)) return 0;
  // Talking past the map's edge finds nothing there.
  if (!on_map(x, y)) return mode == STEP_ENTER ? 1 : 0;
  int t = game.map_grid[y][x], k = game.tile_class[t];
  // Only a step changes between land and sea; talking to the sea does not.
  if (mode == STEP_ENTER || mode == STEP_ARRIVE) {
    int r = ship_test(t, k, x, y);
    if (r >= 0) return r;
  }
  if (mode == STEP_SEARCH || mode == STEP_TALK) {
    tile_event(k, x, y, mode);
    return 0;
  }
  return step_by_class(k, x, y, mode);
}

int npc_contact(int x, int y) {
  for (int i = 0; i < NPC_COUNT; i++) {
    const npc& n = game.npc_table[i];
    if (n.x != x || n.y != y || (n.state & 1) != 0) continue;
    // Monsters of any state fight: a state the map data should not hold
    // must not let the party walk through a monster.
    if (n.type == 1 || n.type == 3) return fight_npc(i, n);
    if (n.type == 2) {
      if (game.sb.flags[n.b] != 0) continue;
      if (field_menu.cmd_menu == 0) return 1; // walked into: it only blocks the way
      event_talk(i);
      return 1;
    }
    if (field_menu.cmd_menu != 0) msg_print(PRINT_NEW, "こんにちは。");
    return 1;
  }
  return 0;
}

void talk() {
  static const int front[8][2] = {{0, 1}, {0, 1}, {-1, 0}, {-1, 0},
                                  {1, 0}, {1, 0}, {0, -1}, {0, -1}};
  const int* d = front[game.facing & 7];
  int x = game.pos_x + d[0], y = game.pos_y + d[1];
  if (npc_contact(x, y) == 0) try_step(x, y, STEP_TALK);
}

void arrive() {
  if (game.leaving_map == 1) {
    game.encounters_on = 1;
    leave_for(game.return_map);
    // Read only now: on any map but the world map the loader has just put
    // the new map's own return point there.
    arrive_at(game.return_x, game.return_y);
    game.leaving_map = 0;
  } else {
    try_step(game.pos_x, game.pos_y, STEP_ARRIVE);
  }
  field_map.step_dir = 0;
}

void enter_map(int map, int x, int y) {
  leave_for(map);
  arrive_at(x, y);
}

void poison_step() {
  for (int i = 0; i < 3; i++) {
    member& m = game.sb.party[i];
    if ((m.status & STATUS_DEAD) || !(m.status & STATUS_POISON)) continue;
    // A member already at 0 HP dies of the poison instead of wrapping round to 65535.
    if (m.hp > 0) m.hp--;
    if (m.hp != 0) continue;
    m.status |= STATUS_DEAD;
    std::snprintf(text_drawing.text_line, sizeof text_drawing.text_line,
                  "@NAME%dは、死んでしまった!", i);
    msg_print(PRINT_NEW, text_drawing.text_line);
  }
}
