// The map-event reader on any bytes (dmapevt%03d.meb).
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  FUZZ_CHECK(fuzz_read(data, size, read_map_events) == READ_OK);
  // Only records the file holds are counted.
  std::size_t whole = size ? (size - 1) / sizeof(map_event) : 0;
  FUZZ_CHECK(game.map_event_count <= whole);
  return 0;
}
