// The finishing player's errands at a place: people, guardians, treasure,
// event tiles, the inn, the church, shopping and equipment.
#include "tools/autoplay/player_parts.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "field/field_menu.h"
#include "field/shop.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/title_screens.h"
#include "message/message.h"
#include "platform/platform.h"
#include "platform/png.h"
#include "shell/shell.h"
#include "tools/autoplay/path.h"
#include "tools/autoplay/world_index.h"
#include "tools/replay/drive.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace autoplay {

void shop_here();

// ---- Places ----

std::set<int> talked; // people spoken to on this visit: map * 32 + index

void talk_to_people() {
  for (int i = 0; i < NPC_COUNT && !out_of_time(); i++) {
    const npc& n = game.npc_table[i];
    if (n.type != 2 || (n.state & 1) || game.sb.flags[n.b] != 0) continue;
    if (talked.count(game.cur_map * 32 + i)) continue;
    if (talk_to(i) == 0) talked.insert(game.cur_map * 32 + i);
  }
}

void fight_guardians() {
  for (int i = 0; i < NPC_COUNT && !out_of_time(); i++) {
    const npc& n = game.npc_table[i];
    if (n.type != 3 || (n.state & 1) || n.state == 255) continue;
    recover(true); // a guardian is met whole and rested
    if (game.npc_table[i].state & 1) continue;
    bump_into(game.npc_table[i].x, game.npc_table[i].y);
  }
}

void open_treasure() {
  for (int i = 0; i < game.map_event_count && !out_of_time(); i++) {
    map_event e = game.map_events[i];
    if (e.b != 128 || e.c == 0 || game.sb.flags[e.a] != 0) continue;
    if (class_at(e.x, e.y) == TILE_WALL) continue;
    search_at(e.x, e.y);
  }
}

void visit_event_tiles() {
  for (int i = 0; i < game.map_event_count && !out_of_time(); i++) {
    map_event e = game.map_events[i];
    int k = class_at(e.x, e.y);
    bool event_tile =
        k == TILE_EVENT || k == TILE_EVENT_B || k == TILE_EVENT_C || (k == TILE_DOOR && e.a != 0);
    if (event_tile) bump_into(e.x, e.y);
    if (k == 17 && e.a == 0 && has_key(e.b)) bump_into(e.x, e.y);
  }
}

// Two passes over the place; a trip to an inn in the middle of one (or a
// stair stepped on by the way) is followed by a walk back and a pass more.
void explore_here() {
  shop_here();
  int map = game.cur_map;
  for (int pass = 0, left = 0; pass < 2 + left && left < 3 && !out_of_time(); pass++) {
    if (game.cur_map != map && go_to_map(map) != 0) return;
    talk_to_people();
    open_treasure();
    visit_event_tiles();
    fight_guardians();
    open_treasure(); // what the guardian kept
    visit_event_tiles();
    held_on_map = -1;
    talk_to_people(); // people who stood in the way, or appear once a goal is done
    left += game.cur_map != map;
  }
}

// Saves into slot 0 through the system menu, as a player does after a rest.
void save_game() {
  if (!save_allowed_here() || field_map.step_dir != 0) return;
  drive_key(KEY_SYSTEM);
  if (!field_menu.system_win) return settle();
  move_cursor(field_menu.sys_row, 0);
  drive_key(KEY_CONFIRM); // "セーブ": the slot list
  move_cursor(field_menu.save_cursor, 0);
  drive_key(KEY_CONFIRM); // "セーブします。よろしいですか？"
  move_cursor(field_menu.yes_no, 0);
  drive_key(KEY_CONFIRM);
  if (game.slots[0].map != 0) player.saves++;
  drive_key(KEY_CANCEL); // closes the system menu and its message
  settle();
}

// Rests at the inn of the map when it has one.
int rest_here() {
  for (int y = 0; y <= game.map_max_y; y++)
    for (int x = 0; x <= game.map_max_x; x++) {
      if (class_at(x, y) != TILE_INN) continue;
      if (bump_into(x, y) != 0 || !services.inn_win) continue;
      if (services.inn_row != 0) drive_key(VK_UP); // back onto staying
      drive_key(KEY_CONFIRM);
      player.rests++;
      settle();
      save_game();
      return 0;
    }
  return 1;
}

// ---- Shopping and equipment ----

// The part of the body an item is worn on (the equipment window's rows).
int part_for(const item& it) {
  switch (it.kind) {
  case ITEM_HEAD:
    return 0;
  case ITEM_WEAPON:
    return 1;
  case ITEM_SHIELD:
    return 2;
  case ITEM_BODY:
    return 3;
  default:
    return -1;
  }
}

int worth(const item& it) {
  return it.kind == ITEM_WEAPON ? it.atk : it.def;
}

bool may_wear(const member& m, const item& it) {
  return it.equip_rule == 3 || (it.equip_rule == 1 && m.sex == 0) ||
         (it.equip_rule == 2 && m.sex == 1) || it.equip_rule > 3;
}

u8 worn_on(const member& m, int part) {
  const u8 parts[4] = {m.eq_head, m.eq_right, m.eq_left, m.eq_body};
  return part >= 0 && part < 4 ? parts[part] : NO_EQUIP;
}

int worn_worth(const member& m, int part) {
  u8 e = worn_on(m, part);
  return e < 16 ? worth(game.item_table[m.items[e]]) : 0;
}

int free_entries(const member& m) {
  int n = 0;
  for (u8 e : m.items) n += entry_empty(e);
  return n;
}

