// The built pictures and tables: sizes, depths, grids and the rules the
// game's drawing relies on (black only where it is meant to show through).
#include "art_test_files.h"

#include "tools/maps/map_source.h"

#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <set>

namespace {

bool black(rgb c) {
  return c == CLEAR;
}

// A pure-black pixel with all four neighbours coloured is a hole in a body,
// not background: the game would draw it see-through.
int stray_blacks(const image& im, int x0, int y0, int w, int h) {
  int n = 0;
  for (int y = y0 + 1; y < y0 + h - 1; y++)
    for (int x = x0 + 1; x < x0 + w - 1; x++)
      if (black(get_px(im, x, y)) && !black(get_px(im, x - 1, y)) && !black(get_px(im, x + 1, y)) &&
          !black(get_px(im, x, y - 1)) && !black(get_px(im, x, y + 1)))
        n++;
  return n;
}

rgb tile_px(const image& sheet, int n, int x, int y) {
  return get_px(sheet, (n % 16) * 16 + x, (n / 16) * 16 + y);
}

} // namespace

TEST(ArtFiles, SheetsAndWindowPiecesHaveTheirSizesAndDepths) {
  const struct {
    std::string path;
    int w, h, bits;
    bool at_least; // the inn's picture may be larger
  } wants[] = {{resource_file("PMAP.bmp"), 256, 256, 24},  {resource_file("PLC.bmp"), 256, 256, 24},
               {resource_file("DUMMY.bmp"), 256, 256, 24}, {resource_file("WAKU1.bmp"), 72, 8, 24},
               {resource_file("CURSOL.bmp"), 6, 12, 24},   {resource_file("WAKU0.bmp"), 152, 72, 1},
               {game_file("YADOYA.bmp"), 64, 64, 24, true}};
  for (const auto& w : wants) {
    SCOPED_TRACE(w.path);
    bmp_info b = read_bmp(w.path);
    ASSERT_TRUE(b.ok);
    EXPECT_TRUE(w.at_least ? b.w >= w.w : b.w == w.w) << b.w;
    EXPECT_TRUE(w.at_least ? b.h >= w.h : b.h == w.h) << b.h;
    EXPECT_EQ(b.bits, w.bits);
  }
}

TEST(ArtFiles, MonsterAndHitPicturesAreSixtyFourSquareWithSeeThroughCorners) {
  std::set<std::vector<std::uint8_t>> distinct;
  for (int n = 0; n < 34; n++) {
    char a[32], b[32];
    std::snprintf(a, sizeof a, "ms_g%03d.bmp", n), std::snprintf(b, sizeof b, "ms_g%03db.bmp", n);
    for (const char* f : {a, b}) {
      SCOPED_TRACE(f);
      bmp_info m = read_bmp(game_file(f));
      ASSERT_TRUE(m.ok);
      EXPECT_EQ(m.w, 64);
      EXPECT_EQ(m.h, 64);
      EXPECT_EQ(m.bits, 24);
      // drawn over the monster window: the corners must show through
      EXPECT_TRUE(black(get_px(m.im, 0, 0)) && black(get_px(m.im, 63, 63)));
      if (f == a) {
        EXPECT_EQ(stray_blacks(m.im, 0, 0, 64, 64), 0) << "no holes in a monster";
      }
    }
    distinct.insert(read_file(game_file(a)));
  }
  EXPECT_EQ(distinct.size(), 34u) << "every family has its own picture";
}

TEST(ArtFiles, CharacterSheetHasEveryFigureInEightPicturesWithoutHoles) {
  bmp_info plc = read_bmp(resource_file("PLC.bmp"));
  ASSERT_TRUE(plc.ok);
  std::vector<int> firsts;
  std::ifstream in(std::string(ZK_SOURCE_DIR) + "/content/sprites.txt");
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') firsts.push_back(std::stoi(line));
  ASSERT_GE(firsts.size(), 21u) << "the party, the ship and at least 20 people and creatures";
  for (int first : firsts)
    for (int k = 0; k < 8; k++) {
      int n = first + k, x = (n % 16) * 16, y = (n / 16) * 16;
      int coloured = 0, differ = 0;
      for (int j = 0; j < 16; j++)
        for (int i = 0; i < 16; i++) {
          coloured += !black(get_px(plc.im, x + i, y + j));
          differ += !(tile_px(plc.im, n, i, j) == tile_px(plc.im, n ^ 1, i, j));
        }
      EXPECT_GT(coloured, 30) << "picture " << n << " is drawn";
      EXPECT_EQ(stray_blacks(plc.im, x, y, 16, 16), 0) << "picture " << n;
      // the two walking frames differ, or nothing would seem to walk
      EXPECT_GT(differ, 0) << "frames of picture " << n;
    }
}

