// The default world as the player meets it: the same seed grows the same
// world, with its lands, a wide sea and the strait that waits for the
// causeway; every way into a place stands on its own land's area tile, so
// that coming out of a town or a dungeon puts the party among that land's
// monsters; the party sets out among the weakest; and every place where
// monsters roam has monsters to meet.
#include "battle/battle.h"
#include "state/state.h"
#include "tools/maps/world_build.h"

#include <gtest/gtest.h>
#include <map>

namespace {

struct Built {
  tile_catalogue tiles;
  world_desc world;
  std::vector<place_desc> places;
  map_source map;
  std::string error;
  Built() {
    std::string src = std::string(ZK_SOURCE_DIR) + "/content/";
    error = read_tile_catalogue(src + "tiles.txt", tiles);
    if (error.empty()) error = read_world_desc(src + "world/world.txt", tiles, world);
    if (error.empty()) error = read_place_descs(src + "world/places.txt", places);
    if (error.empty()) error = build_world(tiles, world, places, ".", map);
  }
  int tile(int x, int y) const {
    x = (x + map.width) % map.width, y = (y + map.height) % map.height;
    return map.grid[static_cast<size_t>(y) * map.width + x];
  }
  const place_desc* place(int m) const {
    for (auto& p : places)
      if (p.map == m) return &p;
    return nullptr;
  }
};

// Built once for all the tests; the game's own rule for the area of a world
// tile reads the live grid, so each test puts the world map in play.
const Built& built() {
  static const Built b;
  EXPECT_EQ(b.error, "");
  reset_state();
  game.cur_map = WORLD_MAP;
  for (int y = 0; y < b.map.height; y++)
    for (int x = 0; x < b.map.width; x++) game.map_grid[y][x] = b.tile(x, y);
  return b;
}

bool water(int t) {
  return t == 0 || (t >= 64 && t <= 75);
}

// The land each place belongs to, by the story and the map: the world area
// of its entrance, and of a tunnel's far end.
struct land_of_place {
  int map, area, far_area;
};
const land_of_place journey[] = {
    {1, 0, -1},   {2, 0, -1},   {3, 0, -1},   {40, 0, 1},   {8, 1, -1},  {9, 1, -1},  {10, 1, -1},
    {27, 1, -1},  {14, 1, -1},  {92, 1, 2},   {11, 2, -1},  {12, 2, -1}, {13, 2, -1}, {28, 2, -1},
    {29, 2, -1},  {91, 2, 3},   {15, 3, -1},  {16, 3, -1},  {26, 3, -1}, {17, 4, -1}, {64, 4, -1},
    {19, 5, -1},  {20, 5, -1},  {7, 6, -1},   {6, 6, -1},   {25, 6, -1}, {72, 6, -1}, {5, 7, -1},
    {18, 7, -1},  {93, 7, -1},  {94, 7, -1},  {23, 8, -1},  {24, 8, -1}, {30, 8, -1}, {31, 8, -1},
    {35, 11, -1}, {38, 11, -1}, {36, 11, -1}, {87, 11, -1}, {39, 11, 9}, {32, 9, -1}, {34, 9, -1},
    {83, 9, -1},  {45, 10, -1},
};

} // namespace

TEST(World, TheSameSeedGivesTheSameWorldWithItsLandsTheSeaAndTheStrait) {
  const Built& b = built();
  ASSERT_EQ(b.map.width, 256);
  map_source again;
  ASSERT_EQ(grow_world(b.world, again), "");
  EXPECT_EQ(again.grid, b.map.grid);
  for (int x = 50; x <= 55; x++) EXPECT_TRUE(water(b.tile(x, 74))) << x;
  EXPECT_FALSE(water(b.tile(49, 74)));
  EXPECT_FALSE(water(b.tile(56, 74)));
  int land = 0, counts[256] = {};
  for (int t : b.map.grid) counts[t]++, land += !water(t);
  for (auto& l : b.world.lands) EXPECT_GT(counts[l.ground], 150) << l.ground;
  EXPECT_GT(land, 256 * 256 / 5);
  EXPECT_LT(land, 256 * 256 / 2);
}

