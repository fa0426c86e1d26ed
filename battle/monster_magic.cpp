#include "battle/battle_internal.h"

static int spell_entry(const magic& s) {
  return s.elem >= 1 && s.elem <= 7 ? s.elem - 1 : 7;
}

static void attack_spell_on_member(const magic& s, int t) {
  member& p = battle.battle_copy.party[t];
  p.status &= STATUS_DEAD;
  if (member_dead(p)) return;
  int e = spell_entry(s);
  int d = scale_defended(s.power[0], p.elem[e]) - p.mgrd;
  if (battle.defending[t]) d /= 2;
  if (d <= 0) {
    say(PRINT_ADD, ">@C1@NAME%d@C0は、", t);
    say(PRINT_ADD, " ダメージを受けない。");
    return;
  }
  if (e == 5) {
    p.status |= STATUS_POISON;
    say(PRINT_ADD, "毒を受けた！");
  }
  say(PRINT_ADD, ">@C1@NAME%d@C0に、", t);
  say(PRINT_ADD, " @C2%d@C0ポイントのダメージ！@P", d);
  lose_hp(p.hp, d);
  if (p.hp == 0) {
    p.status |= STATUS_DEAD;
    say(PRINT_ADD, ">@C1@NAME%d@C0を、倒した！", t);
  }
}

// A monster's lowering spell weakens the member's base values.
static void lowering_spell_on_member(const magic& s, int t) {
  member& p = battle.battle_copy.party[t];
  p.status &= STATUS_DEAD;
  if (member_dead(p)) return;
  const u16* w = s.power;
  p.str = less(less(p.str, w[0]), w[0]);
  p.agi = less(p.agi, w[1]);
  p.grd = less(p.grd, w[2]);
  p.mgrd = less(p.mgrd, w[3]);
  p.base_hp_max = less(p.base_hp_max, w[5]);
  p.base_mp = less(p.base_mp, w[6]);
  p.base_mp_max = less(p.base_mp_max, w[7]);
  p.base_hp = less(p.base_hp, w[4]);
  if (p.base_hp == 0) {
    p.status |= STATUS_DEAD;
    say(PRINT_ADD, ">@C1@NAME%d@C0を、倒した！", t);
  }
}

static void spell_on_member(const magic& s, int t) {
  if (s.cls == 0)
    attack_spell_on_member(s, t);
  else if (s.cls == 5)
    lowering_spell_on_member(s, t);
  else
    say(PRINT_ADD, "あれ・・・？");
}

// A monster's recovery, strengthening, cure or revival, said without a line.
static void spell_on_slot(const magic& s, int slot) {
  monster_slot& m = battle.monsters[slot];
  const u16* p = s.power;
  if ((s.cls == 1 || s.cls == 2) && !slot_dead(slot)) {
    m.atk = static_cast<u16>(m.atk + p[0]);
    m.spd = static_cast<u16>(m.spd + p[1]);
    m.def = static_cast<u16>(m.def + p[2]);
    m.mdef = static_cast<u16>(m.mdef + p[3]);
    m.hp += p[4];
    if (m.hp > m.hp_max) m.hp = m.hp_max;
    m.hp_max += p[5];
    m.mp += p[6];
    if (m.mp > m.mp_max) m.mp = m.mp_max;
    m.mp_max += p[7];
  } else if (s.cls == 3) {
    m.status &= ~STATUS_POISON;
  } else if (s.cls == 4) {
    m.status &= ~STATUS_DEAD;
  }
}

void monster_cast(int slot, int spell, int target) {
  const magic* s = spell_record(spell);
  if (!s || slot < 0 || slot > 2) return;
  say(PRINT_NEW, "@WMSD%03dは、", slot);
  say(PRINT_ADD, "@MAGIC%02dの呪文を唱えた。", spell);
  monster_slot& m = battle.monsters[slot];
  if (s->mp_cost > m.mp) {
    say(PRINT_ADD, "MPがたりない!");
    return;
  }
  m.mp -= s->mp_cost;
  if (s->cls == 0 || s->cls == 5) {
    if (s->scope == 0) return spell_on_member(*s, target >= 0 && target < 3 ? target : 0);
    for (int t = 0; t < 3; t++) spell_on_member(*s, t);
  } else if (s->cls <= 4) {
    // A spell on all monsters reaches only the monsters of this battle.
    if (s->scope == 0) return spell_on_slot(*s, slot);
    for (int i = 0; i < battle.monster_count && i < 3; i++) spell_on_slot(*s, i);
  }
}
