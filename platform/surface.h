// Off-screen pictures: 24-bit blue-green-red pixels, rows packed without gaps.
#pragma once
#include <cstdint>
#include <vector>

struct surface {
  int w = 0, h = 0;
  std::vector<std::uint8_t> px; // w * h * 3 bytes, blue, green, red
  bool keyed = false;    // the key colour is transparent when this is the source of a keyed copy
  std::uint32_t key = 0; // the key's pixel value, blue | green << 8 | red << 16 (black: 0)
};

// GDI colour value 0x00BBGGRR.
using colorref = std::uint32_t;

void surface_create(surface& s, int w, int h); // zero-filled
std::uint8_t* surface_pixel(surface& s, int x, int y);

// Copies are refused (nothing drawn, result 1) when a rectangle is not wholly
// inside its surface, as the original's copies were.
int fill_rect(surface& dst, int x, int y, int w, int h, colorref c);
int copy_rect(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h);
int copy_keyed(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h);
