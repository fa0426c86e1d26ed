// The game palette: a fixed 3-3-2 palette, overlaid by the colour table of a
// paletted bitmap. The game's "PLC" is 24-bit, so the fixed one stays.
#include "gfx/surfaces.h"
#include "platform/file.h"
#include "resources/resources.h"

#include <cstdio>
#include <cstring>

namespace {

std::uint32_t le16(const std::uint8_t* p) {
  return p[0] | p[1] << 8;
}
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void fixed_palette() {
  for (int i = 0; i < 256; i++) {
    palette_entry& e = gfx.game_palette[i];
    e.red = static_cast<std::uint8_t>(((i >> 5) & 7) * 255 / 7);
    e.green = static_cast<std::uint8_t>(((i >> 2) & 7) * 255 / 7);
    e.blue = static_cast<std::uint8_t>((i & 3) * 255 / 3);
    e.flags = 0;
  }
}

// How many colour-table entries an info header announces.
std::uint32_t color_count(const std::uint8_t* info) {
  std::uint32_t bits = le16(info + 14), used = le32(info + 32);
  if (bits > 8) return 0;
  std::uint32_t n = used ? used : 1u << bits;
  return n > 256 ? 256 : n;
}

// Copies up to n blue-green-red-x entries, never more than the bytes hold.
void overlay(const std::uint8_t* table, std::size_t bytes, std::uint32_t n) {
  if (n > bytes / 4) n = static_cast<std::uint32_t>(bytes / 4);
  for (std::uint32_t i = 0; i < n; i++) {
    palette_entry& e = gfx.game_palette[i];
    e.blue = table[4 * i], e.green = table[4 * i + 1], e.red = table[4 * i + 2], e.flags = 0;
  }
}

void from_resource(const std::uint8_t* d, std::size_t size) {
  if (size < 14 + 40) return;
  std::uint32_t header = le32(d + 14);
  if (header < 40 || header > size - 14) return;
  overlay(d + 14 + header, size - 14 - header, color_count(d + 14));
}

void from_file(std::FILE* f) {
  std::uint8_t buf[14 + 40 + 1024] = {};
  std::size_t got = std::fread(buf, 1, sizeof buf, f);
  if (got < 14 + 40 || le32(buf + 14) != 40) return;
  overlay(buf + 54, got - 54, color_count(buf + 14));
}

} // namespace

int load_palette(const char* name) {
  fixed_palette();
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (find_resource("BITMAP", name, &data, &size)) {
    from_resource(data, size);
  } else if (std::FILE* f = open_read_file(name)) {
    from_file(f);
    std::fclose(f);
  }
  gfx.has_palette = true;
  return 0;
}
