#include "gfx/text.h"

#include "gfx/surfaces.h"
#include "platform/font.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

text_data tx;

void reset_text_state() {
  tx = text_data{};
}

namespace {

// The Latin title font is the only one with the ANSI character set.
int face_of(const font_desc& f) {
  return f.char_set == 0 ? FACE_TITLE : FACE_MENU;
}
int px_of(const font_desc& f) {
  return f.height < 0 ? -f.height : f.height > 0 ? f.height : 12;
}

} // namespace

void begin_text(const font_desc& font, int bk_mode) {
  tx.in_block = true;
  tx.text_font = font;
  tx.text_color = 0xFFFFFF;
  tx.bk_color = 0;
  tx.bk_mode = bk_mode;
}

void end_text() {
  tx.in_block = false;
  tx.text_font = tx.menu_font;
}

void set_text_color(colorref c) {
  tx.text_color = c;
}
void set_bk_color(colorref c) {
  tx.bk_color = c;
}
void set_bk_mode(int bk_mode) {
  tx.bk_mode = bk_mode;
}

int text_out(int x, int y, const char* s, int len) {
  const font_desc& f = tx.text_font;
  if (len <= 0) return 0;
  if (!surface_exists(gx.back_surface)) return text_width(s, len);
  text_paint p{face_of(f), px_of(f), tx.text_color, tx.bk_color, tx.bk_mode == TEXT_OPAQUE};
  return plat_draw_text(gx.back_surface, x, y, s, len, p);
}

int text_out(int x, int y, const char* s) {
  return text_out(x, y, s, static_cast<int>(std::strlen(s)));
}

int text_printf(int x, int y, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(tx.text_line, sizeof tx.text_line, fmt, ap);
  va_end(ap);
  return text_out(x, y, tx.text_line);
}

int text_width(const char* s, int len) {
  const font_desc& f = tx.in_block ? tx.text_font : tx.menu_font;
  return plat_text_width(s, len, face_of(f), px_of(f));
}

void shadow_text(int x, int y, const char* s, colorref fg) {
  int mode = tx.bk_mode;
  tx.bk_mode = TEXT_TRANSPARENT;
  tx.text_color = TEXT_SHADOW;
  text_out(x + 1, y + 1, s);
  tx.text_color = fg;
  text_out(x, y, s);
  tx.bk_mode = mode;
}

// Pieces of waku1_surface by row class (top, middle, bottom): left, inner, right.
static const int frame_piece[3][3] = {{0, 4, 1}, {6, 8, 7}, {2, 5, 3}};

// 0 when the piece was drawn.
static int frame_piece_at(int k, int x, int y) {
  return copy_rect(gx.back_surface, x, y, gx.waku1_surface, 8 * k, 0, 8, 8);
}

void draw_frame(int x, int y, int w, int h) {
  int row = 0;
  int middle_at = -1; // a middle row drawn wholly inside the back buffer, copied for the others
  for (int j = 0; j < h; j += 8) {
    int i = 8;
    while (i < w - 8) i += 8;
    int span = i + 8;
    bool copied =
        row == 1 && middle_at >= 0 &&
        copy_rect(gx.back_surface, x, y + j, gx.back_surface, x, y + middle_at, span, 8) == 0;
    if (!copied) {
      int refused = frame_piece_at(frame_piece[row][0], x, y + j);
      for (i = 8; i < w - 8; i += 8) refused |= frame_piece_at(frame_piece[row][1], x + i, y + j);
      refused |= frame_piece_at(frame_piece[row][2], x + i, y + j);
      if (row == 1 && middle_at < 0 && !refused) middle_at = j;
    }
    // the bottom class is reached one row before the end, so the last row is a bottom row
    if (j == 0)
      row = 1;
    else if (j + 16 >= h && row < 2)
      row++;
  }
}

void draw_cursor(int x, int y) {
  copy_rect(gx.back_surface, x, y, gx.cursol_surface, 0, 0, 6, 12);
}
