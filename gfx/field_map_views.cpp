// The two overlays of the field: the area-name label (key R) and the
// whole-map view of the world (key F), one pixel per tile.
#include "gfx/field_map.h"
#include "gfx/surfaces.h"
#include "gfx/text.h"

namespace {

void put_pixel(int x, int y, u8 blue, u8 green, u8 red) {
  surface& b = gx.back_surface;
  if (x < 0 || y < 0 || x >= b.w || y >= b.h) return;
  u8* p = surface_pixel(b, x, y);
  p[0] = blue, p[1] = green, p[2] = red;
}

// One pixel of every tile's picture, then the sea written over in its own
// two blues, the open sea darker than the shallows.
void draw_whole_map() {
  int w = st.map_max_x < 255 ? st.map_max_x : 255, h = st.map_max_y < 255 ? st.map_max_y : 255;
  for (int y = 0; y <= h; y++)
    for (int x = 0; x <= w; x++) {
      int t = st.map_grid[y][x];
      copy_rect(gx.back_surface, x, y, gx.pmap_surface, tile_sx(t) + 5, tile_sy(t) + 4, 1, 1);
    }
  for (int y = 0; y <= h; y++)
    for (int x = 0; x <= w; x++) {
      int t = st.map_grid[y][x];
      if (t == 0) put_pixel(x, y, 0x6D, 0, 0);
      if (t >= 64 && t <= 75) {
        put_pixel(x, y, 0xD3, 0x99, 0x6B);
        fm.world_map_phase = static_cast<u8>(fm.world_map_phase + 16);
      }
    }
}

} // namespace

void draw_area_label() {
  if (fm.area_label_on != 1) return;
  begin_text(tx.menu_font, TEXT_TRANSPARENT);
  const char* name = area_name(st.cur_map, st.cur_area);
  set_text_color(0x010101);
  text_printf(1, 13, "[%16s]", name);
  set_text_color(0x01FFFF);
  text_printf(0, 12, "[%16s]", name);
  end_text();
}

void draw_world_map_view() {
  if (fm.world_map_drawn == 0) {
    draw_whole_map();
    fm.world_map_drawn = 1;
  }
  fm.world_map_phase = static_cast<u8>(fm.world_map_phase + 2);
  put_pixel(st.pos_x, st.pos_y, 0x14, fm.world_map_phase, 0xFF);
}
