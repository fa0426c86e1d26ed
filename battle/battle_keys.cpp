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
  int last_monster = battle.monster_count - 1;
  switch (battle.cmd_state) {
  case CMD_LIST:
    step(battle.cmd_cursor, delta, 4);
    break;
  case CMD_ATTACK_TARGET:
  case CMD_ITEM_TARGET:
    step(battle.target_cursor, delta, last_monster);
    break;
  case CMD_SPELL_LIST:
    if (battle.member_pick)
      step(battle.spell_target_member, delta, 2);
    else
      step(battle.spell_cursor[1], delta, 3);
    break;
  case CMD_ITEM_LIST:
    if (battle.item_pick)
      step(battle.item_target_member, delta, 2);
    else
      step(battle.item_cursor[1], delta, 3);
    break;
  case CMD_SPELL_TARGET:
    step(battle.magic_target_cursor, delta, last_monster);
    break;
  }
}

static void move_horizontal(int delta) {
  if (battle.cmd_state == CMD_SPELL_LIST) step(battle.spell_cursor[0], delta, 3);
  if (battle.cmd_state == CMD_ITEM_LIST) step(battle.item_cursor[0], delta, 3);
}

static void choose_command() {
  switch (battle.cmd_cursor) {
  case 0:
    if (battle.monster_count == 1)
      attack(battle.target_cursor);
    else
      battle.cmd_state = CMD_ATTACK_TARGET;
    break;
  case 1:
    battle.member_pick = 0;
    battle.cmd_state = CMD_SPELL_LIST;
    break;
  case 2:
    battle.cmd_state = CMD_ITEM_LIST;
    battle.item_cursor[0] = 0;
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
  if (battle.battle_mode == BATTLE_OVER) {
    battle.battle_mode = BATTLE_NONE;
    hide_message();
    return;
  }
  battle.first_key = 0;
  if (message_shown()) return hide_message();
  switch (battle.cmd_state) {
  case CMD_LIST:
    choose_command();
    break;
  case CMD_ATTACK_TARGET:
    attack(battle.target_cursor);
    battle.cmd_state = CMD_LIST;
    break;
  case CMD_SPELL_LIST:
  case CMD_SPELL_TARGET:
    cast_spell((battle.spell_cursor[0] & 3) * 4 + (battle.spell_cursor[1] & 3), 0);
    break;
  default:
    battle_item();
    break;
  }
}

static void cancel() {
  battle.first_key = 0;
  if (message_shown()) return hide_message();
  if (battle.item_pick) {
    battle.item_pick = 0;
    return;
  }
  if (battle.cmd_state == CMD_SPELL_TARGET)
    battle.cmd_state = CMD_SPELL_LIST;
  else if (battle.cmd_state == CMD_ITEM_TARGET)
    battle.cmd_state = CMD_ITEM_LIST;
  else
    battle.cmd_state = CMD_LIST;
}

void battle_key(int key) {
  battle.battle_wait_open = 0;
  battle.battle_wait_turn = 0;
  switch (key_role(key, IN_BATTLE)) {
  case KEY_DOWN:
    if (battle.first_key) return;
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
    for (hit_effect& h : battle.hit_flash) h.on = 0;
    battle.monster_view = !battle.monster_view;
    return;
  default:
    return;
  }
}

void gameover_key() {
  say(PRINT_NEW, "@C1@NAME0@C0たちは、全滅した。");
  battle.gameover_state = 2;
}
