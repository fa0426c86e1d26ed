#include "audio/sound.h"
#include "battle/battle_internal.h"

#include <cstring>

// A monster's experience: a fifteenth of the step from its level to the next.
// Level 255 has no next row; it takes the step that led up to it instead.
static u32 species_exp(int level) {
  const level_row* lt = game.level_table;
  if (level >= 255) return (lt[255].c7 - lt[254].c7) / 15;
  return (lt[level + 1].c7 - lt[level].c7) / 15;
}

void fill_monster_slot(int slot, int species_no, int gold_mult) {
  const species& s = species_table[species_no & 255];
  const level_row& row = game.level_table[s.level];
  monster_slot& m = battle.monsters[slot & 7];
  std::memcpy(m.name, s.name, sizeof m.name);
  m.picture = s.picture;
  int div = s.atk_div ? s.atk_div : 1;
  m.atk = static_cast<u16>((row.c[3] + row.c[5]) / div);
  m.spd = static_cast<u16>(row.c[2] + s.spd_bonus);
  m.def = static_cast<u16>(row.c[3] + s.def_bonus);
  m.mdef = row.c[4];
  m.hp = m.hp_max = row.c[0] * s.hp_mult;
  m.mp = m.mp_max = row.c[6];
  m.exp = species_exp(s.level);
  m.elem_attack = s.elem_attack;
  m.status = 0;
  m.spare = 0;
  m.gold = static_cast<i32>(m.exp * static_cast<u32>(gold_mult));
  std::memcpy(m.spells, s.spells, 8);
  std::memcpy(m.elem_def, s.elem_def, 8);
  std::memcpy(m.specials, s.specials, 8);
  m.behaviour = s.behaviour;
  std::memcpy(m.note, s.note, sizeof m.note);
  battle.slot_species[slot & 7] = species_no & 255;
}

static void clear_slot(int slot) {
  battle.monsters[slot] = monster_slot{};
  battle.monsters[slot].status = STATUS_DEAD;
  battle.slot_species[slot] = 0;
}

// What both kinds of battle start with. A new battle starts a fresh round.
static void begin_battle() {
  play_battlestart();
  battle.battle_mode = BATTLE_FIGHTING;
  battle.party_done = battle.monsters_done = 0;
  battle.party_actions = battle.monster_actions = 0;
  battle.monster_turn_pending = 0;
  battle.next_monster = 0;
  battle.first_key = 1;
  for (int i = 0; i < 3; i++) {
    battle.hit_flash[i] = hit_effect{};
    battle.party_acted[i] = battle.monster_acted[i] = 0;
  }
}

// Cursors, the copy of the party, the first member able to act.
static void finish_setup() {
  for (u8& d : battle.defending) d = 0;
  battle.cmd_state = CMD_LIST;
  battle.cmd_cursor = battle.target_cursor = battle.magic_target_cursor = 0;
  battle.spell_cursor[0] = battle.spell_cursor[1] = 0;
  battle.item_cursor[0] = battle.item_cursor[1] = 0;
  battle.member_pick = battle.item_pick = 0;
  battle.battle_copy = game.sb;
  for (int i = 0; i < 3; i++)
    if (!member_dead(battle.battle_copy.party[i])) {
      battle.actor = i;
      break;
    }
}

// The encounter row of the area; an area beyond the table meets nothing.
static const u8* encounter_row() {
  static const u8 none[8] = {};
  int a = game.cur_area;
  if (game.cur_map == WORLD_MAP) return a >= 0 && a < 14 ? world_encounters[a] : none;
  return a >= 0 && a < 64 ? dungeon_encounters[a] : none;
}

void start_group_battle(int figure) {
  begin_battle();
  battle.no_escape = 0;
  battle.figure = figure;
  int n = next_rand() & 3;
  if (n == 0) n = 2;
  battle.monster_count = n;
  const u8* row = encounter_row();
  for (int i = 0; i < n; i++) {
    fill_monster_slot(i, row[next_rand() & 7], 10);
    say(PRINT_ADD, "@WMSD%03dが現れた！", i);
  }
  for (int i = n; i < MONSTER_SLOTS; i++) clear_slot(i);
  finish_setup();
}

void start_set_battle(int species_no) {
  begin_battle();
  battle.no_escape = 1;
  battle.fixed_battle = 1;
  battle.monster_count = 1;
  for (int i = 1; i < MONSTER_SLOTS; i++) clear_slot(i);
  fill_monster_slot(0, species_no, 100);
  say(PRINT_ADD, "@WMSD%03dが現れた！", 0);
  finish_setup();
}
