// BMP files made by the tests, byte for byte.
#pragma once
#include <cstdint>
#include <vector>

// Pixel (x, y) (y from the top) of a 24-bit test picture: blue, green, red.
inline void test_color(int x, int y, std::uint8_t out[3]) {
  out[0] = static_cast<std::uint8_t>(x * 7 + 1), out[1] = static_cast<std::uint8_t>(y * 11 + 2),
  out[2] = static_cast<std::uint8_t>(x + y + 3);
}

inline void put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  for (int i = 0; i < 4; i++) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

// Any picture in any form a paint program writes, for comparing each form
// with the same picture in 24 bits.
struct test_picture {
  int w = 0, h = 0;
  std::vector<std::uint32_t> px; // 0xRRGGBB, top row first
};

struct bmp_form {
  int bits = 24;
  std::uint32_t compression = 0; // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
  bool top_down = false;
  std::uint32_t header_size = 40; // 12 (the oldest), 40, 56, 108, 124
  std::uint32_t masks[4] = {};    // red, green, blue, alpha; 0 for the defaults of the depth
};

namespace bmp_detail {

inline int mask_shift(std::uint32_t m) {
  int s = 0;
  while (m && !(m & 1)) m >>= 1, s++;
  return s;
}
inline int mask_width(std::uint32_t m) {
  int n = 0;
  for (; m; m >>= 1) n += m & 1;
  return n;
}
// A channel of 8 bits into a mask, keeping its top bits; the alpha mask gets noise.
inline std::uint32_t pack(std::uint32_t rgb, const std::uint32_t masks[4], std::uint32_t noise) {
  std::uint32_t v = 0;
  for (int c = 0; c < 3; c++) {
    std::uint32_t channel = rgb >> (16 - 8 * c) & 0xFF;
    int width = mask_width(masks[c]);
    v |= (width >= 8 ? channel << (width - 8) : channel >> (8 - width)) << mask_shift(masks[c]);
  }
  return v | (noise & masks[3]);
}

// One row of colour indices run-length coded: runs of one index, literal
// stretches of three or more in absolute mode, then the end of the row.
inline void rle_row(std::vector<std::uint8_t>& out, const std::uint8_t* idx, int w, bool four) {
  for (int x = 0; x < w;) {
    int run = 1;
    while (x + run < w && run < 255 && idx[x + run] == idx[x]) run++;
    int lit = 0;
    while (x + lit < w && lit < 255 && (x + lit + 1 >= w || idx[x + lit + 1] != idx[x + lit]))
      lit++;
    if (run >= 2 || lit < 3) {
      out.push_back(static_cast<std::uint8_t>(run));
      out.push_back(static_cast<std::uint8_t>(four ? idx[x] << 4 | idx[x] : idx[x]));
      x += run;
      continue;
    }
    out.push_back(0), out.push_back(static_cast<std::uint8_t>(lit));
    std::size_t bytes = four ? (lit + 1) / 2 : lit;
    for (std::size_t i = 0; i < bytes; i++)
      out.push_back(
          four ? static_cast<std::uint8_t>(idx[x + 2 * i] << 4 |
                                           (2 * i + 1 < std::size_t(lit) ? idx[x + 2 * i + 1] : 0))
               : idx[x + i]);
    if (bytes % 2) out.push_back(0); // absolute runs end on a 16-bit boundary
    x += lit;
  }
  out.push_back(0), out.push_back(0);
}

} // namespace bmp_detail

