#include "platform/surface.h"

#include <cstring>

void surface_create(surface& s, int w, int h) {
  s.w = w;
  s.h = h;
  s.px.assign(static_cast<size_t>(w) * h * 3, 0);
  s.keyed = false;
  s.key = 0;
}

std::uint8_t* surface_pixel(surface& s, int x, int y) {
  return s.px.data() + (static_cast<size_t>(y) * s.w + x) * 3;
}

static bool inside(const surface& s, int x, int y, int w, int h) {
  return w >= 0 && h >= 0 && x >= 0 && y >= 0 && x + w <= s.w && y + h <= s.h;
}

int fill_rect(surface& dst, int x, int y, int w, int h, colorref c) {
  if (!inside(dst, x, y, w, h)) return 1;
  std::uint8_t b = (c >> 16) & 255, g = (c >> 8) & 255, r = c & 255;
  if (w <= 0 || h <= 0) return 0;
  // the first row pixel by pixel, the others copied from it
  std::uint8_t* first = surface_pixel(dst, x, y);
  std::size_t row = static_cast<std::size_t>(w) * 3;
  if (b == g && g == r) {
    std::memset(first, b, row);
  } else {
    std::uint8_t* p = first;
    for (int i = 0; i < w; i++, p += 3) p[0] = b, p[1] = g, p[2] = r;
  }
  for (int j = 1; j < h; j++) std::memcpy(surface_pixel(dst, x, y + j), first, row);
  return 0;
}

int copy_rect(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h) {
  if (!inside(dst, dx, dy, w, h) || !inside(src, sx, sy, w, h)) return 1;
  for (int j = 0; j < h; j++)
    std::memmove(surface_pixel(dst, dx, dy + j),
                 src.px.data() + (static_cast<size_t>(sy + j) * src.w + sx) * 3,
                 static_cast<size_t>(w) * 3);
  return 0;
}

static bool is_key(const std::uint8_t* p, std::uint32_t key) {
  return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16) == key;
}

// Row by row, each run of pixels that are not the key is copied whole.
int copy_keyed(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h) {
  if (!src.keyed) return copy_rect(dst, dx, dy, src, sx, sy, w, h);
  if (!inside(dst, dx, dy, w, h) || !inside(src, sx, sy, w, h)) return 1;
  const std::uint32_t key = src.key;
  for (int j = 0; j < h; j++) {
    const std::uint8_t* s = src.px.data() + (static_cast<size_t>(sy + j) * src.w + sx) * 3;
    std::uint8_t* d = surface_pixel(dst, dx, dy + j);
    for (int i = 0; i < w;) {
      while (i < w && is_key(s + 3 * i, key)) i++;
      int start = i;
      while (i < w && !is_key(s + 3 * i, key)) i++;
      if (i > start) std::memmove(d + 3 * start, s + 3 * start, static_cast<size_t>(i - start) * 3);
    }
  }
  return 0;
}
