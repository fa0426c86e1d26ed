#include "platform/bmp.h"

namespace {

std::uint32_t le16(const std::uint8_t* p) {
  return p[0] | p[1] << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct bmp_header {
  std::uint32_t pixel_offset, header_size;
  std::int32_t width, height;
  std::uint32_t bits, compression, colors_used;
};

int read_header(const std::uint8_t* d, std::size_t size, bmp_header& h) {
  if (size < 14 + 40) return size >= 2 && (d[0] != 'B' || d[1] != 'M') ? BMP_NOT_BMP : BMP_SHORT;
  if (d[0] != 'B' || d[1] != 'M') return BMP_NOT_BMP;
  h.pixel_offset = le32(d + 10);
  h.header_size = le32(d + 14);
  // the 40-byte header and its longer successors, which only add fields
  if (h.header_size != 40 && h.header_size != 52 && h.header_size != 56 && h.header_size != 108 &&
      h.header_size != 124)
    return BMP_BAD_HEADER;
  h.width = static_cast<std::int32_t>(le32(d + 18));
  h.height = static_cast<std::int32_t>(le32(d + 22));
  h.bits = le16(d + 28);
  h.compression = le32(d + 30);
  h.colors_used = le32(d + 46);
  if (le16(d + 26) != 1 || h.compression != 0) return BMP_BAD_HEADER;
  if (h.bits != 24 && h.bits != 1) return BMP_BAD_DEPTH;
  if (h.width <= 0 || h.width > BMP_MAX_SIDE || h.height == 0 || h.height < -BMP_MAX_SIDE ||
      h.height > BMP_MAX_SIDE)
    return BMP_BAD_SIZE;
  return BMP_OK;
}

// The two colours of a 1-bit picture; an index the table does not hold is black.
int read_colors(const std::uint8_t* d, std::size_t size, const bmp_header& h,
                std::uint8_t colors[2][3]) {
  std::uint32_t count = h.colors_used ? h.colors_used : 2;
  if (count > 2) count = 2;
  std::uint64_t table = 14ull + h.header_size;
  if (table + 4ull * count > size) return BMP_SHORT;
  for (std::uint32_t i = 0; i < 2; i++)
    for (int c = 0; c < 3; c++) colors[i][c] = i < count ? d[table + 4 * i + c] : 0;
  return BMP_OK;
}

} // namespace

int bmp_decode(const std::uint8_t* d, std::size_t size, surface& out) {
  bmp_header h{};
  int r = read_header(d, size, h);
  if (r != BMP_OK) return r;
  std::uint8_t colors[2][3] = {};
  if (h.bits == 1 && (r = read_colors(d, size, h, colors)) != BMP_OK) return r;
  int w = h.width, rows = h.height < 0 ? -h.height : h.height;
  std::uint64_t stride = (static_cast<std::uint64_t>(w) * h.bits + 31) / 32 * 4;
  if (h.pixel_offset < 14ull + h.header_size || h.pixel_offset + stride * rows > size)
    return BMP_SHORT;
  surface s;
  surface_create(s, w, rows);
  for (int y = 0; y < rows; y++) {
    const std::uint8_t* src = d + h.pixel_offset + stride * (h.height < 0 ? y : rows - 1 - y);
    std::uint8_t* dst = surface_pixel(s, 0, y);
    for (int x = 0; x < w; x++, dst += 3) {
      const std::uint8_t* c =
          h.bits == 24 ? src + 3 * x : colors[(src[x >> 3] >> (7 - (x & 7))) & 1];
      dst[0] = c[0], dst[1] = c[1], dst[2] = c[2];
    }
  }
  out = std::move(s);
  return BMP_OK;
}

const char* bmp_result_text(int r) {
  switch (r) {
  case BMP_OK:
    return "ok";
  case BMP_SHORT:
    return "the file is shorter than its picture";
  case BMP_NOT_BMP:
    return "not a BMP file";
  case BMP_BAD_HEADER:
    return "unsupported BMP header or compression";
  case BMP_BAD_DEPTH:
    return "unsupported colour depth (only 1 and 24 bits)";
  case BMP_BAD_SIZE:
    return "absurd picture size";
  }
  return "unknown";
}
