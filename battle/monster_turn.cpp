#include "audio/sound.h"
#include "battle/battle_internal.h"

// The lines of the special attacks by code; codes without a line are no
// special at all.
static const char* special_line(int code) {
  static const char* const single[9] = {nullptr,        "火を吐いた",     "雨を降らした",
                                        "雷を落とした", "風をおこした",   "不思議な波動を送った",
                                        "毒をはいた",   "地に押しつけた", ""};
  static const char* const party[7] = {
      "炎をはいた",         "津波をおこした", "電撃の雨を降らした", "竜巻をおこした",
      "奇妙な波動を送った", "猛毒を吐いた",   "超重力で押しつぶす"};
  if (code >= 1 && code <= 8) return single[code];
  if (code >= 16 && code <= 22) return party[code - 16];
  return nullptr;
}

static void special_on_member(int slot, int e, int t) {
  member& p = battle.battle_copy.party[t];
  int d = scale_special(battle.monsters[slot].atk, p.elem[e]);
  if (member_dead(p)) d = 0;
  if (battle.defending[t]) d >>= 1;
  say(PRINT_ADD, "@C1@NAME%d@C0は、", t);
  if (d > 0) {
    if (e == 5) {
      p.status |= STATUS_POISON;
      say(PRINT_ADD, "毒を受けた！");
    }
    say(PRINT_ADD, " @C2%d@C0ポイントのダメージを受けた！", d);
    lose_hp(p.hp, d);
  } else {
    say(PRINT_ADD, "攻撃をはねかえした。");
  }
  if (p.hp == 0) {
    p.status |= STATUS_DEAD;
    say(PRINT_ADD, "@C1@NAME%d@C0は、死んでしまった!", t);
  }
}

void monster_special(int slot, int code, int target) {
  const char* line = special_line(code);
  if (!line) return;
  say(PRINT_ADD, "%s", line);
  play_haku();
  if (code & 0xF0) {
    for (int t = 0; t < 3; t++) special_on_member(slot, code - 16, t);
  } else {
    special_on_member(slot, code - 1, target);
  }
}

static void physical_attack(int slot, int t) {
  const monster_slot& m = battle.monsters[slot];
  member& p = battle.battle_copy.party[t];
  int agility = m.spd > p.spd ? m.spd - p.spd : 0;
  int d = m.atk - p.def + agility;
  if (battle.defending[t]) d /= 2;
  say(PRINT_ADD, "@C1@NAME%d@C0は、", t);
  if (d > 0) {
    say(PRINT_ADD, " @C2%d@C0ポイントのダメージを受けた！", d);
    lose_hp(p.hp, d);
  } else {
    say(PRINT_ADD, "攻撃をはねかえした！");
  }
  for (int k = 0; k < 7; k++) {
    if (m.elem_attack & (1 << k)) battle.elem_hit[k] += m.atk;
    battle.elem_hit[k] = scale_defended(battle.elem_hit[k], p.elem[k]);
    if (battle.defending[t]) battle.elem_hit[k] /= 2;
  }
  for (int k = 0; k < 7; k++) {
    if (battle.elem_hit[k] == 0) continue;
    if (k == 5) {
      p.status |= STATUS_POISON;
      say(PRINT_ADD, "毒を受けた！");
    }
    say(PRINT_ADD, "属性攻撃!@C%d[%s]%d@C0ﾎﾟｲﾝﾄのﾀﾞﾒｰｼﾞ！", k + 2, element_names[k],
        battle.elem_hit[k]);
    lose_hp(p.hp, battle.elem_hit[k]);
  }
  if (p.hp == 0) {
    p.status |= STATUS_DEAD;
    say(PRINT_ADD, "@C1@NAME%d@C0は、", t);
    say(PRINT_ADD, "死んでしまった！");
  }
}

