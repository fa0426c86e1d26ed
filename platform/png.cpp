#include "platform/png.h"

#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {
struct file_closer {
  std::FILE* f;
  ~file_closer() {
    if (f) std::fclose(f);
  }
};
} // namespace

// libpng reports its own errors by longjmp; nothing with a destructor lives
// between setjmp and the calls that may jump.
static int write_rows(std::FILE* f, const surface& s, std::vector<png_bytep>& rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return 1;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return 1;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, s.w, s.h, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png); // the surfaces hold blue, green, red
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return 0;
}

int write_png(const char* path, const surface& s, std::string* why) {
  if (s.w <= 0 || s.h <= 0) {
    *why = "the picture is empty";
    return 1;
  }
  file_closer fc{std::fopen(path, "wb")};
  if (!fc.f) {
    *why = std::string("cannot create ") + path + ": " + std::strerror(errno);
    return 1;
  }
  std::vector<png_bytep> rows(s.h);
  for (int y = 0; y < s.h; y++)
    rows[y] = const_cast<png_bytep>(s.px.data() + static_cast<size_t>(y) * s.w * 3);
  if (write_rows(fc.f, s, rows) != 0 || std::fflush(fc.f) != 0) {
    *why = std::string("cannot write ") + path;
    return 1;
  }
  return 0;
}
