#include "audio/music.h"
#include "audio/sound.h"
#include "battle/battle_internal.h"
#include "platform/keys.h"

static void step(i32& cursor, int delta, int max) {
  int v = cursor + delta;
  if (v >= 0 && v <= max) cursor = v;
}

// Up and down move the cursor of the choice being made.
static void move_vertical(int delta) {
  int last_monster = bt.monster_count - 1;
  switch (bt.cmd_state) {
  case CMD_LIST:
    step(bt.cmd_cursor, delta, 4);
    break;
  case CMD_ATTACK_TARGET:
  case CMD_ITEM_TARGET:
    step(bt.target_cursor, delta, last_monster);
    break;
  case CMD_SPELL_LIST:
    if (bt.member_pick)
      step(bt.spell_target_member, delta, 2);
    else
      step(bt.spell_cursor[1], delta, 3);
    break;
  case CMD_ITEM_LIST:
    if (bt.item_pick)
      step(bt.item_target_member, delta, 2);
    else
      step(bt.item_cursor[1], delta, 3);
    break;
  case CMD_SPELL_TARGET:
    step(bt.magic_target_cursor, delta, last_monster);
    break;
  }
}

static void move_horizontal(int delta) {
  if (bt.cmd_state == CMD_SPELL_LIST) step(bt.spell_cursor[0], delta, 3);
  if (bt.cmd_state == CMD_ITEM_LIST) step(bt.item_cursor[0], delta, 3);
}

static void choose_command() {
  switch (bt.cmd_cursor) {
  case 0:
    if (bt.monster_count == 1)
      attack(bt.target_cursor);
    else
      bt.cmd_state = CMD_ATTACK_TARGET;
    break;
  case 1:
    bt.member_pick = 0;
    bt.cmd_state = CMD_SPELL_LIST;
    break;
  case 2:
    bt.cmd_state = CMD_ITEM_LIST;
    bt.item_cursor[0] = 0;
    break;
  case 3:
    defend();
    break;
  default:
    run_away();
    break;
  }
}

static void confirm() {
  if (bt.battle_mode == BATTLE_OVER) {
    bt.battle_mode = BATTLE_NONE;
    hide_message();
    return;
  }
  bt.first_key = 0;
  if (message_shown()) return hide_message();
  switch (bt.cmd_state) {
  case CMD_LIST:
    choose_command();
    break;
  case CMD_ATTACK_TARGET:
    attack(bt.target_cursor);
    bt.cmd_state = CMD_LIST;
    break;
  case CMD_SPELL_LIST:
  case CMD_SPELL_TARGET:
    cast_spell((bt.spell_cursor[0] & 3) * 4 + (bt.spell_cursor[1] & 3), 0);
    break;
  default:
    battle_item();
    break;
  }
}

static void cancel() {
  bt.first_key = 0;
  if (message_shown()) return hide_message();
  if (bt.item_pick) {
    bt.item_pick = 0;
    return;
  }
  if (bt.cmd_state == CMD_SPELL_TARGET)
    bt.cmd_state = CMD_SPELL_LIST;
  else if (bt.cmd_state == CMD_ITEM_TARGET)
    bt.cmd_state = CMD_ITEM_LIST;
  else
    bt.cmd_state = CMD_LIST;
}

void battle_key(int key) {
  bt.battle_wait_open = 0;
  bt.battle_wait_turn = 0;
  switch (key_role(key, IN_BATTLE)) {
  case KEY_DOWN:
    if (bt.first_key) return;
    play_menusound();
    return move_vertical(1);
  case KEY_UP:
    play_menusound();
    return move_vertical(-1);
  case KEY_LEFT:
    play_menusound();
    return move_horizontal(-1);
  case KEY_RIGHT:
    play_menusound();
    return move_horizontal(1);
  case KEY_CONFIRM:
    play_menusound();
    return confirm();
  case KEY_CANCEL:
    play_cancel();
    return cancel();
  case KEY_VIEW:
    for (hit_effect& h : bt.hit_flash) h.on = 0;
    bt.monster_view = !bt.monster_view;
    return;
  default:
    return;
  }
}

void gameover_key() {
  say(PRINT_NEW, "@C1@NAME0@C0たちは、全滅した。");
  bt.gameover_state = 2;
}
