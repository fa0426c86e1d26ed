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
    return game.pos_y >= game.map_max_y;
  case KEY_LEFT:
    return game.pos_x < 1;
  case KEY_RIGHT:
    return game.pos_x >= game.map_max_x;
  default:
    return game.pos_y < 1;
  }
}

void begin_scroll(const step_row& r) {
  field_map.step_dir = r.code;
  if (r.off_x >= 0) field_map.step_off_x = r.off_x;
  if (r.off_y >= 0) field_map.step_off_y = r.off_y;
}

// Sailing off one edge of the world comes back in at the opposite edge; the
// view origin is the one from which the scroll reaches pos - 9.
void wrap_around(int role) {
  switch (role) {
  case KEY_DOWN:
    game.pos_y = 0, game.view_y = -10;
    return;
  case KEY_UP:
    game.pos_y = game.map_max_y, game.view_y = game.map_max_y - 8;
    return;
  case KEY_RIGHT:
    game.pos_x = 0, game.view_x = -10;
    return;
  default:
    game.pos_x = game.map_max_x, game.view_x = game.map_max_x - 8;
    return;
  }
}

// The field windows whose confirm goes to the field confirm handler.
bool confirm_window_open() {
  return field_menu.status_win || battle.member_pick || field_menu.magic_win || battle.item_pick ||
         field_menu.item_action_win || field_menu.item_win || field_menu.equip_list_win ||
         field_menu.equip_win;
}

void direction_key(int role, int key) {
  if (battle.member_pick) return member_pick_cursor(key);
  if (field_menu.magic_win) return magic_cursor(key);
  if (battle.item_pick) return item_pick_cursor(key);
  if (field_menu.item_action_win) return item_action_cursor(key);
  if (field_menu.item_win) return item_cursor(key);
  if (field_menu.equip_win) return equip_cursor(key);
  if (msg_window.msg_visible) return;
  if (field_menu.cmd_menu > 0) return cmd_menu_cursor(key);
  if (field_map.step_dir != 0) return; // a key during a step is lost, not queued
  start_step(role);
}

void confirm_key() {
  if (confirm_window_open()) {
    play_menusound();
    return field_confirm();
  }
  if (msg_window.msg_visible) {
    msg_window.msg_visible = 0;
    int command = field_menu.cmd_row * 2 + field_menu.cmd_col;
    if (command == 0 || command == 5) field_menu.cmd_menu = CMD_CLOSED; // talk, search
    return;
  }
  play_menusound();
  field_confirm();
}

// Cancel steps back one level at a time, each with the cancel sound but
// the target window over the spell list.
void cancel_key() {
  if (msg_window.msg_visible) {
    play_cancel();
    return msg_print(PRINT_NEW, nullptr); // empties and hides the window
  }
  if (field_menu.status_win == 2)
    play_cancel(), field_menu.status_win = 1;
  else if (field_menu.status_win == 1)
    play_cancel(), field_menu.status_win = 0;
  else if (battle.member_pick)
    battle.member_pick = 0;
  else if (field_menu.magic_win)
    play_cancel(), set_magic_win(0);
  else if (field_menu.item_info_win)
    play_cancel(), field_menu.item_info_win = 0;
  else if (battle.item_pick)
    play_cancel(), battle.item_pick = 0;
  else if (field_menu.item_action_win)
    play_cancel(), field_menu.item_action_win = 0;
  else if (field_menu.item_win)
    play_cancel(), set_item_win(0);
  else if (field_menu.equip_list_win)
    play_cancel(), field_menu.equip_list_win = 0;
  else if (field_menu.equip_win)
    play_cancel(), set_equip_win(0);
  else if (field_menu.cmd_menu >= 2)
    play_cancel(), field_menu.cmd_menu = CMD_OPEN;
  else if (field_menu.cmd_menu == 1)
    play_cancel(), field_menu.cmd_menu = CMD_CLOSED;
}

void system_menu_key(int key) {
  if (msg_window.msg_visible || field_menu.status_win || battle.member_pick ||
      field_menu.magic_win || battle.item_pick || field_menu.item_action_win ||
      field_menu.item_win || field_menu.equip_list_win || field_menu.equip_win)
    return;
  play_menusound();
  system_key(key);
}

void whole_map_key() {
  if (game.cur_map != WORLD_MAP) return;
  field_map.world_map_view = 1 - field_map.world_map_view;
  if (field_map.world_map_view == 1) field_map.world_map_drawn = 0; // drawn afresh
}

// The cursor handlers read the arrow key of the direction.
int arrow_key(int role) {
  return row_of(role).code;
}

} // namespace

void start_step(int role) {
  const step_row& r = row_of(role);
  game.facing = r.facing; // the party turns even when it cannot move
  if (!at_edge(role)) {
    if (try_step(game.pos_x + r.dx, game.pos_y + r.dy, STEP_ENTER) != 0) return;
    begin_scroll(r);
    game.pos_x += r.dx, game.pos_y += r.dy;
    return;
  }
  if (game.on_ship) {
    begin_scroll(r);
    return wrap_around(role);
  }
  if (game.edge_exit == 1) {
    begin_scroll(r);
    game.pos_x += r.dx, game.pos_y += r.dy;
    game.leaving_map = 1;
    if (role == KEY_LEFT) game.cur_map = game.return_map;
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
    field_map.area_label_on = 1 - field_map.area_label_on;
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
