// The new-game reader on any bytes (rpg.ini).
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  FUZZ_CHECK(fuzz_read(data, size, read_new_game) == READ_OK);
  FUZZ_CHECK(std::memcmp(&st.sb, &st.new_game_block, sizeof st.sb) == 0);
  return 0;
}
