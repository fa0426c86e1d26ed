#include "tools/maps/world_gen.h"

#include <gtest/gtest.h>
#include <cstdio>

namespace {

struct World {
  tile_catalogue tiles;
  world_desc desc;
  map_source map;
  World() {
    EXPECT_EQ(read_tile_catalogue(std::string(ZK_SOURCE_DIR) + "/content/tiles.txt", tiles), "");
    EXPECT_EQ(read_world_desc(std::string(ZK_SOURCE_DIR) + "/content/world/world.txt", tiles, desc), "");
    EXPECT_EQ(grow_world(desc, map), "");
  }
  int at(int x, int y) const { return map.grid[static_cast<size_t>(y) * map.width + x]; }
};

bool water(int t) { return t == 0 || (t >= 64 && t <= 75); }

} // namespace

TEST(WorldGen, TheStraitWaitsForTheCausewayAndTheSameSeedGivesTheSameWorld) {
  World w;
  ASSERT_EQ(w.map.width, 256);
  for (int x = 50; x <= 55; x++) EXPECT_TRUE(water(w.at(x, 74))) << x;
  EXPECT_FALSE(water(w.at(49, 74)));
  EXPECT_FALSE(water(w.at(56, 74)));
  World again;
  EXPECT_EQ(w.map.grid, again.map.grid);
  EXPECT_FALSE(water(w.at(w.desc.start_x, w.desc.start_y)));
}

TEST(WorldGen, EveryLandShowsItsAreaTilesAndTheSeaIsWide) {
  World w;
  int land = 0, counts[256] = {};
  for (int t : w.map.grid) counts[t]++, land += !water(t);
  for (auto& l : w.desc.lands) EXPECT_GT(counts[l.ground], 150) << l.ground;
  EXPECT_GT(land, 256 * 256 / 5);
  EXPECT_LT(land, 256 * 256 / 2);
}

TEST(WorldGen, BadDescriptionsNameTheirLine) {
  tile_catalogue t;
  ASSERT_EQ(read_tile_catalogue(std::string(ZK_SOURCE_DIR) + "/content/tiles.txt", t), "");
  std::FILE* f = std::fopen("bad_world.txt", "w");
  std::fputs("seed 3\nblob 1 2 3 4\n", f);
  std::fclose(f);
  world_desc d;
  EXPECT_EQ(read_world_desc("bad_world.txt", t, d), "bad_world.txt:2: blob before any land");
  f = std::fopen("bad_world.txt", "w");
  std::fputs("land lamur_plain lamur_wood mountain 30 lamur_gate\nriver 1 3 4\n", f);
  std::fclose(f);
  world_desc e;
  EXPECT_EQ(read_world_desc("bad_world.txt", t, e), "bad_world.txt:2: river takes two or more points X Y");
  f = std::fopen("bad_world.txt", "w");
  std::fputs("land lamur_plain lamur_wood mountain 30 gateway\n", f);
  std::fclose(f);
  world_desc g;
  EXPECT_EQ(read_world_desc("bad_world.txt", t, g),
            "bad_world.txt:1: land takes GROUND FOREST MOUNTAIN FOREST_PERCENT GATE");
}
