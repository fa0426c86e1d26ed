// The event-table reader on any bytes (eventdat.evt).
#include "event/event.h"
#include "fuzz_common.h"
#include "state/data_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  reset_event_state();
  int r = fuzz_read(data, size, read_event_table);
  FUZZ_CHECK(r == (size >= sizeof events.table ? READ_OK : FORMAT_ERROR));
  FUZZ_CHECK(events.event_no == 0);
  return 0;
}
