#include "tools/maps/place_gen.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace {

struct Places {
  tile_catalogue tiles;
  std::vector<place_desc> descs;
  Places() {
    EXPECT_EQ(read_tile_catalogue(std::string(ZK_SOURCE_DIR) + "/content/tiles.txt", tiles), "");
    std::string world = std::string(ZK_SOURCE_DIR) + "/content/world/";
    EXPECT_EQ(read_place_descs(world + "places.txt", descs), "");
    EXPECT_EQ(read_town_plans(world + "towns.txt", descs), "");
  }
};

int cls(const Places& p, const map_source& m, int x, int y) {
  return p.tiles.classes[m.grid[static_cast<size_t>(y) * m.width + x]];
}

// How far each tile is from (sx, sy) on foot; -1 where it cannot be reached.
std::vector<int> on_foot(const Places& p, const map_source& m, int sx, int sy) {
  std::vector<int> dist(m.grid.size(), -1);
  std::vector<std::pair<int, int>> q{{sx, sy}};
  dist[static_cast<size_t>(sy) * m.width + sx] = 0;
  for (size_t i = 0; i < q.size(); i++) {
    auto [x, y] = q[i];
    const int dx[] = {1, -1, 0, 0}, dy[] = {0, 0, 1, -1};
    for (int k = 0; k < 4; k++) {
      int nx = x + dx[k], ny = y + dy[k];
      if (nx < 0 || ny < 0 || nx >= m.width || ny >= m.height) continue;
      int c = cls(p, m, nx, ny), &d = dist[static_cast<size_t>(ny) * m.width + nx];
      if (d < 0 && (c == 0 || c == 4 || c == 6 || c == 7 || c == 11))
        d = dist[static_cast<size_t>(y) * m.width + x] + 1, q.push_back({nx, ny});
    }
  }
  return dist;
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
    // every counter is served from a tile the gate reaches, and every story
    // person stands where the party can walk up to it
    auto dist = on_foot(p, m, ax, ay);
    auto reached = [&](int x, int y) { return dist[static_cast<size_t>(y) * m.width + x] >= 0; };
    for (auto& e : m.events)
      EXPECT_TRUE(reached(e.x, e.y + 1))
          << "counter at " << int(e.x) << "," << int(e.y) << " on map " << d.map;
    for (int i = 0; i < m.npc_count; i++) {
      const npc& n = m.npcs[i];
      EXPECT_NE(cls(p, m, n.x, n.y), 1) << "person in a wall on map " << d.map;
      bool beside = false;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
        beside = beside || (n.x + dx >= 0 && n.y + dy >= 0 && n.x + dx < m.width &&
                            n.y + dy < m.height && reached(n.x + dx, n.y + dy));
      EXPECT_TRUE(beside || n.type != 2)
          << "story person " << i << " out of reach on map " << d.map;
    }
  }
}

// Every town of the built game its own: whatever two towns are compared, at
// most a third of the built tiles inside the frame of woods (all but the
// open ground and its lanes and streets) of the smaller one are the same tile in the
// same place in the other.
TEST(PlaceGen, NoTwoTownsShareAThirdOfTheirBuildings) {
  const std::set<int> open_ground = {1, 2, 3, 4, 5, 26, 49, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89};
  std::vector<std::vector<u8>> towns;
  for (int n = 1; n < 256; n++) {
    char name[64];
    std::snprintf(name, sizeof name, "%s/dmapdat%03d.mp", ZK_GAME_DIR, n);
    std::ifstream in(name, std::ios::binary);
    std::vector<u8> b((std::istreambuf_iterator<char>(in)), {});
    if (b.size() > 16 && b[8] == 2) towns.push_back(b); // towns are left by their edge
  }
  ASSERT_GT(towns.size(), 20u);
  auto built = [&](const std::vector<u8>& m, int x, int y) {
    int w = m[0] + 1, h = m[1] + 1;
    if (x < 1 || y < 1 || x >= w - 1 || y >= h - 1) return -1;
    int t = m[16 + y * w + x];
    return open_ground.count(t) ? -1 : t;
  };
  for (size_t i = 0; i < towns.size(); i++)
    for (size_t j = i + 1; j < towns.size(); j++) {
      int shared = 0, built_a = 0, built_b = 0;
      for (int y = 0; y < 256; y++)
        for (int x = 0; x < 256; x++) {
          int ta = built(towns[i], x, y), tb = built(towns[j], x, y);
          built_a += ta >= 0, built_b += tb >= 0, shared += ta >= 0 && ta == tb;
        }
      EXPECT_LE(3 * shared, std::min(built_a, built_b)) << "towns " << i << " and " << j;
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
  EXPECT_EQ(err("town 60 area=1\n"),
            "bad_places.txt:1: a town's map number must not be one where monsters roam");
  EXPECT_EQ(err("cave 12 monsters=2\n"),
            "bad_places.txt:1: monster people need a map number where monsters roam");
  EXPECT_EQ(err("cave 12 guardian=5\ncave 36 monsters=2\n"), "")
      << "a quiet dungeon, and one where monsters roam";
  EXPECT_EQ(err("# x\ntown 3 shops=30\n"), "bad_places.txt:2: bad value for 'shops': 30");
  EXPECT_EQ(err("town 3\ntown 3\n"), "bad_places.txt:2: map 3 is described twice");
  EXPECT_EQ(err("castle 3\n"),
            "bad_places.txt:1: a place is a town, cave, ruin, tunnel, fortress or shrine");
}
