// The map pictures, the scroll of a step and the advance by one tile.
#include "field/walk.h"
#include "field_fixture.h"
#include "gfx/surfaces.h"

namespace {

class MapScroll : public FieldTest {
protected:
  void SetUp() override {
    FieldTest::SetUp();
    make_map(7, 39, 39, 20, 20);
    // Every tile tells its place: tile number = 64 + 16 * (y mod 8) + x mod 16.
    for (int y = 0; y < 40; y++)
      for (int x = 0; x < 40; x++)
        game.map_grid[y][x] = static_cast<u8>(64 + (y % 8) * 16 + x % 16);
    for (int t = 64; t < 192; t++) game.tile_class[t] = 0;
    rebuild_map_pictures();
  }
  // Starts a step as the key dispatcher does.
  void start(i32 code) {
    field_map.step_dir = code;
    if (code == STEP_DOWN) field_map.step_off_y = 0, game.pos_y++;
    if (code == STEP_UP) field_map.step_off_y = 16, game.pos_y--;
    if (code == STEP_RIGHT) field_map.step_off_x = 0, game.pos_x++;
    if (code == STEP_LEFT) field_map.step_off_x = 16, game.pos_x--;
  }
  std::vector<u8> standing_frame() {
    draw_field_map();
    return gfx.back_surface.px;
  }
};

TEST_F(MapScroll, AStepTakesSixteenTicksAndArrivalFollowsTheAdvance) {
  game.npc_table[0] = npc{};
  game.npc_table[0].x = 22, game.npc_table[0].y = 22;
  rebuild_map_pictures();
  i16 py0 = game.npc_table[0].py;
  start(STEP_DOWN);
  for (int tick = 1; tick <= 15; tick++) {
    draw_field_map();
    ASSERT_EQ(field_map.step_dir, STEP_DOWN) << tick;
    EXPECT_EQ(field_map.step_off_y, tick);
    EXPECT_EQ(game.view_y, 11);
  }
  // One pixel into the step, picture row 15 shows the row below the view's
  // first visible row; after 15 pixels row 0 shows picture row 31.
  EXPECT_EQ(pixel(gfx.back_surface, 0, 0), map_tile_color(game.map_grid[12][12]));
  EXPECT_EQ(pixel(gfx.back_surface, 0, 1), map_tile_color(game.map_grid[13][12]));
  draw_field_map();
  EXPECT_EQ(std::tuple(field_map.step_dir, field_map.map_surface_sel, game.view_y, game.facing),
            std::tuple(STEP_ARRIVED, 1, 12, 0));
  EXPECT_EQ(game.npc_table[0].py, py0 - 16);
  arrive();
  EXPECT_EQ(std::tuple(field_map.step_dir, game.pos_y), std::tuple(0, 21));
}

TEST_F(MapScroll, AFinishedStepShowsWhatAFreshPictureOfTheNewPlaceShows) {
  for (i32 code : {STEP_DOWN, STEP_RIGHT, STEP_UP, STEP_LEFT, STEP_LEFT, STEP_UP}) {
    start(code);
    for (int tick = 0; tick < 16; tick++) draw_field_map();
    ASSERT_EQ(field_map.step_dir, STEP_ARRIVED);
    field_map.step_dir = 0;
    ASSERT_EQ(game.view_x, game.pos_x - 9);
    ASSERT_EQ(game.view_y, game.pos_y - 9);
    std::vector<u8> scrolled = standing_frame();
    int sel = field_map.map_surface_sel;
    rebuild_map_pictures();
    EXPECT_EQ(field_map.map_surface_sel, 0);
    EXPECT_TRUE(scrolled == standing_frame()) << "after step " << code << " picture " << sel;
  }
}

TEST_F(MapScroll, TheWorldMapShowsItsOppositeEdgeOnlyOnceScrolled) {
  for (int cur : {WORLD_MAP, 7}) {
    make_map(cur, 15, 15, 3, 8);
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) game.map_grid[y][x] = static_cast<u8>(64 + x);
    rebuild_map_pictures();
    // Map column -2 is picture column 4 (x 64): outside, the outside tile.
    EXPECT_EQ(pixel(gfx.map_surface[0], 64, 64), outside_tile_color(255));
    start(STEP_LEFT);
    for (int tick = 0; tick < 16; tick++) draw_field_map();
    // The newly exposed column 0 is map column -7.
    bgr exposed = pixel(gfx.map_surface[1], 0, 64);
    if (cur == WORLD_MAP)
      EXPECT_EQ(exposed, map_tile_color(64 + 9)) << "column -7 wraps to 9";
    else
      EXPECT_EQ(exposed, outside_tile_color(255));
    // The columns shifted in from the first picture still show the outside tile.
    EXPECT_EQ(pixel(gfx.map_surface[1], 16 * 5, 64), outside_tile_color(255));
  }
}

TEST_F(MapScroll, TheBackdropShowsThroughBlackAndFollowsTheStep) {
  game.map_kind = 1;
  for (int k = 0; k < 3; k++)
    for (int r = 0; r < 20; r++)
      for (int c = 0; c < 20; c++) game.backdrop_grid[k][r][c] = static_cast<u8>(k * 20 + c);
  // Tile 0 of the map sheet is black: the map is see-through there.
  fill_rect(gfx.pmap_surface, 0, 0, 16, 16, 0);
  game.map_grid[20][20] = 0;
  rebuild_map_pictures();
  field_map.bg_select = 1;
  draw_field_map();
  // Party's tile: screen (128, 128) is backdrop pixel (160, 160), column 10 of frame 1.
  EXPECT_EQ(pixel(gfx.back_surface, 130, 130), outside_tile_color(30));
  field_map.bg_scroll_x = 63;
  start(STEP_RIGHT);
  draw_field_map();
  EXPECT_EQ(field_map.bg_scroll_x, 32) << "past 63 it jumps back to the middle";
  field_map.bg_scroll_x = 1;
  field_map.step_dir = 0;
  start(STEP_LEFT);
  draw_field_map();
  EXPECT_EQ(field_map.bg_scroll_x, 32) << "below 1 it jumps back to the middle";
}

TEST_F(MapScroll, TheClearPictureUnderThePartyComesWithEveryScrollingTick) {
  start(STEP_RIGHT);
  draw_field_map();
  // One pixel right: the party's square starts one pixel into tile (21, 20).
  EXPECT_EQ(pixel(gfx.under_party_surface, 0, 0), map_tile_color(game.map_grid[20][20]));
  EXPECT_EQ(pixel(gfx.under_party_surface, 15, 0), map_tile_color(game.map_grid[20][21]));
  draw_party();
  EXPECT_EQ(pixel(gfx.back_surface, 128, 128), char_pixel(4, 0, 0)) << "facing right";
}

} // namespace
