#include "field/field_menu.h"

#include "audio/sound.h"
#include "battle/battle.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "message/message.h"

field_menu_data field_menu;

void reset_field_menu_state() {
  field_menu = field_menu_data{};
}

static int step_within(i32& v, int delta, int lo, int hi) {
  int to = v + delta;
  if (delta == 0 || to < lo || to > hi) return 0;
  v = to;
  return 1;
}

int step_vertical(i32& v, int role, int lo, int hi) {
  return step_within(v, role == KEY_DOWN ? 1 : role == KEY_UP ? -1 : 0, lo, hi);
}

int step_horizontal(i32& v, int role, int lo, int hi) {
  return step_within(v, role == KEY_RIGHT ? 1 : role == KEY_LEFT ? -1 : 0, lo, hi);
}

static bool direction(int role) {
  return role >= KEY_DOWN && role <= KEY_UP;
}

// A list cursor of rows and columns; the sound follows every direction key.
static void grid_cursor(int key, i32& col, int cols, i32& row, int rows) {
  int role = key_role(key, IN_FIELD);
  if (!direction(role)) return;
  step_vertical(row, role, 0, rows - 1);
  step_horizontal(col, role, 0, cols - 1);
  play_menusound();
}

void member_pick_cursor(int key) {
  if (step_vertical(battle.spell_target_member, key_role(key, IN_FIELD), 0, 2)) play_menusound();
}

void magic_cursor(int key) {
  grid_cursor(key, field_menu.magic_col, 2, field_menu.magic_row, 8);
}

void item_pick_cursor(int key) {
  i32 none = 0;
  grid_cursor(key, none, 1, battle.item_target_member, 3);
}

void item_action_cursor(int key) {
  // The description covers the action window; its cursor waits meanwhile.
  if (field_menu.item_info_win == 1) return;
  i32 none = 0;
  grid_cursor(key, none, 1, field_menu.item_action_row, 4);
}

void item_cursor(int key) {
  grid_cursor(key, field_menu.item_page, 2, field_menu.item_row, 8);
}

void equip_cursor(int key) {
  i32 none = 0;
  if (field_menu.equip_list_win)
    grid_cursor(key, field_menu.equip_list_page, 2, field_menu.equip_list_row, 8);
  else
    grid_cursor(key, none, 1, field_menu.equip_row, 7);
}

void cmd_menu_cursor(int key) {
  int role = key_role(key, IN_FIELD);
  int moved = 0;
  if (field_menu.cmd_menu == CMD_OPEN)
    moved = step_vertical(field_menu.cmd_row, role, 0, 2) |
            step_horizontal(field_menu.cmd_col, role, 0, 1);
  else if (field_menu.cmd_menu >= CMD_STATUS && field_menu.cmd_menu <= CMD_EQUIP)
    moved = step_vertical(field_menu.sel_member, role, 0, 2);
  if (moved) play_menusound();
}

void set_magic_win(int on) {
  play_menusound();
  field_menu.magic_win = on;
}

void set_item_win(int on) {
  play_menusound();
  field_menu.item_win = on;
}

void set_item_action_win(int on) {
  play_menusound();
  field_menu.item_action_win = on;
}

void set_equip_win(int on) {
  play_menusound();
  field_menu.equip_win = on;
}

// ---- The confirm key ----

static member& chosen_member() {
  return game.sb
      .party[field_menu.sel_member >= 0 && field_menu.sel_member < 3 ? field_menu.sel_member : 0];
}

static int item_entry() {
  return field_menu.item_page * 8 + field_menu.item_row;
}

static void confirm_command() {
  switch (field_menu.cmd_row * 2 + field_menu.cmd_col) {
  case 0:
    talk();
    break;
  case 1:
    field_menu.cmd_menu = CMD_MAGIC;
    field_menu.sel_member = 0;
    battle.member_pick = 0;
    break;
  case 2:
    field_menu.cmd_menu = CMD_STATUS;
    field_menu.sel_member = 0;
    break;
  case 3:
    field_menu.cmd_menu = CMD_ITEMS;
    field_menu.sel_member = 0;
    break;
  case 4:
    field_menu.cmd_menu = CMD_EQUIP;
    field_menu.sel_member = 0;
    break;
  case 5:
    try_step(game.pos_x, game.pos_y, STEP_SEARCH);
    break;
  }
}

