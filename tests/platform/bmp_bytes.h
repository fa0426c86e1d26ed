// BMP files made by the tests, byte for byte.
#pragma once
#include <cstdint>
#include <vector>

struct bmp_shape {
  int w = 2, h = 2;
  int bits = 24;
  bool top_down = false;
  std::uint32_t colors_used = 0;
  std::uint32_t compression = 0;
  std::uint8_t palette[2][3] = {{0, 0, 0}, {255, 255, 255}}; // blue, green, red
};

// Pixel (x, y) (y from the top) of a 24-bit test picture: blue, green, red.
inline void test_color(int x, int y, std::uint8_t out[3]) {
  out[0] = static_cast<std::uint8_t>(x * 7 + 1), out[1] = static_cast<std::uint8_t>(y * 11 + 2),
  out[2] = static_cast<std::uint8_t>(x + y + 3);
}
// Bit of a 1-bit test picture.
inline int test_bit(int x, int y) {
  return (x * 3 + y) % 5 < 2;
}

inline void put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  for (int i = 0; i < 4; i++) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

inline std::vector<std::uint8_t> make_bmp(const bmp_shape& s) {
  int stride = (s.w * s.bits + 31) / 32 * 4;
  int colors = s.bits == 1 ? (s.colors_used ? static_cast<int>(s.colors_used) : 2) : 0;
  std::size_t offset = 14 + 40 + 4 * static_cast<std::size_t>(colors);
  std::vector<std::uint8_t> v(offset + static_cast<std::size_t>(stride) * s.h, 0);
  v[0] = 'B', v[1] = 'M';
  put32(v, 2, static_cast<std::uint32_t>(v.size()));
  put32(v, 10, static_cast<std::uint32_t>(offset));
  put32(v, 14, 40);
  put32(v, 18, static_cast<std::uint32_t>(s.w));
  put32(v, 22, static_cast<std::uint32_t>(s.top_down ? -s.h : s.h));
  v[26] = 1, v[28] = static_cast<std::uint8_t>(s.bits);
  put32(v, 30, s.compression);
  put32(v, 46, s.colors_used);
  for (int i = 0; i < colors && i < 2; i++)
    for (int c = 0; c < 3; c++) v[54 + 4 * i + c] = s.palette[i][c];
  for (int y = 0; y < s.h; y++) {
    std::size_t row = offset + static_cast<std::size_t>(stride) * (s.top_down ? y : s.h - 1 - y);
    for (int x = 0; x < s.w; x++) {
      if (s.bits == 24)
        test_color(x, y, &v[row + 3 * x]);
      else if (s.bits == 1 && test_bit(x, y))
        v[row + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
  }
  return v;
}
