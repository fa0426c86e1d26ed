// The field's surfaces with tile and character sheets whose every pixel
// tells where it came from, for the field's tests and its benchmark.
#pragma once
#include "gfx/field_map.h"
#include "gfx/surfaces.h"

// Tile n of the map sheet is one colour: blue n, green 0x10, red 0x20; tile n
// of the second sheet blue n, green 0x30, red 0x40. Pixel (i, j) of character
// picture n is blue n, green i + 1, red j + 1.
struct bgr {
  int b, g, r;
  bool operator==(const bgr&) const = default;
};
inline bgr map_tile_color(int n) {
  return {n, 0x10, 0x20};
}
inline bgr outside_tile_color(int n) {
  return {n, 0x30, 0x40};
}
inline bgr char_pixel(int n, int i, int j) {
  return {n, i + 1, j + 1};
}

inline bgr pixel(const surface& s, int x, int y) {
  const u8* p = s.px.data() + (static_cast<size_t>(y) * s.w + x) * 3;
  return {p[0], p[1], p[2]};
}

inline void fill_sheet(surface& s, bgr (*color)(int)) {
  surface_create(s, 256, 256);
  for (int n = 0; n < 256; n++) {
    bgr c = color(n);
    fill_rect(s, tile_sx(n), tile_sy(n), 16, 16, static_cast<colorref>(c.r | c.g << 8 | c.b << 16));
  }
}

// The back buffer, the map pictures and their backdrops, and the sheets.
inline void make_field_surfaces() {
  surface_create(gfx.back_surface, 256, 256);
  for (surface& m : gfx.map_surface) surface_create(m, 288, 288), set_color_key(m, 0);
  for (surface& b : gfx.bg_surface) surface_create(b, 320, 320);
  surface_create(gfx.under_party_surface, 16, 16);
  fill_sheet(gfx.pmap_surface, map_tile_color);
  fill_sheet(gfx.dummy_surface, outside_tile_color);
  surface_create(gfx.plc_surface, 256, 256);
  for (int n = 0; n < 256; n++)
    for (int j = 0; j < 16; j++)
      for (int i = 0; i < 16; i++) {
        u8* p = surface_pixel(gfx.plc_surface, tile_sx(n) + i, tile_sy(n) + j);
        bgr c = char_pixel(n, i, j);
        p[0] = static_cast<u8>(c.b), p[1] = static_cast<u8>(c.g), p[2] = static_cast<u8>(c.r);
      }
  set_color_key(gfx.plc_surface, 0);
}