static void confirm_magic() {
  if (!field_menu.magic_win) {
    set_magic_win(1);
    field_menu.magic_col = field_menu.magic_row = 0;
  } else if (!msg_window.msg_visible) {
    field_cast(field_menu.sel_member, field_menu.magic_col * 8 + field_menu.magic_row);
  } else {
    field_menu.magic_win = 0;
    msg_window.msg_visible = 0;
    battle.member_pick = 0;
    field_menu.cmd_menu = CMD_CLOSED;
  }
}

static void close_item_menu() {
  field_menu.item_action_win = 0;
  field_menu.item_win = 0;
  battle.item_pick = 0;
  msg_window.msg_visible = 0;
  field_menu.cmd_menu = CMD_CLOSED;
}

static bool chosen_entry_empty(int entry) {
  return entry_empty(chosen_member().items[entry]);
}

// The chosen action on the chosen entry, before any member is picked.
static void item_action() {
  int entry = item_entry();
  switch (field_menu.item_action_row) {
  case ACT_USE:
    if (chosen_entry_empty(entry)) {
      msg_print(PRINT_NEW, "アイテムが、ありません!");
    } else if (game.item_table[chosen_member().items[entry]].use_class == 0) {
      use_item(field_menu.sel_member, entry);
    } else {
      battle.item_pick = 1;
      battle.item_target_member = 0;
    }
    break;
  case ACT_GIVE:
    battle.item_pick = 1;
    break;
  case ACT_DROP:
    discard_item(field_menu.sel_member, entry);
    break;
  case ACT_LOOK:
    if (field_menu.item_info_win == 1)
      describe_item(field_menu.sel_member, entry, 1);
    else if (describe_item(field_menu.sel_member, entry, 0))
      field_menu.item_info_win = 1;
    break;
  }
}

static void confirm_items() {
  if (!field_menu.item_win) {
    set_item_win(1);
    field_menu.item_page = field_menu.item_row = 0;
  } else if (!field_menu.item_action_win) {
    set_item_action_win(1);
    field_menu.item_action_row = ACT_USE;
  } else if (!battle.item_pick && !msg_window.msg_visible) {
    item_action();
  } else if (!battle.item_pick) {
    close_item_menu();
    field_menu.item_info_win = 0;
  } else if (!msg_window.msg_visible) {
    if (field_menu.item_action_row == ACT_USE)
      use_item(field_menu.sel_member, item_entry());
    else
      give_item_to(field_menu.sel_member, item_entry(), battle.item_target_member);
  } else {
    close_item_menu();
  }
}

static void confirm_equip() {
  if (!field_menu.equip_win) {
    set_equip_win(1);
    field_menu.equip_row = 0;
  } else if (!field_menu.equip_list_win) {
    field_menu.equip_list_win = 1;
    field_menu.equip_list_page = field_menu.equip_list_row = 0;
    field_menu.equip_done = 0;
  } else if (field_menu.equip_done == 1) {
    field_menu.equip_list_win = 0;
  } else if (equip(field_menu.sel_member,
                   field_menu.equip_list_page * 8 + field_menu.equip_list_row,
                   field_menu.equip_row)) {
    field_menu.equip_done = 1;
  }
}

void field_confirm() {
  switch (field_menu.cmd_menu) {
  case CMD_CLOSED:
    field_menu.cmd_menu = CMD_OPEN;
    field_menu.cmd_row = field_menu.cmd_col = 0;
    break;
  case CMD_OPEN:
    confirm_command();
    break;
  case CMD_STATUS:
    field_menu.status_win = (field_menu.status_win + 1) % 3;
    break;
  case CMD_MAGIC:
    confirm_magic();
    break;
  case CMD_ITEMS:
    confirm_items();
    break;
  case CMD_EQUIP:
    confirm_equip();
    break;
  }
}
