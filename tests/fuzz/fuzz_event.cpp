// The interpreter on any event record: the first byte is the event number,
// the next 132 bytes its record as eventdat.evt holds it, and the bytes after
// them the keys that answer each wait.
#include "audio/music.h"
#include "battle/battle.h"
#include "event/event.h"
#include "fuzz_common.h"
#include "message/message.h"

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  reset_state();
  reset_event_state();
  reset_battle_state();
  reset_music_state();
  reset_message_state();
  headless_reset();
  // Music has its own target; here a piece would only start a stream thread.
  music.music_failed = 1;
  int n = data[0];
  std::size_t rec = std::min(size - 1, sizeof(event_record));
  std::memcpy(&event_table[n], data + 1, rec);
  for (int m = 0; m < EVENT_MSG_COUNT; m++)
    std::snprintf(event_msg[m], EVENT_MSG_SIZE, "@NAME%d msg %d @ITEM%03d@P", m % 7, m, m);
  event_start(n);
  static const std::uint32_t keys[] = {'Y', 'N', 0x0D, 0x1B, 0x20, 0x26};
  for (std::size_t k = 1 + rec; k < size && events.wait_answer; k++)
    event_key(keys[data[k] % (sizeof keys / sizeof keys[0])]);
  FUZZ_CHECK(events.event_pc >= 0 && events.event_pc <= 255);
  FUZZ_CHECK(msg_window.msg_count >= 0 && msg_window.msg_count <= MSG_LINES);
  return 0;
}
