#include "platform/png.h"

#include <gtest/gtest.h>
#include <png.h>

TEST(PngWrite, WritesRedGreenBlueFromTheBlueGreenRedSurface) {
  surface s;
  surface_create(s, 3, 2);
  fill_rect(s, 0, 0, 3, 2, 0x123456); // GDI colour: red 0x56, green 0x34, blue 0x12
  fill_rect(s, 2, 1, 1, 1, 0x0000FF);
  std::string why;
  ASSERT_EQ(write_png("shot.png", s, &why), 0) << why;

  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&img, "shot.png"));
  img.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(img));
  ASSERT_TRUE(png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr));
  ASSERT_EQ(img.width, 3u);
  ASSERT_EQ(img.height, 2u);
  EXPECT_EQ(rgb[0], 0x56);
  EXPECT_EQ(rgb[1], 0x34);
  EXPECT_EQ(rgb[2], 0x12);
  EXPECT_EQ(rgb[15], 0xFF); // pixel (2, 1) is pure red
  EXPECT_EQ(rgb[17], 0x00);
}

TEST(PngWrite, ReportsWhatItCannotWrite) {
  surface s;
  std::string why;
  EXPECT_NE(write_png("empty.png", s, &why), 0);
  EXPECT_FALSE(why.empty());
  surface_create(s, 1, 1);
  why.clear();
  EXPECT_NE(write_png("no/such/folder/x.png", s, &why), 0);
  EXPECT_NE(why.find("no/such/folder"), std::string::npos);
}
