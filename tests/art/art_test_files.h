// Reading the built art back for the checks.
#pragma once
#include "tests/common/test_files.h"
#include "tools/art/art_image.h"

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

inline std::string game_file(const std::string& name) {
  return std::string(ZK_GAME_DIR) + "/" + name;
}
inline std::string resource_file(const std::string& name) {
  return std::string(ZK_RESOURCE_DIR) + "/" + name;
}

inline unsigned le(const std::vector<std::uint8_t>& b, std::size_t at, int n) {
  unsigned v = 0;
  for (int i = n - 1; i >= 0; i--) v = v << 8 | b.at(at + i);
  return v;
}

struct bmp_info {
  bool ok = false;
  int w = 0, h = 0, bits = 0;
  image im; // 24-bit pictures only
};

// The BMP header as the game's loader reads it, and the pixels of a
// 24-bit bottom-up picture.
inline bmp_info read_bmp(const std::string& path) {
  bmp_info r;
  auto b = read_file(path);
  if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || le(b, 14, 4) != 40) return r;
  r.w = static_cast<int>(le(b, 18, 4)), r.h = static_cast<int>(le(b, 22, 4)),
  r.bits = static_cast<int>(le(b, 28, 2));
  unsigned off = le(b, 10, 4), row = ((r.w * r.bits + 31) / 32) * 4;
  if (le(b, 2, 4) != b.size() || off + row * r.h != b.size() || le(b, 30, 4) != 0) return r;
  r.ok = true;
  if (r.bits != 24) return r;
  r.im = make_image(r.w, r.h);
  for (int y = 0; y < r.h; y++)
    for (int x = 0; x < r.w; x++) {
      std::size_t p = off + (r.h - 1 - y) * row + x * 3;
      set_px(r.im, x, y, {b[p + 2], b[p + 1], b[p]});
    }
  return r;
}
