// Battles: the built-in monsters and encounter tables, the set-up of a fight,
// the party's commands and the turn order, the monsters' actions, magic, and
// the use of items and equipment (in battle and from the field menus).
//
// One battle at a time; all of its state lives in `battle`. The party fights as
// the members of `battle.battle_copy`; the saved record `game.sb` gets the result
// back only on victory and on escape.
#pragma once
#include "state/state.h"

constexpr int MONSTER_SLOTS = 8;
constexpr int SPECIES_COUNT = 256;
constexpr int LOSE_ALLOWED_FLAG = 84; // a wiped-out party does not end the game
constexpr int LOST_BATTLE_FLAG = 85;  // set when such a battle is lost

// battle_mode values.
enum : i32 { BATTLE_NONE = 0, BATTLE_FIGHTING = 1, BATTLE_OVER = 2, BATTLE_LOST = 3 };

// cmd_state values: which choice the command window is making.
enum : i32 {
  CMD_LIST = 0, // the five commands
  CMD_ATTACK_TARGET = 1,
  CMD_SPELL_LIST = 2,
  CMD_ITEM_LIST = 3,
  CMD_SPELL_TARGET = 4, // a monster for a spell
  CMD_ITEM_TARGET = 5,  // a monster for an item's spell
};

// A monster species as built into the game (130 bytes, the table's layout).
struct species {
  char name[17];
  u8 level;     // level_table row the statistics come from
  u8 behaviour; // 0 attack, 1 spell, 2..4 mixed, 5 attack or wait
  u8 hp_mult;
  u8 atk_div; // never 0
  u8 def_bonus;
  u8 spd_bonus;
  u8 picture;      // monster picture 0..33
  u16 elem_attack; // element bits of its physical attack
  u8 spells[8];
  u8 elem_def[8]; // 0..5 per element; the eighth for spells of other elements
  u8 specials[8];
  char note[80];
};
static_assert(sizeof(species) == 130 && offsetof(species, elem_attack) == 24);
static_assert(offsetof(species, spells) == 26 && offsetof(species, note) == 50);

extern const std::array<species, SPECIES_COUNT> species_table;
extern const u8 world_encounters[14][8];   // by area, on the world map
extern const u8 dungeon_encounters[64][8]; // by area, on every other map

// A fighting monster.
struct monster_slot {
  char name[17]; // what "@WMSD" + slot number prints
  u8 picture;
  u16 atk, spd, def, mdef;
  i32 hp, hp_max;
  i32 mp, mp_max;
  u32 exp;
  u16 elem_attack;
  u8 status; // STATUS_DEAD, STATUS_POISON
  u8 spare;
  i32 gold;
  u8 spells[8];
  u8 elem_def[8];
  u8 specials[8];
  u8 behaviour;
  char note[8];
};

// The picture laid over a monster that has been hit: kind 0 for a weapon,
// otherwise the spell number (an entry of monster_surface_b).
struct hit_effect {
  i32 on = 0;
  i32 timer = 0; // frames left, from 16
  i32 kind = 0;
};

struct battle_data {
  i32 battle_mode = BATTLE_NONE;
  i32 actor = 0; // member whose command is chosen next
  i32 monster_count = 0;
  i32 slot_species[MONSTER_SLOTS]{};
  monster_slot monsters[MONSTER_SLOTS]{};
  save_block battle_copy{}; // the party as it fights
  i32 figure = 0;           // npc_table index of the NPC that started the fight
  i32 fixed_battle = 0;     // a set battle against one species was fought
  i32 no_escape = 0;
  i32 first_key = 0; // until the first confirm or cancel the down key does nothing

  // The command window.
  i32 cmd_state = CMD_LIST;
  i32 cmd_cursor = 0; // 0 attack, 1 spell, 2 item, 3 defend, 4 run
  i32 target_cursor = 0;
  i32 magic_target_cursor = 0;
  i32 spell_cursor[2]{}; // column 0..3, row 0..3
  i32 item_cursor[2]{};  // column 0..3 (the page), row 0..3

  // Choosing a member as the target of a spell or an item. These are shared
  // with the field menus: the spell list's target window is member_pick with
  // spell_target_member, the give-to / use-on window is item_pick with
  // item_target_member, in the field and in battle alike.
  i32 member_pick = 0;
  i32 spell_target_member = 0;
  i32 item_pick = 0;
  i32 item_target_member = 0;

