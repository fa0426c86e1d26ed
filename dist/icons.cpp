// zandrek-icons OUT_DIR: the game's 16 x 16 icon as the desktop's icon theme
// wants it, OUT_DIR/SIZExSIZE/apps/zandrek.png for every size the install
// ships, each a whole-number enlargement of the same picture so that no size
// blurs it.
#include "resources/menu.h"

#include <png.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int SIZES[] = {16, 32, 48, 64, 128, 256};

void icon_pixel(int x, int y, png_byte* rgba) {
  rgba[0] = rgba[1] = rgba[2] = rgba[3] = 0;
  for (int i = 0; i < icon_color_count; i++)
    if (icon_colors[i].code == game_icon[y][x]) {
      rgba[0] = icon_colors[i].r, rgba[1] = icon_colors[i].g, rgba[2] = icon_colors[i].b;
      rgba[3] = 255;
    }
}

// libpng reports errors by longjmp: nothing with a destructor lives here.
bool write_rows(FILE* f, int size, png_bytepp rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, size, size, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool write_icon(const std::string& out, int size) {
  std::string dir = out + "/" + std::to_string(size) + "x" + std::to_string(size);
  mkdir(out.c_str(), 0755);
  mkdir(dir.c_str(), 0755);
  mkdir((dir + "/apps").c_str(), 0755);
  std::string path = dir + "/apps/zandrek.png";
  int scale = size / ICON_SIZE;
  std::vector<png_byte> px(static_cast<std::size_t>(size) * size * 4);
  std::vector<png_bytep> rows(size);
  for (int y = 0; y < size; y++) {
    rows[y] = px.data() + static_cast<std::size_t>(y) * size * 4;
    for (int x = 0; x < size; x++) icon_pixel(x / scale, y / scale, rows[y] + 4 * x);
  }
  FILE* f = std::fopen(path.c_str(), "wb");
  bool ok = f && write_rows(f, size, rows.data());
  if (f && std::fclose(f) != 0) ok = false;
  if (!ok) std::fprintf(stderr, "zandrek-icons: cannot write %s\n", path.c_str());
  return ok;
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zandrek-icons OUT_DIR\n");
    return 2;
  }
  for (int size : SIZES)
    if (!write_icon(argv[1], size)) return 1;
  return 0;
}
