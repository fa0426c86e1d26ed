#include "platform/bmp.h"

#include <SDL.h>

#include <climits>
#include <memory>

namespace {

constexpr std::uint32_t FILE_HEADER = 14;
constexpr std::uint32_t CORE_HEADER = 12; // the oldest header: 16-bit sides, no compression
constexpr std::uint32_t INFO_HEADER = 40;

enum : std::uint32_t { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

std::uint32_t le16(const std::uint8_t* p) {
  return p[0] | p[1] << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

struct bmp_header {
  std::uint32_t pixel_offset, header_size;
  std::int32_t width, height; // height < 0: rows stored top-down
  std::uint32_t planes, bits, compression;
};

bool known_info_header(std::uint32_t size) {
  // the 40-byte header and its longer successors, which only add fields
  return size == INFO_HEADER || size == 52 || size == 56 || size == 108 || size == 124;
}

bool depth_known(std::uint32_t bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Each compression goes with its own depths only.
bool compression_fits(std::uint32_t compression, std::uint32_t bits) {
  switch (compression) {
  case BI_RGB:
    return true;
  case BI_RLE8:
    return bits == 8;
  case BI_RLE4:
    return bits == 4;
  case BI_BITFIELDS:
    return bits == 16 || bits == 32;
  }
  return false;
}

int read_header(const std::uint8_t* d, std::size_t size, bmp_header& h) {
  if (size >= 2 && (d[0] != 'B' || d[1] != 'M')) return BMP_NOT_BMP;
  if (size < FILE_HEADER + CORE_HEADER) return BMP_SHORT;
  h.pixel_offset = le32(d + 10);
  h.header_size = le32(d + 14);
  if (h.header_size == CORE_HEADER) {
    h.width = static_cast<std::int32_t>(le16(d + 18));
    h.height = static_cast<std::int32_t>(le16(d + 20));
    h.planes = le16(d + 22), h.bits = le16(d + 24), h.compression = BI_RGB;
  } else if (known_info_header(h.header_size)) {
    if (size < FILE_HEADER + INFO_HEADER) return BMP_SHORT;
    h.width = static_cast<std::int32_t>(le32(d + 18));
    h.height = static_cast<std::int32_t>(le32(d + 22));
    h.planes = le16(d + 26), h.bits = le16(d + 28), h.compression = le32(d + 30);
  } else {
    return BMP_BAD_HEADER;
  }
  if (h.planes != 1) return BMP_BAD_HEADER;
  if (!depth_known(h.bits)) return BMP_BAD_DEPTH;
  if (!compression_fits(h.compression, h.bits)) return BMP_BAD_HEADER;
  if (h.width <= 0 || h.width > BMP_MAX_SIDE || h.height == 0 || h.height < -BMP_MAX_SIDE ||
      h.height > BMP_MAX_SIDE)
    return BMP_BAD_SIZE;
  return BMP_OK;
}

// The pixels must start after the headers and, uncompressed, fit in the file;
// run-length data can only be checked while it is read.
int check_extent(const bmp_header& h, std::size_t size) {
  int rows = h.height < 0 ? -h.height : h.height;
  std::uint64_t stride = (static_cast<std::uint64_t>(h.width) * h.bits + 31) / 32 * 4;
  bool compressed = h.compression == BI_RLE8 || h.compression == BI_RLE4;
  std::uint64_t pixel_bytes = compressed ? 2 : stride * rows; // at least one escape pair
  if (h.pixel_offset < FILE_HEADER + h.header_size || h.pixel_offset + pixel_bytes > size)
    return BMP_SHORT;
  return BMP_OK;
}

using sdl_surface = std::unique_ptr<SDL_Surface, decltype(&SDL_FreeSurface)>;

} // namespace

int bmp_decode(const std::uint8_t* d, std::size_t size, surface& out) {
  bmp_header h{};
  int r = read_header(d, size, h);
  if (r == BMP_OK) r = check_extent(h, size);
  if (r != BMP_OK) return r;
  if (size > INT_MAX) return BMP_BAD_SIZE; // no picture within the side limit needs so much
  // SDL's reader knows every depth, colour table, compression and mask;
  // it needs no window, so the headless game reads pictures the same way.
  SDL_RWops* bytes = SDL_RWFromConstMem(d, static_cast<int>(size));
  if (!bytes) return BMP_BAD_DATA;
  sdl_surface loaded(SDL_LoadBMP_RW(bytes, 1), SDL_FreeSurface);
  int rows = h.height < 0 ? -h.height : h.height;
  if (!loaded || loaded->w != h.width || loaded->h != rows) return BMP_BAD_DATA;
  surface s;
  surface_create(s, h.width, rows);
  // Converted straight into our pixels; no blending, so an alpha byte is dropped
  // as the game's copies ignore it.
  sdl_surface target(
      SDL_CreateRGBSurfaceWithFormatFrom(s.px.data(), s.w, s.h, 24, 3 * s.w, SDL_PIXELFORMAT_BGR24),
      SDL_FreeSurface);
  if (!target || SDL_SetSurfaceBlendMode(loaded.get(), SDL_BLENDMODE_NONE) != 0 ||
      SDL_BlitSurface(loaded.get(), nullptr, target.get(), nullptr) != 0)
    return BMP_BAD_DATA;
  target.reset();
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
    return "unsupported colour depth (1, 4, 8, 16, 24 or 32 bits)";
  case BMP_BAD_SIZE:
    return "absurd picture size";
  case BMP_BAD_DATA:
    return "damaged colour table or pixels";
  }
  return "unknown";
}