TEST(ArtFiles, MapTilesHideNoBackdropAndEveryLandLooksItsOwnOnTheWorldView) {
  bmp_info pmap = read_bmp(resource_file("PMAP.bmp"));
  ASSERT_TRUE(pmap.ok);
  for (int n = 0; n < 127; n++)
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++)
        ASSERT_FALSE(black(tile_px(pmap.im, n, x, y))) << "tile " << n << " at " << x << "," << y;
  // the whole-map view shows pixel (5, 4) of each tile
  std::set<std::tuple<int, int, int>> looks;
  for (int n : {5, 49, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89}) {
    rgb c = tile_px(pmap.im, n, 5, 4);
    looks.insert({c.r / 8, c.g / 8, c.b / 8});
  }
  EXPECT_EQ(looks.size(), 12u);
}

TEST(ArtFiles, TileClassesFollowTheCatalogueAndTheFixedNumbers) {
  auto atr = read_file(game_file("rpgmappat.atr"));
  ASSERT_EQ(atr.size(), 256u);
  tile_catalogue cat;
  ASSERT_EQ(read_tile_catalogue(std::string(ZK_SOURCE_DIR) + "/content/tiles.txt", cat), "");
  for (int n = 0; n < 256; n++) EXPECT_EQ(static_cast<signed char>(atr[n]), cat.classes[n]) << n;
  // the ship sails on 0 and 64..75; each land's first area tile is walkable
  // ground, its second the gate into its places (stairs)
  for (int n : {0, 64, 70, 75, 5, 41, 49, 80, 89}) EXPECT_EQ(atr[n], 0) << n;
  for (int n : {6, 58, 96, 105}) EXPECT_EQ(atr[n], 2) << n;
  EXPECT_EQ(atr[255], 1);
}

TEST(ArtFiles, BackdropGridsAreThreeFramesOfDrawnSecondSheetTiles) {
  auto g = read_file(game_file("dmapdmy.mp"));
  ASSERT_EQ(g.size(), 1200u);
  bmp_info dummy = read_bmp(resource_file("DUMMY.bmp"));
  ASSERT_TRUE(dummy.ok);
  std::set<std::uint8_t> used;
  for (auto t : g) used.insert(t);
  for (int t : used) {
    int coloured = 0;
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) coloured += !black(tile_px(dummy.im, t, x, y));
    EXPECT_GT(coloured, 0) << "backdrop tile " << t;
  }
  // the frames differ, so the backdrop animates
  EXPECT_FALSE(std::equal(g.begin(), g.begin() + 400, g.begin() + 400));
}

TEST(ArtFiles, WindowPiecesHaveAFilledInsideAndJoinWithoutSeams) {
  bmp_info w = read_bmp(resource_file("WAKU1.bmp"));
  ASSERT_TRUE(w.ok);
  auto piece = [&](int k, int x, int y) { return get_px(w.im, 8 * k + x, y); };
  EXPECT_FALSE(black(piece(8, 4, 4)));
  EXPECT_FALSE(piece(0, 0, 0) == piece(8, 4, 4)) << "the border differs from the inside";
  // the inside repeats in both directions without a visible line
  for (int y = 0; y < 8; y++)
    for (int x = 0; x < 8; x++) EXPECT_EQ(piece(8, x, y), piece(8, 0, 0)) << x << "," << y;
  // the top and bottom pieces meet the inside below and above their border
  for (int x = 0; x < 8; x++) {
    EXPECT_EQ(piece(4, x, 7), piece(8, x, 7));
    EXPECT_EQ(piece(5, x, 0), piece(8, x, 0));
  }
  // the side pieces repeat downwards: their first and last rows agree
  for (int k : {6, 7})
    for (int x = 0; x < 8; x++) EXPECT_EQ(piece(k, x, 0), piece(k, x, 7)) << k;
}

