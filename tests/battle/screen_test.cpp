#include "battle_fixture.h"

#include "gfx/battle_screen.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "tests/common/back_buffer.h"
#include "tests/common/window_pieces.h"

#include <gtest/gtest.h>

namespace {

void fill(surface& s, int w, int h, colorref c) {
  surface_create(s, w, h);
  fill_rect(s, 0, 0, w, h, c);
}

// Frame pieces, cursor and pictures in colours a test can tell apart:
// picture n is red n + 100; hit picture n is blue n + 100 on its right half.
void screen_surfaces() {
  numbered_window_pieces();
  fill(gfx.cursol_surface, 6, 12, 0x00FF00);
  for (int n = 0; n < MONSTER_PICTURES; n++) {
    fill(gfx.monster_surface[n], 64, 64, static_cast<colorref>(n + 100));
    surface_create(gfx.monster_surface_b[n], 64, 64);
    fill_rect(gfx.monster_surface_b[n], 32, 0, 32, 64, static_cast<colorref>(n + 100) << 16);
    set_color_key(gfx.monster_surface[n], 0);
    set_color_key(gfx.monster_surface_b[n], 0);
  }
}

// A fight against count kobolds wearing pictures 1, 2 and 3, shown.
void kobolds_on_screen(int count) {
  fresh_game();
  screen_surfaces();
  kobolds(count);
  for (int s = 0; s < count; s++) battle.monsters[s].picture = static_cast<u8>(s + 1);
  battle.monster_view = 1;
}

TEST(BattleScreen, PicturesSitByTheNumberOfMonsters) {
  const int xs[3][3] = {{96}, {32, 160}, {20, 88, 156}};
  for (int count = 1; count <= 3; count++) {
    kobolds_on_screen(count);
    draw_battle_screen();
    for (int k = 0; k < count; k++) {
      int x = xs[count - 1][k];
      EXPECT_EQ(monster_picture_x(count, k), x);
      EXPECT_EQ(pixel(x, 68), (pixel_rgb{k + 101, 0, 0})) << count << " " << k;
      EXPECT_EQ(pixel(x + 63, 68 + 63), (pixel_rgb{k + 101, 0, 0}));
      EXPECT_NE(pixel(x - 1, 100), (pixel_rgb{k + 101, 0, 0}));
    }
  }
}

TEST(BattleScreen, SlainMonsterStaysForItsHitPicture) {
  kobolds_on_screen(2);
  battle.monsters[1].status = STATUS_DEAD;
  battle.hit_flash[1] = {1, 16, 5};
  for (int frame = 0; frame < 16; frame++) {
    draw_battle_screen();
    EXPECT_EQ(pixel(160, 100), (pixel_rgb{102, 0, 0})) << frame; // the monster on the left half
    EXPECT_EQ(pixel(200, 100), (pixel_rgb{0, 0, 105})) << frame; // spell 5's picture on the right
  }
  EXPECT_EQ(battle.hit_flash[1].on, 0);
  draw_battle_screen();
  EXPECT_NE(pixel(160, 100), (pixel_rgb{102, 0, 0}));
  EXPECT_EQ(pixel(32, 100), (pixel_rgb{101, 0, 0})); // the living one stays
}

// When the round ends with the killing blow, or the U key turns the hit
// pictures off, the beaten monster still goes when its hit would have ended.
TEST(BattleScreen, AMonsterBeatenWhenItsHitPictureIsTurnedOffGoesOnTime) {
  struct way {
    bool round_ends;
    int frames_before; // drawn before the U key
  };
  for (way w : {way{true, 0}, way{false, 5}}) {
    kobolds_on_screen(2);
    battle.monsters[1].hp = 1;
    if (w.round_ends) battle.monsters_done = 1, battle.party_actions = 2;
    battle.target_cursor = 1;
    attack(1);
    ASSERT_TRUE(battle.monsters[1].status & STATUS_DEAD);
    for (int f = 0; f < w.frames_before; f++) draw_battle_screen();
    if (!w.round_ends) battle_key('U'), battle_key('U');
    ASSERT_EQ(battle.hit_flash[1].on, 0) << w.round_ends;
    for (int f = w.frames_before; f < 16; f++) {
      draw_battle_screen();
      EXPECT_EQ(pixel(200, 100), (pixel_rgb{102, 0, 0})) << w.round_ends << " " << f;
    }
    draw_battle_screen();
    EXPECT_NE(pixel(160, 100), (pixel_rgb{102, 0, 0})) << w.round_ends;
  }
}

TEST(BattleScreen, NoPicturesWithoutTheMonsterView) {
  kobolds_on_screen(1);
  battle.monster_view = 0;
  battle.hit_flash[0] = {1, 16, 0};
  draw_battle_screen();
  EXPECT_NE(pixel(100, 100), (pixel_rgb{101, 0, 0}));
  EXPECT_EQ(battle.hit_flash[0].timer, 16);
  battle_key('U');
  EXPECT_EQ(battle.monster_view, 1);
  EXPECT_EQ(battle.hit_flash[0].on, 0);
}

// The colour of the text pixels in a band of rows, or white when none is
// drawn in the actor's colour.
pixel_rgb actor_colour(int y0) {
  for (int y = y0; y < y0 + 12; y++)
    for (int x = 8; x < 248; x++) {
      pixel_rgb p = pixel(x, y);
      if (p.r == 0x96) return p;
    }
  return {255, 255, 255};
}

TEST(BattleScreen, ActorLinePulsesAndTheOthersAreWhite) {
  kobolds_on_screen(1);
  battle.actor = 1;
  battle.actor_phase = 0;
  draw_battle_screen();
  EXPECT_EQ(actor_colour(8 + 14), (pixel_rgb{0x96, 16, 16}));
  draw_battle_screen();
  EXPECT_EQ(actor_colour(8 + 14), (pixel_rgb{0x96, 32, 32}));
  bool white = false;
  for (int x = 8; x < 248 && !white; x++)
    for (int y = 8; y < 20 && !white; y++) white = pixel(x, y) == pixel_rgb{255, 255, 255};
  EXPECT_TRUE(white);
  EXPECT_EQ(actor_colour(8), (pixel_rgb{255, 255, 255})); // member 0 is not in the actor's colour
}

TEST(BattleScreen, WindowsAndTheChoiceBeingMade) {
  kobolds_on_screen(2);
  battle.attack_all = 1;
  battle.cmd_cursor = 2;
  draw_battle_screen();
  EXPECT_EQ(battle.attack_all, 0);
  EXPECT_EQ(pixel(0, 0), (pixel_rgb{1, 0, 0}));          // party window, top-left piece
  EXPECT_EQ(pixel(0, 152), (pixel_rgb{1, 0, 0}));        // command window
  EXPECT_EQ(pixel(8, 166 + 28), (pixel_rgb{0, 255, 0})); // cursor on アイテム
  battle.cmd_state = CMD_ATTACK_TARGET;
  battle.target_cursor = 1;
  draw_battle_screen();
  EXPECT_EQ(pixel(69, 152), (pixel_rgb{1, 0, 0}));
  EXPECT_EQ(pixel(77, 166 + 14), (pixel_rgb{0, 255, 0}));
  battle.cmd_state = CMD_ITEM_LIST;
  battle.item_cursor[1] = 3;
  draw_battle_screen();
  EXPECT_EQ(pixel(80, 166 + 42), (pixel_rgb{0, 255, 0}));
  battle.item_pick = 1;
  battle.item_target_member = 2;
  draw_battle_screen();
  EXPECT_EQ(pixel(69, 152), (pixel_rgb{1, 0, 0}));
  EXPECT_EQ(pixel(77, 166 + 28), (pixel_rgb{0, 255, 0}));
  battle.cmd_state = CMD_SPELL_TARGET;
  battle.spell_cursor[0] = 1;
  battle.magic_target_cursor = 1;
  draw_battle_screen();
  EXPECT_EQ(pixel(77, 166 + 14), (pixel_rgb{0, 255, 0}));
}

} // namespace
