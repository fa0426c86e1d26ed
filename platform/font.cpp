#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <iconv.h>

#include <bit>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace {

enum font_slot { SLOT_SINGLE, SLOT_DOUBLE, SLOT_FALLBACK, SLOT_TITLE, SLOTS };

// A row's run of set pixels of a glyph.
struct glyph_run {
  std::int16_t y, x, len;
};

// One glyph, rendered once: its set pixels as runs, placed relative to the
// pen at the top of the text cell. Drawing fills the runs with the colour.
struct glyph {
  int left = 0, top = 0, w = 0, h = 0, advance = 0;
  std::vector<glyph_run> runs;
  // the cell last drawn from it, while the cells made are kept (cells_made)
  mutable const std::vector<std::uint8_t>* cell = nullptr;
  mutable colorref cell_fg = 0, cell_bg = 0;
  mutable int cell_w = 0;
  mutable unsigned cell_made = 0;
};

// A character cell of the menu face in one pair of colours, as the opaque
// text of the windows draws it, ready to be copied row by row.
struct cell_key {
  const void* glyph;
  colorref fg, bg;
  int w;
  bool operator==(const cell_key&) const = default;
};
struct cell_hash {
  std::size_t operator()(const cell_key& k) const {
    return std::hash<const void*>()(k.glyph) ^ (static_cast<std::size_t>(k.fg) << 24) ^ k.bg;
  }
};
constexpr int CELL_H = 12;
constexpr std::uint32_t SINGLE_CODES = 256;
constexpr std::uint32_t JIS_FIRST = 0x21, JIS_SIDE = 94; // rows and cells 0x21..0x7E
// Windows draw in a handful of colours; a run that met far more starts afresh.
constexpr std::size_t MAX_CELLS = 8192;

// A whole line of the windows' opaque menu text in one pair of colours, put
// together from its cells once and then copied twelve rows at a time: the
// windows draw the same lines every frame.
struct line_key {
  std::string bytes;
  colorref fg = 0, bg = 0;
  bool operator==(const line_key&) const = default;
};
struct line_hash {
  std::size_t operator()(const line_key& k) const {
    return std::hash<std::string_view>()(k.bytes) ^ (static_cast<std::size_t>(k.fg) << 24) ^ k.bg;
  }
};
// A frame shows a few dozen lines; the message window's reveal makes a new
// one each step. A run that met far more starts afresh.
constexpr std::size_t MAX_LINES = 512;
constexpr int MAX_LINE_BYTES = 256;
constexpr std::int8_t VERDICT_UNKNOWN = 0, VERDICT_IN = 1, VERDICT_OUT = 2;
constexpr std::size_t PAIR_CODES = 1 << 16; // a lead and a trail byte
constexpr int MIN_LINE_BYTES = 3;           // a character or two costs less copied cell by cell
constexpr int CELL_W_SINGLE = 6; // a single-byte character's cell; a double-byte one is twice that

struct font_cache {
  font_files files;
  FT_Library lib = nullptr;
  FT_Face face[SLOTS] = {};
  bool opened = false;
  bool reported[SLOTS] = {};
  int title_px = 0, title_ascent = 0, title_descent = 0;
  iconv_t to_utf32 = reinterpret_cast<iconv_t>(-1);
  std::unordered_map<std::uint64_t, glyph> glyphs;
  // the menu face's glyphs by code, without a hash: every character of every window
  const glyph* single[SINGLE_CODES] = {};
  const glyph* double_byte[JIS_SIDE * JIS_SIDE] = {};
  std::unordered_map<cell_key, std::vector<std::uint8_t>, cell_hash> cells;
  unsigned cells_made = 1; // moves on whenever the cells are thrown away
  std::unordered_map<line_key, std::vector<std::uint8_t>, line_hash> lines;
  // whether each character's glyph lies inside its cell, by its bytes
  std::int8_t single_verdict[SINGLE_CODES] = {};
  std::vector<std::int8_t> pair_verdict = std::vector<std::int8_t>(PAIR_CODES);
  line_key wanted; // the line looked for, its bytes kept between calls

