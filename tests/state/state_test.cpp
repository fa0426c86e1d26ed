// The level table, the random draws, gifts of items, areas and names.
#include "state/state.h"

#include <cstring>
#include <gtest/gtest.h>

TEST(LevelTable, SameInEveryRunAndMatchesTheRule) {
  reset_state();
  build_level_table();
  EXPECT_TRUE(game.level_table[0].c[0] == 53 || game.level_table[0].c[0] == 57);
  EXPECT_EQ(game.level_table[0].c7, 13u);
  level_row first[256];
  std::memcpy(first, game.level_table, sizeof first);
  reset_state();
  build_level_table();
  EXPECT_EQ(0, std::memcmp(first, game.level_table, sizeof first));
  // c1 steps are capped at 5, c4 steps at 3.
  for (int l = 1; l < 256; l++) {
    EXPECT_LE(game.level_table[l].c[1] - game.level_table[l - 1].c[1], 5);
    EXPECT_LE(game.level_table[l].c[4] - game.level_table[l - 1].c[4], 3);
  }
}

TEST(Random, LinearCongruentialSequence) {
  seed_rand(1);
  EXPECT_EQ(next_rand(), 41);
  EXPECT_EQ(next_rand(), 18467);
  EXPECT_EQ(next_rand(), 6334);
}

// Event items go to the bag only; tools fill the members' entries in order
// and never the bag.
TEST(GiveItem, EventItemsToTheBagToolsToTheMembers) {
  reset_state();
  game.item_table[160].kind = ITEM_EVENT; // the ship
  game.item_table[169].kind = ITEM_TOOL;
  for (auto& b : game.sb.bag) b = 1;
  EXPECT_EQ(give_item(160), 0); // the members have room
  game.sb.bag[7] = 255;
  EXPECT_EQ(give_item(160), 1);
  EXPECT_EQ(game.sb.bag[7], 160);
  for (int m = 0; m < 3; m++)
    for (auto& e : game.sb.party[m].items) e = 9;
  game.sb.bag[0] = 255;
  EXPECT_EQ(give_item(169), 0);
  game.sb.party[0].items[15] = game.sb.party[1].items[0] = 255;
  EXPECT_EQ(give_item(169), 1);
  EXPECT_EQ(game.sb.party[0].items[15], 169);
  EXPECT_EQ(give_item(169), 1);
  EXPECT_EQ(game.sb.party[1].items[0], 169);
}

TEST(AreaAt, WorldMapTilesAndOtherMaps) {
  reset_state();
  auto at = [](int tile) {
    game.map_grid[3][4] = static_cast<u8>(tile);
    return area_at(WORLD_MAP, 4, 3);
  };
  EXPECT_EQ(at(0), 12);
  EXPECT_EQ(at(70), 12);
  EXPECT_EQ(at(6), 0);
  EXPECT_EQ(at(58), 11);
  EXPECT_EQ(at(80), 1);
  EXPECT_EQ(at(105), 10);
  EXPECT_EQ(at(90), 13);
  game.cur_area = 33;
  EXPECT_EQ(area_at(12, 4, 3), 33);
}

TEST(Names, FixedWidthShiftJis) {
  reset_state();
  EXPECT_EQ(std::strlen(place_names[45]), 16u);
  EXPECT_EQ(std::strlen(world_area_names[12]), 16u);
  EXPECT_EQ(0, std::memcmp(area_name(WORLD_MAP, 12), "海上", 4));
  EXPECT_EQ(std::strlen(game.item_table[0].name), 16u);
}
