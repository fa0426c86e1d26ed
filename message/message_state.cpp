// The one message window of the game and the Shift-JIS character test that
// both the printer and the window's drawing cut text with. Kept apart from
// the printer so that a program may bring a printer of its own and still
// draw the window.
#include "message/message.h"

message_data msg_window;

void reset_message_state() {
  msg_window = message_data{};
}

bool is_dbcs_pair(u8 byte, u8 next) {
  if ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xE9)) return next >= 0x40;
  return byte == 0xEA && next >= 0x40 && next <= 0xAF;
}
