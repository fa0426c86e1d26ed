// The readable sources of the default game: a map source compiled to its
// files, the tile catalogue, the party's new-game record, and every bad
// line of each kind of source named with its file and line.
#include "tests/common/test_files.h"
#include "tools/maps/place_gen.h"
#include "tools/maps/world_gen.h"
#include "tools/story/new_game.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

tile_catalogue catalogue() {
  tile_catalogue t;
  EXPECT_EQ(read_tile_catalogue(ZK_SOURCE_DIR "/content/tiles.txt", t), "");
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

// A reader that fills a fresh record of its own.
template <typename Out>
std::function<std::string(const char*)> into(std::string (*read)(const std::string&, Out&)) {
  return [read](const char* path) {
    Out out;
    return read(path, out);
  };
}

} // namespace

// The catalogue keeps the tile numbers the game itself knows; the map
// source is compiled against it.
TEST(MapSource, CompilesHeaderGridEventsAndPeopleWithTheFixedTileNumbers) {
  tile_catalogue t = catalogue();
  EXPECT_EQ(t.classes[38], 11);
  EXPECT_EQ(t.classes[39], 17);
  EXPECT_EQ(t.classes[254], 1) << "an unused number is a wall";
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
  EXPECT_EQ(read_file("dmapdat012.mp").size(), 16u + 25u);
}

TEST(NewGame, ThePartySetsOutArmedAndHealed) {
  reset_state();
  save_block sb;
  ASSERT_EQ(read_new_game_source(ZK_SOURCE_DIR "/content/story/party.txt", sb), "");
  for (int i = 0; i < 3; i++) {
    const member& m = sb.party[i];
    EXPECT_EQ(m.level, 1);
    EXPECT_GT(m.hp, 0);
    EXPECT_EQ(m.hp, m.hp_max);
    EXPECT_EQ(m.mp, m.mp_max);
    EXPECT_NE(m.eq_right, NO_EQUIP) << "member " << i << " carries a weapon";
    EXPECT_GT(m.atk, m.str) << "the weapon adds to the attack";
    EXPECT_TRUE(m.eq_mask & (1u << m.eq_right));
    EXPECT_NE(m.spell_mask, 0);
  }
  EXPECT_EQ(sb.party[3].eq_right, NO_EQUIP);
  EXPECT_GT(sb.gold, 0);
  EXPECT_EQ(0, std::memcmp(sb.party[0].name, "レオン", 6));
}

TEST(ContentSources, BadLinesNameTheirFileAndLine) {
  const tile_catalogue tiles = catalogue();
  using reader = std::function<std::string(const char*)>;
  const reader map = [&](const char* path) {
    map_source m;
    return parse_map_source(path, read_text(path), tiles, m);
  };
  const reader world = [&](const char* path) {
    world_desc d;
    return read_world_desc(path, tiles, d);
  };
  const reader tile_list = into(read_tile_catalogue), party = into(read_new_game_source),
               places = into(read_place_descs);
  const struct {
    const reader& read;
    const char* text;
    const char* error;
  } table[] = {
      {map, "map 3\nlegend # nothing_such\n",
       "bad:2: legend takes one letter and a tile name or number"},
      {map, "map 3\nlegend . 1\ngrid\n...\n..\nend\n",
       "bad:5: grid row has 2 tiles, the first has 3"},
      {map, "map 3\nlegend . 1\ngrid\n.x.\nend\n", "bad:5: grid letter 'x' is not in the legend"},
      {map, "map 3\nlegend . 1\ngrid\n...\nend\nchest 1 0 4 5\n",
       "bad:6: a chest must stand on a chest tile"},
      {map, "map 3\nlegend . 1\ngrid\n...\nend\nevent 9 0 1 2 3\n",
       "bad:6: position outside the map"},
      {map, "map 300\n", "bad:1: '300' is not a number 0..255"},
      {map, "map 3\nlegend . 1\ngrid\n...\n", "bad:4: the grid has no 'end'"},
      {map, "map 3\nwarp 1\n", "bad:2: unknown statement 'warp'"},
      {tile_list, "# ok\n1 0 grass fine\n2 44 oops\n",
       "bad:3: expected: NUMBER CLASS NAME description"},
      {party, "gold 10\nname x\n", "bad:2: 'name' before any member"},
      {party, "member 0\nspells 40\n", "bad:2: spell numbers are 1..31"},
      {party, "member 0\nitems 1\nequip 3\n", "bad:3: entry 3 cannot be worn"},
      {party, "member 7\n", "bad:1: member takes a slot 0..4"},
      {party, "member 0\nname ABCDEFGHIJKLMNOPQ\n", "bad:2: a name is 1..16 bytes of Shift-JIS"},
      {world, "seed 3\nblob 1 2 3 4\n", "bad:2: blob before any land"},
      {world, "land lamur_plain lamur_wood mountain 30 lamur_gate\nriver 1 3 4\n",
       "bad:2: river takes two or more points X Y"},
      {world, "land lamur_plain lamur_wood mountain 30 gateway\n",
       "bad:1: land takes GROUND FOREST MOUNTAIN FOREST_PERCENT GATE"},
      {places, "town 60 area=1\n",
       "bad:1: a town's map number must not be one where monsters roam"},
      {places, "cave 12 monsters=2\n",
       "bad:1: monster people need a map number where monsters roam"},
      {places, "cave 12 guardian=5\ncave 36 monsters=2\n", ""}, // a quiet one and one that is not
      {places, "# x\ntown 3 shops=30\n", "bad:2: bad value for 'shops': 30"},
      {places, "town 3\ntown 3\n", "bad:2: map 3 is described twice"},
      {places, "castle 3\n", "bad:1: a place is a town, cave, ruin, tunnel, fortress or shrine"},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.text);
    ASSERT_TRUE(write_file("bad", row.text, std::strlen(row.text)));
    EXPECT_EQ(row.read("bad"), row.error);
  }
}
