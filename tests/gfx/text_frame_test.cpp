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

// Windows drawn inside a window layer, which leaves out what a later frame
// covers, look exactly as drawn one after another: a map over its backdrop,
// frames over frames, text and cursors under them, a frame partly off the
// buffer (which covers nothing), big title text reaching out of a frame,
// keyed pictures.
TEST_F(Frames, AWindowLayerLooksLikeTheWindowsDrawnInTurn) {
  surface_create(gfx.cursol_surface, CURSOR_W, CURSOR_H);
  fill_rect(gfx.cursol_surface, 0, 0, CURSOR_W, CURSOR_H, 0x00C0C0);
  surface picture;
  surface_create(picture, 64, 64);
  fill_rect(picture, 8, 8, 40, 40, 0x3080F0);
  picture.keyed = true;
  auto menu_text = [](int x, int y, const char* s, int mode) {
    begin_text(text_drawing.menu_font, mode);
    set_text_color(0x40FF40);
    text_out(x, y, s);
    end_text();
  };
  const std::vector<void (*)()> scenes = {
      [] { // a member choice under a wider window, then text on the top one
        draw_frame(16, 16, 128, 64);
        begin_text(text_drawing.menu_font, TEXT_OPAQUE);
        text_out(50, 16, " だれ ");
        end_text();
        draw_cursor(24, 30);
        draw_frame(8, 8, 140, 78);
        draw_cursor(16, 22);
      },
      [] { // only part of a window covered; a frame off the buffer covers nothing
        draw_frame(24, 24, 196, 200);
        draw_cursor(250, 200);
        draw_frame(180, 180, 100, 100);
        draw_frame(30, 30, 100, 100);
        draw_frame(160, 4, 60, 16);  // a top and a middle band, the middle one partly covered
        draw_frame(170, 12, 16, 40); // and a frame over the whole height of another
        draw_frame(150, 0, 80, 9);
        draw_frame(200, 0, 16, 60);
      },
      [] { // big text reaches out of the frame drawn over its cells' top
        begin_text(text_drawing.title_font, TEXT_TRANSPARENT);
        text_out(30, 24, "W");
        end_text();
        draw_frame(20, 20, 120, 40);
        draw_frame(0, 0, 16, 0); // no rows: draws and covers nothing
      },
  };
  surface backdrop, map;
  surface_create(backdrop, 300, 300);
  surface_create(map, 256, 256);
  for (int i = 0; i < 300; i += 10) fill_rect(backdrop, i, 0, 5, 300, 0x405060 + i);
  for (int i = 0; i < 256; i += 16) fill_rect(map, 0, i, 256, 9, 0x806040 + i);
  map.keyed = true;
  auto draw_scene = [&](int k) {
    fill_rect(gfx.back_surface, 0, 0, 256, 256, 0x102030);
    draw_over_backdrop(0, 0, backdrop, 7, 3, map, 0, 0, 256, 256);
    scenes[static_cast<std::size_t>(k)]();
    menu_text(40, 120, "うしろ", TEXT_TRANSPARENT);
    draw_picture(100, 100, picture, 0, 0, 64, 64, true);
    menu_text(60, 150, "HP:0123", TEXT_OPAQUE);
    draw_frame(40, 110, 140, 100); // covers the transparent text, the picture, the opaque line
    draw_picture(150, 150, picture, 0, 0, 64, 64, true);
  };
  for (int k = 0; k < static_cast<int>(scenes.size()); k++) {
    draw_scene(k);
    const std::vector<std::uint8_t> in_turn = gfx.back_surface.px;
    begin_window_layer();
    draw_scene(k);
    end_window_layer();
    EXPECT_EQ(gfx.back_surface.px, in_turn) << "scene " << k;
  }
  EXPECT_EQ(text_drawing.layer_bypasses, 0);
  // what the layer's rule forbids is counted: a drawing past the layer
  // while it keeps some, a kept picture changed before it is drawn
  begin_window_layer();
  draw_frame(16, 16, 64, 32);
  fill_rect(gfx.back_surface, 0, 0, 8, 8, 0);
  draw_picture(100, 100, picture, 0, 0, 64, 64, true);
  fill_rect(picture, 0, 0, 8, 8, 0);
  end_window_layer();
  EXPECT_EQ(text_drawing.layer_bypasses, 2);
}