  void close() {
    for (FT_Face& f : face)
      if (f) FT_Done_Face(f), f = nullptr;
    if (lib) FT_Done_FreeType(lib), lib = nullptr;
    if (to_utf32 != reinterpret_cast<iconv_t>(-1)) iconv_close(to_utf32);
    to_utf32 = reinterpret_cast<iconv_t>(-1);
    glyphs.clear();
    for (const glyph*& g : single) g = nullptr;
    for (const glyph*& g : double_byte) g = nullptr;
    cells.clear();
    cells_made++;
    lines.clear();
    for (std::int8_t& v : single_verdict) v = VERDICT_UNKNOWN;
    pair_verdict.assign(PAIR_CODES, VERDICT_UNKNOWN);
    opened = false;
    title_px = 0;
  }
  ~font_cache() { close(); }
};

font_cache fc;

const std::string& slot_path(int slot) {
  const font_files& f = fc.files;
  return slot == SLOT_SINGLE     ? f.single_byte
         : slot == SLOT_DOUBLE   ? f.double_byte
         : slot == SLOT_FALLBACK ? f.fallback
                                 : f.title;
}

void open_fonts() {
  fc.opened = true;
  if (FT_Init_FreeType(&fc.lib) != 0) {
    std::fprintf(stderr, "zandrek: FreeType does not start: all text is drawn as boxes\n");
    fc.lib = nullptr;
    return;
  }
  for (int slot = 0; slot < SLOTS; slot++) {
    FT_Face f = nullptr;
    if (FT_New_Face(fc.lib, slot_path(slot).c_str(), 0, &f) != 0) {
      // the fallback face only serves a few rare characters: its absence is quiet
      if (!fc.reported[slot] && slot != SLOT_FALLBACK)
        std::fprintf(stderr,
                     "zandrek: cannot open the font %s: its characters are drawn as boxes\n",
                     slot_path(slot).c_str());
      fc.reported[slot] = true;
      continue;
    }
    // the bitmap fonts are addressed by their own codes (JIS X 0201 bytes, JIS X 0208
    // row/cell pairs); the fallback and the title face by Unicode
    if (slot == SLOT_SINGLE || slot == SLOT_DOUBLE) {
      if (f->num_charmaps > 0) FT_Set_Charmap(f, f->charmaps[0]);
    } else {
      FT_Select_Charmap(f, FT_ENCODING_UNICODE);
    }
    if (slot != SLOT_TITLE && f->num_fixed_sizes > 0) FT_Select_Size(f, 0);
    fc.face[slot] = f;
  }
  fc.to_utf32 = iconv_open("UTF-32LE", "CP932");
}

void set_title_size(int px) {
  FT_Face f = fc.face[SLOT_TITLE];
  if (!f || fc.title_px == px) return;
  FT_Set_Pixel_Sizes(f, 0, px);
  fc.title_px = px;
  // a GDI text top: the cell reaches the Windows ascent above the baseline
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(f, FT_SFNT_OS2));
  int em = f->units_per_EM ? f->units_per_EM : 1000;
  int asc = os2 ? os2->usWinAscent : f->ascender;
  int desc = os2 ? os2->usWinDescent : -f->descender;
  fc.title_ascent = (asc * px + em / 2) / em;
  fc.title_descent = (desc * px + em / 2) / em;
}

int cell_ascent(int slot) {
  if (slot == SLOT_TITLE) return fc.title_ascent;
  FT_Face f = fc.face[slot];
  int a = f && f->size ? static_cast<int>(f->size->metrics.ascender >> 6) : 10;
  return a > 0 && a <= 12 ? a : 10;
}

// The glyph of a code in a slot, or nullptr when the face lacks it.
// The glyph's entry in the direct table of the menu face's codes, or null
// for a code outside it (the fallback and title faces go by the map alone).
const glyph** direct_entry(int slot, std::uint32_t code) {
  if (slot == SLOT_SINGLE) return code < SINGLE_CODES ? &fc.single[code] : nullptr;
  if (slot != SLOT_DOUBLE) return nullptr;
  std::uint32_t row = (code >> 8) - JIS_FIRST, cell = (code & 0xFF) - JIS_FIRST;
  return row < JIS_SIDE && cell < JIS_SIDE ? &fc.double_byte[row * JIS_SIDE + cell] : nullptr;
}

const glyph* rendered_glyph(int slot, std::uint32_t code);

const glyph* find_glyph(int slot, std::uint32_t code) {
  const glyph** direct = direct_entry(slot, code);
  if (direct && *direct) return (*direct)->advance < 0 ? nullptr : *direct;
  const glyph* g = rendered_glyph(slot, code);
  std::uint64_t key = static_cast<std::uint64_t>(slot) << 56 | code;
  if (direct) *direct = &fc.glyphs[key]; // the entry, even of a missing glyph
  return g;
}

