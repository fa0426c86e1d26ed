// zandrek-scic on any event.sci bytes: it compiles or reports, and every
// event it writes fits its record.
#include "event/scic.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_enter_scratch();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  reset_state();
  reset_event_state();
  reset_scic_state();
  int r = scic_compile_source(reinterpret_cast<const char*>(data), size);
  FUZZ_CHECK(r == SCIC_OK || r == SCIC_EMPTY || r == SCIC_FAILED);
  for (const event_record& e : event_table) FUZZ_CHECK(e.length <= EVENT_CODE_MAX);
  FUZZ_CHECK(scic.event_msg_count >= 0 && scic.event_msg_count <= EVENT_MSG_COUNT);
  for (auto& line : event_msg) FUZZ_CHECK(std::memchr(line, 0, sizeof line) != nullptr);
  FUZZ_CHECK(scic.depth >= 0 && scic.depth <= SCIC_IF_DEPTH);
  return 0;
}
