#include "field/field_menu.h"

#include "audio/sound.h"
#include "battle/battle.h"
#include "field/walk.h"
#include "gfx/field_map.h"
#include "message/message.h"

field_menu_data fmn;

void reset_field_menu_state() {
  fmn = field_menu_data{};
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
  if (step_vertical(bt.spell_target_member, key_role(key, IN_FIELD), 0, 2)) play_menusound();
}

void magic_cursor(int key) {
  grid_cursor(key, fmn.magic_col, 2, fmn.magic_row, 8);
}

void item_pick_cursor(int key) {
  i32 none = 0;
  grid_cursor(key, none, 1, bt.item_target_member, 3);
}

void item_action_cursor(int key) {
  // The description covers the action window; its cursor waits meanwhile.
  if (fmn.item_info_win == 1) return;
  i32 none = 0;
  grid_cursor(key, none, 1, fmn.item_action_row, 4);
}

void item_cursor(int key) {
  grid_cursor(key, fmn.item_page, 2, fmn.item_row, 8);
}

void equip_cursor(int key) {
  i32 none = 0;
  if (fmn.equip_list_win)
    grid_cursor(key, fmn.equip_list_page, 2, fmn.equip_list_row, 8);
  else
    grid_cursor(key, none, 1, fmn.equip_row, 7);
}

void cmd_menu_cursor(int key) {
  int role = key_role(key, IN_FIELD);
  int moved = 0;
  if (fmn.cmd_menu == CMD_OPEN)
    moved = step_vertical(fmn.cmd_row, role, 0, 2) | step_horizontal(fmn.cmd_col, role, 0, 1);
  else if (fmn.cmd_menu >= CMD_STATUS && fmn.cmd_menu <= CMD_EQUIP)
    moved = step_vertical(fmn.sel_member, role, 0, 2);
  if (moved) play_menusound();
}

void set_magic_win(int on) {
  play_menusound();
  fmn.magic_win = on;
}

void set_item_win(int on) {
  play_menusound();
  fmn.item_win = on;
}

void set_item_action_win(int on) {
  play_menusound();
  fmn.item_action_win = on;
}

void set_equip_win(int on) {
  play_menusound();
  fmn.equip_win = on;
}

// ---- The confirm key ----

static member& chosen_member() {
  return st.sb.party[fmn.sel_member >= 0 && fmn.sel_member < 3 ? fmn.sel_member : 0];
}

static int item_entry() {
  return fmn.item_page * 8 + fmn.item_row;
}

static void confirm_command() {
  switch (fmn.cmd_row * 2 + fmn.cmd_col) {
  case 0:
    talk();
    break;
  case 1:
    fmn.cmd_menu = CMD_MAGIC;
    fmn.sel_member = 0;
    bt.member_pick = 0;
    break;
  case 2:
    fmn.cmd_menu = CMD_STATUS;
    fmn.sel_member = 0;
    break;
  case 3:
    fmn.cmd_menu = CMD_ITEMS;
    fmn.sel_member = 0;
    break;
  case 4:
    fmn.cmd_menu = CMD_EQUIP;
    fmn.sel_member = 0;
    break;
  case 5:
    try_step(st.pos_x, st.pos_y, STEP_SEARCH);
    break;
  }
}

static void confirm_magic() {
  if (!fmn.magic_win) {
    set_magic_win(1);
    fmn.magic_col = fmn.magic_row = 0;
  } else if (!mw.msg_visible) {
    field_cast(fmn.sel_member, fmn.magic_col * 8 + fmn.magic_row);
  } else {
    fmn.magic_win = 0;
    mw.msg_visible = 0;
    bt.member_pick = 0;
    fmn.cmd_menu = CMD_CLOSED;
  }
}

static void close_item_menu() {
  fmn.item_action_win = 0;
  fmn.item_win = 0;
  bt.item_pick = 0;
  mw.msg_visible = 0;
  fmn.cmd_menu = CMD_CLOSED;
}

static bool chosen_entry_empty(int entry) {
  return entry_empty(chosen_member().items[entry]);
}

// The chosen action on the chosen entry, before any member is picked.
static void item_action() {
  int entry = item_entry();
  switch (fmn.item_action_row) {
  case ACT_USE:
    if (chosen_entry_empty(entry)) {
      msg_print(PRINT_NEW, "アイテムが、ありません!");
    } else if (st.item_table[chosen_member().items[entry]].use_class == 0) {
      use_item(fmn.sel_member, entry);
    } else {
      bt.item_pick = 1;
      bt.item_target_member = 0;
    }
    break;
  case ACT_GIVE:
    bt.item_pick = 1;
    break;
  case ACT_DROP:
    discard_item(fmn.sel_member, entry);
    break;
  case ACT_LOOK:
    if (fmn.item_info_win == 1)
      describe_item(fmn.sel_member, entry, 1);
    else if (describe_item(fmn.sel_member, entry, 0))
      fmn.item_info_win = 1;
    break;
  }
}

static void confirm_items() {
  if (!fmn.item_win) {
    set_item_win(1);
    fmn.item_page = fmn.item_row = 0;
  } else if (!fmn.item_action_win) {
    set_item_action_win(1);
    fmn.item_action_row = ACT_USE;
  } else if (!bt.item_pick && !mw.msg_visible) {
    item_action();
  } else if (!bt.item_pick) {
    close_item_menu();
    fmn.item_info_win = 0;
  } else if (!mw.msg_visible) {
    if (fmn.item_action_row == ACT_USE)
      use_item(fmn.sel_member, item_entry());
    else
      give_item_to(fmn.sel_member, item_entry(), bt.item_target_member);
  } else {
    close_item_menu();
  }
}

static void confirm_equip() {
  if (!fmn.equip_win) {
    set_equip_win(1);
    fmn.equip_row = 0;
  } else if (!fmn.equip_list_win) {
    fmn.equip_list_win = 1;
    fmn.equip_list_page = fmn.equip_list_row = 0;
    fmn.equip_done = 0;
  } else if (fmn.equip_done == 1) {
    fmn.equip_list_win = 0;
  } else if (equip(fmn.sel_member, fmn.equip_list_page * 8 + fmn.equip_list_row, fmn.equip_row)) {
    fmn.equip_done = 1;
  }
}

void field_confirm() {
  switch (fmn.cmd_menu) {
  case CMD_CLOSED:
    fmn.cmd_menu = CMD_OPEN;
    fmn.cmd_row = fmn.cmd_col = 0;
    break;
  case CMD_OPEN:
    confirm_command();
    break;
  case CMD_STATUS:
    fmn.status_win = (fmn.status_win + 1) % 3;
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
