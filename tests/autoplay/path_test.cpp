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
    st.cur_map = 12;
    st.map_max_x = st.map_max_y = 9;
    std::memset(st.map_grid, 1, sizeof st.map_grid);
    st.tile_class[1] = 0;
    st.tile_class[2] = 1;
    st.tile_class[3] = 2;  // stairs
    st.tile_class[5] = 17; // a door
    for (int i = 0; i <= 9; i++)
      st.map_grid[0][i] = st.map_grid[9][i] = st.map_grid[i][0] = st.map_grid[i][9] = 2;
    st.pos_x = st.pos_y = 1;
  }
  std::vector<int> steps;
};

TEST_F(Path, GoesRoundAWallAndStopsOnStairsOnlyAsTheGoal) {
  for (int y = 1; y <= 7; y++) st.map_grid[y][4] = 2; // a wall with a gap at the bottom
  st.map_grid[5][2] = 3;                              // stairs in the way of a straight line
  ASSERT_EQ(find_path({6, 1, 0, 0}, &steps), 0);
  int x = st.pos_x, y = st.pos_y;
  for (int d : steps) {
    step_from(d, &x, &y);
    EXPECT_NE(st.map_grid[y][x], 2);
    if (!(x == 6 && y == 1)) {
      EXPECT_NE(st.map_grid[y][x], 3) << "walked over stairs";
    }
  }
  EXPECT_EQ(x, 6);
  EXPECT_EQ(y, 1);
  st.map_grid[8][4] = 2; // the gap closed
  EXPECT_EQ(find_path({6, 1, 0, 0}, &steps), 1);
}

TEST_F(Path, EndsBesideAPersonAndPassesALockedDoorOnlyWithItsKey) {
  st.npc_table[0].type = 2;
  st.npc_table[0].sprite = 16;
  st.npc_table[0].x = 5, st.npc_table[0].y = 1;
  ASSERT_EQ(find_path({5, 1, 1, 0}, &steps), 0);
  EXPECT_EQ(steps.size(), 3u); // to (4, 1), beside the person
  for (int y = 1; y <= 8; y++) st.map_grid[y][6] = 2;
  st.map_grid[4][6] = 5;
  st.map_event_count = 1;
  st.map_events[0] = {6, 4, 0, 2, 0}; // locked, key 2 (item 151)
  EXPECT_EQ(find_path({8, 4, 0, 0}, &steps), 1);
  st.sb.bag[3] = 151;
  EXPECT_EQ(find_path({8, 4, 0, 0}, &steps), 0);
}

TEST_F(Path, SailsOnlyWithTheShipAndWrapsRoundTheWorld) {
  st.cur_map = WORLD_MAP;
  std::memset(st.map_grid, 0, sizeof st.map_grid); // all sea
  st.map_grid[1][1] = 1;                           // the party's island
  st.map_grid[1][8] = 1;                           // and another
  EXPECT_EQ(find_path({8, 1, 0, 0}, &steps), 1);
  st.sb.bag[0] = 160;
  ASSERT_EQ(find_path({8, 1, 0, 0}, &steps), 0);
  EXPECT_EQ(steps.size(), 3u); // west over the edge: 1 -> 0 -> 9 -> 8
  EXPECT_EQ(steps[0], DIR_LEFT);
}

TEST_F(Path, LeavesATownOverItsEdge) {
  st.edge_exit = 1;
  st.map_grid[9][5] = 1; // a gate in the south wall
  ASSERT_EQ(find_path({0, 0, 0, 1}, &steps), 0);
  EXPECT_EQ(steps.back(), DIR_DOWN);
  int x = st.pos_x, y = st.pos_y;
  for (int d : steps) step_from(d, &x, &y);
  EXPECT_EQ(y, 10);
}

TEST_F(Path, NoPlanIsMadeFromOffTheMapWhileATownIsBeingLeft) {
  st.edge_exit = 1;
  st.pos_x = -1; // the step over the west edge moves the party off the map first
  path_goal leg;
  EXPECT_EQ(plan_trip(WORLD_MAP, &leg), 1);
  st.pos_x = 10;
  EXPECT_EQ(plan_trip(WORLD_MAP, &leg), 1);
  EXPECT_EQ(find_path({0, 0, 0, 1}, &steps), 1);
}

} // namespace
