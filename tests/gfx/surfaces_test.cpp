#include "gfx/surfaces.h"
#include "platform/headless/headless.h"
#include "resources/resources.h"
#include "tests/common/test_files.h"
#include "tests/platform/bmp_bytes.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <tuple>
#include <utility>

namespace {

colorref at(surface& s, int x, int y) {
  const std::uint8_t* p = surface_pixel(s, x, y);
  return p[2] | p[1] << 8 | static_cast<colorref>(p[0]) << 16;
}

std::tuple<int, int, int> rgb(int entry) {
  const palette_entry& e = gfx.game_palette[entry];
  return {e.red, e.green, e.blue};
}

bool logged(const std::string& part) {
  for (const std::string& l : headless.log)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

struct Surfaces : ::testing::Test {
  void SetUp() override {
    reset_surfaces_state();
    headless_reset();
  }
};

} // namespace

// Transparent runs at a row's start, middle and end, and rows wholly of either,
// copied from inside one picture to inside another: every pixel lands as a
// one-by-one copy would put it. Pixel a is near black (blue 1): drawn.
TEST_F(Surfaces, KeyedCopiesSkipEveryTransparentRunAndKeepTheRest) {
  surface src, dst, want;
  surface_create(src, 12, 4);
  const char* rows[4] = {"..ab..cd.ef.", "abcdefghijkl", "............", "a..........b"};
  for (int y = 0; y < 4; y++)
    for (int x = 0; x < 12; x++)
      if (rows[y][x] != '.') fill_rect(src, x, y, 1, 1, 0x101010u * (rows[y][x] - 'a') | 0x010000);
  ASSERT_EQ(set_color_key(src, 0), 0);
  surface_create(dst, 14, 6);
  fill_rect(dst, 0, 0, 14, 6, 0x00FF00);
  want = dst;
  ASSERT_EQ(copy_keyed(dst, 3, 1, src, 1, 0, 11, 4), 0);
  for (int y = 0; y < 4; y++)
    for (int x = 1; x < 12; x++)
      if (rows[y][x] != '.') fill_rect(want, x + 2, y + 1, 1, 1, at(src, x, y));
  for (int y = 0; y < 6; y++)
    for (int x = 0; x < 14; x++) EXPECT_EQ(at(dst, x, y), at(want, x, y)) << x << ", " << y;
  EXPECT_EQ(copy_keyed(dst, 4, 0, src, 0, 0, 11, 1), 1) << "past the right edge: nothing";
  EXPECT_EQ(at(dst, 4, 0), 0x00FF00u);
  EXPECT_EQ(at(dst, 4, 1), 0x010000u) << "near black";
  surface plain; // an unkeyed surface copies its black too
  surface_create(plain, 2, 1);
  copy_keyed(dst, 0, 0, plain, 0, 0, 2, 1);
  EXPECT_EQ(at(dst, 0, 0), 0u);
}

TEST_F(Surfaces, ColourKeyOfAnyColourAndColorMatchLeavesThePicture) {
  surface s, dst;
  surface_create(s, 1, 1); // a 1 x 1 picture has only three bytes to read
  fill_rect(s, 0, 0, 1, 1, 0x123456);
  EXPECT_EQ(color_match(s, 0xFF00FF), 0xFF00FFu);
  EXPECT_EQ(at(s, 0, 0), 0x123456u);
  EXPECT_EQ(color_match(s, 0x0000FF), 0xFF0000u); // GDI red is the pixel value's high byte
  ASSERT_EQ(set_color_key(s, 0x123456), 0);
  surface_create(dst, 1, 1);
  copy_keyed(dst, 0, 0, s, 0, 0, 1, 1);
  EXPECT_EQ(at(dst, 0, 0), 0u);
  surface none;
  EXPECT_EQ(color_match(none, 0), 0xFFFFFFFFu);
  EXPECT_NE(set_color_key(none, 0), 0);
}

TEST_F(Surfaces, Tile255IsTheLastSquareOfTheSheet) {
  EXPECT_EQ(std::pair(tile_sx(17), tile_sy(17)), std::pair(16, 16));
  surface sheet, dst;
  surface_create(sheet, 256, 256);
  surface_create(dst, 16, 16);
  fill_rect(sheet, 240, 240, 16, 16, 0x0000FF);
  ASSERT_EQ(copy_rect(dst, 0, 0, sheet, tile_sx(255), tile_sy(255), 16, 16), 0);
  EXPECT_EQ(at(dst, 0, 0), 0x0000FFu);
  EXPECT_EQ(at(dst, 15, 15), 0x0000FFu);
}

TEST_F(Surfaces, BitmapsFromFilesInTheWorkingDirectory) {
  bmp_shape shape;
  shape.w = 7, shape.h = 5;
  write_file("YADOYA.bmp", make_bmp(shape));
  ASSERT_EQ(load_bitmap(gfx.yadoya_surface, "YADOYA.bmp"), 0);
  EXPECT_EQ(std::pair(gfx.yadoya_surface.w, gfx.yadoya_surface.h), std::pair(7, 5));
  std::uint8_t c[3];
  test_color(6, 4, c);
  EXPECT_EQ(surface_pixel(gfx.yadoya_surface, 6, 4)[0], c[0]);

  // reload copies onto the existing surface, stretched to its size
  shape.w = 14, shape.h = 10;
  write_file("big.bmp", make_bmp(shape));
  ASSERT_EQ(reload_bitmap(gfx.yadoya_surface, "big.bmp"), 0);
  test_color(12, 8, c);
  EXPECT_EQ(surface_pixel(gfx.yadoya_surface, 6, 4)[0], c[0]);
}

TEST_F(Surfaces, MissingAndBrokenBitmapsFailAndSayWhy) {
  std::remove("ms_g017.bmp");
  EXPECT_NE(load_bitmap(gfx.monster_surface[17], "ms_g017.bmp"), 0);
  EXPECT_FALSE(surface_exists(gfx.monster_surface[17]));
  bmp_shape shape;
  shape.bits = 2;
  write_file("deep.bmp", make_bmp(shape));
  EXPECT_NE(load_bitmap(gfx.pmap_surface, "deep.bmp"), 0);
  EXPECT_TRUE(logged("deep.bmp: unsupported colour depth"));
  surface s;
  surface_create(s, 2, 2);
  EXPECT_EQ(reload_bitmap(s, "nothing.bmp"), E_FAIL);
  EXPECT_TRUE(logged("handle is null"));
  surface bitmap;
  EXPECT_EQ(copy_bitmap(s, bitmap, 0, 0, 0, 0), E_FAIL);
}

TEST_F(Surfaces, PaletteIsTheFixedOneUnlessABitmapHasAColourTable) {
  std::remove("none.bmp");
  ASSERT_EQ(load_palette("none.bmp"), 0);
  EXPECT_TRUE(gfx.has_palette);
  EXPECT_EQ(rgb(0xFF), std::tuple(255, 255, 255));
  EXPECT_EQ(rgb(0x25), std::tuple(36, 36, 85)) << "red 1, green 1, blue 1 of 7, 7 and 3";

  bmp_shape shape;
  shape.bits = 1;
  shape.palette[1][0] = 1, shape.palette[1][1] = 2,
  shape.palette[1][2] = 3; // stored blue, green, red
  write_file("two.bmp", make_bmp(shape));
  load_palette("two.bmp");
  EXPECT_EQ(rgb(1), std::tuple(3, 2, 1));
  EXPECT_EQ(rgb(2), std::tuple(0, 0, 170)) << "entry 2 stays the fixed one";

  // a colour table cut short overlays only what is there
  std::vector<std::uint8_t> v = make_bmp(shape);
  put32(v, 46, 256);
  v.resize(54 + 4 * 3);
  write_file("cut.bmp", v);
  load_palette("cut.bmp");
  EXPECT_EQ(gfx.game_palette[3].blue, 255); // the fixed entry 3
}

TEST_F(Surfaces, BuiltInResourcesComeBeforeFiles) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!find_resource("BITMAP", "PMAP", &data, &size))
    GTEST_SKIP() << "the game's pictures are not built into this program";
  EXPECT_FALSE(find_resource("BITMAP", "pmap", &data, &size));
  EXPECT_FALSE(find_resource("BITMAP", "YADOYA.bmp", &data, &size));
  EXPECT_FALSE(find_resource("WAV", "PMAP", &data, &size));
  bmp_shape shape; // a file of the same name is not looked at
  write_file("PMAP", make_bmp(shape));
  ASSERT_EQ(load_bitmap(gfx.pmap_surface, "PMAP"), 0);
  EXPECT_EQ(std::pair(gfx.pmap_surface.w, gfx.pmap_surface.h), std::pair(256, 256));
  ASSERT_EQ(load_bitmap(gfx.waku0_surface, "WAKU0"), 0); // the 1-bit one
  EXPECT_EQ(std::pair(gfx.waku0_surface.w, gfx.waku0_surface.h), std::pair(152, 72));
}
