// The towns and dungeons the place generator grows from places.txt and
// towns.txt: what each kind of place must hold, that the party can walk to
// all of it, that no two towns look alike, and that story people and
// guardians look like who they are.
#include "tools/maps/place_gen.h"

#include "battle/battle.h"
#include "tests/common/test_files.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>

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

const std::pair<int, int> sides[] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};

std::size_t at(const map_source& m, int x, int y) {
  return static_cast<std::size_t>(y) * m.width + x;
}

int cls(const Places& p, const map_source& m, int x, int y) {
  return p.tiles.classes[m.grid[at(m, x, y)]];
}

// How far each tile is from (sx, sy) on foot; -1 where it cannot be reached.
// With `keys` the party holds every key, so locked doors open.
std::vector<int> on_foot(const Places& p, const map_source& m, int sx, int sy, bool keys = false) {
  std::vector<int> dist(m.grid.size(), -1);
  std::vector<std::pair<int, int>> q{{sx, sy}};
  dist[at(m, sx, sy)] = 0;
  for (size_t i = 0; i < q.size(); i++) {
    auto [x, y] = q[i];
    for (auto [dx, dy] : sides) {
      int nx = x + dx, ny = y + dy;
      if (nx < 0 || ny < 0 || nx >= m.width || ny >= m.height) continue;
      int c = cls(p, m, nx, ny), &d = dist[at(m, nx, ny)];
      if (d < 0 && (c == 0 || c == 4 || c == 6 || c == 7 || c == 11 || (keys && c == 17)))
        d = dist[at(m, x, y)] + 1, q.push_back({nx, ny});
    }
  }
  return dist;
}

// A town: its counters, keepers and a gate out; every counter is served from
// a tile the gate reaches, and every story person stands where the party can
// walk up to it.
void check_town(const Places& p, const place_desc& d, const map_source& m) {
  EXPECT_EQ(m.header[8], 2) << "towns are left by their edge";
  int counters = 0;
  for (auto& e : m.events) {
    int k = cls(p, m, e.x, e.y);
    counters += k == 8 || k == 9 || k == 10 || k == 14 || k == 13;
  }
  EXPECT_EQ(counters, 1 + static_cast<int>(d.shops.size()) + (d.church >= 0));
  int ax, ay;
  place_arrival(d, &ax, &ay);
  EXPECT_EQ(cls(p, m, ax, ay), 0);
  EXPECT_EQ(cls(p, m, ax, m.height - 1), 0) << "the south gate is open";
  auto dist = on_foot(p, m, ax, ay);
  auto reached = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < m.width && y < m.height && dist[at(m, x, y)] >= 0;
  };
  for (auto& e : m.events)
    EXPECT_TRUE(reached(e.x, e.y + 1)) << "counter at " << int(e.x) << "," << int(e.y);
  for (int i = 0; i < m.npc_count; i++) {
    const npc& n = m.npcs[i];
    EXPECT_NE(cls(p, m, n.x, n.y), 1) << "person " << i << " in a wall";
    bool beside = false;
    for (auto [dx, dy] : sides) beside = beside || reached(n.x + dx, n.y + dy);
    EXPECT_TRUE(beside || n.type != 2) << "story person " << i << " out of reach";
  }
}

// A dungeon: stairs, its chests, a guardian before the goal; the party walks
// from where it arrives to every chest, to the goal or the stairs down and
// back to the stairs up, over the bridges and past the pillars and fallen
// stones; and every kind of dungeon shows its own landmarks.
void check_dungeon(const Places& p, const place_desc& d, const map_source& m) {
  const u8 WATER = 249, BRIDGE = 250, LAVA = 50, LAVA_BRIDGE = 251, RUBBLE = 252, IDOL = 253;
  struct landmarks {
    const char* kind;
    std::vector<std::vector<u8>> any_of; // one tile of each list at least
    bool pillars;
  } const table[] = {
      {"cave", {{WATER, LAVA}, {BRIDGE, LAVA_BRIDGE}}, false},
      {"tunnel", {{WATER}, {BRIDGE}, {RUBBLE}}, false},
      {"ruin", {{RUBBLE}}, true},
      {"fortress", {{LAVA}, {LAVA_BRIDGE}}, true},
      {"shrine", {{IDOL}}, true},
  };
  int chests = 0, stairs = 0;
  for (auto& e : m.events) {
    int k = cls(p, m, e.x, e.y);
    if (k == 11) {
      chests++;
      EXPECT_EQ(e.b, 128);
    }
    stairs += k == 2 || k == 3;
  }
  EXPECT_EQ(chests, static_cast<int>(d.chests.size() / 2));
  EXPECT_GE(stairs, 1);
  for (int i = 0; i < m.npc_count; i++) {
    const npc& n = m.npcs[i];
    EXPECT_NE(n.type, 0) << "townsfolk in a dungeon";
    if (n.type != 3) continue;
    int goal = 0;
    for (auto [dx, dy] : sides) {
      int c = cls(p, m, n.x + dx, n.y + dy);
      goal += c == 2 || c == 15;
    }
    EXPECT_EQ(goal, 1) << "the guardian must stand before the goal";
  }
  int ax, ay;
  place_arrival(d, &ax, &ay);
  auto dist = on_foot(p, m, ax, ay, true);
  auto near = [&](int x, int y) {
    if (dist[at(m, x, y)] >= 0) return true;
    for (auto [dx, dy] : sides)
      if (dist[at(m, x + dx, y + dy)] >= 0) return true;
    return false;
  };
  for (auto& e : m.events)
    EXPECT_TRUE(near(e.x, e.y)) << int(e.x) << "," << int(e.y) << " (class " << cls(p, m, e.x, e.y)
                                << ") out of reach";
  std::set<u8> seen;
  int pillars = 0;
  for (int y = 1; y < m.height - 1; y++)
    for (int x = 1; x < m.width - 1; x++) {
      u8 t = m.grid[at(m, x, y)];
      seen.insert(t);
      int open = 0;
      for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {-1, -1}})
        open += dist[at(m, x + dx, y + dy)] >= 0;
      pillars += cls(p, m, x, y) == 1 && open == 6 && t != RUBBLE && t != IDOL;
    }
  for (auto& want : table) {
    if (d.kind != want.kind) continue;
    for (auto& tiles : want.any_of) {
      bool found = false;
      for (u8 t : tiles) found = found || seen.count(t);
      EXPECT_TRUE(found) << "no landmark tile " << int(tiles[0]);
    }
    if (want.pillars) {
      EXPECT_GE(pillars, 4) << "no hall of pillars";
    }
  }
}

} // namespace

