// The tile-class reader on any bytes (rpgmappat.atr).
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  int r = fuzz_read(data, size, read_tile_classes);
  FUZZ_CHECK(r == (size >= 256 ? READ_OK : READ_ERROR));
  return 0;
}
