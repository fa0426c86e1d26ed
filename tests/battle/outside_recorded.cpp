// What the battle left in the message window, as the player would read it.
#include "outside_recorded.h"
#include "battle_fixture.h"
#include "message/message.h"

void reset_outside() {
  reset_message_state();
}

std::vector<std::string> lines() {
  std::vector<std::string> out;
  for (int i = 0; i < mw.msg_count && i < MSG_LINES; i++) out.push_back(mw.msg_line[i]);
  return out;
}
