// The two overlays of the field: the area-name label (key R) and the
// whole-map view of the world (key F), one pixel per tile.
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"

#include <cstring>

namespace {

void put_pixel(int x, int y, u8 blue, u8 green, u8 red) {
  surface& b = gfx.back_surface;
  if (x < 0 || y < 0 || x >= b.w || y >= b.h) return;
  u8* p = surface_pixel(b, x, y);
  p[0] = blue, p[1] = green, p[2] = red;
}

constexpr int TILE_NUMBERS = 256;
constexpr u8 OPEN_SEA = 0;
constexpr u8 SHALLOWS_FIRST = 64, SHALLOWS_LAST = 75;

// What the whole-map view puts for a tile number: one pixel of its picture
// (none when that pixel lies off the sheet), the sea in its own two blues,
// the open sea darker than the shallows.
struct map_colour {
  bool drawn = false;
  u8 bgr[3]{};
};

map_colour colour_of(int t) {
  map_colour c;
  if (t == OPEN_SEA) return {true, {0x6D, 0, 0}};
  if (t >= SHALLOWS_FIRST && t <= SHALLOWS_LAST) return {true, {0xD3, 0x99, 0x6B}};
  const surface& sheet = gfx.pmap_surface;
  int sx = tile_sx(t) + 5, sy = tile_sy(t) + 4;
  if (sx < 0 || sy < 0 || sx >= sheet.w || sy >= sheet.h) return c;
  const u8* p = surface_pixel(sheet, sx, sy);
  return {true, {p[0], p[1], p[2]}};
}

bool same_colours(const map_colour* a, const map_colour* b) {
  for (int t = 0; t < TILE_NUMBERS; t++)
    if (a[t].drawn != b[t].drawn || std::memcmp(a[t].bgr, b[t].bgr, 3) != 0) return false;
  return true;
}

// The last whole-map picture and what it was made from. The view is opened
// again and again over the same world, so it is drawn once and then copied
// for as long as the map and the tile colours stay the same; a map with a
// tile of no colour leaves the pixels below it and is always drawn afresh.
struct whole_map_picture {
  bool made = false;
  int cols = 0, rows = 0; // the part of the back buffer drawn
  map_colour colour[TILE_NUMBERS];
  u8 grid[256][256];
  int shallows = 0;
  u8 px[256 * 256 * 3];
};
whole_map_picture whole_map;

bool whole_map_still_holds(int cols, int rows, const map_colour* colour) {
  const whole_map_picture& m = whole_map;
  if (!m.made || m.cols != cols || m.rows != rows || !same_colours(m.colour, colour)) return false;
  for (int y = 0; y < rows; y++)
    if (std::memcmp(m.grid[y], game.map_grid[y], static_cast<std::size_t>(cols)) != 0) return false;
  return true;
}

// The shallows move the dot's colour on, as many steps as there are of them.
void pass_shallows(int n) {
  field_map.world_map_phase = static_cast<u8>(field_map.world_map_phase + 16 * n);
}

// One pixel a tile, each tile number's colour worked out once.
void draw_whole_map() {
  int w = game.map_max_x < 255 ? game.map_max_x : 255,
      h = game.map_max_y < 255 ? game.map_max_y : 255;
  surface& b = gfx.back_surface;
  int cols = w + 1 < b.w ? w + 1 : b.w, rows = h + 1 < b.h ? h + 1 : b.h;
  if (cols <= 0 || rows <= 0) return;
  map_colour colour[TILE_NUMBERS];
  bool all_drawn = true;
  for (int t = 0; t < TILE_NUMBERS; t++) {
    colour[t] = colour_of(t);
    all_drawn &= colour[t].drawn;
  }
  whole_map_picture& m = whole_map;
  const std::size_t row_bytes = static_cast<std::size_t>(cols) * 3;
  if (whole_map_still_holds(cols, rows, colour)) {
    if (cols == b.w) // whole rows lie one after the other, here as in the back buffer
      std::memcpy(surface_pixel(b, 0, 0), m.px, row_bytes * static_cast<std::size_t>(rows));
    else
      for (int y = 0; y < rows; y++)
        std::memcpy(surface_pixel(b, 0, y), m.px + y * row_bytes, row_bytes);
    pass_shallows(m.shallows);
    return;
  }
  int shallows = 0;
  for (int y = 0; y < rows; y++) {
    u8* row = surface_pixel(b, 0, y);
    for (int x = 0; x < cols; x++) {
      int t = game.map_grid[y][x];
      if (colour[t].drawn) std::memcpy(row + 3 * x, colour[t].bgr, 3);
      shallows += t >= SHALLOWS_FIRST && t <= SHALLOWS_LAST;
    }
  }
  pass_shallows(shallows);
  m.made = all_drawn;
  if (!all_drawn) return;
  m.cols = cols, m.rows = rows, m.shallows = shallows;
  std::memcpy(m.colour, colour, sizeof colour);
  for (int y = 0; y < rows; y++) {
    std::memcpy(m.grid[y], game.map_grid[y], static_cast<std::size_t>(cols));
    std::memcpy(m.px + y * row_bytes, surface_pixel(b, 0, y), row_bytes);
  }
}

} // namespace

void draw_area_label() {
  if (field_map.area_label_on != 1) return;
  begin_text(text_drawing.menu_font, TEXT_TRANSPARENT);
  const char* name = area_name(game.cur_map, game.cur_area);
  set_text_color(0x010101);
  text_printf(1, 13, "[%16s]", name);
  set_text_color(0x01FFFF);
  text_printf(0, 12, "[%16s]", name);
  end_text();
}

void draw_world_map_view() {
  if (field_map.world_map_drawn == 0) {
    draw_whole_map();
    field_map.world_map_drawn = 1;
  }
  field_map.world_map_phase = static_cast<u8>(field_map.world_map_phase + 2);
  put_pixel(game.pos_x, game.pos_y, 0x14, field_map.world_map_phase, 0xFF);
}
