// The keys of the field: directions move the cursor of the open window or
// start a step, confirm and cancel work through the windows one level at a
// time, the letters open the system menu, switch views and music.
#include "shell/field_keys.h"
#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle.h"
#include "field/field_menu.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "message/message.h"
#include "shell/shell.h"
#include "state/state.h"

namespace {

// One row per direction: the facing, the step code, the scroll start and
// the tile the step goes to.
struct step_row {
  i32 facing;
  i32 code;
  i32 off_x, off_y; // -1: that offset is left alone
  int dx, dy;
};

const step_row step_rows[4] = {
    {0, STEP_DOWN, -1, 0, 0, 1},
    {2, STEP_LEFT, 16, -1, -1, 0},
    {4, STEP_RIGHT, 0, -1, 1, 0},
    {6, STEP_UP, -1, 16, 0, -1},
};

const step_row& row_of(int role) {
  return step_rows[role - KEY_DOWN];
}

bool at_edge(int role) {
  switch (role) {
  case KEY_DOWN:
    return st.pos_y >= st.map_max_y;
  case KEY_LEFT:
    return st.pos_x < 1;
  case KEY_RIGHT:
    return st.pos_x >= st.map_max_x;
  default:
    return st.pos_y < 1;
  }
}

void begin_scroll(const step_row& r) {
  fm.step_dir = r.code;
  if (r.off_x >= 0) fm.step_off_x = r.off_x;
  if (r.off_y >= 0) fm.step_off_y = r.off_y;
}

// Sailing off one edge of the world comes back in at the opposite edge; the
// view origin is the one from which the scroll reaches pos - 9.
void wrap_around(int role) {
  switch (role) {
  case KEY_DOWN:
    st.pos_y = 0, st.view_y = -10;
    return;
  case KEY_UP:
    st.pos_y = st.map_max_y, st.view_y = st.map_max_y - 8;
    return;
  case KEY_RIGHT:
    st.pos_x = 0, st.view_x = -10;
    return;
  default:
    st.pos_x = st.map_max_x, st.view_x = st.map_max_x - 8;
    return;
  }
}

// The field windows whose confirm goes to the field confirm handler.
bool confirm_window_open() {
  return fmn.status_win || bt.member_pick || fmn.magic_win || bt.item_pick || fmn.item_action_win ||
         fmn.item_win || fmn.equip_list_win || fmn.equip_win;
}

void direction_key(int role, int key) {
  if (bt.member_pick) return member_pick_cursor(key);
  if (fmn.magic_win) return magic_cursor(key);
  if (bt.item_pick) return item_pick_cursor(key);
  if (fmn.item_action_win) return item_action_cursor(key);
  if (fmn.item_win) return item_cursor(key);
  if (fmn.equip_win) return equip_cursor(key);
  if (mw.msg_visible) return;
  if (fmn.cmd_menu > 0) return cmd_menu_cursor(key);
  if (fm.step_dir != 0) return; // a key during a step is lost, not queued
  start_step(role);
}

void confirm_key() {
  if (confirm_window_open()) {
    play_menusound();
    return field_confirm();
  }
  if (mw.msg_visible) {
    mw.msg_visible = 0;
    int command = fmn.cmd_row * 2 + fmn.cmd_col;
    if (command == 0 || command == 5) fmn.cmd_menu = CMD_CLOSED; // talk, search
    return;
  }
  play_menusound();
  field_confirm();
}

// Cancel steps back one level at a time, each with the cancel sound but
// the target window over the spell list.
void cancel_key() {
  if (mw.msg_visible) {
    play_cancel();
    return msg_print(PRINT_NEW, nullptr); // empties and hides the window
  }
  if (fmn.status_win == 2)
    play_cancel(), fmn.status_win = 1;
  else if (fmn.status_win == 1)
    play_cancel(), fmn.status_win = 0;
  else if (bt.member_pick)
    bt.member_pick = 0;
  else if (fmn.magic_win)
    play_cancel(), set_magic_win(0);
  else if (fmn.item_info_win)
    play_cancel(), fmn.item_info_win = 0;
  else if (bt.item_pick)
    play_cancel(), bt.item_pick = 0;
  else if (fmn.item_action_win)
    play_cancel(), fmn.item_action_win = 0;
  else if (fmn.item_win)
    play_cancel(), set_item_win(0);
  else if (fmn.equip_list_win)
    play_cancel(), fmn.equip_list_win = 0;
  else if (fmn.equip_win)
    play_cancel(), set_equip_win(0);
  else if (fmn.cmd_menu >= 2)
    play_cancel(), fmn.cmd_menu = CMD_OPEN;
  else if (fmn.cmd_menu == 1)
    play_cancel(), fmn.cmd_menu = CMD_CLOSED;
}

void system_menu_key(int key) {
  if (mw.msg_visible || fmn.status_win || bt.member_pick || fmn.magic_win || bt.item_pick ||
      fmn.item_action_win || fmn.item_win || fmn.equip_list_win || fmn.equip_win)
    return;
  play_menusound();
  system_key(key);
}

void whole_map_key() {
  if (st.cur_map != WORLD_MAP) return;
  fm.world_map_view = 1 - fm.world_map_view;
  if (fm.world_map_view == 1) fm.world_map_drawn = 0; // drawn afresh
}

// The cursor handlers read the arrow key of the direction.
int arrow_key(int role) {
  return row_of(role).code;
}

} // namespace

void start_step(int role) {
  const step_row& r = row_of(role);
  st.facing = r.facing; // the party turns even when it cannot move
  if (!at_edge(role)) {
    if (try_step(st.pos_x + r.dx, st.pos_y + r.dy, STEP_ENTER) != 0) return;
    begin_scroll(r);
    st.pos_x += r.dx, st.pos_y += r.dy;
    return;
  }
  if (st.on_ship) {
    begin_scroll(r);
    return wrap_around(role);
  }
  if (st.edge_exit == 1) {
    begin_scroll(r);
    st.pos_x += r.dx, st.pos_y += r.dy;
    st.leaving_map = 1;
    if (role == KEY_LEFT) st.cur_map = st.return_map;
    return;
  }
  play_wallstop();
}

void field_key(int key) {
  switch (int role = key_role(key, IN_FIELD)) {
  case KEY_DOWN:
  case KEY_LEFT:
  case KEY_RIGHT:
  case KEY_UP:
    return direction_key(role, arrow_key(role));
  case KEY_CONFIRM:
    return confirm_key();
  case KEY_CANCEL:
    return cancel_key();
  case KEY_QUIT:
    music_stop();
    plat_post_message(MSG_CLOSE);
    return;
  case KEY_SYSTEM:
    return system_menu_key(key);
  case KEY_WHOLE_MAP:
    return whole_map_key();
  case KEY_AREA_LABEL:
    fm.area_label_on = 1 - fm.area_label_on;
    return;
  case KEY_NEXT_MUSIC:
    return music_next();
  case KEY_MUSIC_ON_OFF:
    return music_toggle_mute();
  case KEY_FANFARE:
    return play_battlestart();
  case KEY_FASTER:
    return speed_faster();
  default:
    return; // not in the table: swallowed
  }
}
