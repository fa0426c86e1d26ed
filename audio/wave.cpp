// The WAV format as the sound-effect bank reads it: a RIFF/WAVE image whose
// chunks may come in any order, each padded to an even size.
#include "audio/sound.h"
#include "resources/resources.h"

#include <cstring>

static std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
static std::uint16_t le16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

static void read_format(const std::uint8_t* c, std::uint32_t size, wave_format* f) {
  f->format_tag = le16(c);
  f->channels = le16(c + 2);
  f->samples_per_sec = le32(c + 4);
  f->avg_bytes_per_sec = le32(c + 8);
  f->block_align = le16(c + 12);
  f->bits_per_sample = size >= 16 ? le16(c + 14) : 0;
}

int parse_wave(const std::uint8_t* bytes, std::size_t size, wave_info* out) {
  if (!bytes || size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 ||
      std::memcmp(bytes + 8, "WAVE", 4) != 0)
    return 0;
  // The RIFF size counts the bytes after offset 8; never walk past the image.
  std::uint64_t end = 8 + std::uint64_t(le32(bytes + 4));
  if (end > size) end = size;
  bool have_fmt = false, have_data = false;
  wave_info w;
  std::uint64_t pos = 12;
  while (pos + 8 <= end) {
    const std::uint8_t* c = bytes + pos;
    std::uint32_t csize = le32(c + 4);
    if (pos + 8 + csize > end) return 0; // a chunk that runs past the end
    if (!have_fmt && std::memcmp(c, "fmt ", 4) == 0) {
      if (csize < 14) return 0;
      read_format(c + 8, csize, &w.format);
      have_fmt = true;
    } else if (!have_data && std::memcmp(c, "data", 4) == 0) {
      w.data = c + 8;
      w.size = csize;
      have_data = true;
    }
    if (have_fmt && have_data) {
      *out = w;
      return 1;
    }
    pos += 8 + std::uint64_t(csize) + (csize & 1);
  }
  return 0;
}

int find_wave(const char* name, wave_info* out) {
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!name || !find_resource("WAV", name, &data, &size)) return 0;
  return parse_wave(data, size, out);
}
