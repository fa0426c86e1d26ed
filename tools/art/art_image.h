// Pictures of the content tools: plain RGB canvases written as the game's
// bottom-up BMP files.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const rgb&) const = default;
};

// Pure black is the game's transparent colour; drawn dark pixels use ink.
constexpr rgb CLEAR{0, 0, 0};
constexpr rgb INK{0, 0, 1};

struct image {
  int w = 0, h = 0;
  std::vector<rgb> px;
};

image make_image(int w, int h, rgb fill = CLEAR);
rgb get_px(const image& im, int x, int y);   // outside: CLEAR
void set_px(image& im, int x, int y, rgb c); // outside: ignored
void blit(image& dst, const image& src, int dx, int dy, bool keyed);
void blit_part(image& dst, int dx, int dy, const image& src, int sx, int sy, int w, int h);
// Lighter (amount > 0) or darker (< 0) shade of a colour, never pure black.
rgb shade(rgb c, int amount);
rgb mix(rgb a, rgb b, int percent_b);
// A lone see-through pixel inside a shape (all four neighbours coloured)
// would show the map through a body: such pinholes become ink.
void fill_pinholes(image& im);

// Both return an empty string on success, else "path: what went wrong".
std::string write_bmp24(const image& im, const std::string& path);
// One bit per pixel: pixels brighter than mid-grey are the second colour.
std::string write_bmp1(const image& im, const std::string& path, rgb off, rgb on);
// Contact sheets for people checking the art (PNG, no filtering).
std::string write_png(const image& im, const std::string& path);
