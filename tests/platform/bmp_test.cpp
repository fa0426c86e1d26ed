#include "platform/bmp.h"
#include "tests/platform/bmp_bytes.h"

#include <gtest/gtest.h>

namespace {

int decode(const std::vector<std::uint8_t>& v, surface& out) {
  return bmp_decode(v.data(), v.size(), out);
}

// 13 x 6 pixels (every depth pads its rows) of n colours, black the first:
// runs on the left, a new colour at every pixel on the right. Corner colours
// (each channel 0 or 255) survive the few bits a channel has in 16 bits.
test_picture picture(int n, bool corners) {
  test_picture p;
  p.w = 13, p.h = 6;
  for (int y = 0; y < p.h; y++)
    for (int x = 0; x < p.w; x++) {
      std::uint32_t k = (x < 7 ? x / 3 + y : x * 5 + y * 3) % n;
      std::uint32_t c = corners ? (k & 1 ? 0xFF0000 : 0) | (k & 2 ? 0xFF00 : 0) | (k & 4 ? 0xFF : 0)
                                : ((k * 53 + 17) & 0xFF) << 16 | ((k * 97 + 5) & 0xFF) << 8 |
                                      ((k * 29 + 101) & 0xFF);
      p.px.push_back(k == 0 ? 0 : c);
    }
  return p;
}

} // namespace

TEST(BmpRead, EveryFormAPaintProgramWritesShowsThePicture) {
  constexpr std::uint32_t rgb565[4] = {0xF800, 0x7E0, 0x1F, 0};
  struct row {
    const char* name;
    bmp_form form;
    int colors;
    bool corners;
  };
  const row rows[] = {
      {"24 bits", {}, 40, false},
      {"1 bit", {.bits = 1}, 2, false},
      {"1 bit top-down", {.bits = 1, .top_down = true}, 2, false},
      {"4 bits", {.bits = 4}, 16, false},
      {"RLE4", {.bits = 4, .compression = 2}, 16, false},
      {"8 bits", {.bits = 8}, 40, false},
      {"8 bits top-down", {.bits = 8, .top_down = true}, 40, false},
      {"RLE8", {.bits = 8, .compression = 1}, 40, false},
      {"8 bits, the oldest header", {.bits = 8, .header_size = 12}, 40, false},
      {"16 bits 5-5-5", {.bits = 16}, 8, true},
      {"16 bits 5-6-5 masks",
       {.bits = 16, .compression = 3, .masks = {rgb565[0], rgb565[1], rgb565[2], 0}},
       8,
       true},
      {"16 bits 4-4-4-4 masks in the header",
       {.bits = 16, .compression = 3, .header_size = 56, .masks = {0xF00, 0xF0, 0xF, 0xF000}},
       8,
       true},
      {"24 bits top-down", {.top_down = true}, 40, false},
      {"32 bits, the fourth byte unused", {.bits = 32}, 40, false},
      {"32 bits, masks with alpha",
       {.bits = 32,
        .compression = 3,
        .header_size = 124,
        .masks = {0xFF00, 0xFF0000, 0xFF000000, 0xFF}},
       40,
       false},
  };
  for (const row& r : rows) {
    SCOPED_TRACE(r.name);
    test_picture p = picture(r.colors, r.corners);
    surface got;
    ASSERT_EQ(decode(encode_bmp(p, r.form), got), BMP_OK);
    ASSERT_EQ(got.w, p.w);
    ASSERT_EQ(got.h, p.h);
    std::vector<std::uint32_t> shown; // black (the colour key) included
    for (std::size_t i = 0; i + 2 < got.px.size(); i += 3)
      shown.push_back(got.px[i] | got.px[i + 1] << 8 | got.px[i + 2] << 16);
    EXPECT_EQ(shown, p.px);
  }
}

TEST(BmpRead, DamagedPicturesAreRefusedWithoutReadingPastTheirEnd) {
  test_picture p = picture(16, false);
  const std::vector<std::uint8_t> plain = encode_bmp(p, bmp_form{}),
                                  rle = encode_bmp(p, {.bits = 8, .compression = 1}),
                                  indexed = encode_bmp(p, {.bits = 4});
  auto with = [](std::vector<std::uint8_t> v, std::size_t at, std::uint32_t x) {
    put32(v, at, x);
    return v;
  };
  auto cut = [](std::vector<std::uint8_t> v, std::size_t n) {
    v.resize(n);
    return v;
  };
  auto depth = [&](std::uint32_t bits) { return with(plain, 28, bits); }; // compression 0 after
  struct row {
    const char* name;
    std::vector<std::uint8_t> bytes;
    int want;
  };
  const row rows[] = {
      {"nothing at all", {}, BMP_SHORT},
      {"cut in the header", cut(plain, 30), BMP_SHORT},
      {"the last pixel byte missing", cut(plain, plain.size() - 1), BMP_SHORT},
      {"pixels said to start beyond the end", with(plain, 10, 1u << 30), BMP_SHORT},
      {"pixels said to start inside the header", with(plain, 10, 20), BMP_SHORT},
      {"a large picture in a tiny file", with(with(plain, 18, 8192), 22, 8192), BMP_SHORT},
      {"run-length data cut short", cut(rle, rle.size() - 6), BMP_BAD_DATA},
      {"pixels of colours the table lacks", with(indexed, 46, 3), BMP_BAD_DATA},
      {"no BM signature", with(plain, 0, 0x4D58), BMP_NOT_BMP},
      {"an unknown header", with(plain, 14, 64), BMP_BAD_HEADER},
      {"JPEG inside", with(plain, 30, 4), BMP_BAD_HEADER},
      {"RLE8 on 4 bits", with(indexed, 30, 1), BMP_BAD_HEADER},
      {"two planes", with(plain, 26, 24u << 16 | 2), BMP_BAD_HEADER},
      {"2 bits a pixel", depth(2), BMP_BAD_DEPTH},
      {"zero width", with(plain, 18, 0), BMP_BAD_SIZE},
      {"absurd width", with(plain, 18, 100000), BMP_BAD_SIZE},
      {"absurd top-down height", with(plain, 22, static_cast<std::uint32_t>(-100000)),
       BMP_BAD_SIZE},
  };
  for (const row& r : rows) {
    surface keep;
    surface_create(keep, 3, 3);
    EXPECT_EQ(decode(r.bytes, keep), r.want) << r.name;
    EXPECT_EQ(keep.w, 3) << r.name << ": a refused picture must not replace the surface";
  }
}