// Up to 32 draws for a special; without one the monster strikes.
static void monster_attack(int slot, int t) {
  for (int i = 0; i < 32; i++) {
    int code = battle.monsters[slot].specials[next_rand() & 7];
    if (special_line(code)) return monster_special(slot, code, t);
  }
  physical_attack(slot, t);
}

static void monster_spell(int slot, int t) {
  int s = battle.monsters[slot].spells[next_rand() & 7];
  if (s == 0 || !spell_record(s))
    say(PRINT_ADD, "様子をみている。");
  else
    monster_cast(slot, s, t);
}

enum { DO_ATTACK, DO_SPELL, DO_WAIT };

static int monster_choice(int behaviour, int q) {
  switch (behaviour) {
  case 1:
    return DO_SPELL;
  case 2:
    return q > 10 ? DO_SPELL : DO_ATTACK;
  case 3:
    return q < 11 ? DO_SPELL : DO_ATTACK;
  case 4:
    return q > 7 ? DO_SPELL : DO_ATTACK;
  case 5:
    return q <= 7 ? DO_ATTACK : DO_WAIT;
  default:
    return DO_ATTACK;
  }
}

// The member the monster goes for: member 0 half the time.
static int monster_target() {
  int t = next_rand() & 3;
  if (t == 3) t = 0;
  for (int i = 0; i < 3 && member_dead(battle.battle_copy.party[t]); i++) t = (t + 1) % 3;
  return t;
}

// The slot that acts: the next one able to; -1 when none is.
static int acting_slot() {
  int n = battle.monster_count > 0 ? battle.monster_count : 1;
  int m = battle.next_monster % n;
  for (int i = 0; i < n; i++, m = (m + 1) % n)
    if (!slot_dead(m)) return m;
  return -1;
}

static void after_monster_action() {
  if (living_members() > 0) {
    for (int i = 0; i < 3 && member_dead(battle.battle_copy.party[battle.actor]); i++)
      battle.actor = (battle.actor + 1) % 3;
    return;
  }
  if (game.sb.flags[LOSE_ALLOWED_FLAG] == 1) {
    // Straight back to the field; the copy is dropped, so the saved party
    // is as it was before the battle.
    battle.weaken_count++;
    game.sb.flags[LOST_BATTLE_FLAG] = 1;
    battle.battle_mode = BATTLE_NONE;
    battle.battle_wait_turn = 0; // no battle key will clear the prompt now

  } else {
    battle.battle_mode = BATTLE_LOST;
    battle.gameover_state = 1;
  }
}

void monster_turn() {
  if (battle.monsters_done == 1) {
    battle.monster_turn_pending = 0;
    battle.battle_wait_open = 0;
    battle.battle_wait_turn = 1;
    return;
  }
  if (battle.monster_alive <= ++battle.monster_actions) {
    battle.monster_actions = 0;
    if (battle.party_done == 1) {
      battle.party_done = 0;
      end_round_marks();
    } else {
      battle.monsters_done = 1;
    }
  }
  int m = acting_slot();
  if (m < 0 || battle.monster_acted[m] == 1) {
    battle.monsters_done = 1;
    return;
  }
  say(PRINT_NEW, "@C3@WMSD%03d@C0の、攻撃!!", m);
  play_tekiatk();
  int t = monster_target();
  for (i32& e : battle.elem_hit) e = 0;
  int choice = monster_choice(battle.monsters[m].behaviour, next_rand() & 21);
  if (choice == DO_ATTACK)
    monster_attack(m, t);
  else if (choice == DO_SPELL)
    monster_spell(m, t);
  else
    say(PRINT_ADD, "様子をみている。");
  battle.monster_acted[m] = 1;
  battle.next_monster = m + 1 == battle.monster_count ? 0 : m + 1;
  battle.monster_turn_pending = 0;
  battle.cmd_cursor = 0;
  battle.cmd_state = CMD_LIST;
  battle.battle_wait_turn = 1;
  after_monster_action();
}
