// The BMP loader on any bytes, every depth and compression through SDL's
// reader: a picture it accepts has the size its header gives, within the
// limits, and every pixel of it can be touched.
#include "fuzz_common.h"
#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  surface s;
  int r = bmp_decode(data, size, s);
  FUZZ_CHECK(r >= BMP_OK && r <= BMP_BAD_DATA);
  FUZZ_CHECK(std::strcmp(bmp_result_text(r), "unknown") != 0);
  if (r == BMP_OK) {
    FUZZ_CHECK(s.w > 0 && s.w <= BMP_MAX_SIDE && s.h > 0 && s.h <= BMP_MAX_SIDE);
    FUZZ_CHECK(s.px.size() == 3u * s.w * s.h);
    // touch the last pixel, which must be inside the surface
    std::uint8_t* p = surface_pixel(s, s.w - 1, s.h - 1);
    p[0] ^= p[2];
  } else {
    FUZZ_CHECK(s.w == 0); // a refused picture leaves the surface alone
  }
  return 0;
}
