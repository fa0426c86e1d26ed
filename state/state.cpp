#include "state/state.h"

#include <algorithm>
#include <cstring>

state_data game;

const char* const builtin_music[2] = {"title.mid", "field.mid"};

void reset_state() {
  game = state_data{};
  install_builtin_tables();
}

void install_builtin_tables() {
  std::memcpy(game.item_table, builtin_items.data(), sizeof game.item_table);
  std::memcpy(game.magic_table, builtin_magic, sizeof game.magic_table);
  std::strcpy(game.music_list[0], builtin_music[0]);
  std::strcpy(game.music_list[1], builtin_music[1]);
}

void seed_rand(u32 seed) {
  game.rand_state = seed;
}

int next_rand() {
  game.rand_state = game.rand_state * 214013u + 2531011u;
  return static_cast<int>((game.rand_state >> 16) & 32767u);
}

// A level step of 3 or 7, from the two's-complement negation of a draw.
static u32 s3or7(int r) {
  return ((0u - static_cast<u32>(r)) & 4u) | 3u;
}
static u32 neg_and7(int r) {
  return (0u - static_cast<u32>(r)) & 7u;
}

void build_level_table() {
  seed_rand(369);
  u32 c[7] = {50, 5, 4, 3, 2, 20, 20};
  u32 c7 = 0, inc = 10, inc_step = 3;
  for (auto& row : game.level_table) {
    c[0] += s3or7(next_rand());
    c[1] += std::min<u32>(s3or7(next_rand()), 5);
    c[2] += std::min<u32>(neg_and7(next_rand()), 4);
    c[3] += std::min<u32>(neg_and7(next_rand()), 4);
    c[4] += std::min<u32>(neg_and7(next_rand()), 3);
    c[5] += s3or7(next_rand());
    c[6] += s3or7(next_rand());
    next_rand();
    inc += inc_step;
    c7 += inc;
    inc_step += 5;
    for (int i = 0; i < 7; i++) row.c[i] = static_cast<u16>(c[i]);
    row.c7 = c7;
  }
}

int give_item(int item_no) {
  u8 no = static_cast<u8>(item_no);
  if (game.item_table[no].kind == ITEM_EVENT) {
    for (u8& e : game.sb.bag)
      if (entry_empty(e)) return e = no, 1;
    return 0;
  }
  for (int m = 0; m < 3; m++)
    for (u8& e : game.sb.party[m].items)
      if (entry_empty(e)) return e = no, 1;
  return 0;
}

int has_key(int k) {
  for (u8 e : game.sb.bag)
    if (e == 149 + k) return 1;
  return 0;
}

int tile_blocks_npc(int x, int y) {
  int c = game.tile_class[game.map_grid[y & 255][x & 255]];
  return c == TILE_WALL || c == TILE_EVENT_C;
}

int area_at(int map, int x, int y) {
  if (map != WORLD_MAP) return game.cur_area;
  return world_area_of_tile(game.map_grid[y & 255][x & 255]);
}

int world_area_of_tile(int t) {
  if (t == 0 || (t >= 64 && t <= 75)) return 12;
  if (t == 5 || t == 6) return 0;
  if (t == 49 || t == 58) return 11;
  if (t >= 80 && t <= 89) return t - 79;
  if (t >= 96 && t <= 105) return t - 95;
  return 13;
}

const char class_names[8][11] = {"戦士      ", "僧侶      ", "魔法使い  ", "盗賊      ",
                                 "吟遊詩人  ", "侍        ", "          ", "ZANDREK   "};
const char sex_names[3][4] = {"男 ", "女 ", "？ "};
