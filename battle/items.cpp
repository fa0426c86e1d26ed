#include "battle/battle_internal.h"

static int item_target() {
  int t = battle.item_target_member;
  return t >= 0 && t < 3 ? t : 0;
}

void battle_item() {
  int entry = (battle.item_cursor[0] & 3) * 4 + (battle.item_cursor[1] & 3);
  u8 id = battle.battle_copy.party[battle.actor].items[entry];
  if (entry_empty(id)) {
    say(PRINT_NEW, "アイテムが、ありません!");
    return;
  }
  if (game.item_table[id].use_class != 0 && battle.item_pick == 0) {
    battle.item_pick = 1;
    battle.item_target_member = 0;
    return;
  }
  use_item(battle.actor, entry);
}

static void used_line(int u, int id) {
  say(PRINT_NEW, "@NAME%dは、", u);
  say(PRINT_ADD, "@ITEM%03dを使った。", id);
}

static void nothing_happened(int u, int id) {
  say(PRINT_NEW, "@NAME%dは、@ITEM%03d", u, id);
  say(PRINT_ADD, " を使ったが、何もおこらなかった。");
}

// An item of no use of its own: in battle a piece of equipment may carry a
// spell, which it casts without MP and without being used up. Returns 1 when
// the spell has taken over the turn.
static int use_plain(int u, int id) {
  const item& it = game.item_table[id];
  const magic* s = it.spell ? spell_record(it.spell) : nullptr;
  if (battle.battle_mode == BATTLE_NONE || !s) {
    nothing_happened(u, id);
    return 0;
  }
  if (s->scope != 0 || battle.cmd_state == CMD_ITEM_TARGET) used_line(u, id);
  if (it.kind >= ITEM_WEAPON && it.kind <= ITEM_SHIELD) {
    cast_spell(it.spell, 1);
    return 1;
  }
  return 0;
}

// HP or MP restored on one member; false when the member is out of action.
static bool restore(int t, bool mp, int amount) {
  member& m = party_member(t);
  if (member_dead(m)) return false;
  u16& v = mp ? m.mp : m.hp;
  u16 max = mp ? m.mp_max : m.hp_max;
  int figure = amount;
  if (v + amount > max) {
    v = max;
    figure = amount - 1;
  } else {
    v = static_cast<u16>(v + amount);
  }
  say(PRINT_ADD, mp ? "@NAME%dのMPが、" : "@NAME%dのHPが、", t);
  say(PRINT_ADD, "%d回復した。", figure);
  return true;
}

// Restores HP or MP on the target or on everyone able; false when the one
// target is out of action, which ends the use without using the item up.
static bool restore_all(const item& it, bool mp, int t) {
  int amount = mp ? it.mp : it.hp;
  if (amount == 0) return true;
  if (it.scope != 0) {
    for (int i = 0; i < 3; i++) restore(i, mp, amount);
    return true;
  }
  if (restore(t, mp, amount)) return true;
  say(PRINT_NEW, "@NAME%dは、死んでいる。", t);
  return false;
}

static void use_restore(int u, u8& entry) {
  const item& it = game.item_table[entry];
  int t = item_target();
  used_line(u, entry);
  if (!restore_all(it, false, t) || !restore_all(it, true, t)) return;
  entry = ITEM_USED_UP;
}

// Cures poison (bit 1) or a curse (bit 2).
static void use_cure(int u, u8& entry, u8 bit) {
  int t = item_target();
  member& m = party_member(t);
  if (member_dead(m)) {
    say(PRINT_NEW, "@NAME%dは、死んでいる。", t);
  } else if (!(m.status & bit)) {
    say(PRINT_NEW,
        bit == STATUS_POISON ? "@NAME%dは、毒をうけていないようだ。"
                             : "@NAME%dは、のろいをうけていないようだ。",
        t);
  } else {
    used_line(u, entry);
    say(PRINT_ADD, bit == STATUS_POISON ? "@NAME%dの毒が消えた。" : "@NAME%dの呪いが消えた。", t);
    m.status &= static_cast<u8>(~bit);
    entry = ITEM_USED_UP;
  }
}

static void raise(u16& a, u16* b, int amount, const char* line) {
  if (amount == 0) return;
  a = static_cast<u16>(a + amount);
  if (b) *b = static_cast<u16>(*b + amount);
  say(PRINT_ADD, line, amount);
}

static void use_raise(int u, u8& entry) {
  const item& it = game.item_table[entry];
  int t = item_target();
  member& m = party_member(t);
  if (member_dead(m)) {
    say(PRINT_NEW, "@NAME%dは、死んでいる。", t);
    return;
  }
  used_line(u, entry);
  say(PRINT_ADD, "@NAME%dの", t);
  raise(m.atk, &m.str, it.atk, "力が、%dあがった。");
  raise(m.spd, &m.agi, it.spd, "すばやさが、%dあがった。");
  raise(m.def, &m.grd, it.def, "防御が、%dあがった。");
  raise(m.mdef, &m.mgrd, it.mdef, "魔法防御が、%dあがった。");
  raise(m.hp, nullptr, it.hp, "HPが、%d回復した。");
  // the maximum goes into the base as well, or the next rebuild of the
  // equipped values (equipping, a level-up) would take the raise away
  raise(m.hp_max, &m.base_hp_max, it.hp_max, "HP最大値が、%dあがった。");
  raise(m.mp, nullptr, it.mp, "MPが、%d回復した。");
  raise(m.mp_max, &m.base_mp_max, it.mp_max, "MP最大値が、%dあがった。");
  entry = ITEM_USED_UP;
}

static void use_revive(int u, u8& entry) {
  int t = item_target();
  member& m = party_member(t);
  if (!member_dead(m)) {
    say(PRINT_NEW, "@NAME%dは、死んでいないようだ。", t);
    return;
  }
  used_line(u, entry);
  say(PRINT_ADD, "@NAME%dは、生き返った。", t);
  m.hp = 10;
  m.status &= ~STATUS_DEAD;
  entry = ITEM_USED_UP;
}

void use_item(int member_no, int entry) {
  int u = member_no >= 0 && member_no < 3 ? member_no : 0;
  member& m = party_member(u);
  if (member_dead(m)) return say(PRINT_NEW, "死んでいます。");
  if (entry < 0 || entry > 15 || entry_empty(m.items[entry]))
    return say(PRINT_NEW, "アイテムが、ありません!");
  u8& e = m.items[entry];
  switch (game.item_table[e].use_class) {
  case 0:
    if (use_plain(u, e)) return;
    break;
  case 1:
    use_restore(u, e);
    break;
  case 2:
    use_cure(u, e, STATUS_POISON);
    break;
  case 3:
    use_cure(u, e, STATUS_CURSE);
    break;
  case 4:
    use_raise(u, e);
    break;
  case 5:
    use_revive(u, e);
    break;
  default:
    nothing_happened(u, e);
    break;
  }
  after_party_action();
}
