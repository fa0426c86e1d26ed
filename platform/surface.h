// Off-screen pictures: 24-bit blue-green-red pixels, rows packed without gaps.
#pragma once
#include <cstdint>
#include <vector>

// Pixels x .. x + len - 1 of a row that are not the key colour.
struct opaque_run {
  std::uint32_t x = 0, len = 0;
};

struct surface {
  int w = 0, h = 0;
  std::vector<std::uint8_t> px; // w * h * 3 bytes, blue, green, red
  bool keyed = false;    // the key colour is transparent when this is the source of a keyed copy
  std::uint32_t key = 0; // the key's pixel value, blue | green << 8 | red << 16 (black: 0)
  // Moves on whenever the pixels may have changed: every function below that
  // writes pixels (surface_pixel included) moves it on; code that writes px
  // itself calls surface_touched.
  std::uint64_t version = 0;
  // The opaque runs of every row, worked out on a keyed copy from this
  // surface and kept while version and key stay the same, so that copying
  // the same picture again costs copies, not a look at every pixel.
  mutable std::vector<opaque_run> runs;
  mutable std::vector<std::size_t> row_runs; // row y's runs: [row_runs[y], row_runs[y + 1])
  mutable std::uint64_t runs_version = 0;
  mutable std::uint32_t runs_key = 0;
  mutable bool runs_made = false;
};

// GDI colour value 0x00BBGGRR.
using colorref = std::uint32_t;

// Hands out the versions: no two states of any surfaces share one, so a
// surface and its version name one picture, also to caches kept elsewhere.
inline std::uint64_t surface_clock = 0;
inline void surface_touched(surface& s) {
  s.version = ++surface_clock;
}

void surface_create(surface& s, int w, int h); // zero-filled

// For writing: the surface counts as changed.
inline std::uint8_t* surface_pixel(surface& s, int x, int y) {
  surface_touched(s);
  return s.px.data() + (static_cast<std::size_t>(y) * s.w + x) * 3;
}
inline const std::uint8_t* surface_pixel(const surface& s, int x, int y) {
  return s.px.data() + (static_cast<std::size_t>(y) * s.w + x) * 3;
}

// Copies are refused (nothing drawn, result 1) when a rectangle is not wholly
// inside its surface, as the original's copies were.
int fill_rect(surface& dst, int x, int y, int w, int h, colorref c);
int copy_rect(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h);
int copy_keyed(surface& dst, int dx, int dy, const surface& src, int sx, int sy, int w, int h);
// What copy_rect from under and then copy_keyed from src to the same place
// draw, in one pass: rows that src covers wholly are not copied from under.
int copy_keyed_over(surface& dst, int dx, int dy, const surface& under, int ux, int uy,
                    const surface& src, int sx, int sy, int w, int h);