// The glyph from the map of every glyph rendered, rendering it on first use.
const glyph* rendered_glyph(int slot, std::uint32_t code) {
  std::uint64_t key = static_cast<std::uint64_t>(slot) << 56 |
                      static_cast<std::uint64_t>(slot == SLOT_TITLE ? fc.title_px : 0) << 40 | code;
  auto it = fc.glyphs.find(key);
  if (it != fc.glyphs.end()) return it->second.advance < 0 ? nullptr : &it->second;
  glyph& g = fc.glyphs[key];
  g.advance = -1; // remembered as missing unless it renders below
  FT_Face f = fc.face[slot];
  FT_UInt index = f ? FT_Get_Char_Index(f, code) : 0;
  if (index == 0 ||
      FT_Load_Glyph(f, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
    return nullptr;
  const FT_Bitmap& bm = f->glyph->bitmap;
  g.left = f->glyph->bitmap_left;
  g.top = cell_ascent(slot) - f->glyph->bitmap_top;
  g.w = static_cast<int>(bm.width);
  g.h = static_cast<int>(bm.rows);
  g.advance = static_cast<int>((f->glyph->advance.x + 32) >> 6);
  for (int y = 0; y < g.h; y++) {
    const unsigned char* row = bm.buffer + static_cast<std::ptrdiff_t>(y) * bm.pitch;
    auto on = [&](int x) {
      return bm.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] & (0x80 >> (x & 7))) != 0
                                                 : row[x] >= 128;
    };
    for (int x = 0; x < g.w;) {
      if (!on(x)) {
        x++;
        continue;
      }
      int from = x;
      while (x < g.w && on(x)) x++;
      g.runs.push_back({static_cast<std::int16_t>(y), static_cast<std::int16_t>(from),
                        static_cast<std::int16_t>(x - from)});
    }
  }
  return &g;
}

// One colour laid out as four pixels (12 bytes in two integers), so that the
// short runs of a glyph are filled a few pixels at a time.
struct pixel_fill {
  std::uint32_t one;    // blue | green << 8 | red << 16
  std::uint64_t first8; // the four pixels' first eight bytes, as they lie in memory
  std::uint32_t last4;  // and their last four
  explicit pixel_fill(colorref c)
      : one((c >> 16 & 255) | (c & 0xFF00) | (c & 255) << 16),
        first8(one | std::uint64_t{one} << 24 | std::uint64_t{one} << 48),
        last4(one >> 16 | one << 8) {}
  void fill(std::uint8_t* p, int n) const {
    if constexpr (std::endian::native == std::endian::little) {
      for (; n >= 4; n -= 4, p += 12) {
        std::memcpy(p, &first8, 8);
        std::memcpy(p + 8, &last4, 4);
      }
    }
    for (; n > 0; n--, p += 3) p[0] = one & 255, p[1] = one >> 8 & 255, p[2] = one >> 16 & 255;
  }
};

// Fills pixels x .. x + n - 1 of row y with c, clipped to the surface.
void fill_span(surface& dst, int x, int y, int n, colorref c) {
  if (y < 0 || y >= dst.h) return;
  if (x < 0) n += x, x = 0;
  if (x + n > dst.w) n = dst.w - x;
  if (n <= 0) return;
  pixel_fill(c).fill(surface_pixel(dst, x, y), n);
}

void put_pixel(surface& dst, int x, int y, colorref c) {
  fill_span(dst, x, y, 1, c);
}

void fill_cell(surface& dst, int x, int y, int w, int h, colorref c) {
  for (int j = 0; j < h; j++) fill_span(dst, x, y + j, w, c);
}

// A glyph wholly inside the surface needs no clipping run by run (nor one
// too big for its runs' numbers).
void draw_glyph(surface& dst, int x, int y, const glyph& g, colorref c) {
  int gx = x + g.left, gy = y + g.top;
  bool inside = gx >= 0 && gy >= 0 && gx + g.w <= dst.w && gy + g.h <= dst.h && g.w <= INT16_MAX &&
                g.h <= INT16_MAX;
  if (!inside || g.runs.empty()) {
    for (const glyph_run& r : g.runs) fill_span(dst, gx + r.x, gy + r.y, r.len, c);
    return;
  }
  const pixel_fill f(c);
  std::uint8_t* top_left = surface_pixel(dst, gx, gy);
  const std::size_t stride = static_cast<std::size_t>(dst.w) * 3;
  for (const glyph_run& r : g.runs) f.fill(top_left + r.y * stride + 3 * r.x, r.len);
}

