// The field command menu (talk, magic, status, items, equipment, search)
// with its member choice and windows, and the system menu (save, load, the
// event items, exit). The windows only keep their flags and logical cursors
// here; gfx/field_windows.cpp draws them. The member-target windows of the
// spell list and the item menu are battle.member_pick and battle.item_pick, shared
// with the battle.
#pragma once
#include "platform/keys.h"
#include "state/state.h"

// cmd_menu values.
enum : i32 {
  CMD_CLOSED = 0,
  CMD_OPEN = 1,
  CMD_STATUS = 2,
  CMD_MAGIC = 3,
  CMD_ITEMS = 4,
  CMD_EQUIP = 5,
};

// sys_state values.
enum : i32 {
  SYS_MAIN = 0,
  SYS_SAVE_SLOT = 1,
  SYS_LOAD_SLOT = 2,
  SYS_YES_NO = 3,
  SYS_BAG = 4,
};

// Item actions, the rows of the action window.
enum : i32 { ACT_USE = 0, ACT_GIVE = 1, ACT_DROP = 2, ACT_LOOK = 3 };

struct field_menu_data {
  i32 cmd_menu = CMD_CLOSED;
  i32 cmd_row = 0, cmd_col = 0; // command = row * 2 + col
  i32 sel_member = 0;
  i32 member_col = 0; // the member choice has one column
  i32 member_win = 0;
  // Where a member choice last put its cursor; the member window shows it there.
  i32 member_cursor_x = 24, member_cursor_y = 30;
  i32 status_win = 0; // 1 status, 2 with the equipment panel
  i32 magic_win = 0;
  i32 magic_col = 0, magic_row = 0; // spell = col * 8 + row
  i32 item_win = 0;
  i32 item_page = 0, item_row = 0; // entry = page * 8 + row
  i32 item_action_win = 0;
  i32 item_action_row = 0;
  i32 item_info_win = 0;
  i32 equip_win = 0;
  i32 equip_row = 0; // 0 head, 1 right, 2 left, 3 body, 4..6 accessories
  i32 equip_list_win = 0;
  i32 equip_list_page = 0, equip_list_row = 0;
  i32 equip_done = 0;

  i32 system_win = 0;
  i32 sys_state = SYS_MAIN;
  i32 sys_row = 0; // 0 save, 1 load, 2 event items, 3 exit
  i32 yes_no = 0;  // 0 yes, 1 no
  i32 bag_page = 0;
  i32 save_cursor = 0, load_cursor = 0; // kept from one opening to the next
};

extern field_menu_data field_menu;
void reset_field_menu_state();

// Moves v one step within lo..hi for the role's axis (vertical: up/down,
// horizontal: left/right); 1 when it moved.
int step_vertical(i32& v, int role, int lo, int hi);
int step_horizontal(i32& v, int role, int lo, int hi);

// The confirm key in the field.
void field_confirm();

// The cursor handlers the key dispatcher calls for direction keys.
void member_pick_cursor(int key);
void magic_cursor(int key);
void item_pick_cursor(int key);
void item_action_cursor(int key);
void item_cursor(int key);
void equip_cursor(int key);
void cmd_menu_cursor(int key);

// Opening and closing these windows plays "menusound".
void set_magic_win(int on);
void set_item_win(int on);
void set_item_action_win(int on);
void set_equip_win(int on);

// Every key while the system menu is open, and the key that opens it.
void system_key(int key);
// 1 when the party's own tile allows saving.
int save_allowed_here();
// Reads the save file again and resumes slot k: the results of load_slot
// (state/save_slots.h); the game is left as it was unless it is 0.
int resume_slot(int k);
