#include "platform/bmp.h"
#include "tests/platform/bmp_bytes.h"

#include <gtest/gtest.h>

namespace {

void expect_test_colors(surface& s, int w, int h) {
  ASSERT_EQ(s.w, w);
  ASSERT_EQ(s.h, h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) {
      std::uint8_t c[3];
      test_color(x, y, c);
      const std::uint8_t* p = surface_pixel(s, x, y);
      ASSERT_TRUE(p[0] == c[0] && p[1] == c[1] && p[2] == c[2]) << "pixel " << x << "," << y;
    }
}

int decode(const std::vector<std::uint8_t>& v, surface& out) {
  return bmp_decode(v.data(), v.size(), out);
}

} // namespace

TEST(BmpRead, TwentyFourBitRowsInEitherOrderWithPadding) {
  // width 5: 15 bytes a row padded to 16
  for (bool top_down : {false, true}) {
    bmp_shape s;
    s.w = 5, s.h = 3, s.top_down = top_down;
    surface out;
    ASSERT_EQ(decode(make_bmp(s), out), BMP_OK);
    expect_test_colors(out, 5, 3);
  }
}

TEST(BmpRead, OneBitTakesItsTwoColoursMostSignificantBitFirst) {
  bmp_shape s;
  s.w = 19, s.h = 4, s.bits = 1; // 3 bytes a row, padded to 4
  s.palette[0][0] = 10, s.palette[0][1] = 20, s.palette[0][2] = 30;
  s.palette[1][0] = 200, s.palette[1][1] = 100, s.palette[1][2] = 50;
  surface out;
  ASSERT_EQ(decode(make_bmp(s), out), BMP_OK);
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 19; x++) {
      const std::uint8_t* want = s.palette[test_bit(x, y)];
      const std::uint8_t* p = surface_pixel(out, x, y);
      ASSERT_TRUE(p[0] == want[0] && p[1] == want[1] && p[2] == want[2]) << x << "," << y;
    }
}

TEST(BmpRead, AOneBitIndexBeyondTheColourTableIsBlack) {
  bmp_shape s;
  s.w = 8, s.h = 1, s.bits = 1, s.colors_used = 1;
  s.palette[0][0] = 9, s.palette[0][1] = 9, s.palette[0][2] = 9;
  surface out;
  ASSERT_EQ(decode(make_bmp(s), out), BMP_OK);
  for (int x = 0; x < 8; x++) {
    const std::uint8_t* p = surface_pixel(out, x, 0);
    EXPECT_EQ(p[0], test_bit(x, 0) ? 0 : 9) << x;
  }
}

TEST(BmpRead, RefusesWhatItCannotReadAndLeavesTheSurface) {
  surface keep;
  surface_create(keep, 3, 3);
  auto refused = [&](std::vector<std::uint8_t> v) {
    int r = decode(v, keep);
    EXPECT_EQ(keep.w, 3) << "a refused picture must not replace the surface";
    return r;
  };
  bmp_shape s;
  s.bits = 8;
  EXPECT_EQ(refused(make_bmp(s)), BMP_BAD_DEPTH);
  s.bits = 32;
  EXPECT_EQ(refused(make_bmp(s)), BMP_BAD_DEPTH);
  s = bmp_shape{};
  s.compression = 1;
  EXPECT_EQ(refused(make_bmp(s)), BMP_BAD_HEADER);
  s = bmp_shape{};
  s.w = 0;
  EXPECT_EQ(refused(make_bmp(s)), BMP_BAD_SIZE);
  s = bmp_shape{};
  s.h = 0;
  EXPECT_EQ(refused(make_bmp(s)), BMP_BAD_SIZE);

  std::vector<std::uint8_t> v = make_bmp(bmp_shape{});
  put32(v, 18, 100000); // absurd width
  EXPECT_EQ(refused(v), BMP_BAD_SIZE);
  v = make_bmp(bmp_shape{});
  v[0] = 'X';
  EXPECT_EQ(refused(v), BMP_NOT_BMP);
  v = make_bmp(bmp_shape{});
  put32(v, 14, 12); // the old core header
  EXPECT_EQ(refused(v), BMP_BAD_HEADER);
}

TEST(BmpRead, NeverReadsPastTheEndOfTheFile) {
  std::vector<std::uint8_t> v = make_bmp(bmp_shape{});
  surface out;
  // one byte less of pixels, then a cut header, then nothing at all
  EXPECT_EQ(bmp_decode(v.data(), v.size() - 1, out), BMP_SHORT);
  EXPECT_EQ(bmp_decode(v.data(), 30, out), BMP_SHORT);
  EXPECT_EQ(bmp_decode(v.data(), 0, out), BMP_SHORT);
  // pixels said to start beyond the file
  put32(v, 10, 1u << 30);
  EXPECT_EQ(bmp_decode(v.data(), v.size(), out), BMP_SHORT);
  // a large picture with a tiny file: the size check must not overflow
  v = make_bmp(bmp_shape{});
  put32(v, 18, 8192);
  put32(v, 22, 8192);
  EXPECT_EQ(bmp_decode(v.data(), v.size(), out), BMP_SHORT);
  EXPECT_EQ(out.w, 0);
}
