#include "gfx/surfaces.h"
#include "gfx/text.h"

#include <gtest/gtest.h>

namespace {

// waku1 with piece k filled with red k + 1, so that the back buffer shows
// which piece went where (0: not drawn).
struct Frames : ::testing::Test {
  void SetUp() override {
    reset_surfaces_state();
    reset_text_state();
    surface_create(gfx.back_surface, 256, 256);
    surface_create(gfx.waku1_surface, 72, 8);
    for (int k = 0; k < 9; k++)
      fill_rect(gfx.waku1_surface, 8 * k, 0, 8, 8, static_cast<colorref>(k + 1));
  }
  int piece(int x, int y) { return surface_pixel(gfx.back_surface, x, y)[2] - 1; }
};

colorref at(int x, int y) {
  const std::uint8_t* p = surface_pixel(gfx.back_surface, x, y);
  return p[2] | p[1] << 8 | static_cast<colorref>(p[0]) << 16;
}

} // namespace

TEST_F(Frames, HeightSixteenIsATopRowAndAMiddleRow) {
  draw_frame(8, 8, 32, 16);
  EXPECT_EQ(piece(8, 8), 0);
  EXPECT_EQ(piece(16, 8), 4);
  EXPECT_EQ(piece(32, 8), 1);
  EXPECT_EQ(piece(8, 16), 6);
  EXPECT_EQ(piece(16, 16), 8);
  EXPECT_EQ(piece(32, 16), 7);
  EXPECT_EQ(piece(8, 24), -1); // no bottom row
  EXPECT_EQ(piece(40, 8), -1);
}

TEST_F(Frames, WidthSixteenHasNoInnerColumns) {
  draw_frame(0, 0, 16, 24);
  EXPECT_EQ(piece(0, 0), 0);
  EXPECT_EQ(piece(8, 0), 1);
  EXPECT_EQ(piece(0, 8), 6);
  EXPECT_EQ(piece(8, 8), 7);
  EXPECT_EQ(piece(0, 16), 2);
  EXPECT_EQ(piece(8, 16), 3);
  EXPECT_EQ(piece(16, 0), -1);
}

TEST_F(Frames, HeightNotAMultipleOfEightEndsWithABottomRowRoundedUp) {
  draw_frame(0, 100, 20, 134); // 134 rounds up to 136; width 20 to 24
  EXPECT_EQ(piece(0, 100 + 120), 6);
  EXPECT_EQ(piece(0, 100 + 128), 2);
  EXPECT_EQ(piece(8, 100 + 128), 5);
  EXPECT_EQ(piece(16, 100 + 128), 3);
  EXPECT_EQ(piece(23, 100 + 135), 3);
  EXPECT_EQ(piece(0, 100 + 136), -1);
  EXPECT_EQ(piece(24, 100), -1);
}

TEST_F(Frames, APieceOffTheBackBufferIsLeftOutNotClipped) {
  draw_frame(248, 248, 16, 16);
  EXPECT_EQ(piece(248, 248), 0);
  EXPECT_EQ(piece(255, 255), 0);
}

TEST_F(Frames, CursorIsTheWholeSixByTwelvePicture) {
  surface_create(gfx.cursol_surface, 6, 12);
  fill_rect(gfx.cursol_surface, 0, 0, 6, 12, 0x00FFFF);
  draw_cursor(10, 20);
  EXPECT_EQ(at(10, 20), 0x00FFFFu);
  EXPECT_EQ(at(15, 31), 0x00FFFFu);
  EXPECT_EQ(at(16, 20), 0u);
  EXPECT_EQ(at(10, 32), 0u);
}

TEST_F(Frames, ABlockStartsWhiteOnBlackAndOpaqueFillsTheCells) {
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  set_text_color(0x0000FF);
  set_bk_color(0xFF0000);
  EXPECT_EQ(text_out(0, 0, "  "), 12);
  end_text();
  EXPECT_EQ(at(0, 0), 0xFF0000u);
  EXPECT_EQ(at(11, 11), 0xFF0000u);
  EXPECT_EQ(at(12, 0), 0u);
  begin_text(text_drawing.menu_font, TEXT_OPAQUE); // the colours of the last block are not kept
  EXPECT_EQ(text_drawing.text_color, 0xFFFFFFu);
  EXPECT_EQ(text_drawing.bk_color, 0u);
  EXPECT_EQ(text_printf(0, 20, "%-3s%03d", "HP", 7), 36);
  EXPECT_STREQ(text_drawing.text_line, "HP 007");
  end_text();
}

TEST_F(Frames, ShadowedTextIsNearBlackDownRightUnderTheForeground) {
  begin_text(text_drawing.menu_font, TEXT_OPAQUE);
  shadow_text(20, 20, "|", 0x00FFFF);
  EXPECT_EQ(text_drawing.bk_mode, TEXT_OPAQUE);
  end_text();
  int shadow = 0, fg = 0, other = 0;
  for (int y = 0; y < 256; y++)
    for (int x = 0; x < 256; x++) {
      colorref c = at(x, y);
      shadow += c == TEXT_SHADOW, fg += c == 0x00FFFF,
          other += c != 0 && c != TEXT_SHADOW && c != 0x00FFFF;
    }
  EXPECT_GT(fg, 0);
  EXPECT_GT(shadow, 0); // a one-pixel-wide bar shifted right shows its shadow beside it
  EXPECT_EQ(other, 0);  // transparent: no cell was filled
}