  // Rounds.
  i32 party_actions = 0, monster_actions = 0;
  i32 party_alive = 0, monster_alive = 0;
  i32 party_done = 0, monsters_done = 0;
  i32 party_acted[3]{}, monster_acted[3]{};
  i32 next_monster = 0;
  i32 monster_turn_pending = 0; // the main loop is to run monster_turn()
  u8 defending[5]{};

  // The action being resolved.
  i32 elem_hit[16]{};
  i32 attack_all = 0;
  i32 damage = 0;

  // The screen.
  hit_effect hit_flash[3]{};
  i32 monster_view = 0; // U / F6: the monster pictures
  u8 actor_phase = 0;   // colour phase of the acting member's line

  // Waits for a key: after the party's report, after a monster's.
  i32 battle_wait_open = 0;
  i32 battle_wait_turn = 0;

  // Losing.
  i32 gameover_state = 0; // 1 wiped out (next key prints it), 2 game over
  i32 weaken_count = 0;   // lose-allowed battles lost in the monsters' turn

  i32 field_caster = 0; // the member casting from the field menu
};

extern battle_data battle;
void reset_battle_state();

// The return spell ends in a map change, which is the field's walk: the
// shell puts the field's enter_map() here at start-up.
extern void (*return_to_map)(int map, int x, int y);

// ---- Set-up (battle/encounter.cpp) ----
// A random group of one to three monsters from the area's encounter row;
// figure is the NPC that started it (0 when walking). Callers stop the music,
// start the battle music and print "敵だ！" first.
void start_group_battle(int figure);
// One monster of the given species (set fights and event battles); the caller
// stores the NPC in battle.figure itself.
void start_set_battle(int species_no);
// Fills a monster slot from a species; gold is exp times gold_mult.
void fill_monster_slot(int slot, int species_no, int gold_mult);

// An element damage against a defence value 0..5: the scale of a monster
// defending (and of a member against physical attacks and spells), and the
// scale of a member against a special attack. The finishing player weighs
// its spells with it.
int scale_defended(int d, int v);
int scale_special(int d, int v);

// ---- Commands and rounds (battle/turn.cpp, battle/battle_keys.cpp) ----
// The battle key handler: every key while battle_mode is 1 and no wait is open.
void battle_key(int key);
// The key that closes a finished battle (battle_mode 2, no event waiting):
// back to the field and the map's music. The field command menu (cmd_menu)
// is the field's to close.
void end_battle_key();
// The wiped-out line, on the key after a lost battle (gameover_state 1).
void gameover_key();
void attack(int target);
void defend();
void run_away();
void after_party_action(); // does nothing outside battle

// ---- Monster actions (battle/monster_turn.cpp) ----
// One monster's action; the main loop runs it while battle_mode is non-zero,
// monster_turn_pending is 1 and battle_wait_open is 0.
void monster_turn();
void monster_special(int slot, int code, int target);

// ---- Magic (battle/magic.cpp) ----
// From a menu n is the caster's spell-list slot 0..15 and from_item 0; from
// an item n is the spell number and from_item 1. The caster is `actor` in
// battle and battle.field_caster in the field.
void cast_spell(int n, int from_item);
// The field menu's cast: member_no (sel_member) casts its spell-list slot.
// A one-member spell takes two calls: the first opens battle.member_pick, the
// second casts on battle.spell_target_member.
void field_cast(int member_no, int slot);
void monster_cast(int slot, int spell, int target);

// ---- Items and equipment (battle/items.cpp, battle/equipment.cpp) ----
// The members used: battle_copy's in battle, save_block's in the field.
member& party_member(int m);
void battle_item();                                        // the chosen entry of actor
void use_item(int member_no, int entry);                   // target: battle.item_target_member
void discard_item(int member_no, int entry);               // field
void give_item_to(int member_no, int entry, int receiver); // field
// The look action: first call (shown 0) checks the entry and returns 1 when
// the description view may open; the second call (shown 1) prints it.
int describe_item(int member_no, int entry, int shown);
// Field only; part 0 head, 1 right, 2 left, 3 body, 4..6 accessories.
// Returns 1 when it was carried out (the equipment list's done flag is then
// set), 0 when refused.
int equip(int member_no, int entry, int part);
void equip_bonus(member& m, int item_no);
void rebuild_equipped(member& m); // equipped values from base values and equipment