TEST(World, EveryEntranceStandsOnItsLandsAreaTileWithThePlaceBehindIt) {
  const Built& b = built();
  std::map<int, int> near_ends, far_ends;
  for (auto& e : b.map.events) {
    const place_desc* p = b.place(e.a);
    ASSERT_NE(p, nullptr) << "a stair of the world leads to map " << int(e.a);
    int ax, ay;
    place_arrival(*p, &ax, &ay);
    bool near = e.b == ax && e.c == ay;
    (near ? near_ends : far_ends)[e.a]++;
    const land_of_place* want = nullptr;
    for (auto& j : journey)
      if (j.map == e.a) want = &j;
    ASSERT_NE(want, nullptr) << "map " << int(e.a) << " is in no land";
    EXPECT_EQ(area_at(WORLD_MAP, e.x, e.y), near ? want->area : want->far_area)
        << "the way into map " << int(e.a) << " at " << int(e.x) << "," << int(e.y);
    EXPECT_EQ(b.tiles.classes[b.tile(e.x, e.y)], 2) << "the gate is a way in";
    int behind = b.tile(e.x, e.y - 1);
    EXPECT_EQ(b.tiles.classes[behind], 1)
        << "the picture of map " << int(e.a) << " stands behind its gate";
    int pic = !near || p->kind == "tunnel" ? 15
              : p->kind == "town"          ? 10
              : p->kind == "cave"          ? 12
              : p->kind == "fortress"      ? 107
              : p->kind == "shrine"        ? 14
                                           : 13;
    // the picture itself, or the same picture drawn on its land's ground
    const std::string& name = b.tiles.names[behind];
    EXPECT_TRUE(behind == pic || name.rfind(b.tiles.names[pic] + "_on_", 0) == 0)
        << "map " << int(e.a) << ": " << name;
  }
  for (auto& j : journey) {
    EXPECT_EQ(near_ends[j.map], 1) << "map " << j.map;
    EXPECT_EQ(far_ends[j.map], j.far_area >= 0 ? 1 : 0) << "map " << j.map;
  }
}

TEST(World, ThePartySetsOutOnLandAmongLamursMonstersAndLandsOnALandFromTheShip) {
  const Built& b = built();
  int sx = b.map.header[2], sy = b.map.header[3];
  EXPECT_EQ(area_at(WORLD_MAP, sx, sy), 0);
  EXPECT_EQ(b.tiles.classes[b.tile(sx, sy)], 0);
  EXPECT_FALSE(water(b.tile(sx, sy)));
  EXPECT_LE(std::abs(sx - 30) + std::abs(sy - 72), 3) << "Morie's gate is close by";
  // Stepping ashore sets the area from the tile: beside the water almost
  // every tile a ship can land on is a land's area tile, and no wood is.
  int shore = 0, no_land = 0;
  for (int y = 0; y < b.map.height; y++)
    for (int x = 0; x < b.map.width; x++) {
      int t = b.tile(x, y);
      if (water(t) || b.tiles.classes[t] != 0) continue;
      bool beside = water(b.tile(x + 1, y)) || water(b.tile(x - 1, y)) || water(b.tile(x, y + 1)) ||
                    water(b.tile(x, y - 1));
      if (!beside) continue;
      shore++;
      no_land += area_at(WORLD_MAP, x, y) == 13;
      EXPECT_FALSE(t >= 128 && t <= 139) << "a wood on the shore at " << x << "," << y;
    }
  EXPECT_GT(shore, 1000);
  EXPECT_LT(no_land * 50, shore) << no_land << " of " << shore << " shore tiles are in no land";
}

TEST(World, PlacesWhereMonstersRoamHaveMonstersAndTheQuietOnesHaveNone) {
  const Built& b = built();
  for (auto& p : b.places) {
    bool roam = p.map >= 50 || p.map == 36 || p.map == 39 || p.map == 40;
    int met = 0;
    for (int s : dungeon_encounters[p.area & 63]) met += s != 0;
    if (roam) {
      EXPECT_GT(met, 0) << "map " << p.map << " meets the empty row of area " << p.area;
    } else {
      EXPECT_EQ(p.monsters, 0) << "map " << p.map;
    }
  }
  // The ruins of the great gear and the two shrines are quiet.
  for (auto [m, area] : {std::pair{14, 4}, {29, 29}, {45, 45}}) {
    ASSERT_NE(b.place(m), nullptr) << m;
    EXPECT_EQ(b.place(m)->monsters, 0);
    EXPECT_EQ(b.place(m)->area, area);
  }
}

TEST(World, AGateInTheSeaOrUnderAnotherSiteIsRefused) {
  world_desc d = built().world;
  d.sites.push_back({0, 30, 72, 1, 5, 5, 10});
  d.sites.push_back({0, 30, 73, 2, 5, 5, 10}); // its picture covers the first gate
  map_source m;
  EXPECT_EQ(grow_world(d, m), "the site at 30,72 is covered by another site or a fix");
  d.sites.clear();
  d.sites.push_back({0, 128, 250, 1, 5, 5, 10}); // open sea, far from every land
  EXPECT_EQ(grow_world(d, m), "the site at 128,250 stands in no land");
}
