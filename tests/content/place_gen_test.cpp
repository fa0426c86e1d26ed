#include "tools/maps/place_gen.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <set>

namespace {

struct Places {
  tile_catalogue tiles;
  std::vector<place_desc> descs;
  Places() {
    EXPECT_EQ(read_tile_catalogue(std::string(ZK_SOURCE_DIR) + "/content/tiles.txt", tiles), "");
    EXPECT_EQ(read_place_descs(std::string(ZK_SOURCE_DIR) + "/content/world/places.txt", descs), "");
  }
};

int cls(const Places& p, const map_source& m, int x, int y) {
  return p.tiles.classes[m.grid[static_cast<size_t>(y) * m.width + x]];
}

} // namespace

TEST(PlaceGen, EveryPlaceOfTheWorldIsDescribedOnce) {
  Places p;
  std::set<int> areas, maps;
  for (auto& d : p.descs) areas.insert(d.area), maps.insert(d.map);
  for (int a = 1; a <= 45; a++) EXPECT_TRUE(areas.count(a)) << "place " << a;
  EXPECT_EQ(maps.size(), p.descs.size());
}

TEST(PlaceGen, TownsHaveTheirCountersKeepersAndAGateOut) {
  Places p;
  for (auto& d : p.descs) {
    if (d.kind != "town") continue;
    map_source m;
    ASSERT_EQ(grow_place(d, p.tiles, m), "") << d.map;
    EXPECT_EQ(m.header[8], 2) << "towns are left by their edge";
    int counters = 0;
    for (auto& e : m.events) {
      int k = cls(p, m, e.x, e.y);
      counters += k == 8 || k == 9 || k == 10 || k == 14 || k == 13;
    }
    EXPECT_EQ(counters, 1 + static_cast<int>(d.shops.size()) + (d.church >= 0)) << d.map;
    int ax, ay;
    place_arrival(d, &ax, &ay);
    EXPECT_EQ(cls(p, m, ax, ay), 0);
    EXPECT_EQ(cls(p, m, ax, m.height - 1), 0) << "the south gate is open";
    for (int i = 0; i < m.npc_count; i++)
      EXPECT_NE(cls(p, m, m.npcs[i].x, m.npcs[i].y), 1) << "person in a wall on map " << d.map;
  }
}

TEST(PlaceGen, DungeonsHaveStairsChestsAndAGuardianBeforeTheGoal) {
  Places p;
  for (auto& d : p.descs) {
    if (d.kind == "town") continue;
    map_source m;
    ASSERT_EQ(grow_place(d, p.tiles, m), "") << d.map;
    int chests = 0, stairs = 0;
    for (auto& e : m.events) {
      int k = cls(p, m, e.x, e.y);
      if (k == 11) {
        chests++;
        EXPECT_EQ(e.b, 128);
      }
      stairs += k == 2 || k == 3;
    }
    EXPECT_EQ(chests, static_cast<int>(d.chests.size() / 2)) << d.map;
    EXPECT_GE(stairs, 1) << d.map;
    for (int i = 0; i < m.npc_count; i++) {
      const npc& n = m.npcs[i];
      if (n.type != 3) continue;
      int goal = 0;
      for (int k = 0; k < 4; k++) {
        int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
        int c = cls(p, m, n.x + dx[k], n.y + dy[k]);
        goal += c == 2 || c == 15;
      }
      EXPECT_EQ(goal, 1) << "guardian on map " << d.map << " must stand before the goal";
    }
  }
}

TEST(PlaceGen, BadDescriptionsNameTheirLine) {
  auto err = [](const char* text) {
    std::FILE* f = std::fopen("bad_places.txt", "w");
    std::fputs(text, f);
    std::fclose(f);
    std::vector<place_desc> d;
    return read_place_descs("bad_places.txt", d);
  };
  EXPECT_EQ(err("town 60 area=1\n"), "bad_places.txt:1: a town's map number must not be one where monsters roam");
  EXPECT_EQ(err("cave 12 monsters=2\n"), "bad_places.txt:1: monster people need a map number where monsters roam");
  EXPECT_EQ(err("cave 12 guardian=5\ncave 36 monsters=2\n"), "") << "a quiet dungeon, and one where monsters roam";
  EXPECT_EQ(err("# x\ntown 3 shops=30\n"), "bad_places.txt:2: bad value for 'shops': 30");
  EXPECT_EQ(err("town 3\ntown 3\n"), "bad_places.txt:2: map 3 is described twice");
  EXPECT_EQ(err("castle 3\n"), "bad_places.txt:1: a place is a town, cave, ruin, tunnel, fortress or shrine");
}
