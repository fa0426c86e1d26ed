// Every picture the game draws with: the back buffer a frame is composed in,
// the map and backdrop pictures, the sheets loaded from bitmaps and the
// monster pictures. All are 24-bit blue-green-red surfaces (platform/surface.h);
// a surface with no pixels is "none".
#pragma once
#include "platform/surface.h"

#include <cstdint>

constexpr int MONSTER_PICTURES = 34;

struct palette_entry {
  std::uint8_t red = 0, green = 0, blue = 0, flags = 0;
};

struct surfaces_data {
  surface back_surface;        // 256 x 256, keyed black: the frame being composed
  surface map_surface[2];      // 288 x 288, keyed black: the 18 x 18 tiles around the view
  surface bg_surface[3];       // 320 x 320: backdrops behind transparent tiles
  surface under_party_surface; // 16 x 16
  surface pmap_surface;        // "PMAP" tile sheet, 256 tiles
  surface plc_surface;         // "PLC" character sheet, keyed black
  surface waku0_surface;       // "WAKU0" (1-bit), loaded and released, never drawn
  surface waku1_surface;       // "WAKU1": nine 8 x 8 frame pieces side by side
  surface cursol_surface;      // "CURSOL": the 6 x 12 menu cursor
  surface dummy_surface;       // "DUMMY": second tile sheet
  surface yadoya_surface;      // file "YADOYA.bmp": the inn picture
  surface monster_surface[MONSTER_PICTURES];   // "ms_g%03d.bmp", keyed black
  surface monster_surface_b[MONSTER_PICTURES]; // "ms_g%03db.bmp", keyed black
  palette_entry game_palette[256];
  bool has_palette = false;
};

extern surfaces_data gfx;
void reset_surfaces_state(); // releases every surface, forgets the palette

// A surface with pixels.
inline bool surface_exists(const surface& s) {
  return !s.px.empty();
}

// Tile n of a 256 x 256 sheet is the 16 x 16 square at ((n mod 16) * 16, (n div 16) * 16).
inline int tile_sx(int n) {
  return (n & 15) * 16;
}
inline int tile_sy(int n) {
  return ((n >> 4) & 15) * 16;
}

// Loads the named bitmap (a resource of the program first, then a file of that
// name in the working directory) into dst, sized as the bitmap when width and
// height are 0. 0 on success; otherwise non-zero and dst is left none.
int load_bitmap(surface& dst, const char* name, int width = 0, int height = 0);
// Copies the named bitmap onto an existing surface (stretched to its size).
// 0 on success, E_FAIL when the bitmap is missing or unreadable.
int reload_bitmap(surface& dst, const char* name);
// A decoded bitmap, as load_bitmap reads it before it becomes a surface.
// copy_bitmap stretches the part (x, y, width, height) of it (the whole
// bitmap when width and height are 0) onto the whole of dst; E_FAIL when
// either is missing.
int copy_bitmap(surface& dst, const surface& bitmap, int x, int y, int width, int height);
// Fills gfx.game_palette from the named bitmap (resource, then file) over the
// fixed 3-3-2 palette; 0 when a palette was made.
int load_palette(const char* name);
// The surface's pixel value for a GDI colour (0x00BBGGRR); 0xFFFFFFFF when
// the surface is none.
std::uint32_t color_match(surface& s, colorref rgb);
// Makes that colour the surface's source colour key; 0 on success.
int set_color_key(surface& s, colorref rgb);
// Shows the back buffer stretched into the window's picture area.
void present();
// The surface part of releasing the drawing objects at shutdown or after a
// failed start-up: every surface becomes none, the palette is forgotten.
void release_surfaces();

constexpr int E_FAIL = static_cast<int>(0x80004005u);