bool inside_cell(const glyph& g, int w) {
  return g.left >= 0 && g.top >= 0 && g.left + g.w <= w && g.top + g.h <= CELL_H;
}

// The cell of a glyph that lies wholly inside it, in fg on bg, made on first
// use; null for a glyph that reaches out of its cell (drawn the slow way).
const std::vector<std::uint8_t>* cell_picture(const glyph& g, int w, colorref fg, colorref bg) {
  if (!inside_cell(g, w)) return nullptr;
  if (g.cell && g.cell_made == fc.cells_made && g.cell_fg == fg && g.cell_bg == bg && g.cell_w == w)
    return g.cell;
  cell_key key{&g, fg, bg, w};
  auto it = fc.cells.find(key);
  if (it == fc.cells.end()) {
    if (fc.cells.size() >= MAX_CELLS) fc.cells.clear(), fc.cells_made++;
    surface cell;
    surface_create(cell, w, CELL_H);
    fill_cell(cell, 0, 0, w, CELL_H, bg);
    draw_glyph(cell, 0, 0, g, fg);
    it = fc.cells.emplace(key, std::move(cell.px)).first;
  }
  g.cell = &it->second, g.cell_fg = fg, g.cell_bg = bg, g.cell_w = w, g.cell_made = fc.cells_made;
  return g.cell;
}

// A cell of a width known here is copied with rows of a fixed length.
template <int W>
void copy_cell_rows(std::uint8_t* to, std::size_t stride, const std::uint8_t* from) {
  for (int j = 0; j < CELL_H; j++, to += stride, from += 3 * W) std::memcpy(to, from, 3 * W);
}

// Copies a picture w pixels wide and a cell high to (x, y), clipped to the surface.
void copy_clipped(surface& dst, int x, int y, int w, const std::vector<std::uint8_t>& px) {
  int from = x < 0 ? -x : 0, to = x + w > dst.w ? dst.w - x : w;
  if (to <= from) return;
  for (int j = 0; j < CELL_H; j++) {
    if (y + j < 0 || y + j >= dst.h) continue;
    std::memcpy(surface_pixel(dst, x + from, y + j), px.data() + (j * w + from) * 3,
                static_cast<std::size_t>(to - from) * 3);
  }
}

// Copies a cell picture of width w to (x, y), clipped to the surface.
void copy_cell(surface& dst, int x, int y, int w, const std::vector<std::uint8_t>& px) {
  if (x >= 0 && y >= 0 && x + w <= dst.w && y + CELL_H <= dst.h && (w == 6 || w == 12)) {
    const std::size_t stride = static_cast<std::size_t>(dst.w) * 3;
    if (w == 6)
      copy_cell_rows<6>(surface_pixel(dst, x, y), stride, px.data());
    else
      copy_cell_rows<12>(surface_pixel(dst, x, y), stride, px.data());
    return;
  }
  copy_clipped(dst, x, y, w, px);
}

// What a character without any glyph looks like: a hollow box inside its cell.
void draw_box(surface& dst, int x, int y, int w, int h, colorref c) {
  for (int i = 1; i < w - 1; i++)
    put_pixel(dst, x + i, y + 1, c), put_pixel(dst, x + i, y + h - 2, c);
  for (int j = 1; j < h - 1; j++)
    put_pixel(dst, x + 1, y + j, c), put_pixel(dst, x + w - 2, y + j, c);
}

