#include "gfx/text.h"

#include "gfx/surfaces.h"
#include "platform/font.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
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

static int add_text_op(int x, int y, const char* s, int len, const text_paint& p);

int text_out(int x, int y, const char* s, int len) {
  const font_desc& f = text_drawing.text_font;
  if (len <= 0) return 0;
  if (!surface_exists(gfx.back_surface)) return text_width(s, len);
  text_paint p{face_of(f), px_of(f), text_drawing.text_color, text_drawing.bk_color,
               text_drawing.bk_mode == TEXT_OPAQUE};
  if (window_layer_open()) return add_text_op(x, y, s, len, p);
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
  frame_bands.reserve(MAX_FRAME_BANDS); // never moved: a band stays where it is until cleared
  frame_band b{row, span, pieces, {}};
  surface_create(b.px, span, 8);
  if (draw_band(b.px, row, 0, 0, w) != 0) return nullptr;
  frame_bands.push_back(std::move(b));
  return &frame_bands.back().px;
}

// The bands of all three row classes for frames w wide, together: room for
// them is made first, so that making one never throws away another.
bool prepared_bands(int w, const surface* (&bands)[3]) {
  if (frame_bands.size() + 3 > MAX_FRAME_BANDS) frame_bands.clear();
  for (int r = 0; r < 3; r++) bands[r] = prepared_band(r, w);
  return bands[0] && bands[1] && bands[2];
}

} // namespace

// The row class of the band after the one at j of a frame h high: the
// bottom class is reached one row before the end, so the last row is a
// bottom row.
static int next_row_class(int row, int j, int h) {
  if (j == 0) return 1;
  return j + 16 >= h && row < 2 ? row + 1 : row;
}

static void draw_frame_now(int x, int y, int w, int h) {
  const surface* bands[3] = {};
  prepared_bands(w, bands); // looked up once, not band by band
  const int span = band_span(w);
  int row = 0;
  int middle_at = -1; // a middle row drawn wholly inside the back buffer, copied for the others
  for (int j = 0; j < h; j += 8) {
    const surface* band = bands[row];
    bool copied =
        row == 1 && middle_at >= 0 &&
        copy_rect(gfx.back_surface, x, y + j, gfx.back_surface, x, y + middle_at, span, 8) == 0;
    if (!copied && band && copy_rect(gfx.back_surface, x, y + j, *band, 0, 0, span, 8) == 0) {
      copied = true;
      if (row == 1 && middle_at < 0) middle_at = j;
    }
    if (!copied && draw_band(gfx.back_surface, row, x, y + j, w) == 0 && row == 1 && middle_at < 0)
      middle_at = j;
    row = next_row_class(row, j, h);
  }
}

static void draw_cursor_now(int x, int y) {
  copy_rect(gfx.back_surface, x, y, gfx.cursol_surface, 0, 0, CURSOR_W, CURSOR_H);
}

namespace {

// What the window layer keeps of one drawing, to draw it later.
enum layer_op_kind { OP_FRAME, OP_TEXT, OP_CURSOR, OP_PICTURE, OP_OVER };
struct rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool holds(const rect& r) const {
    return r.x >= x && r.y >= y && r.x + r.w <= x + w && r.y + r.h <= y + h;
  }
};
struct x_range {
  int from = 0, to = 0;
};
struct layer_op {
  layer_op_kind kind = OP_FRAME;
  int x = 0, y = 0, w = 0, h = 0; // the call's arguments
  rect box;                       // no pixel it writes lies outside
  // every pixel of box written, and opaque (a frame, a picture over its backdrop)
  bool covers = false;
  bool left_out = false;
  std::size_t later = 0; // the covers of the frames after it: window_layer.covers[0, later)
  text_paint paint;
  std::size_t text_at = 0; // its bytes in window_layer.text
  const surface* src = nullptr;
  int sx = 0, sy = 0;
  bool keyed = false;
  const surface* under = nullptr; // the backdrop of a picture drawn over one
  int ux = 0, uy = 0;
  std::uint64_t sources = 0; // src's and under's versions, summed, when kept
};
struct window_layer_data {
  bool open = false;
  std::uint64_t back_version = 0; // the back buffer's when the first drawing was kept
  std::vector<layer_op> ops;
  std::string text;
  std::vector<rect> covers; // the frames that cover, from the last one drawn back
  // scratch of each_shown_part and draw_frame_visible
  std::vector<rect> hits;
  std::vector<int> edges, classes;
  std::vector<x_range> shown, cut;
};
window_layer_data layer;

constexpr int FRAME_PIECES = 9, PIECE = 8, MENU_CELL_H = 12;

std::uint64_t source_versions(const layer_op& op) {
  return op.src->version + (op.under ? op.under->version : 0);
}

// A drawing kept in place at the end of the list, not copied there.
layer_op& new_op() {
  if (layer.ops.empty()) layer.back_version = gfx.back_surface.version;
  return layer.ops.emplace_back();
}

