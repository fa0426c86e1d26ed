#include "platform/font.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <vector>

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

// Some ink, and all of it inside the rectangle.
bool inked_inside(const ink_box& b, int x, int y, int w, int h) {
  return b.count > 0 && b.x0 >= x && b.x1 < x + w && b.y0 >= y && b.y1 < y + h;
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

} // namespace

// Six pixels a byte, twelve a double-byte character; the cell's top is the
// given y; transparent text leaves the background.
TEST(MenuFont, EveryByteIsSixPixelsSoDoubleByteCharactersAreTwelve) {
  char field[32];
  std::snprintf(field, sizeof field, "%16s", "やくそう"); // 8 bytes, padded to 16
  EXPECT_EQ(plat_text_width(field, 16, FACE_MENU, 12), 96);
  text_paint opaque{FACE_MENU, 12, 0xFFFFFF, 0x000000, true};
  ink_box b = draw(field, 10, 5, opaque);
  EXPECT_EQ((std::vector<int>{b.x0, b.x1, b.y0, b.y1}), (std::vector<int>{10, 105, 5, 16}));

  text_paint p{FACE_MENU, 12, 0xFFFFFF, 0, false};
  EXPECT_GT(draw("あ", 20, 10, p).count, 10);
  EXPECT_TRUE(inked_inside(draw("あ", 20, 10, p), 20, 10, 12, 12));
  EXPECT_TRUE(inked_inside(draw("g", 0, 20, p), 0, 20, 6, 12)) << "a descender stays in the cell";
  EXPECT_EQ(draw(" ", 0, 0, p).count, 0);
  p.opaque = true;
  ink_box space = draw(" ", 4, 4, p);
  EXPECT_EQ(space.count, 6 * 12);
}

// A line of opaque text is drawn from a picture kept whole: it must look
// exactly like its characters drawn one by one, in each of its colours,
// wherever it lies, cut at any edge.
TEST(MenuFont, OpaqueLinesLookLikeTheirCharactersOneByOne) {
  const char* lines[] = {"HP:0123 やくそう", "名前　%s　",
                         "\x81"
                         "A\xF0\x40"
                         "B \x01\x81"};
  const int at[][2] = {{10, 5}, {-9, 3}, {150, 20}, {4, -7}, {30, 55}, {-100, -100}};
  const colorref fg[] = {0xFFFFFF, 0x96C0C0};
  for (const char* s : lines)
    for (const auto& xy : at)
      for (colorref c : fg) {
        text_paint p{FACE_MENU, 12, c, 0x000000, true};
        surface whole, each;
        draw(s, xy[0], xy[1], p, &whole);
        surface_create(each, 200, 60);
        fill_rect(each, 0, 0, 200, 60, BG);
        for (int i = 0, x = xy[0], n = static_cast<int>(std::strlen(s)); i < n;) {
          int k = plat_char_bytes(s + i, n - i);
          x += plat_draw_text(each, x, xy[1], s + i, k, p);
          i += k;
        }
        EXPECT_EQ(whole.px, each.px) << s << " at " << xy[0] << "," << xy[1];
      }
}

TEST(MenuFont, CharactersShinonomeLacksStillShowSomething) {
  text_paint p{FACE_MENU, 12, 0xFFFFFF, 0, false};
  EXPECT_GT(draw("①", 0, 0, p).count, 10); // NEC row 13, from the Unicode fallback
  surface user, geta;
  draw("\xF0\x40", 0, 0, p, &user); // user-defined area: no font has it
  draw("〓", 0, 0, p, &geta);
  EXPECT_EQ(user.px, geta.px);
  EXPECT_GT(draw("\x81", 0, 0, p).count, 0); // a lead byte without its trail byte
  EXPECT_GT(draw("\x01", 0, 0, p).count, 0);
  EXPECT_EQ(plat_text_width("\x81", 1, FACE_MENU, 12), 6);

  // missing font files draw boxes in the same cells
  font_files none;
  none.single_byte = "/nonexistent/a.pcf.gz";
  none.double_byte = "/nonexistent/k.pcf.gz";
  none.fallback = "/nonexistent/f.pcf.gz";
  none.title = "/nonexistent/t.otf";
  plat_use_fonts(none);
  EXPECT_TRUE(inked_inside(draw("Aあ", 0, 0, p), 0, 0, 18, 12));
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
