// The game-state model: the saved record, the map the party is on, the
// field scalars and the game-wide tables. Everything lives for the whole run.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

using u8 = std::uint8_t;
using u16 = std::uint16_t;
using u32 = std::uint32_t;
using i8 = std::int8_t;
using i16 = std::int16_t;
using i32 = std::int32_t;

// A party member; also its image in the save file.
struct member {
  char name[16];
  u8 reserved16;
  u8 kind;
  u8 level;
  u8 age;
  u32 exp;
  u32 next_exp;
  u32 exp_step;
  u32 exp_step_inc;
  u32 exp_step_inc2;
  u16 str, agi, mag, grd, mgrd;
  u16 base_hp, base_hp_max, base_mp, base_mp_max;
  u16 atk, spd, matk, def, mdef;
  u16 hp, hp_max, mp, mp_max;
  u8 spells[16];
  u16 spell_mask;
  u8 eq_right, eq_left, eq_body, eq_head;
  u8 items[16];
  u16 eq_mask;
  u8 status;
  u8 eq_acc1, eq_acc2, eq_acc3;
  u8 elem[8];
  u8 sex;
  u8 reserved129[3];
};
static_assert(sizeof(member) == 132);
static_assert(offsetof(member, exp) == 20 && offsetof(member, str) == 40);
static_assert(offsetof(member, atk) == 58 && offsetof(member, hp) == 68);
static_assert(offsetof(member, spells) == 76 && offsetof(member, spell_mask) == 92);
static_assert(offsetof(member, eq_right) == 94 && offsetof(member, items) == 98);
static_assert(offsetof(member, eq_mask) == 114 && offsetof(member, status) == 116);
static_assert(offsetof(member, elem) == 120 && offsetof(member, sex) == 128);

// Member status bits (monster slots use the first two as well).
constexpr u8 STATUS_DEAD = 1, STATUS_POISON = 2, STATUS_CURSE = 4;
constexpr u8 NO_EQUIP = 255;
// An item entry that held a consumed item; like 0 it holds nothing.
constexpr u8 ITEM_USED_UP = 255;
constexpr bool entry_empty(int id) {
  return id == 0 || id == ITEM_USED_UP;
}

// Everything that survives a save; also the save-slot and rpg.ini image.
struct save_block {
  u8 map, area, x, y;
  u8 reserved4[4];
  i32 gold;
  member party[5];
  u8 flags[256];
  u8 reserved928[768];
  u8 bag[20];
};
static_assert(sizeof(save_block) == 1716);
static_assert(offsetof(save_block, gold) == 8 && offsetof(save_block, party) == 12);
static_assert(offsetof(save_block, flags) == 672 && offsetof(save_block, bag) == 1696);

// Item kinds.
enum : u8 {
  ITEM_TOOL = 0,
  ITEM_WEAPON = 1,
  ITEM_HEAD = 2,
  ITEM_BODY = 3,
  ITEM_SHIELD = 4,
  ITEM_ACCESSORY = 5,
  ITEM_EVENT = 6
};

struct item {
  char name[17];
  u8 kind;
  u8 use_class;
  u8 equip_rule;
  u8 reserved20;
  u8 spell;
  u8 scope;
  u8 reserved23;
  u16 elem_attack;
  u8 reserved26[2];
  i32 price;
  u16 atk, spd, matk, def, mdef;
  u16 hp, hp_max, mp, mp_max;
  u8 elem_def[8];
  char info[82];
};
static_assert(sizeof(item) == 140);
static_assert(offsetof(item, price) == 28 && offsetof(item, elem_def) == 50);
static_assert(offsetof(item, info) == 58);

struct magic {
  char name[9];
  u8 cls; // effect class 0..6
  u8 elem;
  u8 scope;
  u16 mp_cost;
  u16 power[8];
};
static_assert(sizeof(magic) == 30 && offsetof(magic, power) == 14);

struct npc {
  u8 sprite;
  u8 frame;
  u8 reserved2[2];
  u8 x, y;
  i16 px, py;
  u8 wanders;
  u8 move;
  u8 move_px;
  u8 wait;
  u8 wait_count;
  u8 frame_count;
  u8 frame_period;
  u8 facing;
  u8 reserved18[4];
  u8 type;
  u8 state;
  u8 a, b;
};
static_assert(sizeof(npc) == 26 && offsetof(npc, px) == 6 && offsetof(npc, type) == 22);

