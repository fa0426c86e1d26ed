// The new-game reader on any bytes (rpg.ini).
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  // a record that is not whole is refused and leaves both copies as they were
  int result = fuzz_read(data, size, read_new_game);
  FUZZ_CHECK(result == (size >= sizeof(save_block) ? READ_OK : READ_ERROR));
  FUZZ_CHECK(std::memcmp(&game.sb, &game.new_game_block, sizeof game.sb) == 0);
  return 0;
}
