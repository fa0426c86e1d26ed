// Window pieces a test can tell apart: piece k of the frame sheet is filled
// with red k + 1 (piece 8 the inside; 0 on the back buffer: no piece drawn
// there), over a clear 256 x 256 back buffer.
#pragma once
#include "gfx/surfaces.h"

inline void numbered_window_pieces() {
  surface_create(gfx.back_surface, 256, 256);
  surface_create(gfx.waku1_surface, 72, 8);
  for (int k = 0; k < 9; k++)
    fill_rect(gfx.waku1_surface, 8 * k, 0, 8, 8, static_cast<colorref>(k + 1));
}

// The same, and the cursor a green block of 6 x 12.
inline void mark_window_pieces() {
  numbered_window_pieces();
  surface_create(gfx.cursol_surface, 6, 12);
  fill_rect(gfx.cursol_surface, 0, 0, 6, 12, 0x00FF00);
}