struct map_event {
  u8 x, y, a, b, c;
};
static_assert(sizeof(map_event) == 5);

struct level_row {
  u16 c[7];
  u8 reserved[2];
  u32 c7;
};
static_assert(sizeof(level_row) == 20 && offsetof(level_row, c7) == 16);

constexpr int NPC_COUNT = 24;
constexpr int WORLD_MAP = 4;

// Monsters roam (random encounters, and poison hurts at every step) on the
// world map, one cave, two tunnels and every map from 50 on.
constexpr int KARAF_CAVE = 36, BORK_TUNNEL = 39, RAMUR_TUNNEL = 40, FIRST_ROAMING_MAP = 50;
constexpr bool encounter_map(int map) {
  return map == WORLD_MAP || map == KARAF_CAVE || map == BORK_TUNNEL || map == RAMUR_TUNNEL ||
         map >= FIRST_ROAMING_MAP;
}

// Tile classes (tile_class[tile]): what a tile is when the party enters,
// arrives on, searches or talks to it. Classes 4, 6 and 7 and those outside
// 1..17 are plain ground like class 0. The map makers' variants of a shop
// counter and an event tile behave alike, except that the ground of the
// first event tile can still be searched and people cannot walk onto the
// third.
enum tile_class_kind : int {
  TILE_GROUND = 0,
  TILE_WALL = 1,
  TILE_STAIRS = 2,
  TILE_DOORWAY = 3,
  TILE_EVENT = 5,
  TILE_INN = 8,
  TILE_SHOP = 9,
  TILE_SHOP_B = 10,
  TILE_CHEST = 11,
  TILE_EVENT_B = 12,
  TILE_CHURCH = 13,
  TILE_SHOP_C = 14,
  TILE_EVENT_C = 15,
  TILE_GREETING = 16,
  TILE_DOOR = 17,
};

// The game state of this subsystem: the saved record, the current map and the
// field scalars, and the tables filled at start.
struct state_data {
  save_block sb{}; // the live save_block
  save_block new_game_block{};
  save_block slots[8]{};
  i32 cur_slot = 0;

  // Map state, replaced on every map change.
  u8 map_grid[256][256]{};
  i8 tile_class[256]{};
  u8 map_header[16]{};
  npc npc_table[NPC_COUNT]{};
  u8 map_event_count = 0;
  map_event map_events[256]{};
  u8 backdrop_grid[3][20][20]{};

  // Field scalars.
  i32 cur_map = WORLD_MAP;
  i32 pos_x = 8, pos_y = 8;
  i32 view_x = -1, view_y = -1;
  i32 facing = 0;
  i32 map_max_x = 15, map_max_y = 15;
  i32 border_tile = 0;
  i32 open_door_tile = 0;
  i32 cur_music = 0;
  i32 playing_music = 0;
  i32 map_kind = 0;
  i32 edge_exit = 0;
  i32 return_map = 0, return_x = 0, return_y = 0;
  i32 cur_area = 0;
  i32 encounter_steps = 7;
  i32 encounters_on = 1;
  i32 no_monster_turn = 0;
  i32 on_ship = 0, ship_sprite = 0;
  i32 leaving_map = 0;

  // Game-wide tables.
  item item_table[256]{};
  magic magic_table[32]{};
  char music_list[24][40]{};
  level_row level_table[256]{};

  u32 rand_state = 0;
};

extern state_data game;

// Built-in tables (state/item_table.cpp, state/magic_table.cpp).
extern const std::array<item, 256> builtin_items;
extern const magic builtin_magic[32];
// Names of the built-in music entries 0 and 1.
extern const char* const builtin_music[2];

// Puts every field of this subsystem back to its start value, the built-in
// tables included.
void reset_state();
// Copies the built-in item, spell and music tables into game; start-up does
// this before anything reads them.
void install_builtin_tables();

// The one random generator of the game.
void seed_rand(u32 seed);
int next_rand(); // 0..32767

void build_level_table(); // seeds with 369 first

int give_item(int item_no); // 1 stored, 0 no room
int has_key(int k);
int tile_blocks_npc(int x, int y);
int area_at(int map, int x, int y);
int world_area_of_tile(int t); // the world-map area a tile number stands for

// Class, sex and area names (Shift-JIS, space padded).
extern const char class_names[8][11];
extern const char sex_names[3][4];
extern const char world_area_names[14][17];
extern const char place_names[64][17];
const char* area_name(int map, int area);