TEST(PlaceGen, EveryPlaceIsDescribedOnceAndGrowsWhatItsKindNeeds) {
  Places p;
  std::set<int> areas, maps;
  for (auto& d : p.descs) areas.insert(d.area), maps.insert(d.map);
  for (int a = 1; a <= 45; a++) EXPECT_TRUE(areas.count(a)) << "place " << a;
  EXPECT_EQ(maps.size(), p.descs.size());
  for (auto& d : p.descs) {
    SCOPED_TRACE(testing::Message() << d.kind << " of map " << d.map);
    map_source m;
    ASSERT_EQ(grow_place(d, p.tiles, m), "");
    if (d.kind == "town")
      check_town(p, d, m);
    else
      check_dungeon(p, d, m);
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
    std::vector<u8> b = read_file(name);
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

// Each story person is drawn as what the story makes them: the heading of
// their event in event.sci names the role, the character sheet the figure.
// The first role word found in the heading decides ("old woman" before
// "woman" before "man"). A guardian looks like its species' family.
TEST(PlaceGen, StoryPeopleAndGuardiansWearTheFigureOfTheirRole) {
  Places p;
  std::map<int, std::string> figure, heading;
  std::ifstream sheet(std::string(ZK_SOURCE_DIR) + "/content/sprites.txt");
  for (std::string line; std::getline(sheet, line);) {
    std::istringstream in(line);
    int first;
    std::string name;
    if (line[0] != '#' && in >> first >> name) figure[first] = name;
  }
  std::ifstream story(std::string(ZK_SOURCE_DIR) + "/content/story/event.sci");
  for (std::string line; std::getline(story, line);)
    if (line.size() > 6 && line[0] == '*' && std::isdigit(static_cast<unsigned char>(line[2])))
      heading[std::stoi(line.substr(2, 3))] = line.substr(6);
  const std::pair<std::vector<const char*>, const char*> roles[] = {
      {{"old woman", "fortune teller"}, "old_woman"},
      {{"soldier"}, "soldier"},
      {{"elder", "mayor", "island chief"}, "elder"},
      {{"Master", "scholar"}, "sage"},
      {{"rich man"}, "rich_man"},
      {{"mother", "woman"}, "woman"},
      {{"child"}, "child"},
      {{"sailor", "fisherman", "shipwright"}, "sailor"},
      {{"priest"}, "priest"},
      {{"merchant"}, "merchant"},
      {{"dancer"}, "dancer"},
      {{"knight"}, "knight"},
      {{"man", "traveller", "bath keeper"}, "villager"},
  };
  const std::map<int, std::set<std::string>> families = {
      {2, {"wolf", "dog"}},
      {4, {"dragon"}},
      {12, {"worm"}},
      {14, {"jellyfish"}},
      {17, {"doll"}},
      {18, {"dragon"}},
      {19, {"ghost"}},
      {21, {"skeleton"}},
      {22, {"demon"}},
      {23, {"angel"}},
      {24, {"knight_dark", "soldier"}},
      {30, {"witch"}},
      {33, {"zandrek"}},
  };
  int people = 0, guardians = 0;
  for (auto& d : p.descs) {
    SCOPED_TRACE(testing::Message() << "map " << d.map);
    if (d.guardian_group >= 0) {
      ASSERT_TRUE(figure.count(d.guardian_sprite));
      auto fam = families.find(species_table[d.guardian_group].picture);
      if (fam != families.end()) {
        guardians++;
        EXPECT_TRUE(fam->second.count(figure[d.guardian_sprite]))
            << "guardian " << d.guardian_group << " drawn as " << figure[d.guardian_sprite];
      }
    }
    for (auto& who : d.people) {
      ASSERT_TRUE(figure.count(who.sprite)) << "no figure at " << who.sprite;
      if (who.type != 2) continue;
      const std::string& h = heading[who.a];
      const char* fits = nullptr;
      for (auto& [words, name] : roles)
        for (const char* w : words)
          if (!fits && h.find(w) != std::string::npos) fits = name;
      ASSERT_NE(fits, nullptr) << "event " << who.a << " names no known role: " << h;
      EXPECT_EQ(figure[who.sprite], fits) << h;
      people++;
    }
  }
  EXPECT_GE(guardians, 8);
  EXPECT_GE(people, 29);
}
