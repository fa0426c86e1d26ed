// People on the field, the party's picture, the area label and the
// whole-map view.
#include "field_fixture.h"
#include "gfx/surfaces.h"
#include "shell/shell.h"

namespace {

class Sprites : public FieldTest {
protected:
  void SetUp() override {
    FieldTest::SetUp();
    make_map(7, 30, 10, 10, 5);
    fill_rect(gfx.back_surface, 0, 0, 256, 256, 0x000000);
  }
  npc& person(int i, int x, int y) {
    npc& n = game.npc_table[i];
    n = npc{};
    n.x = static_cast<u8>(x), n.y = static_cast<u8>(y);
    n.sprite = 0x21; // picture column 1 of row 2
    n.frame_period = 1;
    return n;
  }
  // Seeds the generator so that the next number move_npcs draws is r (mod 16).
  void seed_for(int r) {
    u32 s = 0;
    do seed_rand(++s);
    while (next_rand() % 16 != r);
    seed_rand(s);
  }
};

TEST_F(Sprites, PeopleAreClippedAtTheEdgesAndStopAnimatingOutOfSight) {
  npc& half = person(0, 0, 0);
  half.px = -8, half.py = 40;
  npc& gone = person(1, 0, 0);
  gone.px = -16, gone.py = 80;
  npc& right = person(2, 0, 0);
  right.px = 250, right.py = 250;
  draw_npcs();
  // Its right half at x 0..7, nothing at x 8.
  EXPECT_EQ(pixel(gfx.back_surface, 0, 40), char_pixel(0x21, 8, 0));
  EXPECT_EQ(pixel(gfx.back_surface, 7, 55), char_pixel(0x21, 15, 15));
  EXPECT_EQ(pixel(gfx.back_surface, 8, 40), (bgr{0, 0, 0}));
  for (int x = 0; x < 256; x++) ASSERT_EQ(pixel(gfx.back_surface, x, 80), (bgr{0, 0, 0})) << x;
  // The left 6 columns and rows at the bottom right corner.
  EXPECT_EQ(pixel(gfx.back_surface, 255, 255), char_pixel(0x21, 5, 5));
  EXPECT_EQ(std::tuple(gone.frame_count, half.frame_count), std::tuple(0, 1));
  draw_npcs();
  EXPECT_EQ(std::tuple(half.frame, half.frame_count, gone.frame), std::tuple(1, 0, 0))
      << "the period of 1 passed: the other walking picture";
  draw_npcs();
  EXPECT_EQ(pixel(gfx.back_surface, 0, 40), char_pixel(0x22, 8, 0));
}

TEST_F(Sprites, AbsentAndFinishedPeopleAreNotDrawn) {
  person(0, 0, 0).state = 1;
  person(1, 0, 0).state = 255;
  npc& done = person(2, 0, 0);
  done.type = 2, done.b = 9;
  game.sb.flags[9] = 1;
  for (int i = 0; i < 3; i++) game.npc_table[i].px = static_cast<i16>(i * 20);
  draw_npcs();
  for (int i = 0; i < 3; i++) EXPECT_EQ(pixel(gfx.back_surface, i * 20, 0), (bgr{0, 0, 0})) << i;
  game.sb.flags[9] = 0;
  draw_npcs();
  EXPECT_EQ(pixel(gfx.back_surface, 40, 0), char_pixel(0x21, 0, 0));
}

TEST_F(Sprites, AWanderingPersonStepsOverSixteenTicksAndReachesTheLastColumn) {
  npc& n = person(0, 29, 5);
  n.wanders = 1;
  n.px = 100;
  seed_for(6);
  move_npcs();
  EXPECT_EQ(std::tuple(n.x, n.move, n.facing), std::tuple(30, 6, 4))
      << "the bound is map_max_x, on a map wider than tall";
  for (int t = 0; t < 16; t++) move_npcs();
  EXPECT_EQ(std::tuple(n.px, n.move), std::tuple(116, 0));
  seed_for(6);
  move_npcs();
  EXPECT_EQ(std::tuple(n.x, n.move), std::tuple(30, 0)) << "at the last column it stays";
  game.map_grid[5][29] = WALL;
  seed_for(4);
  move_npcs();
  EXPECT_EQ(n.x, 30) << "walls block";
}

TEST_F(Sprites, AWaitingPersonCountsItsWaitBeforeDrawingLots) {
  npc& n = person(0, 5, 5);
  n.wanders = 1;
  n.wait = 2;
  u32 before = game.rand_state;
  move_npcs();
  move_npcs();
  EXPECT_EQ(std::tuple(n.wait_count, game.rand_state), std::tuple(2, before)) << "no draw yet";
  move_npcs();
  EXPECT_EQ(n.wait_count, 0);
  EXPECT_NE(game.rand_state, before);
}

TEST_F(Sprites, TheShipIsDrawnFromRowFour) {
  game.ship_sprite = 64;
  game.facing = 2;
  field_map.party_frame = 1;
  draw_party();
  EXPECT_EQ(pixel(gfx.back_surface, 128, 128), char_pixel(64 + 3, 0, 0));
}

TEST_F(Sprites, TheAreaLabelShowsTheNameOfTheMapsTable) {
  game.cur_area = 2;
  field_map.area_label_on = 1;
  draw_area_label();
  int yellow = 0, shadow = 0;
  for (int y = 12; y < 25; y++)
    for (int x = 0; x < 110; x++) {
      bgr p = pixel(gfx.back_surface, x, y);
      yellow += p == bgr{0x01, 0xFF, 0xFF};
      shadow += p == bgr{0x01, 0x01, 0x01};
    }
  EXPECT_GT(yellow, 20);
  EXPECT_GT(shadow, 5);
  fill_rect(gfx.back_surface, 0, 0, 256, 256, 0);
  field_map.area_label_on = 0;
  draw_area_label();
  EXPECT_EQ(pixel(gfx.back_surface, 0, 12), (bgr{0, 0, 0}));
}

TEST_F(Sprites, TheWholeMapViewPaintsOnePixelATileAndTheSeaInItsBlues) {
  make_map(WORLD_MAP, 9, 4, 3, 2);
  fill_rect(gfx.back_surface, 0, 0, 256, 256, 0x0000FF);
  game.map_grid[0][0] = 0;
  game.map_grid[1][1] = 70;
  game.map_grid[2][2] = 99;
  draw_world_map_view();
  EXPECT_EQ(pixel(gfx.back_surface, 0, 0), (bgr{0x6D, 0, 0}));
  EXPECT_EQ(pixel(gfx.back_surface, 1, 1), (bgr{0xD3, 0x99, 0x6B}));
  EXPECT_EQ(pixel(gfx.back_surface, 2, 2), map_tile_color(99));
  EXPECT_EQ(pixel(gfx.back_surface, 9, 4), map_tile_color(FLOOR));
  EXPECT_EQ(pixel(gfx.back_surface, 10, 4), (bgr{0, 0, 0xFF})) << "past the map: the last frame";
  // One shallow tile adds 16, the dot adds 2.
  EXPECT_EQ(pixel(gfx.back_surface, 3, 2), (bgr{0x14, 18, 0xFF}));
  EXPECT_EQ(field_map.world_map_drawn, 1);
  game.map_grid[2][2] = 0;
  draw_world_map_view();
  EXPECT_EQ(pixel(gfx.back_surface, 2, 2), map_tile_color(99)) << "drawn once per opening";
  EXPECT_EQ(pixel(gfx.back_surface, 3, 2), (bgr{0x14, 20, 0xFF}));
}

} // namespace