// A frame writes whole bands of pieces; it writes every pixel of them only
// when all lie inside the back buffer and the pieces are there to copy.
void add_frame_op(int x, int y, int w, int h) {
  layer_op& op = new_op();
  op.kind = OP_FRAME, op.x = x, op.y = y, op.w = w, op.h = h;
  const int rows = h > 0 ? (h + PIECE - 1) / PIECE * PIECE : 0;
  op.box = {x, y, band_span(w), rows};
  const surface& back = gfx.back_surface;
  const surface& pieces = gfx.waku1_surface;
  op.covers = rows > 0 && rect{0, 0, back.w, back.h}.holds(op.box) &&
              pieces.w >= FRAME_PIECES * PIECE && pieces.h >= PIECE;
}

bool meets(const rect& a, const rect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// The parts of the ranges in layer.shown outside from .. to - 1.
void cut_out(int from, int to) {
  layer.cut.clear();
  for (const x_range& r : layer.shown) {
    if (std::min(r.to, from) > r.from) layer.cut.push_back({r.from, std::min(r.to, from)});
    if (r.to > std::max(r.from, to)) layer.cut.push_back({std::max(r.from, to), r.to});
  }
  layer.shown.swap(layer.cut);
}

// The columns of rows a .. b - 1 of a drawing that no later frame covering
// those rows whole hides, into layer.shown.
void shown_columns(const rect& box, int a, int b) {
  layer.shown.assign(1, {box.x, box.x + box.w});
  for (const rect& c : layer.hits)
    if (c.y <= a && c.y + c.h >= b) cut_out(c.x, c.x + c.w);
}

// Calls draw(from, to, a, b) for each part of a drawing's box that the
// frames after it leave to be seen (columns from .. to - 1 of rows
// a .. b - 1); false, with no call, where none of them reaches the box.
template <class Draw> bool each_shown_part(const layer_op& op, Draw draw) {
  const rect& box = op.box;
  layer.hits.clear();
  for (std::size_t i = 0; i < op.later; i++)
    if (meets(layer.covers[i], box)) layer.hits.push_back(layer.covers[i]);
  if (layer.hits.empty()) return false;
  // rows between two edges of covers are covered alike
  layer.edges.assign({box.y, box.y + box.h});
  for (const rect& c : layer.hits) {
    layer.edges.push_back(std::clamp(c.y, box.y, box.y + box.h));
    layer.edges.push_back(std::clamp(c.y + c.h, box.y, box.y + box.h));
  }
  std::sort(layer.edges.begin(), layer.edges.end());
  layer.edges.erase(std::unique(layer.edges.begin(), layer.edges.end()), layer.edges.end());
  for (std::size_t k = 0; k + 1 < layer.edges.size(); k++) {
    const int a = layer.edges[k], b = layer.edges[k + 1];
    shown_columns(box, a, b);
    for (const x_range& r : layer.shown) draw(r.from, r.to, a, b);
  }
  return true;
}

// A frame wholly on the back buffer, part of which later frames cover: only
// the rest is copied from its bands, which hold what draw_frame_now puts in
// every row. False, with nothing drawn, where no later frame reaches it or
// a band cannot be made.
bool draw_frame_visible(const layer_op& op) {
  const surface* bands[3] = {};
  if (!prepared_bands(op.w, bands)) return false;
  layer.classes.clear();
  for (int j = 0, row = 0; j < op.h; j += PIECE) {
    layer.classes.push_back(row);
    row = next_row_class(row, j, op.h);
  }
  surface& back = gfx.back_surface;
  return each_shown_part(op, [&](int from, int to, int a, int b) {
    for (int yy = a; yy < b; yy++) {
      const int in_frame = yy - op.box.y;
      const surface& band = *bands[layer.classes[static_cast<std::size_t>(in_frame / PIECE)]];
      std::memcpy(surface_pixel(back, from, yy),
                  surface_pixel(band, from - op.box.x, in_frame % PIECE),
                  3 * static_cast<std::size_t>(to - from));
    }
  });
}

// A picture over its backdrop, drawn only where later frames leave it to be
// seen: each pixel of it depends on that pixel of the two sources alone.
void draw_over(const layer_op& op) {
  auto part = [&op](int from, int to, int a, int b) {
    const int dx = from - op.x, dy = a - op.y;
    copy_keyed_over(gfx.back_surface, from, a, *op.under, op.ux + dx, op.uy + dy, *op.src,
                    op.sx + dx, op.sy + dy, to - from, b - a);
  };
  if (!op.covers || !each_shown_part(op, part)) part(op.x, op.x + op.w, op.y, op.y + op.h);
}

void run_op(const layer_op& op) {
  switch (op.kind) {
  case OP_FRAME:
    if (!op.covers || !draw_frame_visible(op)) draw_frame_now(op.x, op.y, op.w, op.h);
    return;
  case OP_TEXT:
    plat_draw_text(gfx.back_surface, op.x, op.y, layer.text.data() + op.text_at, op.w, op.paint);
    return;
  case OP_CURSOR:
    return draw_cursor_now(op.x, op.y);
  case OP_OVER:
    return draw_over(op);
  case OP_PICTURE:
    if (op.keyed)
      copy_keyed(gfx.back_surface, op.x, op.y, *op.src, op.sx, op.sy, op.w, op.h);
    else
      copy_rect(gfx.back_surface, op.x, op.y, *op.src, op.sx, op.sy, op.w, op.h);
    return;
  }
}

// Whether a text writes only inside its character cells, worked out only
// for a text some frame might cover.
bool bounded(const layer_op& op) {
  return op.kind != OP_TEXT ||
         plat_text_in_cells(layer.text.data() + op.text_at, op.w, op.paint.face);
}

// From the last drawing to the first: a drawing that a later frame covers
// wholly would be painted over, so it is left out.
void leave_out_covered() {
  layer.covers.clear();
  for (std::size_t i = layer.ops.size(); i-- > 0;) {
    layer_op& op = layer.ops[i];
    for (const rect& c : layer.covers)
      if (c.holds(op.box) && bounded(op)) {
        op.left_out = true;
        break;
      }
    op.later = layer.covers.size();
    if (op.covers && !op.left_out) layer.covers.push_back(op.box);
  }
}

} // namespace

