#include "tools/art/art_image.h"

#include <algorithm>
#include <cstdio>
#include <zlib.h>

image make_image(int w, int h, rgb fill) {
  image im;
  im.w = w, im.h = h;
  im.px.assign(static_cast<std::size_t>(w) * h, fill);
  return im;
}

rgb get_px(const image& im, int x, int y) {
  if (x < 0 || y < 0 || x >= im.w || y >= im.h) return CLEAR;
  return im.px[static_cast<std::size_t>(y) * im.w + x];
}

void set_px(image& im, int x, int y, rgb c) {
  if (x < 0 || y < 0 || x >= im.w || y >= im.h) return;
  im.px[static_cast<std::size_t>(y) * im.w + x] = c;
}

void blit(image& dst, const image& src, int dx, int dy, bool keyed) {
  for (int y = 0; y < src.h; y++)
    for (int x = 0; x < src.w; x++) {
      rgb c = get_px(src, x, y);
      if (!keyed || !(c == CLEAR)) set_px(dst, dx + x, dy + y, c);
    }
}

void blit_part(image& dst, int dx, int dy, const image& src, int sx, int sy, int w, int h) {
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++) set_px(dst, dx + x, dy + y, get_px(src, sx + x, sy + y));
}

static std::uint8_t clamp8(int v) {
  return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}

rgb shade(rgb c, int amount) {
  rgb o;
  if (amount >= 0) {
    // lighten toward a warm white, as light from the top-left would
    o = {clamp8(c.r + (255 - c.r) * amount / 100 + amount / 8),
         clamp8(c.g + (250 - c.g) * amount / 100 + amount / 10),
         clamp8(c.b + (235 - c.b) * amount / 100)};
  } else {
    // shadows drift toward blue-violet, not toward grey
    int k = 100 + amount;
    o = {clamp8(c.r * k / 100 - 2), clamp8(c.g * k / 100 - 1), clamp8(c.b * k / 100 + 6)};
  }
  if (o == CLEAR) o = INK;
  return o;
}

rgb mix(rgb a, rgb b, int p) {
  rgb o{clamp8((a.r * (100 - p) + b.r * p) / 100), clamp8((a.g * (100 - p) + b.g * p) / 100),
        clamp8((a.b * (100 - p) + b.b * p) / 100)};
  return o;
}

void fill_pinholes(image& im) {
  image src = im;
  for (int y = 1; y < im.h - 1; y++)
    for (int x = 1; x < im.w - 1; x++)
      if (get_px(src, x, y) == CLEAR && !(get_px(src, x - 1, y) == CLEAR) &&
          !(get_px(src, x + 1, y) == CLEAR) && !(get_px(src, x, y - 1) == CLEAR) &&
          !(get_px(src, x, y + 1) == CLEAR))
        set_px(im, x, y, INK);
}

static void put16(std::vector<std::uint8_t>& v, unsigned x) {
  v.push_back(x & 0xFF), v.push_back((x >> 8) & 0xFF);
}
static void put32(std::vector<std::uint8_t>& v, unsigned x) {
  put16(v, x & 0xFFFF), put16(v, x >> 16);
}

static std::vector<std::uint8_t> bmp_header(int w, int h, int bits, unsigned row,
                                            unsigned colours) {
  std::vector<std::uint8_t> v;
  unsigned offset = 14 + 40 + colours * 4;
  v.push_back('B'), v.push_back('M');
  put32(v, offset + row * h), put32(v, 0), put32(v, offset);
  put32(v, 40), put32(v, w), put32(v, h), put16(v, 1), put16(v, bits);
  put32(v, 0), put32(v, row * h), put32(v, 2835), put32(v, 2835), put32(v, colours), put32(v, 0);
  return v;
}

static std::string save(const std::vector<std::uint8_t>& v, const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return path + ": cannot be written";
  bool ok = std::fwrite(v.data(), 1, v.size(), f) == v.size();
  ok = std::fclose(f) == 0 && ok;
  return ok ? "" : path + ": write failed";
}

std::string write_bmp24(const image& im, const std::string& path) {
  unsigned row = (im.w * 3 + 3) & ~3u;
  auto v = bmp_header(im.w, im.h, 24, row, 0);
  for (int y = im.h - 1; y >= 0; y--) {
    for (int x = 0; x < im.w; x++) {
      rgb c = get_px(im, x, y);
      v.push_back(c.b), v.push_back(c.g), v.push_back(c.r);
    }
    for (unsigned i = im.w * 3; i < row; i++) v.push_back(0);
  }
  return save(v, path);
}

std::string write_bmp1(const image& im, const std::string& path, rgb off, rgb on) {
  unsigned row = ((im.w + 31) / 32) * 4;
  auto v = bmp_header(im.w, im.h, 1, row, 2);
  for (rgb c : {off, on}) v.push_back(c.b), v.push_back(c.g), v.push_back(c.r), v.push_back(0);
  for (int y = im.h - 1; y >= 0; y--) {
    std::vector<std::uint8_t> bits(row, 0);
    for (int x = 0; x < im.w; x++) {
      rgb c = get_px(im, x, y);
      if (c.r + c.g + c.b > 384) bits[x / 8] |= 0x80 >> (x % 8);
    }
    v.insert(v.end(), bits.begin(), bits.end());
  }
  return save(v, path);
}

static void chunk(std::vector<std::uint8_t>& out, const char* type,
                  const std::vector<std::uint8_t>& d) {
  auto be32 = [&](unsigned x) {
    for (int s = 24; s >= 0; s -= 8) out.push_back((x >> s) & 0xFF);
  };
  be32(static_cast<unsigned>(d.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), d.begin(), d.end());
  out.insert(out.end(), body.begin(), body.end());
  be32(static_cast<unsigned>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

std::string write_png(const image& im, const std::string& path) {
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < im.h; y++) {
    raw.push_back(0);
    for (int x = 0; x < im.w; x++) {
      rgb c = get_px(im, x, y);
      raw.push_back(c.r), raw.push_back(c.g), raw.push_back(c.b);
    }
  }
  uLongf n = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> z(n);
  compress2(z.data(), &n, raw.data(), static_cast<uLong>(raw.size()), 6);
  z.resize(n);
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
  std::vector<std::uint8_t> ihdr;
  for (unsigned x : {static_cast<unsigned>(im.w), static_cast<unsigned>(im.h)})
    for (int s = 24; s >= 0; s -= 8) ihdr.push_back((x >> s) & 0xFF);
  ihdr.insert(ihdr.end(), {8, 2, 0, 0, 0});
  chunk(out, "IHDR", ihdr), chunk(out, "IDAT", z), chunk(out, "IEND", {});
  return save(out, path);
}
