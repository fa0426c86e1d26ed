// The BMP loader on any bytes: a picture it accepts has the size its header
// gives, within the limits.
#include "fuzz_common.h"
#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  surface s;
  int r = bmp_decode(data, size, s);
  FUZZ_CHECK(r >= BMP_OK && r <= BMP_BAD_SIZE);
  FUZZ_CHECK(std::strcmp(bmp_result_text(r), "unknown") != 0);
  if (r == BMP_OK) {
    FUZZ_CHECK(s.w > 0 && s.w <= BMP_MAX_SIDE && s.h > 0 && s.h <= BMP_MAX_SIDE);
    // touch the last pixel, which must be inside the surface
    std::uint8_t* p = surface_pixel(s, s.w - 1, s.h - 1);
    p[0] ^= p[2];
  }
  return 0;
}
