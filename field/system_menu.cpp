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
  st.sb = slot;
  st.cur_map = slot.map;
  load_data(LOAD_MAP);
  st.pos_x = slot.x;
  st.pos_y = slot.y;
  st.view_x = st.pos_x - 9;
  st.view_y = st.pos_y - 9;
  st.cur_area = slot.area;
  st.playing_music = st.cur_music;
  play_music_entry(st.cur_music);
  rebuild_map_pictures();
  mw.msg_visible = 0;
  fmn.system_win = 0;
  bt.weaken_count = 0;
  st.no_monster_turn = 0;
}

int resume_slot(int k) {
  save_block slot;
  int result = load_slot(k, slot);
  if (result == 0) resume(slot);
  return result;
}

static void system_menu_open() {
  fmn.system_win = 1;
  fmn.sys_state = SYS_MAIN;
  fmn.sys_row = 0;
  fmn.yes_no = 0;
  fmn.bag_page = 0;
}

static void system_menu_close() {
  mw.msg_visible = 0;
  fmn.system_win = 0;
}

// Not on stairs, walls, counters and event tiles; nor anywhere off the map
// grid, where the party stands only for the moment of leaving a map and no
// place could be stored.
int save_allowed_here() {
  if (st.pos_x < 0 || st.pos_x > 255 || st.pos_y < 0 || st.pos_y > 255) return 0;
  int k = st.tile_class[st.map_grid[st.pos_y][st.pos_x]];
  return !((k >= TILE_WALL && k <= TILE_DOORWAY) || (k >= TILE_INN && k <= TILE_GREETING));
}

static void main_list_key(int role) {
  if (role == KEY_CANCEL) return system_menu_close();
  step_vertical(fmn.sys_row, role, 0, 3);
  if (role != KEY_CONFIRM) return;
  switch (fmn.sys_row) {
  case 0:
    fmn.sys_state = SYS_SAVE_SLOT;
    break;
  case 1:
    fmn.sys_state = SYS_LOAD_SLOT;
    break;
  case 2:
    fmn.sys_state = SYS_BAG;
    break;
  default:
    fmn.sys_state = SYS_MAIN;
    system_menu_close();
    break;
  }
}

static void slot_list_key(int role) {
  bool saving = fmn.sys_state == SYS_SAVE_SLOT;
  i32& cursor = saving ? fmn.save_cursor : fmn.load_cursor;
  step_vertical(cursor, role, 0, SLOT_COUNT - 1);
  if (role == KEY_CANCEL) {
    fmn.sys_state = SYS_MAIN;
    msg_print(PRINT_NEW, "キャンセルします");
  } else if (role == KEY_CONFIRM) {
    // An unused slot has nothing to resume: the choice is simply not taken.
    if (!saving && st.slots[cursor].map == 0) return;
    fmn.sys_state = SYS_YES_NO;
    msg_print(PRINT_NEW,
              saving ? "セーブします。よろしいですか？" : "ロードします。よろしいですか？");
  }
}

static void save_here() {
  if (!save_allowed_here()) {
    msg_print(PRINT_NEW, "ここでは、セーブできない。");
    return;
  }
  st.cur_slot = fmn.save_cursor;
  int failed = save_slot(fmn.save_cursor);
  msg_print(PRINT_NEW, failed ? "セーブできませんでした。" : "セーブ完了。");
  fmn.sys_state = SYS_MAIN;
}

static void load_chosen() {
  int result = resume_slot(fmn.load_cursor);
  if (result == SLOT_PLACE_MISSING) {
    msg_print(PRINT_NEW, SLOT_PLACE_MISSING_TEXT);
    fmn.sys_state = SYS_LOAD_SLOT; // another slot may be chosen
    return;
  }
  st.cur_slot = fmn.load_cursor;
  msg_print(PRINT_NEW, result ? "ロードできませんでした。" : "ロード完了。");
  fmn.sys_state = SYS_MAIN;
}

static void yes_no_key(int role) {
  step_vertical(fmn.yes_no, role, 0, 1);
  if (role == KEY_CANCEL) {
    fmn.sys_state = SYS_MAIN;
    msg_print(PRINT_NEW, "キャンセルします");
  } else if (role == KEY_CONFIRM && fmn.yes_no == 1) {
    fmn.sys_state = fmn.sys_row == 0 ? SYS_SAVE_SLOT : SYS_LOAD_SLOT;
  } else if (role == KEY_CONFIRM) {
    if (fmn.sys_row == 0)
      save_here();
    else
      load_chosen();
  }
}

static void bag_key(int role) {
  step_horizontal(fmn.bag_page, role, 0, 1);
  if (role == KEY_CONFIRM || role == KEY_CANCEL) fmn.sys_state = SYS_MAIN;
}

void system_key(int key) {
  if (!fmn.system_win) return system_menu_open();
  int role = key_role(key, IN_FIELD);
  switch (fmn.sys_state) {
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
