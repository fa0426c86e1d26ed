#include "platform/font.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

namespace {

constexpr colorref BG = 0x204060;

struct ink_box {
  int x0 = 1 << 20, y0 = 1 << 20, x1 = -1, y1 = -1, count = 0;
};

// Where pixels differ from the background colour.
ink_box ink(surface& s, colorref bg) {
  ink_box b;
  for (int y = 0; y < s.h; y++)
    for (int x = 0; x < s.w; x++) {
      const std::uint8_t* p = surface_pixel(s, x, y);
      if (p[0] == ((bg >> 16) & 255) && p[1] == ((bg >> 8) & 255) && p[2] == (bg & 255)) continue;
      b.count++;
      b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
      b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
    }
  return b;
}

ink_box draw(const char* s, int x, int y, const text_paint& p, surface* out = nullptr) {
  surface sf;
  surface_create(sf, 200, 60);
  fill_rect(sf, 0, 0, 200, 60, BG);
  plat_draw_text(sf, x, y, s, static_cast<int>(std::strlen(s)), p);
  ink_box b = ink(sf, BG);
  if (out) *out = sf;
  return b;
}

bool same_pixels(surface& a, surface& b) {
  return a.px == b.px;
}

} // namespace

TEST(MenuFont, EveryByteIsSixPixelsSoDoubleByteCharactersAreTwelve) {
  char field[32];
  std::snprintf(field, sizeof field, "%16s", "やくそう"); // 8 bytes, padded to 16
  EXPECT_EQ(plat_text_width(field, 16, FACE_MENU, 12), 96);
  text_paint opaque{FACE_MENU, 12, 0xFFFFFF, 0x000000, true};
  ink_box b = draw(field, 10, 5, opaque);
  EXPECT_EQ(b.x0, 10);
  EXPECT_EQ(b.x1, 10 + 96 - 1);
  EXPECT_EQ(b.y0, 5);
  EXPECT_EQ(b.y1, 5 + 12 - 1);

  text_paint p{FACE_MENU, 12, 0xFFFFFF, 0, false};
  ink_box a = draw("あ", 20, 10, p);
  EXPECT_GT(a.count, 10);
  EXPECT_GE(a.x0, 20);
  EXPECT_LE(a.x1, 20 + 11);
  EXPECT_GE(a.y0, 10);
  EXPECT_LE(a.y1, 10 + 11);
}

TEST(MenuFont, TheCellTopIsTheGivenYAndTransparentLeavesTheBackground) {
  text_paint p{FACE_MENU, 12, 0xFFFFFF, 0, false};
  ink_box g = draw("g", 0, 20, p); // a descender stays inside the 12-pixel cell
  EXPECT_GT(g.count, 0);
  EXPECT_GE(g.y0, 20);
  EXPECT_LE(g.y1, 31);
  EXPECT_EQ(draw(" ", 0, 0, p).count, 0);
  p.opaque = true;
  ink_box space = draw(" ", 4, 4, p);
  EXPECT_EQ(space.count, 6 * 12);
}

TEST(MenuFont, CharactersShinonomeLacksStillShowSomething) {
  text_paint p{FACE_MENU, 12, 0xFFFFFF, 0, false};
  EXPECT_GT(draw("①", 0, 0, p).count, 10); // NEC row 13, from the Unicode fallback
  surface user, geta;
  draw("\xF0\x40", 0, 0, p, &user); // user-defined area: no font has it
  draw("〓", 0, 0, p, &geta);
  EXPECT_TRUE(same_pixels(user, geta));
  EXPECT_GT(draw("\x81", 0, 0, p).count, 0); // a lead byte without its trail byte
  EXPECT_GT(draw("\x01", 0, 0, p).count, 0);
  EXPECT_EQ(plat_text_width("\x81", 1, FACE_MENU, 12), 6);
}

TEST(MenuFont, MissingFontFilesDrawBoxesInTheSameCells) {
  font_files none;
  none.single_byte = "/nonexistent/a.pcf.gz";
  none.double_byte = "/nonexistent/k.pcf.gz";
  none.fallback = "/nonexistent/f.pcf.gz";
  none.title = "/nonexistent/t.otf";
  plat_use_fonts(none);
  text_paint p{FACE_MENU, 12, 0xFFFFFF, 0, false};
  ink_box b = draw("Aあ", 0, 0, p);
  EXPECT_GT(b.count, 0);
  EXPECT_LE(b.x1, 17);
  text_paint t{FACE_TITLE, 44, 0xFFFFFF, 0, false};
  EXPECT_GT(draw("GAME", 0, 0, t).count, 0);
  plat_use_fonts(font_files{});
  EXPECT_GT(draw("A", 0, 0, p).count, 0);
}

TEST(TitleFont, ScalesWithItsPixelHeightAndStaysBelowTheGivenTop) {
  int w44 = plat_text_width("GAME OEVR", 9, FACE_TITLE, 44);
  int w22 = plat_text_width("GAME OEVR", 9, FACE_TITLE, 22);
  EXPECT_GT(w44, 150);
  EXPECT_NEAR(w22 * 2, w44, w44 / 8);
  text_paint t{FACE_TITLE, 44, 0x00FFFF, 0, false};
  ink_box b = draw("H", 0, 0, t);
  // a Windows-like top: the cell's ascent is the face's Windows ascent (1.17 em),
  // so a capital stands well below the top and sits on a baseline near 51
  EXPECT_GT(b.y0, 10);
  EXPECT_GE(b.y1, 48);
  EXPECT_LE(b.y1, 52);
  EXPECT_GT(b.y1 - b.y0, 25);
}
