// Reading the back buffer's pixels as colours, for tests that check what a
// screen drew.
#pragma once
#include "gfx/surfaces.h"

#include <utility>

struct pixel_rgb {
  int r, g, b;
  bool operator==(const pixel_rgb&) const = default;
};

inline pixel_rgb pixel(int x, int y) {
  const std::uint8_t* p = surface_pixel(std::as_const(gfx.back_surface), x, y);
  return {p[2], p[1], p[0]};
}

// Pixels of one colour in the rectangle, clipped to the back buffer.
inline int count_color(int x, int y, int w, int h, pixel_rgb c) {
  int n = 0;
  for (int j = y; j < y + h && j < 256; j++)
    for (int i = x; i < x + w && i < 256; i++) n += pixel(i, j) == c;
  return n;
}
