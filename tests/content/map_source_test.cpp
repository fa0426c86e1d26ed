#include "tools/maps/map_source.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

namespace {

tile_catalogue catalogue() {
  tile_catalogue t;
  std::string src = std::string(ZK_SOURCE_DIR) + "/content/tiles.txt";
  EXPECT_EQ(read_tile_catalogue(src, t), "");
  return t;
}

const char* town = R"(map 12
start 1 1
border outside
open_door open_door
music 3
kind 2
return 4 40 50
area 2
legend # stone_wall
legend . flagstone
legend C chest
legend D door
legend S stairs_down
grid
#####
#.C.#
#.D.#
#..S#
#####
end
chest 2 1 40 169
door 2 2 0
stairs 3 3 50 2 2
npc 16 1 3 type=event a=7 b=41 wanders=1 facing=left
)";

} // namespace

TEST(MapSource, CompilesHeaderGridEventsAndPeople) {
  tile_catalogue t = catalogue();
  map_source m;
  ASSERT_EQ(parse_map_source("town.map", town, t, m), "");
  EXPECT_EQ(m.number, 12);
  EXPECT_EQ(m.header[0], 4);
  EXPECT_EQ(m.header[1], 4);
  EXPECT_EQ(m.header[4], 255);
  EXPECT_EQ(m.header[6], 40);
  EXPECT_EQ(m.header[8], 2);
  EXPECT_EQ(m.header[9], 4);
  EXPECT_EQ(m.grid[1 * 5 + 2], 38);
  ASSERT_EQ(m.events.size(), 3u);
  EXPECT_EQ(m.events[0].b, 128);
  EXPECT_EQ(m.events[0].c, 169);
  EXPECT_EQ(m.events[2].a, 50);
  EXPECT_EQ(m.npcs[0].type, 2);
  EXPECT_EQ(m.npcs[0].facing, 2);
  EXPECT_EQ(m.npcs[1].state, 1); // unused people are absent
  ASSERT_EQ(write_map_files(m, "."), "");
  std::FILE* f = std::fopen("dmapdat012.mp", "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  EXPECT_EQ(std::ftell(f), 16 + 25);
  std::fclose(f);
}

TEST(MapSource, BadSourcesNameTheirLine) {
  tile_catalogue t = catalogue();
  auto err = [&](std::string text) {
    map_source m;
    return parse_map_source("bad.map", text, t, m);
  };
  EXPECT_EQ(err("map 3\nlegend # nothing_such\n"),
            "bad.map:2: legend takes one letter and a tile name or number");
  EXPECT_EQ(err("map 3\nlegend . 1\ngrid\n...\n..\nend\n"),
            "bad.map:5: grid row has 2 tiles, the first has 3");
  EXPECT_EQ(err("map 3\nlegend . 1\ngrid\n.x.\nend\n"),
            "bad.map:5: grid letter 'x' is not in the legend");
  EXPECT_EQ(err("map 3\nlegend . 1\ngrid\n...\nend\nchest 1 0 4 5\n"),
            "bad.map:6: a chest must stand on a chest tile");
  EXPECT_EQ(err("map 3\nlegend . 1\ngrid\n...\nend\nevent 9 0 1 2 3\n"),
            "bad.map:6: position outside the map");
  EXPECT_EQ(err("map 300\n"), "bad.map:1: '300' is not a number 0..255");
  EXPECT_EQ(err("map 3\nlegend . 1\ngrid\n...\n"), "bad.map:4: the grid has no 'end'");
  EXPECT_EQ(err("map 3\nwarp 1\n"), "bad.map:2: unknown statement 'warp'");
}

TEST(TileCatalogue, KeepsTheFixedNumbersAndRejectsBadLines) {
  tile_catalogue t = catalogue();
  for (int w : {0, 64, 70, 75}) EXPECT_EQ(t.classes[w], 0) << w;
  EXPECT_EQ(t.classes[38], 11);
  EXPECT_EQ(t.classes[39], 17);
  EXPECT_EQ(t.classes[254], 1) << "an unused number is a wall";
  std::FILE* f = std::fopen("bad_tiles.txt", "w");
  std::fputs("# ok\n1 0 grass fine\n2 44 oops\n", f);
  std::fclose(f);
  tile_catalogue b;
  EXPECT_EQ(read_tile_catalogue("bad_tiles.txt", b),
            "bad_tiles.txt:3: expected: NUMBER CLASS NAME description");
}
