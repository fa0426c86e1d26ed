// The finishing player's way-finding on small maps written here.
#include "state/state.h"
#include "tools/autoplay/path.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A 10 x 10 map of plain ground (tile 1) ringed by walls (tile 2), the party
// at (1, 1); tile 0 is water.
struct Path : testing::Test {
  void SetUp() override {
    reset_state();
    game.cur_map = 12;
    game.map_max_x = game.map_max_y = 9;
    std::memset(game.map_grid, 1, sizeof game.map_grid);
    game.tile_class[1] = 0;
    game.tile_class[2] = 1;
    game.tile_class[3] = 2;  // stairs
    game.tile_class[5] = 17; // a door
    for (int i = 0; i <= 9; i++)
      game.map_grid[0][i] = game.map_grid[9][i] = game.map_grid[i][0] = game.map_grid[i][9] = 2;
    game.pos_x = game.pos_y = 1;
  }
  std::vector<int> steps;
};

TEST_F(Path, GoesRoundAWallAndStopsOnStairsOnlyAsTheGoal) {
  for (int y = 1; y <= 7; y++) game.map_grid[y][4] = 2; // a wall with a gap at the bottom
  game.map_grid[5][2] = 3;                              // stairs in the way of a straight line
  ASSERT_EQ(find_path({6, 1, 0, 0}, &steps), 0);
  int x = game.pos_x, y = game.pos_y;
  for (int d : steps) {
    step_from(d, &x, &y);
    EXPECT_NE(game.map_grid[y][x], 2);
    if (!(x == 6 && y == 1)) {
      EXPECT_NE(game.map_grid[y][x], 3) << "walked over stairs";
    }
  }
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 1);
  game.map_grid[8][4] = 2; // the gap closed
  EXPECT_EQ(find_path({6, 1, 0, 0}, &steps), 1);
}

TEST_F(Path, EndsBesideAPersonAndPassesALockedDoorOnlyWithItsKey) {
  game.npc_table[0].type = 2;
  game.npc_table[0].sprite = 16;
  game.npc_table[0].x = 5, game.npc_table[0].y = 1;
  ASSERT_EQ(find_path({5, 1, 1, 0}, &steps), 0);
  EXPECT_EQ(steps.size(), 3u); // to (4, 1), beside the person
  for (int y = 1; y <= 8; y++) game.map_grid[y][6] = 2;
  game.map_grid[4][6] = 5;
  game.map_event_count = 1;
  game.map_events[0] = {6, 4, 0, 2, 0}; // locked, key 2 (item 151)
  EXPECT_EQ(find_path({8, 4, 0, 0}, &steps), 1);
  game.sb.bag[3] = 151;
  EXPECT_EQ(find_path({8, 4, 0, 0}, &steps), 0);
}

TEST_F(Path, SailsOnlyWithTheShipAndWrapsRoundTheWorld) {
  game.cur_map = WORLD_MAP;
  std::memset(game.map_grid, 0, sizeof game.map_grid); // all sea
  game.map_grid[1][1] = 1;                             // the party's island
  game.map_grid[1][8] = 1;                             // and another
  EXPECT_EQ(find_path({8, 1, 0, 0}, &steps), 1);
  game.sb.bag[0] = 160;
  ASSERT_EQ(find_path({8, 1, 0, 0}, &steps), 0);
  EXPECT_EQ(steps.size(), 3u); // west over the edge: 1 -> 0 -> 9 -> 8
  EXPECT_EQ(steps[0], DIR_LEFT);
}

TEST_F(Path, LeavesATownOverItsEdgeButPlansNothingFromOffTheMap) {
  game.edge_exit = 1;
  game.map_grid[9][5] = 1; // a gate in the south wall
  ASSERT_EQ(find_path({0, 0, 0, 1}, &steps), 0);
  EXPECT_EQ(steps.back(), DIR_DOWN);
  int x = game.pos_x, y = game.pos_y;
  for (int d : steps) step_from(d, &x, &y);
  EXPECT_EQ(y, 10);
  // A step over the west or east edge moves the party off the map first.
  for (int off : {-1, 10}) {
    game.pos_x = off;
    path_goal leg;
    EXPECT_EQ(plan_trip(WORLD_MAP, &leg), 1) << off;
    EXPECT_EQ(find_path({0, 0, 0, 1}, &steps), 1) << off;
  }
}

} // namespace