inline std::vector<std::uint8_t> encode_bmp(const test_picture& p, const bmp_form& f) {
  using namespace bmp_detail;
  bool core = f.header_size == 12, indexed = f.bits <= 8;
  std::vector<std::uint32_t> colors; // the colour table, in order of first use
  std::vector<std::uint8_t> idx;
  for (std::uint32_t c : p.px) {
    std::size_t i = 0;
    while (i < colors.size() && colors[i] != c) i++;
    if (i == colors.size() && indexed) colors.push_back(c);
    idx.push_back(static_cast<std::uint8_t>(i));
  }
  if (core) colors.resize(std::size_t{1} << f.bits, 0); // its table is always full
  std::uint32_t masks[4] = {f.masks[0], f.masks[1], f.masks[2], f.masks[3]};
  if (!masks[0]) {
    bool five = f.bits == 16;
    masks[0] = five ? 0x7C00 : 0xFF0000, masks[1] = five ? 0x3E0 : 0xFF00,
    masks[2] = five ? 0x1F : 0xFF, masks[3] = five ? 0x8000 : 0xFF000000; // unused bits: noise
  }
  bool masks_after = f.compression == 3 && f.header_size == 40;
  std::size_t entry = core ? 3 : 4, table = indexed ? colors.size() * entry : 0;
  std::size_t offset = 14 + f.header_size + (masks_after ? 12 : 0) + table;
  std::vector<std::uint8_t> v(offset, 0);
  v[0] = 'B', v[1] = 'M';
  put32(v, 10, static_cast<std::uint32_t>(offset));
  put32(v, 14, f.header_size);
  int height = f.top_down ? -p.h : p.h;
  if (core) {
    v[18] = static_cast<std::uint8_t>(p.w), v[19] = static_cast<std::uint8_t>(p.w >> 8);
    v[20] = static_cast<std::uint8_t>(p.h), v[21] = static_cast<std::uint8_t>(p.h >> 8);
    v[22] = 1, v[24] = static_cast<std::uint8_t>(f.bits);
  } else {
    put32(v, 18, static_cast<std::uint32_t>(p.w));
    put32(v, 22, static_cast<std::uint32_t>(height));
    v[26] = 1, v[28] = static_cast<std::uint8_t>(f.bits);
    put32(v, 30, f.compression);
    put32(v, 46, indexed ? static_cast<std::uint32_t>(colors.size()) : 0);
    if (f.compression == 3)
      for (int m = 0; m < (masks_after ? 3 : 4); m++) put32(v, 54 + 4 * m, masks[m]);
  }
  for (std::size_t i = 0; i < colors.size() && indexed; i++)
    for (int c = 0; c < 3; c++)
      v[offset - table + i * entry + c] = static_cast<std::uint8_t>(colors[i] >> (8 * c));
  std::size_t stride = (static_cast<std::size_t>(p.w) * f.bits + 31) / 32 * 4;
  for (int r = 0; r < p.h; r++) {
    int y = f.top_down ? r : p.h - 1 - r; // the picture row stored r-th
    const std::uint8_t* row_idx = &idx[static_cast<std::size_t>(y) * p.w];
    if (f.compression == 1 || f.compression == 2) {
      rle_row(v, row_idx, p.w, f.compression == 2);
      continue;
    }
    std::vector<std::uint8_t> row(stride, 0);
    for (int x = 0; x < p.w; x++) {
      std::uint32_t c = p.px[static_cast<std::size_t>(y) * p.w + x];
      if (indexed)
        row[x * f.bits / 8] |=
            static_cast<std::uint8_t>(row_idx[x] << (8 - f.bits - x * f.bits % 8));
      else
        for (int b = 0; b < f.bits / 8; b++)
          row[x * f.bits / 8 + b] = static_cast<std::uint8_t>(
              (f.bits == 24 ? c : pack(c, masks, 0x5A3C96E1u * (x + 7 * y + 1))) >> (8 * b));
    }
    v.insert(v.end(), row.begin(), row.end());
  }
  if (f.compression == 1 || f.compression == 2) v.push_back(0), v.push_back(1);
  put32(v, 2, static_cast<std::uint32_t>(v.size()));
  return v;
}

// A small test picture in 24 bits (test_color), or in 1 bit of two palette
// entries, entry 0 at the top-left so that it comes first in the table.
struct bmp_shape {
  int w = 2, h = 2;
  int bits = 24;
  std::uint8_t palette[2][3] = {{0, 0, 0}, {255, 255, 255}}; // blue, green, red
};

inline std::vector<std::uint8_t> make_bmp(const bmp_shape& s) {
  test_picture p{s.w, s.h, {}};
  for (int y = 0; y < s.h; y++)
    for (int x = 0; x < s.w; x++) {
      std::uint8_t c[3];
      test_color(x, y, c);
      const std::uint8_t* bgr = s.bits == 1 ? s.palette[(x * 3 + y) % 5 >= 3] : c;
      p.px.push_back(std::uint32_t{bgr[2]} << 16 | bgr[1] << 8 | bgr[0]);
    }
  return encode_bmp(p, {.bits = s.bits});
}
