#include "battle/battle_internal.h"

// The element defence entry of a spell: elements 1..7 are entries 0..6,
// anything else the eighth entry.
static int spell_entry(const magic& s) {
  return s.elem >= 1 && s.elem <= 7 ? s.elem - 1 : 7;
}

// Recovery and strengthening on a member: every value rises, HP and MP
// stay within their maximum.
static void raise_member(member& m, const magic& s) {
  const u16* p = s.power;
  m.atk = static_cast<u16>(m.atk + p[0]);
  m.spd = static_cast<u16>(m.spd + p[1]);
  m.def = static_cast<u16>(m.def + p[2]);
  m.mdef = static_cast<u16>(m.mdef + p[3]);
  m.hp = static_cast<u16>(m.hp + p[4]);
  m.hp_max = static_cast<u16>(m.hp_max + p[5]);
  if (m.hp > m.hp_max) m.hp = m.hp_max;
  m.mp = static_cast<u16>(m.mp + p[6]);
  m.mp_max = static_cast<u16>(m.mp_max + p[7]);
  if (m.mp > m.mp_max) m.mp = m.mp_max;
}

void cast_on_all_members(int spell, int from_item) {
  if (!spell_report(spell, from_item)) return;
  spell_cost(spell, from_item);
  const magic& s = game.magic_table[spell];
  for (int i = 0; i < 3; i++) {
    member& m = party_member(i);
    if (s.cls == 1 || s.cls == 2) {
      if (member_dead(m))
        say(PRINT_ADD, "@NAME%dは死んでいる。", i);
      else
        raise_member(m, s);
    } else if (s.cls == 3) {
      m.status &= ~STATUS_POISON;
      say(PRINT_ADD, "@NAME%dの毒が消えた。", i);
    } else if (s.cls == 4) {
      m.status &= ~STATUS_DEAD;
      say(PRINT_ADD, "@NAME%dは生き返った。", i);
    }
  }
  after_party_action();
}

void cast_on_one_member(int spell, int from_item) {
  if (!spell_report(spell, from_item)) return;
  const magic& s = game.magic_table[spell];
  int t = battle.spell_target_member >= 0 && battle.spell_target_member < 3
              ? battle.spell_target_member
              : 0;
  member& m = party_member(t);
  if (s.cls == 1 || s.cls == 2) {
    if (member_dead(m)) {
      say(PRINT_ADD, "@NAME%dは死んでいる。", t);
    } else {
      raise_member(m, s);
      if (s.cls == 1) say(PRINT_ADD, "@NAME%dのHPが回復した。", t);
    }
  } else if (s.cls == 3) {
    m.status &= ~STATUS_POISON;
    say(PRINT_ADD, "@NAME%dの毒が消えた。", t);
  } else if (s.cls == 4) {
    say(PRINT_ADD, "@NAME%dは生き返った。", t);
    m.hp = 10;
    m.status &= ~STATUS_DEAD;
  }
  spell_cost(spell, from_item);
  after_party_action();
}

// The lines of a spell on monsters: one monster, or each of all.
struct monster_lines {
  const char *hit, *damage, *beaten, *lowered_beaten, *unhurt;
};
static const monster_lines one_lines = {"@C1@WMSD%03d@C0に、", "@C2%d@C0ポイントのダメージ！",
                                        "@C1@WMSD%03d@C0を、倒した！",
                                        "@C1@WMSD%03d@C0を、倒した！", "@C1@WMSD%03d@C0は、"};
static const monster_lines all_lines = {">@C1@WMSD%03d@C0に、", " @C2%d@C0ポイントのダメージ！",
                                        "@C1@WMSD%03d@C0を、倒した！",
                                        ">@C1@WMSD%03d@C0を、倒した！", ">@C1@WMSD%03d@C0は、"};

static void attack_spell_on(int slot, const magic& s, int spell, const monster_lines& l) {
  monster_slot& m = battle.monsters[slot];
  m.status &= STATUS_DEAD;
  if (slot_dead(slot)) return;
  battle.damage = scale_defended(s.power[0], m.elem_def[spell_entry(s)]) - m.mdef;
  if (battle.damage > 0) {
    say(PRINT_ADD, l.hit, slot);
    say(PRINT_ADD, l.damage, battle.damage);
    start_hit_flash(slot, spell);
    lose_hp(m.hp, battle.damage);
    if (m.hp == 0) {
      m.status |= STATUS_DEAD;
      say(PRINT_ADD, l.beaten, slot);
    }
  } else {
    say(PRINT_ADD, l.unhurt, slot);
    say(PRINT_ADD, "ダメージを受けない！");
  }
}

static void lowering_spell_on(int slot, const magic& s, const monster_lines& l) {
  monster_slot& m = battle.monsters[slot];
  m.status &= STATUS_DEAD;
  if (slot_dead(slot)) return;
  const u16* p = s.power;
  m.atk = less(less(m.atk, p[0]), p[0]);
  m.spd = less(m.spd, p[1]);
  m.def = less(m.def, p[2]);
  m.mdef = less(m.mdef, p[3]);
  lose_hp(m.hp_max, p[5]);
  lose_hp(m.mp, p[6]);
  lose_hp(m.mp_max, p[7]);
  lose_hp(m.hp, p[4]);
  if (m.hp == 0) {
    m.status |= STATUS_DEAD;
    say(PRINT_ADD, l.lowered_beaten, slot);
  }
}

static void spell_on_monster(int slot, int spell, const monster_lines& l) {
  const magic& s = game.magic_table[spell];
  if (s.cls == 0)
    attack_spell_on(slot, s, spell, l);
  else if (s.cls == 5)
    lowering_spell_on(slot, s, l);
  else
    say(PRINT_ADD, "あれ・・・？");
}

void cast_on_one_monster(int spell, int from_item) {
  if (!spell_report(spell, from_item)) return;
  int slot = from_item ? battle.target_cursor : battle.magic_target_cursor;
  spell_on_monster(slot >= 0 && slot < 3 ? slot : 0, spell, one_lines);
  spell_cost(spell, from_item);
  after_party_action();
}

void cast_on_all_monsters(int spell, int from_item) {
  if (!spell_report(spell, from_item)) return;
  battle.attack_all = 1;
  for (int s = 0; s < battle.monster_count; s++) spell_on_monster(s, spell, all_lines);
  spell_cost(spell, from_item);
  after_party_action();
}
