#include "audio/music.h"
#include "battle/battle.h"
#include "field/field_menu.h"
#include "gfx/field_map.h"
#include "message/message.h"
#include "state/data_files.h"
#include "state/save_slots.h"

// The party back where the slot was saved, with its map, music and pictures;
// the windows of the moment closed.
static void resume(const save_block& slot) {
  music_stop();
  game.sb = slot;
  game.cur_map = slot.map;
  load_data(LOAD_MAP);
  game.pos_x = slot.x;
  game.pos_y = slot.y;
  game.view_x = game.pos_x - 9;
  game.view_y = game.pos_y - 9;
  game.cur_area = slot.area;
  game.playing_music = game.cur_music;
  play_music_entry(game.cur_music);
  rebuild_map_pictures();
  msg_window.msg_visible = 0;
  field_menu.system_win = 0;
  battle.weaken_count = 0;
  game.no_monster_turn = 0;
}

int resume_slot(int k) {
  save_block slot;
  int result = load_slot(k, slot);
  if (result == 0) resume(slot);
  return result;
}

static void system_menu_open() {
  field_menu.system_win = 1;
  field_menu.sys_state = SYS_MAIN;
  field_menu.sys_row = 0;
  field_menu.yes_no = 0;
  field_menu.bag_page = 0;
}

static void system_menu_close() {
  msg_window.msg_visible = 0;
  field_menu.system_win = 0;
}

// Not on stairs, walls, counters and event tiles; nor anywhere off the map
// grid, where the party stands only for the moment of leaving a map and no
// place could be stored.
int save_allowed_here() {
  if (game.pos_x < 0 || game.pos_x > 255 || game.pos_y < 0 || game.pos_y > 255) return 0;
  int k = game.tile_class[game.map_grid[game.pos_y][game.pos_x]];
  return !((k >= TILE_WALL && k <= TILE_DOORWAY) || (k >= TILE_INN && k <= TILE_GREETING));
}

static void main_list_key(int role) {
  if (role == KEY_CANCEL) return system_menu_close();
  step_vertical(field_menu.sys_row, role, 0, 3);
  if (role != KEY_CONFIRM) return;
  switch (field_menu.sys_row) {
  case 0:
    field_menu.sys_state = SYS_SAVE_SLOT;
    break;
  case 1:
    field_menu.sys_state = SYS_LOAD_SLOT;
    break;
  case 2:
    field_menu.sys_state = SYS_BAG;
    break;
  default:
    field_menu.sys_state = SYS_MAIN;
    system_menu_close();
    break;
  }
}

static void slot_list_key(int role) {
  bool saving = field_menu.sys_state == SYS_SAVE_SLOT;
  i32& cursor = saving ? field_menu.save_cursor : field_menu.load_cursor;
  step_vertical(cursor, role, 0, SLOT_COUNT - 1);
  if (role == KEY_CANCEL) {
    field_menu.sys_state = SYS_MAIN;
    msg_print(PRINT_NEW, "キャンセルします");
  } else if (role == KEY_CONFIRM) {
    // An unused slot has nothing to resume: the choice is simply not taken.
    if (!saving && game.slots[cursor].map == 0) return;
    field_menu.sys_state = SYS_YES_NO;
    msg_print(PRINT_NEW,
              saving ? "セーブします。よろしいですか？" : "ロードします。よろしいですか？");
  }
}

static void save_here() {
  if (!save_allowed_here()) {
    msg_print(PRINT_NEW, "ここでは、セーブできない。");
    return;
  }
  game.cur_slot = field_menu.save_cursor;
  int failed = save_slot(field_menu.save_cursor);
  msg_print(PRINT_NEW, failed ? "セーブできませんでした。" : "セーブ完了。");
  field_menu.sys_state = SYS_MAIN;
}

static void load_chosen() {
  int result = resume_slot(field_menu.load_cursor);
  if (result == SLOT_PLACE_MISSING) {
    msg_print(PRINT_NEW, SLOT_PLACE_MISSING_TEXT);
    field_menu.sys_state = SYS_LOAD_SLOT; // another slot may be chosen
    return;
  }
  game.cur_slot = field_menu.load_cursor;
  msg_print(PRINT_NEW, result ? "ロードできませんでした。" : "ロード完了。");
  field_menu.sys_state = SYS_MAIN;
}

static void yes_no_key(int role) {
  step_vertical(field_menu.yes_no, role, 0, 1);
  if (role == KEY_CANCEL) {
    field_menu.sys_state = SYS_MAIN;
    msg_print(PRINT_NEW, "キャンセルします");
  } else if (role == KEY_CONFIRM && field_menu.yes_no == 1) {
    field_menu.sys_state = field_menu.sys_row == 0 ? SYS_SAVE_SLOT : SYS_LOAD_SLOT;
  } else if (role == KEY_CONFIRM) {
    if (field_menu.sys_row == 0)
      save_here();
    else
      load_chosen();
  }
}

static void bag_key(int role) {
  step_horizontal(field_menu.bag_page, role, 0, 1);
  if (role == KEY_CONFIRM || role == KEY_CANCEL) field_menu.sys_state = SYS_MAIN;
}

void system_key(int key) {
  if (!field_menu.system_win) return system_menu_open();
  int role = key_role(key, IN_FIELD);
  switch (field_menu.sys_state) {
  case SYS_MAIN:
    return main_list_key(role);
  case SYS_SAVE_SLOT:
  case SYS_LOAD_SLOT:
    return slot_list_key(role);
  case SYS_YES_NO:
    return yes_no_key(role);
  case SYS_BAG:
    return bag_key(role);
  }
}
