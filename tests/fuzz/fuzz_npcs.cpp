// The people reader on any bytes (dmapnpc%03d.npc).
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  headless_reset();
  FUZZ_CHECK(fuzz_read(data, size, read_npcs) == READ_OK);
  return 0;
}