static int add_text_op(int x, int y, const char* s, int len, const text_paint& p) {
  layer_op& op = new_op();
  op.kind = OP_TEXT, op.x = x, op.y = y, op.w = len, op.paint = p;
  op.text_at = layer.text.size();
  layer.text.append(s, static_cast<std::size_t>(len));
  const int width = plat_text_width(s, len, p.face, p.px_height);
  op.box = {x, y, width, p.face == FACE_MENU ? MENU_CELL_H : 0};
  return width;
}

bool window_layer_open() {
  return layer.open;
}

void begin_window_layer() {
  if (layer.open) end_window_layer(); // what an unfinished layer kept is drawn, not lost
  layer.open = true;
  layer.ops.clear();
  layer.text.clear();
}

// What the layer's rule forbids, counted so that the game's runs can show it
// never happens: a drawing past the layer while it kept some, or a kept
// picture changed before it was drawn.
void count_layer_bypasses() {
  if (!layer.ops.empty() && gfx.back_surface.version != layer.back_version)
    text_drawing.layer_bypasses++;
  for (const layer_op& op : layer.ops)
    if (op.src && op.sources != source_versions(op)) text_drawing.layer_bypasses++;
}

void end_window_layer() {
  layer.open = false;
  count_layer_bypasses();
  leave_out_covered();
  for (const layer_op& op : layer.ops)
    if (!op.left_out) run_op(op);
  layer.ops.clear();
  layer.text.clear();
}

void draw_frame(int x, int y, int w, int h) {
  if (layer.open) return add_frame_op(x, y, w, h);
  draw_frame_now(x, y, w, h);
}

void draw_cursor(int x, int y) {
  if (!layer.open) return draw_cursor_now(x, y);
  layer_op& op = new_op();
  op.kind = OP_CURSOR, op.x = x, op.y = y, op.box = {x, y, CURSOR_W, CURSOR_H};
}

void draw_over_backdrop(int x, int y, const surface& under, int ux, int uy, const surface& src,
                        int sx, int sy, int w, int h) {
  layer_op kept;
  layer_op& op = layer.open ? new_op() : kept;
  op.kind = OP_OVER, op.x = x, op.y = y, op.w = w, op.h = h, op.box = {x, y, w, h};
  op.under = &under, op.ux = ux, op.uy = uy, op.src = &src, op.sx = sx, op.sy = sy;
  op.sources = source_versions(op);
  // drawn in parts only where the whole lies inside all three surfaces, as
  // the whole would be refused otherwise
  op.covers = rect{0, 0, gfx.back_surface.w, gfx.back_surface.h}.holds(op.box) &&
              rect{0, 0, under.w, under.h}.holds({ux, uy, w, h}) &&
              rect{0, 0, src.w, src.h}.holds({sx, sy, w, h}) && w > 0 && h > 0;
  if (!layer.open) run_op(op);
}

void draw_picture(int x, int y, const surface& src, int sx, int sy, int w, int h, bool keyed) {
  layer_op kept;
  layer_op& op = layer.open ? new_op() : kept;
  op.kind = OP_PICTURE, op.x = x, op.y = y, op.w = w, op.h = h, op.box = {x, y, w, h};
  op.src = &src, op.sx = sx, op.sy = sy, op.keyed = keyed;
  op.sources = source_versions(op);
  if (!layer.open) run_op(op);
}