namespace {

double luma(rgb c) {
  return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
}

double mean_luma(const image& sheet, int n) {
  double sum = 0;
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) sum += luma(tile_px(sheet, n, x, y));
  return sum / 256;
}

} // namespace

// In every dungeon (every map that is neither the world nor a town) the
// commonest wall and the commonest floor differ clearly in brightness, on the
// field and in the one pixel that stands for a tile in the whole-map view,
// so that a wall reads as a wall at first sight whatever the hue.
TEST(ArtFiles, EveryDungeonsWallsAndFloorsDifferInBrightness) {
  constexpr double FIELD_MARGIN = 50, VIEW_MARGIN = 40;
  bmp_info pmap = read_bmp(resource_file("PMAP.bmp"));
  ASSERT_TRUE(pmap.ok);
  auto atr = read_file(game_file("rpgmappat.atr"));
  ASSERT_EQ(atr.size(), 256u);
  int dungeons = 0;
  for (int n = 0; n < 256; n++) {
    char name[32];
    std::snprintf(name, sizeof name, "dmapdat%03d.mp", n);
    auto b = read_file(game_file(name));
    if (b.size() < 16 || n == 4 || b[8] == 2) continue; // the world; towns are left by their edge
    int count[256] = {};
    for (std::size_t i = 16; i < b.size(); i++) count[b[i]]++;
    int wall = -1, floor = -1;
    for (int t = 0; t < 256; t++) {
      if (atr[t] == 1 && count[t] > 0 && (wall < 0 || count[t] > count[wall])) wall = t;
      if (atr[t] == 0 && count[t] > 0 && (floor < 0 || count[t] > count[floor])) floor = t;
    }
    ASSERT_TRUE(wall >= 0 && floor >= 0) << name;
    dungeons++;
    EXPECT_GE(std::abs(mean_luma(pmap.im, wall) - mean_luma(pmap.im, floor)), FIELD_MARGIN)
        << name << ": wall " << wall << ", floor " << floor;
    EXPECT_GE(std::abs(luma(tile_px(pmap.im, wall, 5, 4)) - luma(tile_px(pmap.im, floor, 5, 4))),
              VIEW_MARGIN)
        << name << " in the whole-map view: wall " << wall << ", floor " << floor;
  }
  EXPECT_GT(dungeons, 15);
}

// Mountains, woods' edges and the pictures of places on the world stand on
// their own land's ground: the top corners of each such picture are the
// ground of the land around it, never a square of grass on snow or sand.
TEST(ArtFiles, WorldPicturesStandOnTheGroundOfTheirLand) {
  constexpr int CORNER_TOLERANCE = 60; // summed over red, green and blue
  const std::set<int> grounds = {5, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 49};
  bmp_info pmap = read_bmp(resource_file("PMAP.bmp"));
  ASSERT_TRUE(pmap.ok);
  auto atr = read_file(game_file("rpgmappat.atr"));
  auto m = read_file(game_file("dmapdat004.mp"));
  ASSERT_TRUE(atr.size() == 256u && m.size() > 16u);
  int w = m[0] + 1, h = m[1] + 1, checked = 0;
  ASSERT_GE(m.size(), static_cast<std::size_t>(16 + w * h));
  auto at = [&](int x, int y) { return m[16 + ((y + h) % h) * w + (x + w) % w]; };
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      int t = at(x, y), count[256] = {}, ground = -1;
      if (atr[t] != 1) continue;
      for (int dy = -3; dy <= 3; dy++)
        for (int dx = -3; dx <= 3; dx++)
          if (int u = at(x + dx, y + dy);
              grounds.count(u) && ++count[u] > (ground < 0 ? 0 : count[ground]))
            ground = u;
      if (ground < 0) continue;
      checked++;
      int diff = 0;
      for (int cx : {0, 15}) {
        rgb a = tile_px(pmap.im, t, cx, 0), b = tile_px(pmap.im, ground, cx, 0);
        diff += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
      }
      EXPECT_LE(diff / 2, CORNER_TOLERANCE)
          << "tile " << t << " at " << x << "," << y << " in the land of " << ground;
    }
  EXPECT_GT(checked, 400);
}
