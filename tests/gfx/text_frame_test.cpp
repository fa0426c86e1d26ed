#include "gfx/surfaces.h"
#include "gfx/text.h"
#include "tests/common/window_pieces.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

struct Frames : ::testing::Test {
  void SetUp() override {
    reset_surfaces_state();
    reset_text_state();
    numbered_window_pieces();
  }
};

colorref at(int x, int y) {
  const std::uint8_t* p = surface_pixel(gfx.back_surface, x, y);
  return p[2] | p[1] << 8 | static_cast<colorref>(p[0]) << 16;
}

} // namespace

// A frame on a clear back buffer, seen as its 8 x 8 cells from (x, y): each
// row string gives the piece each cell shows ('.' none), checked at the
// cell's first and last pixel where they lie on the buffer.
void expect_cells(int x, int y, int w, int h, std::vector<std::string> rows) {
  fill_rect(gfx.back_surface, 0, 0, 256, 256, 0);
  draw_frame(x, y, w, h);
  for (int j = 0; j < static_cast<int>(rows.size()); j++)
    for (int i = 0; i < static_cast<int>(rows[j].size()); i++)
      for (int d : {0, 7}) {
        int px = x + 8 * i + d, py = y + 8 * j + d;
        int want = rows[j][i] == '.' ? -1 : rows[j][i] - '0';
        if (px >= 256 || py >= 256) continue;
        EXPECT_EQ(surface_pixel(gfx.back_surface, px, py)[2] - 1, want)
            << "frame " << x << "," << y << " " << w << "x" << h << " at " << px << "," << py;
      }
}

TEST_F(Frames, PiecesRoundUpToEightAndOffTheBufferAreLeftOut) {
  expect_cells(8, 8, 32, 16, {"0441.", "6887.", "....."});  // a top and a middle row
  expect_cells(0, 0, 16, 24, {"01.", "67.", "23.", "..."}); // no inner columns
  // 38 rounds up to five rows, the later middle rows copied from the first.
  expect_cells(0, 100, 20, 38, {"041.", "687.", "687.", "687.", "253.", "...."});
  expect_cells(248, 248, 16, 16, {"0"}); // the pieces past the buffer are left out
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
