// The backdrop reader on any bytes (dmapdmy.mp).
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  int r = fuzz_read(data, size, read_backdrops);
  FUZZ_CHECK(r == (size >= sizeof game.backdrop_grid ? READ_OK : READ_ERROR));
  return 0;
}
