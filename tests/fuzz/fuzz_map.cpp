// The map reader on any bytes: the first byte picks the map (the world map
// with its flag-83 patch, or another), the rest is dmapdat%03d.mp.
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  if (size == 0) return 0;
  game.cur_map = data[0] & 1 ? WORLD_MAP : 12;
  game.sb.flags[83] = data[0] >> 1 & 1;
  state_data before = game;
  int r = fuzz_read(data + 1, size - 1, read_map);
  FUZZ_CHECK(r == READ_OK || r == READ_ERROR);
  // A refused file leaves the map as it was.
  if (r != READ_OK)
    FUZZ_CHECK(std::memcmp(&before, &game, sizeof game) == 0);
  else
    FUZZ_CHECK(game.map_max_x >= 0 && game.map_max_x <= 255 && game.map_max_y >= 0 &&
               game.map_max_y <= 255);
  return 0;
}
