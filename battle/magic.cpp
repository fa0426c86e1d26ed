#include "audio/sound.h"
#include "battle/battle_internal.h"

const magic* spell_record(int spell) {
  if (spell < 0 || spell >= 32) return nullptr;
  return &game.magic_table[spell];
}

int caster_no() {
  return battle.battle_mode != BATTLE_NONE ? battle.actor : battle.field_caster;
}

int spell_report(int spell, int from_item) {
  if (from_item) {
    say(PRINT_ADD, "@MAGIC%2dの呪文が発動した。", spell);
    return 1;
  }
  member& c = party_member(caster_no());
  if (c.mp < game.magic_table[spell].mp_cost) {
    say(PRINT_NEW, "MPがたりない!");
    return 0;
  }
  say(PRINT_NEW, "@NAME%dは、", caster_no());
  say(PRINT_ADD, "@MAGIC%2dの呪文を唱えた。", spell);
  return 1;
}

void spell_cost(int spell, int from_item) {
  if (from_item) return;
  member& c = party_member(caster_no());
  c.mp = less(c.mp, game.magic_table[spell].mp_cost);
}

// The spell a menu cast names: the caster's list entry n, when it may be
// cast; 0 after the refusal has been reported.
static int menu_spell(int n) {
  if (n < 0 || n > 15) {
    say(PRINT_ADD, "Magic Number error.");
    return 0;
  }
  const member& c = party_member(caster_no());
  if (member_dead(c)) {
    say(PRINT_NEW, "死んでいます。");
    return 0;
  }
  if (!(c.spell_mask & (1u << n)) || c.spells[n] == 0 || !spell_record(c.spells[n])) {
    say(PRINT_NEW, "呪文がありません。");
    return 0;
  }
  return c.spells[n];
}

// Recovery, strengthening, cure and revival: one member after the member
// choice has been made, or all.
static void cast_on_members(int spell, int from_item) {
  if (game.magic_table[spell].scope != 0)
    cast_on_all_members(spell, from_item);
  else if (battle.member_pick == 0)
    battle.member_pick = 1;
  else
    cast_on_one_member(spell, from_item);
}

static void cast_in_field(int spell, int from_item) {
  const magic& s = game.magic_table[spell];
  if (s.cls == 0 || s.cls == 5 || spell == 22 || spell == 23 || spell == 27) {
    say(PRINT_NEW, "戦闘中以外は、使えません。");
    return;
  }
  if (s.cls <= 4)
    cast_on_members(spell, from_item);
  else
    cast_return(spell, from_item);
}

static void cast_in_battle(int spell, int from_item) {
  const magic& s = game.magic_table[spell];
  if (s.cls == 0 || s.cls == 5) {
    if (s.scope != 0) return cast_on_all_monsters(spell, from_item);
    if (battle.cmd_state == CMD_SPELL_LIST)
      battle.cmd_state = CMD_SPELL_TARGET;
    else if (battle.cmd_state == CMD_ITEM_LIST)
      battle.cmd_state = CMD_ITEM_TARGET;
    else
      cast_on_one_monster(spell, from_item);
    return;
  }
  if (s.cls <= 4) return cast_on_members(spell, from_item);
  say(PRINT_NEW, "使用できません。");
}

void cast_spell(int n, int from_item) {
  play_menusound();
  int spell = n;
  if (!from_item) {
    spell = menu_spell(n);
    if (spell == 0) return;
  } else if (!spell_record(spell)) {
    say(PRINT_NEW, "呪文がありません。");
    return;
  }
  if (battle.battle_mode == BATTLE_NONE)
    cast_in_field(spell, from_item);
  else
    cast_in_battle(spell, from_item);
}

void field_cast(int member_no, int slot) {
  battle.field_caster = member_no >= 0 && member_no < 3 ? member_no : 0;
  cast_spell(slot, 0);
}