bool is_lead(std::uint8_t b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool is_trail(std::uint8_t b) {
  return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

std::uint32_t jis_of(std::uint8_t s1, std::uint8_t s2) {
  int hi = s1 <= 0x9F ? s1 - 0x81 : s1 - 0xC1;
  int j1 = 2 * hi + 0x21, j2;
  if (s2 >= 0x9F) {
    j1++;
    j2 = s2 - 0x9F + 0x21;
  } else {
    j2 = s2 - 0x40 + 0x21 - (s2 >= 0x80);
  }
  return static_cast<std::uint32_t>(j1 << 8 | j2);
}

std::uint32_t unicode_of(std::uint8_t s1, std::uint8_t s2) {
  if (fc.to_utf32 == reinterpret_cast<iconv_t>(-1)) return 0;
  char in[2] = {static_cast<char>(s1), static_cast<char>(s2)};
  std::uint8_t out[8] = {};
  char* ip = in;
  char* op = reinterpret_cast<char*>(out);
  size_t il = 2, ol = sizeof out;
  iconv(fc.to_utf32, nullptr, nullptr, nullptr, nullptr);
  if (iconv(fc.to_utf32, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || ol != 4) return 0;
  return out[0] | out[1] << 8 | out[2] << 16 | static_cast<std::uint32_t>(out[3]) << 24;
}

// A double-byte character: Shinonome, then the Unicode fallback, then 〓.
const glyph* double_glyph(std::uint8_t s1, std::uint8_t s2, int* slot) {
  *slot = SLOT_DOUBLE;
  if (const glyph* g = find_glyph(SLOT_DOUBLE, jis_of(s1, s2))) return g;
  if (std::uint32_t u = unicode_of(s1, s2)) {
    *slot = SLOT_FALLBACK;
    if (const glyph* g = find_glyph(SLOT_FALLBACK, u)) return g;
  }
  *slot = SLOT_DOUBLE;
  return find_glyph(SLOT_DOUBLE, 0x222E);
}

// The glyph of the menu face's character at s[i] (null where it has none)
// and the width of its cell; i moves past the character.
const glyph* menu_char(const std::uint8_t* s, int len, int& i, int& w) {
  w = CELL_W_SINGLE;
  if (is_lead(s[i]) && i + 1 < len && is_trail(s[i + 1])) {
    int slot = SLOT_DOUBLE;
    w = 2 * CELL_W_SINGLE, i += 2;
    return double_glyph(s[i - 2], s[i - 1], &slot);
  }
  std::uint8_t b = s[i++];
  return (b >= 0x20 && b <= 0x7E) || (b >= 0xA1 && b <= 0xDF) ? find_glyph(SLOT_SINGLE, b)
                                                              : nullptr;
}

// Character by character, each opaque cell copied from its picture.
int draw_menu_cells(surface& dst, int x, int y, const std::uint8_t* s, int len,
                    const text_paint& p) {
  int pen = x;
  for (int i = 0; i < len;) {
    int w = 0;
    const glyph* g = menu_char(s, len, i, w);
    const std::vector<std::uint8_t>* cell =
        p.opaque && g ? cell_picture(*g, w, p.fg, p.bg) : nullptr;
    if (cell) {
      copy_cell(dst, pen, y, w, *cell);
    } else {
      if (p.opaque) fill_cell(dst, pen, y, w, CELL_H, p.bg);
      if (g)
        draw_glyph(dst, pen, y, *g, p.fg);
      else
        draw_box(dst, pen, y, w, CELL_H, p.fg);
    }
    pen += w;
  }
  return pen - x;
}

// Whether every character has a glyph wholly inside its cell: only then is
// the line's picture the same wherever it is drawn.
bool cells_only(const std::uint8_t* s, int len) {
  for (int i = 0; i < len;) {
    int w = 0;
    const glyph* g = menu_char(s, len, i, w);
    if (!g || !inside_cell(*g, w)) return false;
  }
  return true;
}

// The verdict kept for the character at s[i], as the menu face reads it;
// i moves past the character.
std::int8_t& in_cell_verdict(const std::uint8_t* s, int len, int& i) {
  if (is_lead(s[i]) && i + 1 < len && is_trail(s[i + 1])) {
    i += 2;
    return fc.pair_verdict[static_cast<std::size_t>(s[i - 2]) << 8 | s[i - 1]];
  }
  return fc.single_verdict[s[i++]];
}

// The picture of a line of opaque text, made on first use; null for a line
// that is drawn character by character.
const std::vector<std::uint8_t>* line_picture(const std::uint8_t* s, int len, const text_paint& p) {
  if (len < MIN_LINE_BYTES || len > MAX_LINE_BYTES) return nullptr;
  line_key& k = fc.wanted;
  k.bytes.assign(reinterpret_cast<const char*>(s), static_cast<std::size_t>(len));
  k.fg = p.fg, k.bg = p.bg;
  auto it = fc.lines.find(k);
  if (it != fc.lines.end()) return &it->second;
  if (!cells_only(s, len)) return nullptr;
  if (fc.lines.size() >= MAX_LINES) fc.lines.clear();
  surface line;
  surface_create(line, CELL_W_SINGLE * len, CELL_H);
  draw_menu_cells(line, 0, 0, s, len, p);
  return &fc.lines.emplace(k, std::move(line.px)).first->second;
}

// Copies a line picture w pixels wide to (x, y), row by row where it lies
// wholly inside, clipped otherwise.
void copy_line(surface& dst, int x, int y, int w, const std::vector<std::uint8_t>& px) {
  if (x < 0 || y < 0 || x + w > dst.w || y + CELL_H > dst.h) return copy_clipped(dst, x, y, w, px);
  // the row's length from the picture: a length the compiler cannot bound
  // stays a call of the library's copy, quicker than its inlined one here
  const std::size_t stride = static_cast<std::size_t>(dst.w) * 3, row = px.size() / CELL_H;
  std::uint8_t* to = surface_pixel(dst, x, y);
  for (int j = 0; j < CELL_H; j++, to += stride) std::memcpy(to, px.data() + j * row, row);
}

int draw_menu_text(surface& dst, int x, int y, const std::uint8_t* s, int len,
                   const text_paint& p) {
  const std::vector<std::uint8_t>* line = p.opaque ? line_picture(s, len, p) : nullptr;
  if (!line) return draw_menu_cells(dst, x, y, s, len, p);
  copy_line(dst, x, y, CELL_W_SINGLE * len, *line);
  return CELL_W_SINGLE * len;
}

std::uint32_t latin_code(std::uint8_t b) {
  return b < 0x20 || (b >= 0x7F && b < 0xA0) ? 0 : b;
}

int title_advance(const glyph* g, int px) {
  return g ? g->advance : px / 2;
}

int draw_title_text(surface& dst, int x, int y, const std::uint8_t* s, int len,
                    const text_paint& p) {
  set_title_size(p.px_height);
  int pen = x, cell_h = fc.face[SLOT_TITLE] ? fc.title_ascent + fc.title_descent : p.px_height;
  for (int i = 0; i < len; i++) {
    std::uint32_t code = latin_code(s[i]);
    const glyph* g = code ? find_glyph(SLOT_TITLE, code) : nullptr;
    int w = title_advance(g, p.px_height);
    if (p.opaque) fill_cell(dst, pen, y, w, cell_h, p.bg);
    if (g)
      draw_glyph(dst, pen, y, *g, p.fg);
    else if (code != ' ')
      draw_box(dst, pen, y, w, cell_h, p.fg);
    pen += w;
  }
  return pen - x;
}

} // namespace

int plat_draw_text(surface& dst, int x, int y, const char* s, int len, const text_paint& p) {
  if (!fc.opened) open_fonts();
  const std::uint8_t* u = reinterpret_cast<const std::uint8_t*>(s);
  if (len <= 0) return 0;
  return p.face == FACE_TITLE ? draw_title_text(dst, x, y, u, len, p)
                              : draw_menu_text(dst, x, y, u, len, p);
}

int plat_text_width(const char* s, int len, int face, int px_height) {
  if (face != FACE_TITLE) return len > 0 ? 6 * len : 0; // every byte is a half cell
  if (!fc.opened) open_fonts();
  set_title_size(px_height);
  int w = 0;
  for (int i = 0; i < len; i++) {
    std::uint32_t code = latin_code(static_cast<std::uint8_t>(s[i]));
    w += title_advance(code ? find_glyph(SLOT_TITLE, code) : nullptr, px_height);
  }
  return w;
}

int plat_char_bytes(const char* s, int len) {
  const std::uint8_t* u = reinterpret_cast<const std::uint8_t*>(s);
  return len >= 2 && is_lead(u[0]) && is_trail(u[1]) ? 2 : 1;
}

bool plat_text_in_cells(const char* s, int len, int face) {
  if (face == FACE_TITLE) return false;
  if (!fc.opened) open_fonts();
  const std::uint8_t* u = reinterpret_cast<const std::uint8_t*>(s);
  for (int i = 0; i < len;) {
    const int at = i;
    std::int8_t& known = in_cell_verdict(u, len, i);
    if (known == VERDICT_UNKNOWN) {
      int w = 0, k = at;
      const glyph* g = menu_char(u, len, k, w);
      known = !g || inside_cell(*g, w) ? VERDICT_IN : VERDICT_OUT; // no glyph: a box in the cell
    }
    if (known == VERDICT_OUT) return false;
  }
  return true;
}

void plat_use_fonts(const font_files& f) {
  fc.close();
  fc.files = f;
  for (bool& r : fc.reported) r = false;
}
