// The event-message reader on any bytes (eventmsg.mgb): every line the game
// may show must end inside its 160 bytes.
#include "event/event.h"
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  reset_event_state();
  FUZZ_CHECK(fuzz_read(data, size, read_event_messages) == READ_OK);
  for (auto& line : event_msg) FUZZ_CHECK(std::memchr(line, 0, sizeof line) != nullptr);
  return 0;
}
