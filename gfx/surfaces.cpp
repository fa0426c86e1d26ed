#include "gfx/surfaces.h"

#include "platform/bmp.h"
#include "platform/file.h"
#include "platform/platform.h"
#include "resources/resources.h"

#include <cstdio>
#include <string>
#include <vector>

surfaces_data gfx;

void reset_surfaces_state() {
  gfx = surfaces_data{};
}

namespace {

// The bytes of a named bitmap: the program's own resource, else the file.
bool read_bitmap_bytes(const char* name, std::vector<std::uint8_t>& out) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (find_resource("BITMAP", name, &data, &size)) {
    out.assign(data, data + size);
    return true;
  }
  std::FILE* f = open_read_file(name);
  if (!f) return false;
  out.clear();
  std::uint8_t buf[65536];
  for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) {
    out.insert(out.end(), buf, buf + n);
    if (out.size() > 64u << 20) break; // no picture of the game comes near this
  }
  std::fclose(f);
  return true;
}

// A decoded bitmap, or false with the reason on the debug output.
bool decode_bitmap(const char* name, surface& bitmap) {
  std::vector<std::uint8_t> bytes;
  if (!read_bitmap_bytes(name, bytes)) return false;
  int r = bmp_decode(bytes.data(), bytes.size(), bitmap);
  if (r != BMP_OK) {
    plat_debug_out((std::string(name) + ": " + bmp_result_text(r) + "\n").c_str());
    return false;
  }
  return true;
}

} // namespace

int load_bitmap(surface& dst, const char* name, int width, int height) {
  surface bitmap;
  if (!decode_bitmap(name, bitmap)) {
    dst = surface{};
    return 1;
  }
  surface s;
  surface_create(s, width ? width : bitmap.w, height ? height : bitmap.h);
  copy_bitmap(s, bitmap, 0, 0, 0, 0);
  dst = std::move(s);
  return 0;
}

int reload_bitmap(surface& dst, const char* name) {
  surface bitmap;
  if (!decode_bitmap(name, bitmap)) {
    plat_debug_out("handle is null\n");
    return E_FAIL;
  }
  int r = copy_bitmap(dst, bitmap, 0, 0, 0, 0);
  if (r != 0) plat_debug_out("ddcopybitmap failed\n");
  return r;
}

// Nearest-neighbour stretch of the part (x, y, w, h) onto the whole surface,
// as a StretchBlt with SRCCOPY would for the sizes the game uses (equal ones).
int copy_bitmap(surface& dst, const surface& bitmap, int x, int y, int width, int height) {
  if (!surface_exists(dst) || !surface_exists(bitmap)) return E_FAIL;
  int w = width ? width : bitmap.w, h = height ? height : bitmap.h;
  for (int j = 0; j < dst.h; j++) {
    int sy = y + j * h / dst.h;
    for (int i = 0; i < dst.w; i++) {
      int sx = x + i * w / dst.w;
      std::uint8_t* d = surface_pixel(dst, i, j);
      if (sx < 0 || sy < 0 || sx >= bitmap.w || sy >= bitmap.h) continue; // outside the bitmap
      const std::uint8_t* s = bitmap.px.data() + (static_cast<size_t>(sy) * bitmap.w + sx) * 3;
      d[0] = s[0], d[1] = s[1], d[2] = s[2];
    }
  }
  return 0;
}

std::uint32_t color_match(surface& s, colorref rgb) {
  if (!surface_exists(s)) return 0xFFFFFFFF;
  std::uint8_t* p = surface_pixel(s, 0, 0);
  std::uint8_t kept[3] = {p[0], p[1], p[2]};
  if (rgb != 0xFFFFFFFF) p[0] = (rgb >> 16) & 255, p[1] = (rgb >> 8) & 255, p[2] = rgb & 255;
  // the pixel value is the surface's own three bytes; nothing beyond them is read
  std::uint32_t value = p[0] | p[1] << 8 | p[2] << 16;
  p[0] = kept[0], p[1] = kept[1], p[2] = kept[2];
  return value;
}

int set_color_key(surface& s, colorref rgb) {
  std::uint32_t v = color_match(s, rgb);
  if (v == 0xFFFFFFFF) return E_FAIL;
  s.keyed = true;
  s.key = v;
  return 0;
}

void present() {
  plat_present(gfx.back_surface);
}

void release_surfaces() {
  gfx = surfaces_data{};
}