// Puts on item entry e of member c through the equipment window.
void wear(int c, int e, int part) {
  drive_key(KEY_CONFIRM);
  if (field_menu.cmd_menu != 1) return settle();
  move_cursor(field_menu.cmd_row, 2);
  if (field_menu.cmd_col != 0) drive_key(VK_LEFT);
  drive_key(KEY_CONFIRM); // "そうび": choose whose
  move_cursor(field_menu.sel_member, c);
  drive_key(KEY_CONFIRM); // the equipment window
  move_cursor(field_menu.equip_row, part);
  drive_key(KEY_CONFIRM); // the list of the member's items
  for (int i = 0; field_menu.equip_list_page != e / 8 && i < 2; i++) drive_key(VK_RIGHT);
  move_cursor(field_menu.equip_list_row, e % 8);
  drive_key(KEY_CONFIRM);
  settle();
}

// Buys ware number w of the open shop for member c; the item entry it went
// into, or -1.
int buy(int w, int c) {
  u8 before[16];
  std::copy(game.sb.party[c].items, game.sb.party[c].items + 16, before);
  move_cursor(services.shop_row, 0);
  if (services.shop_sub == 0) drive_key(KEY_CONFIRM); // "かう"
  move_cursor(services.shop_list_row, w);
  drive_key(KEY_CONFIRM);
  if (services.shop_pick) {
    move_cursor(services.shop_member, c);
    drive_key(KEY_CONFIRM);
  }
  for (int e = 0; e < 16; e++)
    if (game.sb.party[c].items[e] != before[e]) return e;
  return -1;
}

struct purchase {
  int ware, member, part;
};

// What to buy at shop n: for each member, better arms than it wears, while
// the money lasts and some is kept for the inn.
std::vector<purchase> shopping_list(int n) {
  std::vector<purchase> list;
  int gold = game.sb.gold - 300;
  for (int c = 0; c < 3; c++) {
    const member& m = game.sb.party[c];
    int room = free_entries(m);
    for (int part = 0; part < 4; part++) {
      int best = -1, value = worn_worth(m, part);
      for (int w = 0; w < SHOP_WARES; w++) {
        const item& it = game.item_table[shop_table[n].wares[w]];
        if (part_for(it) != part || !may_wear(m, it) || it.price > gold) continue;
        if (worth(it) > value) best = w, value = worth(it);
      }
      if (best < 0 || room == 0) continue;
      gold -= game.item_table[shop_table[n].wares[best]].price;
      room--;
      list.push_back({best, c, part});
    }
    // and the strongest herb the shop has, up to four carried
    int herb = -1, heals = 0;
    for (int w = 0; w < SHOP_WARES; w++) {
      const item& it = game.item_table[shop_table[n].wares[w]];
      if (it.kind == 0 && it.hp > heals && it.price * 20 < gold) herb = w, heals = it.hp;
    }
    int carried = 0;
    for (u8 e : m.items)
      carried += !entry_empty(e) && game.item_table[e].kind == 0 && game.item_table[e].hp > 0;
    for (; herb >= 0 && carried < 4 && room > 1; carried++, room--) {
      gold -= game.item_table[shop_table[n].wares[herb]].price;
      list.push_back({herb, c, -1});
    }
    // and one water that raises the dead
    for (int w = 0; w < SHOP_WARES && raising_item(m) < 0 && room > 1; w++) {
      const item& it = game.item_table[shop_table[n].wares[w]];
      if (it.kind != 0 || it.use_class != 5 || it.price * 10 > gold) continue;
      gold -= it.price;
      list.push_back({w, c, -1});
      break;
    }
  }
  return list;
}

void shop_here() {
  for (int i = 0; i < game.map_event_count && !out_of_time(); i++) {
    map_event ev_at = game.map_events[i];
    int k = class_at(ev_at.x, ev_at.y);
    if ((k != TILE_SHOP && k != TILE_SHOP_B && k != TILE_SHOP_C) || ev_at.a >= SHOP_COUNT) continue;
    std::vector<purchase> list = shopping_list(ev_at.a);
    if (list.empty()) continue;
    if (bump_into(ev_at.x, ev_at.y) != 0 || !services.shop_win) continue;
    std::vector<std::pair<purchase, int>> bought;
    for (const purchase& p : list) {
      int e = buy(p.ware, p.member);
      if (e >= 0) bought.push_back({p, e});
    }
    settle(); // leaves the shop
    for (auto& [p, e] : bought)
      if (p.part >= 0) wear(p.member, e, p.part);
  }
}

int anyone_poisoned() {
  for (int i = 0; i < 3; i++)
    if ((game.sb.party[i].status & (STATUS_DEAD | STATUS_POISON)) == STATUS_POISON) return 1;
  return 0;
}

// Has the dead raised and the poisoned cured at the church of the map.
int revive_here() {
  for (int y = 0; y <= game.map_max_y; y++)
    for (int x = 0; x <= game.map_max_x; x++) {
      if (class_at(x, y) != TILE_CHURCH) continue;
      if (bump_into(x, y) != 0 || !services.church_win) continue;
      for (int service = 0; service < 2; service++) { // "生き返らせる", "毒をけす"
        u8 bit = service == 0 ? STATUS_DEAD : STATUS_POISON;
        move_cursor(services.church_row, service);
        drive_key(KEY_CONFIRM);
        for (int m = 0; m < 3; m++) {
          if (!(game.sb.party[m].status & bit) ||
              (service == 1 && (game.sb.party[m].status & STATUS_DEAD)))
            continue;
          move_cursor(services.church_member, m);
          drive_key(KEY_CONFIRM);
        }
        drive_key(KEY_CANCEL); // back to the services
      }
      drive_key(KEY_CANCEL);
      settle();
      return 0;
    }
  return 1;
}

} // namespace autoplay
