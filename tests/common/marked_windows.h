// Window pieces and a cursor a test can tell apart on the back buffer: a
// black 256 x 256 back buffer, frame piece k in red k + 1 (piece 8 the
// inside), the cursor a green block of 6 x 12.
#pragma once
#include "gfx/surfaces.h"

inline void mark_window_pieces() {
  surface_create(gfx.back_surface, 256, 256);
  surface_create(gfx.waku1_surface, 72, 8);
  for (int k = 0; k < 9; k++)
    fill_rect(gfx.waku1_surface, 8 * k, 0, 8, 8, static_cast<colorref>(k + 1));
  surface_create(gfx.cursol_surface, 6, 12);
  fill_rect(gfx.cursol_surface, 0, 0, 6, 12, 0x00FF00);
}
