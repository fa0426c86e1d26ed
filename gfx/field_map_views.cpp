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
  surface& sheet = gfx.pmap_surface;
  int sx = tile_sx(t) + 5, sy = tile_sy(t) + 4;
  if (sx < 0 || sy < 0 || sx >= sheet.w || sy >= sheet.h) return c;
  const u8* p = surface_pixel(sheet, sx, sy);
  return {true, {p[0], p[1], p[2]}};
}

// One pixel a tile, each tile number's colour worked out once.
void draw_whole_map() {
  int w = game.map_max_x < 255 ? game.map_max_x : 255,
      h = game.map_max_y < 255 ? game.map_max_y : 255;
  map_colour colour[TILE_NUMBERS];
  for (int t = 0; t < TILE_NUMBERS; t++) colour[t] = colour_of(t);
  surface& b = gfx.back_surface;
  for (int y = 0; y <= h && y < b.h; y++) {
    u8* row = surface_pixel(b, 0, y);
    for (int x = 0; x <= w && x < b.w; x++) {
      int t = game.map_grid[y][x];
      if (colour[t].drawn) std::memcpy(row + 3 * x, colour[t].bgr, 3);
      // the shallows move the dot's colour on, as many steps as there are of them
      if (t >= SHALLOWS_FIRST && t <= SHALLOWS_LAST)
        field_map.world_map_phase = static_cast<u8>(field_map.world_map_phase + 16);
    }
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
