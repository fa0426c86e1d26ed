#include "gfx/text.h"

#include "gfx/surfaces.h"
#include "platform/font.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

text_data text_drawing;

void reset_text_state() {
  text_drawing = text_data{};
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
  text_drawing.in_block = true;
  text_drawing.text_font = font;
  text_drawing.text_color = 0xFFFFFF;
  text_drawing.bk_color = 0;
  text_drawing.bk_mode = bk_mode;
}

void end_text() {
  text_drawing.in_block = false;
  text_drawing.text_font = text_drawing.menu_font;
}

void set_text_color(colorref c) {
  text_drawing.text_color = c;
}
void set_bk_color(colorref c) {
  text_drawing.bk_color = c;
}

int text_out(int x, int y, const char* s, int len) {
  const font_desc& f = text_drawing.text_font;
  if (len <= 0) return 0;
  if (!surface_exists(gfx.back_surface)) return text_width(s, len);
  text_paint p{face_of(f), px_of(f), text_drawing.text_color, text_drawing.bk_color,
               text_drawing.bk_mode == TEXT_OPAQUE};
  return plat_draw_text(gfx.back_surface, x, y, s, len, p);
}

int text_out(int x, int y, const char* s) {
  return text_out(x, y, s, static_cast<int>(std::strlen(s)));
}

int text_printf(int x, int y, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  std::vsnprintf(text_drawing.text_line, sizeof text_drawing.text_line, fmt, ap);
  va_end(ap);
  return text_out(x, y, text_drawing.text_line);
}

int text_width(const char* s, int len) {
  const font_desc& f = text_drawing.in_block ? text_drawing.text_font : text_drawing.menu_font;
  return plat_text_width(s, len, face_of(f), px_of(f));
}

void shadow_text(int x, int y, const char* s, colorref fg) {
  int mode = text_drawing.bk_mode;
  text_drawing.bk_mode = TEXT_TRANSPARENT;
  text_drawing.text_color = TEXT_SHADOW;
  text_out(x + 1, y + 1, s);
  text_drawing.text_color = fg;
  text_out(x, y, s);
  text_drawing.bk_mode = mode;
}

// Pieces of waku1_surface by row class (top, middle, bottom): left, inner, right.
static const int frame_piece[3][3] = {{0, 4, 1}, {6, 8, 7}, {2, 5, 3}};

// 0 when the piece was drawn.
static int frame_piece_at(surface& dst, int k, int x, int y) {
  return copy_rect(dst, x, y, gfx.waku1_surface, 8 * k, 0, 8, 8);
}

// One band of a frame, 8 rows of a row class, piece by piece; 0 when every
// piece was drawn.
static int draw_band(surface& dst, int row, int x, int y, int w) {
  int refused = frame_piece_at(dst, frame_piece[row][0], x, y);
  int i = 8;
  for (; i < w - 8; i += 8) refused |= frame_piece_at(dst, frame_piece[row][1], x + i, y);
  refused |= frame_piece_at(dst, frame_piece[row][2], x + i, y);
  return refused;
}

namespace {

// A band put together once per width and row class from the pieces as they
// are now, to be copied whole: windows are drawn every frame at a handful of
// sizes. A band some piece of which is missing is not kept.
struct frame_band {
  int row = 0, span = 0;
  std::uint64_t pieces = 0; // the version of waku1_surface it was made from
  surface px;
};
constexpr std::size_t MAX_FRAME_BANDS = 64;
std::vector<frame_band> frame_bands;

// The width of a frame's bands: the pieces cover w, rounded up to whole pieces.
int band_span(int w) {
  int i = 8;
  while (i < w - 8) i += 8;
  return i + 8;
}

const surface* prepared_band(int row, int w) {
  const int span = band_span(w);
  if (span > gfx.back_surface.w) return nullptr; // never inside the back buffer whole
  const std::uint64_t pieces = gfx.waku1_surface.version;
  for (const frame_band& b : frame_bands)
    if (b.row == row && b.span == span && b.pieces == pieces) return &b.px;
  if (frame_bands.size() >= MAX_FRAME_BANDS) frame_bands.clear();
  frame_band b{row, span, pieces, {}};
  surface_create(b.px, span, 8);
  if (draw_band(b.px, row, 0, 0, w) != 0) return nullptr;
  frame_bands.push_back(std::move(b));
  return &frame_bands.back().px;
}

} // namespace

void draw_frame(int x, int y, int w, int h) {
  int row = 0;
  int middle_at = -1; // a middle row drawn wholly inside the back buffer, copied for the others
  for (int j = 0; j < h; j += 8) {
    const surface* band = prepared_band(row, w);
    const int span = band_span(w);
    bool copied =
        row == 1 && middle_at >= 0 &&
        copy_rect(gfx.back_surface, x, y + j, gfx.back_surface, x, y + middle_at, span, 8) == 0;
    if (!copied && band && copy_rect(gfx.back_surface, x, y + j, *band, 0, 0, span, 8) == 0) {
      copied = true;
      if (row == 1 && middle_at < 0) middle_at = j;
    }
    if (!copied && draw_band(gfx.back_surface, row, x, y + j, w) == 0 && row == 1 && middle_at < 0)
      middle_at = j;
    // the bottom class is reached one row before the end, so the last row is a bottom row
    if (j == 0)
      row = 1;
    else if (j + 16 >= h && row < 2)
      row++;
  }
}

void draw_cursor(int x, int y) {
  copy_rect(gfx.back_surface, x, y, gfx.cursol_surface, 0, 0, 6, 12);
}
