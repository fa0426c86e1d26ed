#include "event_helpers.h"

#include "audio/music.h"
#include "battle/battle.h"
#include "message/message.h"
#include "platform/headless/headless.h"
#include "state/state.h"

#include <algorithm>
#include <cstdio>

void fresh_game() {
  reset_state();
  reset_battle_state();
  reset_music_state();
  headless_reset();
  reset_message_state();
  std::remove("rpgpcd.pcd");
  events.event_no = events.event_pc = events.wait_answer = 0;
  events.answer_key = 0;
  events.event_person = events.last_error = 0;
  events.ending_shown = 0;
}

std::vector<std::string> shown() {
  std::vector<std::string> out;
  for (int i = 0; i < msg_window.msg_count && i < MSG_LINES; i++)
    out.push_back(msg_window.msg_line[i]);
  return out;
}

bool ending_is_shown() {
  return events.ending_shown == 1;
}

int saves_made() {
  std::FILE* f = std::fopen("rpgpcd.pcd", "rb");
  if (!f) return 0;
  std::fclose(f);
  return 1;
}

bool logged(const std::string& line) {
  return std::find(headless.log.begin(), headless.log.end(), line) != headless.log.end();
}
