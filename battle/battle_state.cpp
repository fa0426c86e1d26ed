#include "battle/battle_internal.h"

battle_data battle;

void reset_battle_state() {
  battle = battle_data{};
}

const char* const element_names[7] = {"炎", "水", "雷", "風", "精", "毒", "重"};

// A monster's defence (and a member's against blows and spells): 1 keeps a
// fifth, 4 four fifths, 5 nothing.
int scale_defended(int d, int v) {
  if (v >= 1 && v <= 4) return d / 5 * v;
  return v == 5 ? 0 : d;
}

// A member's defence against breath and the like: 1 keeps four fifths,
// 4 a fifth, 5 nothing.
int scale_special(int d, int v) {
  if (v >= 1 && v <= 4) return d / 5 * (5 - v);
  return v == 5 ? 0 : d;
}

bool member_dead(const member& m) {
  return (m.status & STATUS_DEAD) != 0;
}

bool slot_dead(int slot) {
  return (battle.monsters[slot & 7].status & STATUS_DEAD) != 0;
}

member& party_member(int m) {
  save_block& sb = battle.battle_mode != BATTLE_NONE ? battle.battle_copy : game.sb;
  return sb.party[m >= 0 && m < 3 ? m : 0];
}

member& field_member(int m) {
  return game.sb.party[m >= 0 && m < 3 ? m : 0];
}

int living_members() {
  int n = 0;
  for (int i = 0; i < 3; i++) n += !member_dead(battle.battle_copy.party[i]);
  return n;
}

void lose_hp(u16& hp, int amount) {
  hp = hp <= amount ? 0 : static_cast<u16>(hp - amount);
}

void lose_hp(i32& hp, int amount) {
  hp = hp <= amount ? 0 : hp - amount;
}

u16 less(u16 v, int amount) {
  return v <= amount ? 0 : static_cast<u16>(v - amount);
}

void start_hit_flash(int slot, int kind) {
  if (slot < 0 || slot > 2) return;
  battle.hit_flash[slot] = {1, 16, kind};
}

void end_round_marks() {
  for (int i = 0; i < 3; i++) {
    battle.hit_flash[i].on = 0;
    battle.party_acted[i] = 0;
    battle.monster_acted[i] = 0;
  }
}
