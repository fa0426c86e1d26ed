// What the map events of a tile do: stairs, counters, event tiles, doors,
// treasure chests and things hidden in the ground.
#include "audio/music.h"
#include "audio/sound.h"
#include "event/event.h"
#include "field/shop.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "gfx/text.h"
#include "message/message.h"

#include <cstdio>

namespace {

constexpr int FANFARE = 7;
constexpr int FOUND_MARK = 128; // b of a chest or a hidden find that holds an item
constexpr int FIRST_KEY = 149;  // door key k is item 149 + k

void add_line(const char* fmt, const char* name) {
  std::snprintf(text_drawing.text_line, sizeof text_drawing.text_line, fmt, name);
  msg_print(PRINT_ADD, text_drawing.text_line);
}

const char* item_name(int no) {
  return game.item_table[no >= 0 && no < 256 ? no : 0].name;
}

void fanfare() {
  music_stop();
  play_tune(FANFARE);
}

// A chest plays the fanfare only once the item is in hand.
void open_chest(const map_event& e) {
  msg_print(PRINT_NEW, "宝箱を開けた。");
  if (e.b != FOUND_MARK || e.c == 0 || game.sb.flags[e.a] != 0) {
    msg_print(PRINT_ADD, "中身は、からっぽだ。");
    return;
  }
  if (!give_item(e.c)) {
    msg_print(PRINT_ADD, "が、持ちきれなかった。");
    return;
  }
  fanfare();
  msg_print(PRINT_ADD, "なんと、@C1@NAME0@C0たちは、");
  add_line("%sを手に入れた。", item_name(e.c));
  game.sb.flags[e.a] = 1;
}

// Something in the ground is announced before the party tries to carry it;
// when it does not fit, it stays there to be found again.
void search_ground(const map_event& e) {
  msg_print(PRINT_NEW, "足下を調べた。");
  if (e.b != FOUND_MARK || e.c == 0 || game.sb.flags[e.a] != 0) {
    msg_print(PRINT_ADD, "何も、見つからない。");
    return;
  }
  fanfare();
  msg_print(PRINT_ADD, "なんと! @C1@NAME0@C0たちは、");
  add_line(" %sを見つけた。", item_name(e.c));
  if (!give_item(e.c)) {
    msg_print(PRINT_ADD, "が、持ちきれなかった。");
    return;
  }
  add_line("%sを手に入れた。", item_name(e.c));
  game.sb.flags[e.a] = 1;
}

// A locked door opens for its key and stays open until the map is loaded
// again; an event door lets the party in when its event sets flag 255.
int door(const map_event& e, int x, int y) {
  if (e.a != 0) return event_door(e.a);
  if (has_key(e.b)) {
    game.map_grid[y][x] = static_cast<u8>(game.open_door_tile);
    play_door();
    rebuild_map_pictures();
    msg_print(PRINT_NEW, "*ドアが開いた");
    return 0;
  }
  std::snprintf(text_drawing.text_line, sizeof text_drawing.text_line, "@C3%s@C0を持っていない！",
                item_name(FIRST_KEY + e.b));
  msg_print(PRINT_NEW, text_drawing.text_line);
  msg_print(PRINT_ADD, "*ドアが開かない！");
  return 1;
}

void stairs(const map_event& e) {
  if (game.cur_map == WORLD_MAP) {
    game.return_map = WORLD_MAP;
    game.return_x = game.pos_x;
    game.return_y = game.pos_y;
  }
  game.encounters_on = 1;
  enter_map(e.a, e.b, e.c);
}

// Counters and event tiles answer alike whether walked into or talked to.
void counter(int k, const map_event& e) {
  switch (k) {
  case TILE_EVENT:
  case TILE_EVENT_B:
  case TILE_EVENT_C:
    event_start(e.a);
    break;
  case TILE_INN:
    open_inn();
    break;
  case TILE_SHOP:
  case TILE_SHOP_B:
  case TILE_SHOP_C:
    open_shop(e.a);
    break;
  case TILE_CHURCH:
    open_church(e.a);
    break;
  case TILE_GREETING:
    msg_print(PRINT_NEW, "いらっしゃいませ。");
    break;
  default:
    break;
  }
}

// A search on one record; true when the search is over.
bool search(int k, const map_event& e) {
  switch (k) {
  case TILE_WALL:
  case TILE_STAIRS:
  case TILE_DOORWAY:
  case TILE_INN:
  case TILE_SHOP:
  case TILE_SHOP_B:
  case TILE_EVENT_B:
  case TILE_CHURCH:
  case TILE_SHOP_C:
  case TILE_EVENT_C:
  case TILE_GREETING:
    return false;
  case TILE_CHEST:
    open_chest(e);
    return true;
  default:
    search_ground(e);
    return true;
  }
}

} // namespace

int tile_event(int k, int x, int y, int mode) {
  // The records are copied: a map change from stairs replaces the table.
  for (int i = 0; i < game.map_event_count; i++) {
    const map_event e = game.map_events[i];
    if (e.x != x || e.y != y) continue;
    if (mode == STEP_SEARCH) {
      if (search(k, e)) return 0;
    } else if (mode == STEP_TALK) {
      counter(k, e);
    } else if (k == TILE_STAIRS || k == TILE_DOORWAY) {
      stairs(e);
      return 0;
    } else if (k == TILE_DOOR) {
      return door(e, x, y);
    } else {
      counter(k, e);
    }
  }
  return 0;
}
